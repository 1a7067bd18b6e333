// QtModalMessageBox is the program's modal message box on the screen: a
// QMessageBox with the caption, icon, text and buttons the flags ask for
// (Windows message-box values, platform/ModalMessageBox.h), answering with
// the button the operator chose.
#pragma once

#include "platform/ModalMessageBox.h"

class QWidget;

class QtModalMessageBox : public ModalMessageBox {
public:
    // The boxes are modal to parent (nullptr: to the application).
    explicit QtModalMessageBox(QWidget* parent = nullptr);

    int show(const std::u16string& text, const std::u16string& caption, int flags) override;

private:
    QWidget* parent_;
};
