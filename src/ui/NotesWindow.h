// NotesWindow is the revision-notes window on the screen ("Note di
// revisione", 582 x 349, centred): one memo memNotes in a fixed-pitch font,
// read-only, with both scroll bars. Its behaviour is TfrmNotes: showing the
// window loads the notes, and the window sees every key before the memo so
// that Ctrl+Alt+Z and Ctrl+Alt+S reach it.
//
//   NotesWindow notes(parent, &messageBox);
//   notes.behaviour().SetProgramName("Vantrell");
//   notes.exec();
#pragma once

#include <QDialog>

#include "dialogs/NotesView.h"
#include "dialogs/TfrmNotes.h"

class QPlainTextEdit;

class NotesWindow : public QDialog, public NotesView {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 582;
    static constexpr int kClientHeight = 349;

    NotesWindow(QWidget* parent, ModalMessageBox* messages, Env* env = Env::Default());

    TfrmNotes& behaviour() { return notes_; }

    void appendLine(const std::u16string& line) override;
    void setLines(const std::vector<std::u16string>& lines) override;
    std::vector<std::u16string> lines() const override;
    void unlockForEditing() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* memo_;
    TfrmNotes notes_;
};
