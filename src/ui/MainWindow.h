// MainWindow is ExportOrvax's main window as the operator sees it, and
// nothing more: it builds the elements, captions, hints and initial states
// of the window and exposes them by their documented names. It decides
// nothing; whoever drives the window (the controller, through its adapter)
// finds the elements by objectName and connects to their signals.
//
//   MainWindow window;
//   auto* connect = window.findChild<QAction*>("act01_Connect");
//   auto* resi = qobject_cast<QSpinBox*>(window.element(u"tbResi"));  // udResi
//
// Names:
// - the window is "frmOutput"; every element keeps its documented name as
//   its objectName (pnlStato1..pnlStato8, Control1..Control8,
//   RadioButton1..RadioButton3, tbDataIn, memMonitor, PageControl ...);
// - the actions are QActions, children of the QObject "alMain", in the
//   order of actionList(): act01_Connect, act02_DstType, act03_Browse,
//   act04AssTas, act05Verify, act06Unload, act07Reports (the seven steps),
//   act0End, actBlipGen;
// - an up-down is a QSpinBox named after the up-down (udResi) whose line
//   edit carries the edit box's name (tbResi); element() answers the spin
//   box for either name;
// - RadioButton1..3 carry their flow number in the dynamic property "tag";
// - captions beside elements are QLabels named <element>Caption
//   (WindowElements.h);
// - the page control PageControl holds tsPreLoad "Caricamento",
//   tsEstrazioni "Estrazioni eseguite", tsImpostazioni "Impostazioni" and
//   the hidden pages tsTabelle "Visualizza Tabelle" and tsLogErrori "Log
//   degli errori";
// - the status bar is the QStatusBar "StatusBar", which also holds the
//   progress bars ProgressBar and psbDistinte (hidden);
// - the save dialog is the QFileDialog "SaveDialog".
//
// The window handles no keys and no close: whoever needs every key first
// (Ctrl+Alt+Z) or the close installs an event filter.
//
// Bindings the window itself defines: the speed buttons show their actions
// (StepPanelsBuilder), spbEnd2 triggers act0End, and the window's central
// area is enabled exactly while act01_Connect is, so that switching the step
// display off leaves the window without input.
#pragma once

#include <QAnyStringView>
#include <QList>
#include <QMainWindow>

class QAction;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 802;
    static constexpr int kClientHeight = 499;
    static constexpr int kMinimumWidth = 800;

    explicit MainWindow(QWidget* parent = nullptr);

    // The element with the documented name: a widget, an action or the
    // up-down reached through its edit box's name; nullptr when none.
    QObject* element(QAnyStringView name) const;
    // The actions of alMain in their order.
    const QList<QAction*>& actionList() const { return actions_; }

private:
    void createActions();
    QWidget* createCentralArea();
    QWidget* createPageControl(QWidget* parent);
    void createStatusBar();
    void centreOnScreen();

    QList<QAction*> actions_;
};
