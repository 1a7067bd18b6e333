#include "ui/InfoBoxDialog.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <QUrl>

#include "ui/NotesWindow.h"

namespace {

constexpr int kPictureHeight = 100;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

QLabel* placeLabel(QWidget* box, const char* name, const QString& text, const QRect& where) {
    auto* label = new QLabel(text, box);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(where);
    return label;
}

QToolButton* placeButton(QWidget* box, const char* name, const QString& caption, int left) {
    auto* button = new QToolButton(box);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(QStringLiteral("Chiudi"));
    button->setGeometry(left, InfoBoxDialog::kHeight - kButtonHeight - kMargin, kButtonWidth,
                        kButtonHeight);
    return button;
}

QPixmap bannerPicture() {
    QPixmap picture(InfoBoxDialog::kWidth, kPictureHeight);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, InfoBoxDialog::kWidth, kPictureHeight);
    gradient.setColorAt(0, QColor(0, 32, 96));
    gradient.setColorAt(1, QColor(0, 96, 160));
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

}  // namespace

InfoBoxDialog::InfoBoxDialog(QWidget* parent, ModalMessageBox* messages, Env* env)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      messages_(messages),
      env_(env),
      box_(this) {
    setObjectName(QStringLiteral("dlgInfoBox"));
    setWindowTitle(toQString(TdlgInfoBox::kCaption));
    setFixedSize(kWidth, kHeight);
    auto* border = new QFrame(this);
    border->setFrameStyle(QFrame::Box | QFrame::Plain);
    border->setGeometry(rect());
    createPicture();
    createLabels();
    createButtons();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - kWidth) / 2, (area.height() - kHeight) / 2);
    }
}

void InfoBoxDialog::showForMainWindow(QWidget* parent, ModalMessageBox* messages, Env* env) {
    InfoBoxDialog box(parent, messages, env);
    box.behaviour().SetDescription(TdlgInfoBox::kMainWindowDescription);
    box.behaviour().SetProgram(TdlgInfoBox::kMainWindowProgram);
    box.exec();
}

void InfoBoxDialog::createPicture() {
    QLabel* picture = placeLabel(this, "imgPicture", QString(), {0, 0, kWidth, kPictureHeight});
    picture->setPixmap(bannerPicture());
    picture->setScaledContents(true);

    program_ = placeLabel(this, "lblProgram", QStringLiteral("Caption"),
                          {kMargin, kPictureHeight - 40, kWidth - 2 * kMargin, 38});
    QFont large = program_->font();
    large.setPointSize(20);
    large.setItalic(true);
    large.setBold(true);
    program_->setFont(large);
    QPalette yellow = program_->palette();
    yellow.setColor(QPalette::WindowText, Qt::yellow);
    program_->setPalette(yellow);
}

void InfoBoxDialog::createLabels() {
    const int width = kWidth - 2 * kMargin;
    placeLabel(this, "lblMaker", toQString(TdlgInfoBox::kMaker), {kMargin, 106, 120, 18});
    const QString address = toQString(TdlgInfoBox::kWebAddress);
    QLabel* web =
        placeLabel(this, "lblWebAddress", QStringLiteral("<a href=\"%1\">%1</a>").arg(address),
                   {kMargin + 100, 106, width - 100, 18});
    web->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(web, &QLabel::linkActivated, this, [this] { box_.webAddressClick(); });

    description_ = placeLabel(this, "lblDescription", QStringLiteral("Description"),
                              {kMargin, 134, width, 20});
    QFont bold = description_->font();
    bold.setBold(true);
    description_->setFont(bold);
    description_->setAlignment(Qt::AlignCenter);

    placeLabel(this, "lblAuthor", QStringLiteral("Autore: ") + toQString(TdlgInfoBox::kMaker),
               {kMargin, 164, width, 18});
    placeLabel(this, "lblTools", QStringLiteral("Realizzato in C++ con Qt 6"),
               {kMargin, 184, width, 18});
    placeLabel(this, "lblRevision", toQString(TdlgInfoBox::kRevision), {kMargin, 210, width, 18});
}

void InfoBoxDialog::createButtons() {
    QToolButton* notes = placeButton(this, "spbNote", QStringLiteral("Note"), kMargin);
    QToolButton* close =
        placeButton(this, "spbClose", QStringLiteral("Chiudi"), kWidth - kMargin - kButtonWidth);
    connect(notes, &QToolButton::clicked, this, [this] { box_.SpbNotesClick(); });
    connect(close, &QToolButton::clicked, this, [this] { box_.spbCloseClick(); });
}

void InfoBoxDialog::setDescriptionText(const std::u16string& text) {
    description_->setText(QString::fromStdU16String(text));
}

void InfoBoxDialog::setProgramText(const std::u16string& text) {
    program_->setText(QString::fromStdU16String(text));
}

std::u16string InfoBoxDialog::programText() const {
    return program_->text().toStdU16String();
}

void InfoBoxDialog::showNotesWindow(const NotesRequest& request) {
    NotesWindow notes(this, messages_, env_);
    if (request.dataFolder) {
        notes.behaviour().SetDataFolder(*request.dataFolder);
    }
    notes.behaviour().SetProgramName(request.programName);
    notes.exec();
}

void InfoBoxDialog::closeWithOk() {
    accept();
}

void InfoBoxDialog::openAddress(const std::u16string& address) {
    QDesktopServices::openUrl(QUrl(QString::fromStdU16String(address)));
}
