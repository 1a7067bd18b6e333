// ModalMessageBox is the application's modal message box: every message of
// the program reaches the operator through it. The window supplies the real
// one; the batch runner prints; tests record what was shown and answer for
// the operator.
//
// Flags and answers keep the values of the Windows message box, which the
// program's messages are written with (48 = warning icon with an OK button).
#pragma once

#include <string>

class ModalMessageBox {
public:
    // Buttons (low nibble) and icons, combined with |.
    static constexpr int kOk = 0;
    static constexpr int kOkCancel = 1;
    static constexpr int kYesNo = 4;
    static constexpr int kIconError = 16;
    static constexpr int kIconQuestion = 32;
    static constexpr int kIconWarning = 48;
    static constexpr int kIconInformation = 64;

    // Answers.
    static constexpr int kAnswerOk = 1;
    static constexpr int kAnswerCancel = 2;
    static constexpr int kAnswerYes = 6;
    static constexpr int kAnswerNo = 7;

    virtual ~ModalMessageBox() = default;

    // Shows the text and returns when the operator closes the box, with the
    // button chosen.
    virtual int show(const std::u16string& text, const std::u16string& caption, int flags) = 0;
};
