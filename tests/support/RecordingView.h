// A main window for controller tests: it knows the elements of ExportOrvax's
// window by their documented names, with the states the window gives them,
// records everything the controller does to them, and answers for the
// operator (message boxes, the save dialog) with preset answers.
//
//   RecordingView view;
//   view.removeElement("pnlStato3");          // a window without that panel
//   TfrmOutput controller(view, suite.home(), &env);
//   controller.FormCreate();
//   EXPECT_EQ(view.messageTexts(), Texts{"Errore nel caricamento dei pannelli di stato"});
//   EXPECT_EQ(view.element("Control1").text, u"Server ON");
//
// An up-down answers to both its names (udResi and tbResi). Positions are
// stored as given, without the control's range: the controller keeps them
// in range. An operation on a name the window lacks changes nothing and is
// listed in missingRequests.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/OutputView.h"
#include "support/RecordingMessageBox.h"

class RecordingView : public OutputView {
public:
    struct Element {
        std::u16string text;
        bool enabled = true;
        bool visible = true;
        bool checked = false;
        bool readOnly = false;
        bool bold = false;
        std::optional<Colour> colour;
        int position = 0;
        int maximum = 0;  // progress bars
        int itemIndex = -1;
        std::vector<std::u16string> items;
        MySqlDataSource* source = nullptr;
        bool bound = false;  // bindGrid was called
    };

    RecordingView();  // every element of the main window in its initial state

    // Takes an element (by either name of an up-down) out of the window.
    void removeElement(const std::string& name);
    // The element; a test failure (and a blank stand-in) when there is none.
    Element& element(const std::string& name);
    const Element& element(const std::string& name) const;

    // OutputView.
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
    Geometry geometry() const override { return screen; }
    void moveWindow(int top, int left) override;
    std::optional<std::u16string> askSaveFileName(const SaveDialogRequest& request) override;
    void processEvents() override { ++pendingEventRuns; }
    void terminate() override { ++terminateRequests; }
    int show(const std::u16string& text, const std::u16string& caption, int flags) override;

    // The texts of the message boxes shown, in the suite's code page.
    std::vector<std::string> messageTexts() const;
    // The last status-bar text, in the suite's code page ("" before any).
    std::string statusText() const;

    // What the controller did.
    std::vector<ShownMessage> shown;
    std::vector<SaveDialogRequest> saveRequests;
    std::vector<std::u16string> statusTexts;
    std::vector<std::u16string> monitorLines;
    // Names asked for (read or changed) that the window lacks.
    mutable std::vector<std::string> missingRequests;
    std::u16string title = u"QuorvelNet - Export Scarico di  Caveau";
    std::string activePage = "tsPreLoad";
    std::string focus;
    std::optional<int> windowTop;
    std::optional<int> windowLeft;
    int terminateRequests = 0;
    int pendingEventRuns = 0;

    // Called as the controller sets a status text or a progress bar (a test
    // can make something happen at that moment).
    std::function<void(const std::string& text)> onStatus;
    std::function<void(std::string_view name, int position, int maximum)> onProgress;

    // The operator's answers.
    int answer = kAnswerOk;
    std::optional<std::u16string> saveAnswer;
    Geometry screen{1024, 768, 802, 499};

private:
    // The name an element is stored under (an up-down's edit name leads to
    // the up-down); nullptr when the window lacks it.
    Element* find(std::string_view name);
    const Element* find(std::string_view name) const;
    Element* findForChange(std::string_view name);
    // A new element in its default state.
    Element& add(const std::string& name);

    std::map<std::string, Element, std::less<>> elements_;
    std::map<std::string, std::string, std::less<>> editNames_;
};
