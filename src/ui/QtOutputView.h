// QtOutputView is the controller's view (app/OutputView.h) over the real
// main window: every operation finds its element by the documented name
// (MainWindow::element) and translates the call into Qt, deciding nothing:
//
//   MainWindow window;
//   QtOutputView view(&window);
//   view.setText("tbJobImpo", u"EFFETTI01_CA");
//   view.setColour("pnlStato1", OutputView::Colour::Yellow);
//
// - texts arrive as UTF-16; a memo's text and lines use CR LF as the
//   program writes them;
// - an operation on a name the window lacks, or on an element that has no
//   such property, does nothing (reads give empty text, false, 0 or -1);
// - colours: Yellow is RGB 255,255,0; ButtonFace, ButtonHighlight and
//   Window are the application palette's button, light and base colours
//   (Window is the background of edit boxes); an edit box takes the colour
//   as its background, any other element fills itself with it;
// - grids (QTableView) show a data source through GridBinding, the navigator
//   (the tool bar dbnNavigator) moves one through NavigatorBinding;
// - the save dialog is the window's QFileDialog "SaveDialog"; its filter
//   "Descrizione (*.EXT)|*.EXT|..." becomes Qt's name filters;
// - message boxes are QtModalMessageBox boxes over the window;
// - terminate() asks the application to leave its loop once the current
//   handler returns (also before the loop has started) and remembers it, so
//   that the window's bindings run no handler afterwards.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include "app/OutputView.h"

class MainWindow;
class QObject;

class QtOutputView : public OutputView {
public:
    explicit QtOutputView(MainWindow* window);

    MainWindow* window() const { return window_; }
    // Whether terminate() was called.
    bool terminateRequested() const { return terminateRequested_; }

    int show(const std::u16string& text, const std::u16string& caption, int flags) override;

    bool hasElement(std::string_view name) const override;
    void setText(std::string_view name, const std::u16string& text) override;
    std::u16string text(std::string_view name) const override;
    void setEnabled(std::string_view name, bool enabled) override;
    bool isEnabled(std::string_view name) const override;
    void setVisible(std::string_view name, bool visible) override;
    void setColour(std::string_view name, Colour colour) override;
    void setReadOnly(std::string_view name, bool readOnly) override;
    void setBold(std::string_view name, bool bold) override;
    void setFocus(std::string_view name) override;
    bool isChecked(std::string_view name) const override;
    void setChecked(std::string_view name, bool checked) override;
    int position(std::string_view name) const override;
    void setPosition(std::string_view name, int position) override;
    int itemIndex(std::string_view name) const override;
    void setItemIndex(std::string_view name, int index) override;
    std::u16string itemText(std::string_view name, int index) const override;
    void setActivePage(std::string_view page) override;
    void setProgress(std::string_view name, int position, int maximum) override;
    void bindGrid(std::string_view name, MySqlDataSource* source) override;

    void setTitle(const std::u16string& title) override;
    void setStatusText(const std::u16string& text) override;
    void addMonitorLine(const std::u16string& line) override;
    Geometry geometry() const override;
    void moveWindow(int top, int left) override;
    std::optional<std::u16string> askSaveFileName(const SaveDialogRequest& request) override;
    void processEvents() override;
    void terminate() override;

    // "A (*.X)|*.X|B (*.Y;*.Z)|*.Y;*.Z" as Qt's name filters
    // ("A (*.X)", "B (*.Y *.Z)"); an unpaired last description is dropped.
    static QStringList nameFilters(const std::u16string& filter);

private:
    QObject* find(std::string_view name) const;
    template <typename T>
    T* findAs(std::string_view name) const;

    QPointer<MainWindow> window_;
    QString saveDialogTitle_;
    bool terminateRequested_ = false;
};
