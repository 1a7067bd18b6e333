#include "ui/QtOutputView.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

#include "ui/GridBinding.h"
#include "ui/MainWindow.h"
#include "ui/NavigatorBinding.h"
#include "ui/QtModalMessageBox.h"
#include "ui/WindowElements.h"

namespace {

QString fromWide(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// A memo shows lines; the program writes line ends as CR LF.
QString memoText(const std::u16string& text) {
    QString shown = fromWide(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

std::u16string memoText(const QString& shown) {
    QString text = shown;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdU16String();
}

QColor colourOf(OutputView::Colour colour) {
    const QPalette palette = QApplication::palette();
    switch (colour) {
        case OutputView::Colour::Yellow:
            return QColor(255, 255, 0);
        case OutputView::Colour::ButtonFace:
            return palette.color(QPalette::Button);
        case OutputView::Colour::ButtonHighlight:
            return palette.color(QPalette::Light);
        case OutputView::Colour::Window:
            return palette.color(QPalette::Base);
    }
    return palette.color(QPalette::Button);
}

bool isEditBox(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

void setEditColour(QWidget* edit, const QColor& colour) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

void setWidgetText(QWidget* widget, const std::u16string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(fromWide(text));
    } else if (auto* upDown = qobject_cast<QAbstractSpinBox*>(widget)) {
        // The edit box of an up-down: the up-down reads it as its position.
        if (auto* edit = upDown->findChild<QLineEdit*>()) {
            edit->setText(fromWide(text));
            upDown->interpretText();
        }
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        memo->setPlainText(memoText(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(fromWide(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(fromWide(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(fromWide(text));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentText(fromWide(text));
    } else if (auto* bar = qobject_cast<QStatusBar*>(widget)) {
        bar->showMessage(fromWide(text));
    }
}

std::u16string widgetText(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text().toStdU16String();
    }
    if (const auto* upDown = qobject_cast<const QAbstractSpinBox*>(widget)) {
        return upDown->text().toStdU16String();
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(widget)) {
        return memoText(memo->toPlainText());
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text().toStdU16String();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text().toStdU16String();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->title().toStdU16String();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->currentText().toStdU16String();
    }
    if (const auto* bar = qobject_cast<const QStatusBar*>(widget)) {
        return bar->currentMessage().toStdU16String();
    }
    return {};
}

// "Descrizione (*.EXT)" with its pattern "*.EXT" as one Qt filter; Qt reads
// the patterns, blank-separated, from the last parentheses.
QString qtFilter(QString description, const QString& pattern) {
    const QString stated = QLatin1Char('(') + pattern + QLatin1Char(')');
    if (description.endsWith(stated)) {
        description.chop(stated.size());
        description = description.trimmed();
    }
    QString patterns = pattern;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

}  // namespace

QtOutputView::QtOutputView(MainWindow* window) : window_(window) {
    if (auto* dialog = window->findChild<QFileDialog*>(QStringLiteral("SaveDialog"))) {
        saveDialogTitle_ = dialog->windowTitle();
    }
}

QObject* QtOutputView::find(std::string_view name) const {
    if (window_ == nullptr || name.empty()) {
        return nullptr;
    }
    return window_->element(QLatin1StringView(name.data(), qsizetype(name.size())));
}

template <typename T>
T* QtOutputView::findAs(std::string_view name) const {
    return qobject_cast<T*>(find(name));
}

int QtOutputView::show(const std::u16string& text, const std::u16string& caption, int flags) {
    QtModalMessageBox box(window_);
    return box.show(text, caption, flags);
}

bool QtOutputView::hasElement(std::string_view name) const {
    return find(name) != nullptr;
}

void QtOutputView::setText(std::string_view name, const std::u16string& text) {
    QObject* element = find(name);
    if (auto* action = qobject_cast<QAction*>(element)) {
        action->setText(fromWide(text));
        action->setIconText(fromWide(text));
    } else if (auto* widget = qobject_cast<QWidget*>(element)) {
        setWidgetText(widget, text);
    }
}

std::u16string QtOutputView::text(std::string_view name) const {
    QObject* element = find(name);
    if (const auto* action = qobject_cast<QAction*>(element)) {
        return action->text().toStdU16String();
    }
    if (const auto* widget = qobject_cast<QWidget*>(element)) {
        return widgetText(widget);
    }
    return {};
}

void QtOutputView::setEnabled(std::string_view name, bool enabled) {
    QObject* element = find(name);
    if (auto* action = qobject_cast<QAction*>(element)) {
        action->setEnabled(enabled);
    } else if (auto* widget = qobject_cast<QWidget*>(element)) {
        widget->setEnabled(enabled);
    }
}

bool QtOutputView::isEnabled(std::string_view name) const {
    QObject* element = find(name);
    if (const auto* action = qobject_cast<QAction*>(element)) {
        return action->isEnabled();
    }
    // The element's own state, whatever its parents' (a control in a
    // disabled panel still reads as enabled).
    if (const auto* widget = qobject_cast<QWidget*>(element)) {
        return !widget->testAttribute(Qt::WA_ForceDisabled);
    }
    return false;
}

void QtOutputView::setVisible(std::string_view name, bool visible) {
    QObject* element = find(name);
    if (auto* action = qobject_cast<QAction*>(element)) {
        action->setVisible(visible);
    } else if (auto* widget = qobject_cast<QWidget*>(element)) {
        widget->setVisible(visible);
    }
}

void QtOutputView::setColour(std::string_view name, Colour colour) {
    auto* widget = findAs<QWidget>(name);
    if (widget == nullptr) {
        return;
    }
    if (isEditBox(widget)) {
        setEditColour(widget, colourOf(colour));
    } else {
        ui::setPanelColour(widget, colourOf(colour));
    }
}

void QtOutputView::setReadOnly(std::string_view name, bool readOnly) {
    QObject* element = find(name);
    if (auto* edit = qobject_cast<QLineEdit*>(element)) {
        edit->setReadOnly(readOnly);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(element)) {
        memo->setReadOnly(readOnly);
    } else if (auto* upDown = qobject_cast<QAbstractSpinBox*>(element)) {
        upDown->setReadOnly(readOnly);
    }
}

void QtOutputView::setBold(std::string_view name, bool bold) {
    QObject* element = find(name);
    if (auto* action = qobject_cast<QAction*>(element)) {
        QFont font = action->font();
        font.setBold(bold);
        action->setFont(font);
    } else if (auto* widget = qobject_cast<QWidget*>(element)) {
        QFont font = widget->font();
        font.setBold(bold);
        widget->setFont(font);
    }
}

void QtOutputView::setFocus(std::string_view name) {
    if (auto* widget = findAs<QWidget>(name)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

bool QtOutputView::isChecked(std::string_view name) const {
    QObject* element = find(name);
    if (const auto* button = qobject_cast<QAbstractButton*>(element)) {
        return button->isChecked();
    }
    if (const auto* action = qobject_cast<QAction*>(element)) {
        return action->isChecked();
    }
    if (const auto* group = qobject_cast<QGroupBox*>(element)) {
        return group->isChecked();
    }
    return false;
}

void QtOutputView::setChecked(std::string_view name, bool checked) {
    QObject* element = find(name);
    if (auto* button = qobject_cast<QAbstractButton*>(element)) {
        button->setChecked(checked);
    } else if (auto* action = qobject_cast<QAction*>(element)) {
        action->setChecked(checked);
    } else if (auto* group = qobject_cast<QGroupBox*>(element)) {
        group->setChecked(checked);
    }
}

int QtOutputView::position(std::string_view name) const {
    const auto* upDown = findAs<QSpinBox>(name);
    return upDown != nullptr ? upDown->value() : 0;
}

void QtOutputView::setPosition(std::string_view name, int position) {
    if (auto* upDown = findAs<QSpinBox>(name)) {
        upDown->setValue(position);
    }
}

int QtOutputView::itemIndex(std::string_view name) const {
    const auto* combo = findAs<QComboBox>(name);
    return combo != nullptr ? combo->currentIndex() : -1;
}

void QtOutputView::setItemIndex(std::string_view name, int index) {
    if (auto* combo = findAs<QComboBox>(name)) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

std::u16string QtOutputView::itemText(std::string_view name, int index) const {
    const auto* combo = findAs<QComboBox>(name);
    return combo != nullptr ? combo->itemText(index).toStdU16String() : std::u16string();
}

void QtOutputView::setActivePage(std::string_view page) {
    auto* widget = findAs<QWidget>(page);
    if (widget == nullptr) {
        return;
    }
    for (QWidget* parent = widget->parentWidget(); parent != nullptr;
         parent = parent->parentWidget()) {
        if (auto* pages = qobject_cast<QTabWidget*>(parent)) {
            if (pages->indexOf(widget) >= 0) {
                pages->setCurrentWidget(widget);
            }
            return;
        }
    }
}

void QtOutputView::setProgress(std::string_view name, int position, int maximum) {
    auto* bar = findAs<QProgressBar>(name);
    if (bar == nullptr) {
        return;
    }
    // A range of 0 to 0 would make Qt's bar a busy indicator; the program's
    // bar with nothing to do is simply empty.
    const int top = qMax(maximum, 1);
    bar->setRange(0, top);
    bar->setValue(maximum < 1 ? 0 : qBound(0, position, top));
}

void QtOutputView::bindGrid(std::string_view name, MySqlDataSource* source) {
    QObject* element = find(name);
    if (auto* grid = qobject_cast<QTableView*>(element)) {
        GridBinding::of(grid)->setSource(source);
    } else if (auto* navigator = qobject_cast<QToolBar*>(element)) {
        NavigatorBinding::of(navigator, this)->setSource(source);
    }
}

void QtOutputView::setTitle(const std::u16string& title) {
    if (window_ != nullptr) {
        window_->setWindowTitle(fromWide(title));
    }
}

void QtOutputView::setStatusText(const std::u16string& text) {
    if (window_ != nullptr) {
        window_->statusBar()->showMessage(fromWide(text));
    }
}

void QtOutputView::addMonitorLine(const std::u16string& line) {
    if (auto* memo = findAs<QPlainTextEdit>("memMonitor")) {
        memo->appendPlainText(memoText(line));
    }
}

OutputView::Geometry QtOutputView::geometry() const {
    Geometry geometry;
    if (window_ == nullptr) {
        return geometry;
    }
    if (const QScreen* screen = window_->screen()) {
        geometry.screenWidth = screen->geometry().width();
        geometry.screenHeight = screen->geometry().height();
    }
    geometry.windowWidth = window_->width();
    geometry.windowHeight = window_->height();
    return geometry;
}

void QtOutputView::moveWindow(int top, int left) {
    if (window_ != nullptr) {
        window_->move(left, top);
    }
}

QStringList QtOutputView::nameFilters(const std::u16string& filter) {
    const QStringList parts = fromWide(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters.append(qtFilter(parts.at(i), parts.at(i + 1)));
    }
    return filters;
}

std::optional<std::u16string> QtOutputView::askSaveFileName(const SaveDialogRequest& request) {
    auto* dialog = window_ != nullptr
                       ? window_->findChild<QFileDialog*>(QStringLiteral("SaveDialog"))
                       : nullptr;
    if (dialog == nullptr) {
        return std::nullopt;
    }
    dialog->setWindowTitle(request.title.empty() ? saveDialogTitle_ : fromWide(request.title));
    dialog->setDirectory(fromWide(request.initialFolder));
    const QStringList filters = nameFilters(request.filter);
    dialog->setNameFilters(filters);
    if (!filters.isEmpty()) {
        const int index = request.filterIndex >= 1 && request.filterIndex <= filters.size()
                              ? request.filterIndex - 1
                              : 0;
        dialog->selectNameFilter(filters.at(index));
    }
    dialog->setDefaultSuffix(fromWide(request.defaultExtension));
    dialog->selectFile(fromWide(request.fileName));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog->selectedFiles().constFirst().toStdU16String();
}

void QtOutputView::processEvents() {
    QCoreApplication::processEvents();
}

void QtOutputView::terminate() {
    terminateRequested_ = true;
    // Queued: the loop ends once the running handler returns, and a request
    // made before the loop starts ends it as soon as it runs.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}
