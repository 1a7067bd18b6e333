#include "batch/ConsoleView.h"

#include "core/Text.h"

namespace {

// The up-downs of the settings page with their edit boxes and the values
// the window starts with.
struct UpDown {
    const char* name;
    const char* edit;
    int position;
};
constexpr UpDown kUpDowns[] = {{"udResi", "tbResi", 24},    {"udFirst", "tbFirstPkt", 3},
                               {"udLast", "tbLastPkt", 22}, {"udDistinta", "tbDistinta", 1},
                               {"udReDom", "tbReDom", 0},   {"udDefStamp", "tbDefStamp", 2}};

// The text in the terminal's encoding, its CR LF line breaks as LF.
std::string printable(const std::u16string& text) {
    std::string utf8 = text::toUtf8(text);
    for (size_t at = utf8.find("\r\n"); at != std::string::npos; at = utf8.find("\r\n", at)) {
        utf8.erase(at, 1);
    }
    return utf8;
}

}  // namespace

ConsoleView::ConsoleView(std::ostream& out, std::ostream& err, int answer, bool verbose)
    : out_(out), err_(err), answer_(answer), verbose_(verbose) {
    for (const UpDown& upDown : kUpDowns) {
        elements_[upDown.name].position = upDown.position;
    }
    elements_["chkStdFile"].checked = true;
    Element& extension = elements_["cboExt"];
    extension.items = {u"CSV", u"NST", u"TXT"};
    extension.itemIndex = 0;
}

std::string ConsoleView::key(std::string_view name) const {
    for (const UpDown& upDown : kUpDowns) {
        if (name == upDown.edit) {
            return upDown.name;
        }
    }
    return std::string(name);
}

ConsoleView::Element& ConsoleView::at(std::string_view name) {
    return elements_[key(name)];
}

const ConsoleView::Element* ConsoleView::find(std::string_view name) const {
    const auto it = elements_.find(key(name));
    return it != elements_.end() ? &it->second : nullptr;
}

bool ConsoleView::hasElement(std::string_view) const {
    return true;  // every element of the window is kept on demand
}

void ConsoleView::setText(std::string_view name, const std::u16string& text) {
    at(name).text = text;
}

std::u16string ConsoleView::text(std::string_view name) const {
    const Element* e = find(name);
    return e != nullptr ? e->text : std::u16string();
}

void ConsoleView::setEnabled(std::string_view name, bool enabled) {
    at(name).enabled = enabled;
}

bool ConsoleView::isEnabled(std::string_view name) const {
    const Element* e = find(name);
    return e == nullptr || e->enabled;
}

void ConsoleView::setVisible(std::string_view name, bool visible) {
    at(name).visible = visible;
}

bool ConsoleView::isChecked(std::string_view name) const {
    const Element* e = find(name);
    return e != nullptr && e->checked;
}

void ConsoleView::setChecked(std::string_view name, bool checked) {
    at(name).checked = checked;
}

int ConsoleView::position(std::string_view name) const {
    const Element* e = find(name);
    return e != nullptr ? e->position : 0;
}

void ConsoleView::setPosition(std::string_view name, int position) {
    at(name).position = position;
}

int ConsoleView::itemIndex(std::string_view name) const {
    const Element* e = find(name);
    return e != nullptr ? e->itemIndex : -1;
}

void ConsoleView::setItemIndex(std::string_view name, int index) {
    at(name).itemIndex = index;
}

std::u16string ConsoleView::itemText(std::string_view name, int index) const {
    const Element* e = find(name);
    if (e == nullptr || index < 0 || static_cast<size_t>(index) >= e->items.size()) {
        return std::u16string();
    }
    return e->items[static_cast<size_t>(index)];
}

void ConsoleView::setStatusText(const std::u16string& text) {
    statusTexts_.push_back(text);
    if (verbose_) {
        err_ << printable(text) << std::endl;
    }
}

void ConsoleView::addMonitorLine(const std::u16string& line) {
    out_ << printable(line) << std::endl;
}

int ConsoleView::show(const std::u16string& text, const std::u16string& caption, int flags) {
    err_ << '[' << printable(caption) << "] " << printable(text);
    if ((flags & 0x0F) == kYesNo) {
        const bool yes = answer_ == kAnswerYes;
        err_ << " -> " << (yes ? "yes" : "no") << std::endl;
        return yes ? kAnswerYes : kAnswerNo;
    }
    err_ << std::endl;
    return kAnswerOk;
}
