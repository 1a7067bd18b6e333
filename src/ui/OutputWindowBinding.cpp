#include "ui/OutputWindowBinding.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWindow>
#include <exception>

#include "app/TfrmOutput.h"
#include "core/Text.h"
#include "ui/InfoBoxDialog.h"
#include "ui/MainWindow.h"
#include "ui/QtOutputView.h"

OutputWindowBinding::OutputWindowBinding(MainWindow* window, QtOutputView* view,
                                         TfrmOutput* controller)
    : window_(window), view_(view), controller_(controller) {
    connectAction("act01_Connect", [this] { controller_->act01_ConnectExecute(); });
    connectAction("act05Verify", [this] { controller_->act05VerifyExecute(); });
    connectAction("act06Unload", [this] { controller_->act06UnloadExecute(); });
    connectAction("act0End", [this] { controller_->act0EndExecute(); });
    connectAction("act03_Browse", [this] { controller_->act03_BrowseExecute(); });
    connectAction("act04AssTas", [this] { controller_->act03AssTasExecute(); });
    for (const char* button : {"RadioButton1", "RadioButton2", "RadioButton3"}) {
        connectClick(button, [this, button] { controller_->RadioButtonClick(button); });
    }
    connectClick("chkStdFile", [this] { controller_->chkStdFileClick(); });
    connectClick("chkCopyPath", [this] { controller_->chkCopyPathClick(); });
    connectClick("spbCopyPath", [this] { controller_->spbCopyPathClick(); });
    connectClick("spbInfo", [this] { InfoBoxDialog::showForMainWindow(window_, view_); });

    // Seen for every object: the window's activation and close, and the keys
    // as they reach its native window, before any of its widgets.
    qApp->installEventFilter(this);
}

OutputWindowBinding::~OutputWindowBinding() {
    qApp->removeEventFilter(this);
}

void OutputWindowBinding::connectAction(const char* name, const std::function<void()>& handler) {
    auto* action = qobject_cast<QAction*>(window_->element(QLatin1String(name)));
    if (action == nullptr) {
        return;
    }
    connect(action, &QAction::triggered, this, [this, handler] { run(handler); });
}

void OutputWindowBinding::connectClick(const char* name, const std::function<void()>& handler) {
    auto* button = qobject_cast<QAbstractButton*>(window_->element(QLatin1String(name)));
    if (button == nullptr) {
        return;
    }
    connect(button, &QAbstractButton::clicked, this, [this, handler] { run(handler); });
}

void OutputWindowBinding::run(const std::function<void()>& handler) {
    if (view_->terminateRequested()) {
        return;
    }
    ++running_;
    try {
        handler();
    } catch (const std::exception& error) {
        showException(view_, error.what());
    } catch (...) {
        showException(view_, "");
    }
    --running_;
    if (running_ == 0 && activationPending_) {
        activationPending_ = false;
        activated();
    }
}

void OutputWindowBinding::showException(QtOutputView* view, const char* what) {
    view->show(text::toWide(what), u"ExportOrvax",
               ModalMessageBox::kOk | ModalMessageBox::kIconError);
}

void OutputWindowBinding::activated() {
    if (running_ > 0) {
        activationPending_ = true;
        return;
    }
    run([this] { controller_->FormActivate(); });
}

bool OutputWindowBinding::keyPressed(QEvent* event) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    run([this, key, modifiers] {
        controller_->FormKeyDown(key->key(), modifiers.testFlag(Qt::ControlModifier),
                                 modifiers.testFlag(Qt::AltModifier));
    });
    return false;  // the element with the focus gets the key as well
}

bool OutputWindowBinding::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched != nullptr &&
        watched == window_->windowHandle()) {
        return keyPressed(event);
    }
    if (event->type() == QEvent::FocusOut || event->type() == QEvent::FocusIn) {
        focusMoved(watched, event);
        return false;
    }
    if (watched != window_) {
        return false;
    }
    if (event->type() == QEvent::WindowActivate) {
        activated();
    } else if (event->type() == QEvent::Close) {
        run([this] { controller_->act0EndExecute(); });
    }
    return false;
}

// Leaving a date box runs its check and entering a grid binds the navigator,
// when the operator moves the focus (mouse, Tab, a shortcut); a focus taken
// by a message box, another window or the program itself is not the
// operator leaving the box.
void OutputWindowBinding::focusMoved(QObject* watched, QEvent* event) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::MouseFocusReason && reason != Qt::TabFocusReason &&
        reason != Qt::BacktabFocusReason && reason != Qt::ShortcutFocusReason) {
        return;
    }
    const QString name = watched->objectName();
    if (event->type() == QEvent::FocusOut && (name == u"tbDataIn" || name == u"tbDataOut")) {
        const std::string box = name.toStdString();
        run([this, box] { controller_->tbDataExit(box); });
    } else if (event->type() == QEvent::FocusIn &&
               (name == u"dbgDateCarico" || name == u"dbgOrvax")) {
        const std::string grid = name.toStdString();
        run([this, grid] { controller_->dbgGridEnter(grid); });
    }
}
