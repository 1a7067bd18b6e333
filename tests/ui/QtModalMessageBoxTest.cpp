// The message box on the screen: caption, text, icon and buttons from the
// flags, and the operator's answer.
#include "ui/QtModalMessageBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>

#include "ui/UiTestSupport.h"

namespace {

struct Shown {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Shows a box and presses the button; tells what was shown and the answer.
int showAndPress(int flags, QMessageBox::StandardButton press, Shown* shown) {
    onNextModal([press, shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        shown->caption = box->windowTitle();
        shown->text = box->text();
        shown->icon = box->icon();
        shown->buttons = box->standardButtons();
        box->button(press)->click();
    });
    QtModalMessageBox messages;
    return messages.show(u"Utente non censito\r\nImpossibile continuare ", u"ATTENZIONE!", flags);
}

}  // namespace

TEST(QtModalMessageBox, ErrorBoxShowsCaptionTextAndIconWithOk) {
    Shown shown;
    const int answer =
        showAndPress(ModalMessageBox::kOk | ModalMessageBox::kIconError, QMessageBox::Ok, &shown);
    EXPECT_EQ(answer, ModalMessageBox::kAnswerOk);
    EXPECT_EQ(shown.caption, QStringLiteral("ATTENZIONE!"));
    EXPECT_EQ(shown.text, QStringLiteral("Utente non censito\nImpossibile continuare "));
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(QtModalMessageBox, QuestionAnswersWithTheButtonPressed) {
    struct Case {
        QMessageBox::StandardButton press;
        int answer;
    };
    for (const Case& c : {Case{QMessageBox::Yes, ModalMessageBox::kAnswerYes},
                          Case{QMessageBox::No, ModalMessageBox::kAnswerNo}}) {
        Shown shown;
        const int answer =
            showAndPress(ModalMessageBox::kYesNo | ModalMessageBox::kIconQuestion, c.press, &shown);
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(shown.icon, QMessageBox::Question);
        EXPECT_EQ(shown.buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

TEST(QtModalMessageBox, StatusReportIsAWarningAndNoFlagsMeanNoIcon) {
    Shown warning;
    showAndPress(ModalMessageBox::kIconWarning, QMessageBox::Ok, &warning);
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    Shown plain;
    showAndPress(ModalMessageBox::kOk, QMessageBox::Ok, &plain);
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
}
