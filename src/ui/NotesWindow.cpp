#include "ui/NotesWindow.h"

#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace {

void centre(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window->move((area.width() - window->width()) / 2, (area.height() - window->height()) / 2);
    }
}

QFont fixedPitchFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

NotesWindow::NotesWindow(QWidget* parent, ModalMessageBox* messages, Env* env)
    : QDialog(parent), memo_(new QPlainTextEdit(this)), notes_(this, messages, env) {
    setObjectName(QStringLiteral("frmNotes"));
    setWindowTitle(QStringLiteral("Note di revisione"));
    memo_->setObjectName(QStringLiteral("memNotes"));
    memo_->setFont(fixedPitchFont());
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo_);
    resize(kClientWidth, kClientHeight);
    centre(this);
}

void NotesWindow::appendLine(const std::u16string& line) {
    memo_->appendPlainText(QString::fromStdU16String(line));
}

void NotesWindow::setLines(const std::vector<std::u16string>& lines) {
    QStringList texts;
    for (const std::u16string& line : lines) {
        texts.append(QString::fromStdU16String(line));
    }
    memo_->setPlainText(texts.join(QLatin1Char('\n')));
}

std::vector<std::u16string> NotesWindow::lines() const {
    std::vector<std::u16string> result;
    for (const QString& line : memo_->toPlainText().split(QLatin1Char('\n'))) {
        result.push_back(line.toStdU16String());
    }
    return result;
}

void NotesWindow::unlockForEditing() {
    memo_->setReadOnly(false);
    QPalette palette = memo_->palette();
    palette.setColor(QPalette::Base, QColor(255, 0, 255));
    memo_->setPalette(palette);
}

void NotesWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        notes_.FormShow();
    }
}

bool NotesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memo_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers held = key->modifiers();
        const TfrmNotes::KeyAction action = notes_.FormKeyDown(
            key->key(), held.testFlag(Qt::ControlModifier), held.testFlag(Qt::AltModifier));
        return action != TfrmNotes::KeyAction::kNone;
    }
    return QDialog::eventFilter(watched, event);
}
