#include "ui/QtModalMessageBox.h"

#include <QMessageBox>
#include <QString>

namespace {

constexpr int kButtonsMask = 0x0F;
constexpr int kIconMask = 0xF0;

QMessageBox::Icon iconOf(int flags) {
    switch (flags & kIconMask) {
        case ModalMessageBox::kIconError:
            return QMessageBox::Critical;
        case ModalMessageBox::kIconQuestion:
            return QMessageBox::Question;
        case ModalMessageBox::kIconWarning:
            return QMessageBox::Warning;
        case ModalMessageBox::kIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttonsOf(int flags) {
    switch (flags & kButtonsMask) {
        case ModalMessageBox::kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case ModalMessageBox::kYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

int answerOf(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return ModalMessageBox::kAnswerCancel;
        case QMessageBox::Yes:
            return ModalMessageBox::kAnswerYes;
        case QMessageBox::No:
            return ModalMessageBox::kAnswerNo;
        default:
            return ModalMessageBox::kAnswerOk;
    }
}

// The program writes line ends as CR LF; the box shows LF.
QString shownText(const std::u16string& text) {
    QString shown = QString::fromStdU16String(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace

QtModalMessageBox::QtModalMessageBox(QWidget* parent) : parent_(parent) {}

int QtModalMessageBox::show(const std::u16string& text, const std::u16string& caption, int flags) {
    QMessageBox box(iconOf(flags), QString::fromStdU16String(caption), shownText(text),
                    buttonsOf(flags), parent_);
    box.setObjectName(QStringLiteral("MessageBox"));
    return answerOf(box.exec());
}
