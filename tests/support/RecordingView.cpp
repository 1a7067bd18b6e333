#include "support/RecordingView.h"

#include <gtest/gtest.h>

#include "core/Text.h"

namespace {

using Colour = OutputView::Colour;

struct UpDownDefinition {
    const char* upDown;
    const char* edit;
    int position;
};

// The up-downs of the settings page with their edit boxes and defaults.
constexpr UpDownDefinition kUpDowns[] = {
    {"udResi", "tbResi", 24},        {"udFirst", "tbFirstPkt", 3},    {"udLast", "tbLastPkt", 22},
    {"udDistinta", "tbPktxDist", 1}, {"udDefStamp", "tbDefStamp", 2}, {"udReDom", "tbReDom", 2},
};

// Elements that need nothing but their name.
constexpr const char* kPlainElements[] = {
    // actions
    "act01_Connect", "act02_DstType", "act03_Browse", "act07Reports", "act0End",
    // step controls and panels
    "Control2", "Control3", "Control4", "Control5", "Control6", "Control7", "Control8", "pnlStato8",
    "RadioButton2",
    // job bar
    "tbJobDate", "spbInfo", "spbEnd2",
    // loading page
    "PageControl", "tsPreLoad", "lblCavMode", "lblDocSel", "lblPkts", "tbDataIn", "tbDataOut",
    "tbTrack", "memMonitor",
    // extractions page
    "tsEstrazioni", "dbgOrvax", "dbnNavigator",
    // settings page
    "tsImpostazioni", "chkTest", "chkCopyPath", "tbCopyPath", "spbCopyPath", "sptOptLoad",
    "spbOptSave", "pnlErrors", "DBGrid3",
    // hidden pages
    "dbgDistinte", "dbgDocumenti", "gpbSelTable", "rbTabTemporanee", "rbDatabaseEffettivo",
    "memErrors",
    // status bar and dialog
    "StatusBar", "ProgressBar", "SaveDialog"};

constexpr const char* kDisabledActions[] = {"act04AssTas", "act05Verify", "act06Unload",
                                            "actBlipGen"};
constexpr const char* kReadOnlyBoxes[] = {"tbJobImpo",       "tbServer", "tbBlockNo",
                                          "tbPraticheCount", "tbAgg",    "tbDstFile"};
constexpr const char* kHiddenReadOnlyBoxes[] = {"tbBlocks", "tbBatch", "tbDstRecs"};
constexpr const char* kHiddenElements[] = {"tbGiulian",   "Label19",   "chkAssTasche",
                                           "pnlCopyPath", "tsTabelle", "tsLogErrori",
                                           "psbDistinte"};

}  // namespace

RecordingView::RecordingView() {
    for (const char* name : kPlainElements) {
        add(name);
    }
    for (const char* name : kDisabledActions) {
        add(name).enabled = false;
    }
    for (const char* name : kReadOnlyBoxes) {
        add(name).readOnly = true;
    }
    for (const char* name : kHiddenReadOnlyBoxes) {
        Element& box = add(name);
        box.visible = false;
        box.readOnly = true;
    }
    for (const char* name : kHiddenElements) {
        add(name).visible = false;
    }
    add("Control1").text = u"Segui il giallo...";
    for (int n = 1; n <= 7; ++n) {
        add("pnlStato" + std::to_string(n)).colour = Colour::ButtonHighlight;
    }
    for (const char* name : {"RadioButton1", "RadioButton3", "Panel6", "dbgDateCarico"}) {
        add(name).enabled = false;
    }
    Element& standardNames = add("chkStdFile");
    standardNames.visible = false;
    standardNames.checked = true;
    Element& extension = add("cboExt");
    extension.itemIndex = 0;
    extension.items = {u"CSV", u"NST", u"TXT"};
    for (const UpDownDefinition& upDown : kUpDowns) {
        add(upDown.upDown).position = upDown.position;
        editNames_[upDown.edit] = upDown.upDown;
    }
    elements_.at("udDefStamp").enabled = false;
}

RecordingView::Element& RecordingView::add(const std::string& name) {
    Element& element = elements_[name];
    element = Element();
    return element;
}

void RecordingView::removeElement(const std::string& name) {
    const auto edit = editNames_.find(name);
    const std::string stored = edit != editNames_.end() ? edit->second : name;
    elements_.erase(stored);
    std::erase_if(editNames_, [&](const auto& entry) { return entry.second == stored; });
}

RecordingView::Element* RecordingView::find(std::string_view name) {
    const auto edit = editNames_.find(name);
    const auto found =
        elements_.find(edit != editNames_.end() ? std::string_view(edit->second) : name);
    if (found == elements_.end()) {
        missingRequests.emplace_back(name);
        return nullptr;
    }
    return &found->second;
}

