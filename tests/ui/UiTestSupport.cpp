#include "ui/UiTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include "ui/WindowElements.h"

QString captionOf(const QObject* element) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(element)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(element)) {
        return label->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(element)) {
        return group->title();
    }
    if (const auto* action = qobject_cast<const QAction*>(element)) {
        return action->text();
    }
    const QWidget* window = qobject_cast<const QWidget*>(element)->window();
    const auto* caption =
        window->findChild<QLabel*>(element->objectName() + QLatin1String(ui::kCaptionSuffix));
    return caption == nullptr ? QStringLiteral("<no caption>") : caption->text();
}

QString hintOf(const QObject* element) {
    if (const auto* action = qobject_cast<const QAction*>(element)) {
        return action->toolTip() == action->text().remove(QLatin1Char('&')) ? QString()
                                                                            : action->toolTip();
    }
    // A button showing an action has the action's hint.
    if (const auto* button = qobject_cast<const QToolButton*>(element);
        button != nullptr && button->defaultAction() != nullptr) {
        return hintOf(button->defaultAction());
    }
    return qobject_cast<const QWidget*>(element)->toolTip();
}

QString q(const char16_t* text) {
    return QString::fromUtf16(text);
}

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

void onNextModal(std::function<void(QWidget*)> step) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        step(modal);
    });
    poll->start(5);
}

QString saveScreenshot(QWidget* widget, const QString& name) {
    const QString folder = QStringLiteral(ORVAX_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    widget->grab().save(path);
    return path;
}
