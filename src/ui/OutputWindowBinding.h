// OutputWindowBinding connects the main window to its controller: what the
// operator does in the window reaches the controller's handler of the same
// name, and nothing else happens here.
//
//   OutputWindowBinding binding(&window, &view, &controller);
//
// - the actions act01_Connect, act03_Browse, act04AssTas, act05Verify,
//   act06Unload and act0End run act01_ConnectExecute, act03_BrowseExecute,
//   act03AssTasExecute, act05VerifyExecute, act06UnloadExecute and
//   act0EndExecute (the speed buttons trigger their actions);
// - RadioButton1..3 run RadioButtonClick; chkStdFile, chkCopyPath and
//   spbCopyPath run their ...Click handlers; spbInfo shows the information
//   box;
// - leaving tbDataIn or tbDataOut runs tbDataExit, entering dbgDateCarico or
//   dbgOrvax runs dbgGridEnter;
// - the window sees every key first: a key pressed with Ctrl and Alt goes to
//   FormKeyDown before the element that has the focus gets it;
// - each activation of the window runs FormActivate; closing it runs the
//   end action;
// - an exception escaping a handler is shown with the application's title
//   as caption ("ExportOrvax") and the program goes on, as the window
//   library's loop does.
//
// Handlers run one at a time: an activation that arrives while a handler is
// running (a modal box closing, events processed in a long loop) runs
// FormActivate once that handler returns. Once the application has been
// asked to end, no handler runs any more.
#pragma once

#include <functional>

#include <QObject>

class MainWindow;
class QtOutputView;
class TfrmOutput;

class OutputWindowBinding : public QObject {
    Q_OBJECT

public:
    OutputWindowBinding(MainWindow* window, QtOutputView* view, TfrmOutput* controller);
    ~OutputWindowBinding() override;

    // Runs a piece of the controller as a handler: not after termination,
    // exceptions shown.
    void run(const std::function<void()>& handler);

    // The application's display of an exception that reached the loop.
    static void showException(QtOutputView* view, const char* what);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectAction(const char* name, const std::function<void()>& handler);
    void connectClick(const char* name, const std::function<void()>& handler);
    void activated();
    bool keyPressed(QEvent* event);
    void focusMoved(QObject* watched, QEvent* event);

    MainWindow* window_;
    QtOutputView* view_;
    TfrmOutput* controller_;
    int running_ = 0;
    bool activationPending_ = false;
};
