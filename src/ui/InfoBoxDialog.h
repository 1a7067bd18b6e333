// InfoBoxDialog is the information box on the screen ("Info", 301 x 278,
// without border, centred): a picture with the program's name lblProgram
// along its bottom edge, the maker and its web address, the description
// lblDescription, the author and build-tools lines, the revision
// lblRevision, and the buttons spbNote (opens NotesWindow) and spbClose.
// Its behaviour is TdlgInfoBox.
//
//   InfoBoxDialog::showForMainWindow(mainWindow, &messageBox);  // spbInfo
#pragma once

#include <QDialog>

#include "dialogs/InfoBoxView.h"
#include "dialogs/TdlgInfoBox.h"
#include "platform/Env.h"
#include "platform/ModalMessageBox.h"

class QLabel;

class InfoBoxDialog : public QDialog, public InfoBoxView {
    Q_OBJECT

public:
    static constexpr int kWidth = 301;
    static constexpr int kHeight = 278;

    InfoBoxDialog(QWidget* parent, ModalMessageBox* messages, Env* env = Env::Default());

    // What the main window's information button does: the box with the
    // main window's description and program, shown modally, then destroyed.
    static void showForMainWindow(QWidget* parent, ModalMessageBox* messages,
                                  Env* env = Env::Default());

    TdlgInfoBox& behaviour() { return box_; }

    void setDescriptionText(const std::u16string& text) override;
    void setProgramText(const std::u16string& text) override;
    std::u16string programText() const override;
    void showNotesWindow(const NotesRequest& request) override;
    void closeWithOk() override;
    void openAddress(const std::u16string& address) override;

private:
    void createPicture();
    void createLabels();
    void createButtons();

    ModalMessageBox* messages_;
    Env* env_;
    QLabel* program_ = nullptr;
    QLabel* description_ = nullptr;
    TdlgInfoBox box_;
};
