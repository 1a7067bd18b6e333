// ConsoleView is the main window of an unattended run: it keeps every
// element's state as the window would, prints each monitor line to standard
// output as it is added and each message box to standard error as
// "[caption] text", answers questions with a preset answer (printed with
// it), and with verbose prints the status-bar texts to standard error too.
// The save dialog is always cancelled. The batch runner drives the
// controller through it:
//
//   ConsoleView view(std::cout, std::cerr, ModalMessageBox::kAnswerNo, false);
//   TfrmOutput controller(view, home);
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "app/OutputView.h"

class ConsoleView : public OutputView {
public:
    ConsoleView(std::ostream& out, std::ostream& err, int answer, bool verbose);

    bool hasElement(std::string_view name) const override;
    void setText(std::string_view name, const std::u16string& text) override;
    std::u16string text(std::string_view name) const override;
    void setEnabled(std::string_view name, bool enabled) override;
    bool isEnabled(std::string_view name) const override;
    void setVisible(std::string_view name, bool visible) override;
    void setColour(std::string_view, Colour) override {}
    void setReadOnly(std::string_view, bool) override {}
    void setBold(std::string_view, bool) override {}
    void setFocus(std::string_view) override {}
    bool isChecked(std::string_view name) const override;
    void setChecked(std::string_view name, bool checked) override;
    int position(std::string_view name) const override;
    void setPosition(std::string_view name, int position) override;
    int itemIndex(std::string_view name) const override;
    void setItemIndex(std::string_view name, int index) override;
    std::u16string itemText(std::string_view name, int index) const override;
    void setActivePage(std::string_view) override {}
    void setProgress(std::string_view, int, int) override {}
    void bindGrid(std::string_view, MySqlDataSource*) override {}
    void setTitle(const std::u16string&) override {}
    void setStatusText(const std::u16string& text) override;
    void addMonitorLine(const std::u16string& line) override;
    Geometry geometry() const override { return {}; }
    void moveWindow(int, int) override {}
    std::optional<std::u16string> askSaveFileName(const SaveDialogRequest&) override {
        return std::nullopt;
    }
    void processEvents() override {}
    void terminate() override { terminated_ = true; }
    int show(const std::u16string& text, const std::u16string& caption, int flags) override;

    bool terminated() const { return terminated_; }
    const std::vector<std::u16string>& statusTexts() const { return statusTexts_; }

private:
    struct Element {
        std::u16string text;
        bool enabled = true;
        bool visible = true;
        bool checked = false;
        int position = 0;
        int itemIndex = -1;
        std::vector<std::u16string> items;
    };
    // The element (an up-down's edit name leads to the up-down).
    Element& at(std::string_view name);
    const Element* find(std::string_view name) const;
    std::string key(std::string_view name) const;

    std::ostream& out_;
    std::ostream& err_;
    int answer_;
    bool verbose_;
    bool terminated_ = false;
    std::map<std::string, Element, std::less<>> elements_;
    std::vector<std::u16string> statusTexts_;
};
