// FuzzView is the window as the fuzz targets give it to a parser: it keeps
// the texts, positions and check marks set on it and answers them back, and
// every message box is answered "OK". No element is missing.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "app/OutputView.h"

class FuzzView : public OutputView {
public:
    int show(const std::u16string&, const std::u16string&, int) override {
        ++messages;
        return kAnswerOk;
    }

    bool hasElement(std::string_view) const override { return true; }
    void setText(std::string_view name, const std::u16string& text) override {
        texts[std::string(name)] = text;
    }
    std::u16string text(std::string_view name) const override {
        const auto found = texts.find(std::string(name));
        return found == texts.end() ? std::u16string() : found->second;
    }
    void setEnabled(std::string_view, bool) override {}
    bool isEnabled(std::string_view) const override { return true; }
    void setVisible(std::string_view, bool) override {}
    void setColour(std::string_view, Colour) override {}
    void setReadOnly(std::string_view, bool) override {}
    void setBold(std::string_view, bool) override {}
    void setFocus(std::string_view) override {}
    bool isChecked(std::string_view name) const override {
        const auto found = checks.find(std::string(name));
        return found != checks.end() && found->second;
    }
    void setChecked(std::string_view name, bool checked) override {
        checks[std::string(name)] = checked;
    }
    int position(std::string_view name) const override {
        const auto found = positions.find(std::string(name));
        return found == positions.end() ? 0 : found->second;
    }
    void setPosition(std::string_view name, int position) override {
        positions[std::string(name)] = position;
    }
    int itemIndex(std::string_view) const override { return -1; }
    void setItemIndex(std::string_view, int) override {}
    std::u16string itemText(std::string_view, int) const override { return {}; }
    void setActivePage(std::string_view) override {}
    void setProgress(std::string_view, int, int) override {}
    void bindGrid(std::string_view, MySqlDataSource*) override {}
    void setTitle(const std::u16string&) override {}
    void setStatusText(const std::u16string&) override {}
    void addMonitorLine(const std::u16string&) override {}
    Geometry geometry() const override { return {}; }
    void moveWindow(int, int) override {}
    std::optional<std::u16string> askSaveFileName(const SaveDialogRequest&) override {
        return std::nullopt;
    }
    void processEvents() override {}
    void terminate() override {}

    int messages = 0;
    std::map<std::string, std::u16string> texts;
    std::map<std::string, bool> checks;
    std::map<std::string, int> positions;
};