const RecordingView::Element* RecordingView::find(std::string_view name) const {
    return const_cast<RecordingView*>(this)->find(name);
}

RecordingView::Element& RecordingView::element(const std::string& name) {
    if (Element* found = find(name)) {
        return *found;
    }
    ADD_FAILURE() << "the window has no element " << name;
    static Element blank;
    blank = Element{};
    return blank;
}

const RecordingView::Element& RecordingView::element(const std::string& name) const {
    return const_cast<RecordingView*>(this)->element(name);
}

bool RecordingView::hasElement(std::string_view name) const {
    const auto edit = editNames_.find(name);
    return elements_.contains(edit != editNames_.end() ? std::string_view(edit->second) : name);
}

void RecordingView::setText(std::string_view name, const std::u16string& text) {
    if (Element* e = find(name)) {
        e->text = text;
    }
}

std::u16string RecordingView::text(std::string_view name) const {
    const Element* e = find(name);
    return e != nullptr ? e->text : std::u16string();
}

void RecordingView::setEnabled(std::string_view name, bool enabled) {
    if (Element* e = find(name)) {
        e->enabled = enabled;
    }
}

bool RecordingView::isEnabled(std::string_view name) const {
    const Element* e = find(name);
    return e != nullptr && e->enabled;
}

void RecordingView::setVisible(std::string_view name, bool visible) {
    if (Element* e = find(name)) {
        e->visible = visible;
    }
}

void RecordingView::setColour(std::string_view name, Colour colour) {
    if (Element* e = find(name)) {
        e->colour = colour;
    }
}

void RecordingView::setReadOnly(std::string_view name, bool readOnly) {
    if (Element* e = find(name)) {
        e->readOnly = readOnly;
    }
}

void RecordingView::setBold(std::string_view name, bool bold) {
    if (Element* e = find(name)) {
        e->bold = bold;
    }
}

void RecordingView::setFocus(std::string_view name) {
    if (find(name) != nullptr) {
        focus = name;
    }
}

bool RecordingView::isChecked(std::string_view name) const {
    const Element* e = find(name);
    return e != nullptr && e->checked;
}

void RecordingView::setChecked(std::string_view name, bool checked) {
    if (Element* e = find(name)) {
        e->checked = checked;
    }
}

int RecordingView::position(std::string_view name) const {
    const Element* e = find(name);
    return e != nullptr ? e->position : 0;
}

void RecordingView::setPosition(std::string_view name, int position) {
    if (Element* e = find(name)) {
        e->position = position;
    }
}

int RecordingView::itemIndex(std::string_view name) const {
    const Element* e = find(name);
    return e != nullptr ? e->itemIndex : -1;
}

void RecordingView::setItemIndex(std::string_view name, int index) {
    if (Element* e = find(name)) {
        e->itemIndex = index;
    }
}

std::u16string RecordingView::itemText(std::string_view name, int index) const {
    const Element* e = find(name);
    if (e == nullptr || index < 0 || static_cast<size_t>(index) >= e->items.size()) {
        return std::u16string();
    }
    return e->items[static_cast<size_t>(index)];
}

void RecordingView::setActivePage(std::string_view page) {
    if (find(page) != nullptr) {
        activePage = page;
    }
}

void RecordingView::setProgress(std::string_view name, int position, int maximum) {
    if (Element* e = find(name)) {
        e->position = position;
        e->maximum = maximum;
    }
    if (onProgress) {
        onProgress(name, position, maximum);
    }
}

void RecordingView::bindGrid(std::string_view name, MySqlDataSource* source) {
    if (Element* e = find(name)) {
        e->source = source;
        e->bound = true;
    }
}

void RecordingView::setTitle(const std::u16string& text) {
    title = text;
}

void RecordingView::setStatusText(const std::u16string& text) {
    statusTexts.push_back(text);
    if (onStatus) {
        onStatus(text::toNarrow(text));
    }
}

void RecordingView::addMonitorLine(const std::u16string& line) {
    monitorLines.push_back(line);
}

void RecordingView::moveWindow(int top, int left) {
    windowTop = top;
    windowLeft = left;
}

std::optional<std::u16string> RecordingView::askSaveFileName(const SaveDialogRequest& request) {
    saveRequests.push_back(request);
    return saveAnswer;
}

int RecordingView::show(const std::u16string& text, const std::u16string& caption, int flags) {
    shown.push_back({text, caption, flags});
    return answer;
}

std::vector<std::string> RecordingView::messageTexts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& message : shown) {
        texts.push_back(text::toNarrow(message.text));
    }
    return texts;
}

std::string RecordingView::statusText() const {
    return statusTexts.empty() ? std::string() : text::toNarrow(statusTexts.back());
}
