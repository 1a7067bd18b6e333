#include "dialogs/TfrmNotes.h"

#include <vector>

#include "core/Text.h"

namespace {

// The memo's line count: an empty last paragraph is not a line.
std::vector<std::u16string> memoLines(const NotesView& view) {
    std::vector<std::u16string> lines = view.lines();
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

std::optional<std::string> nonEmpty(std::string_view text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

}  // namespace

TfrmNotes::TfrmNotes(NotesView* view, ModalMessageBox* messages, Env* env)
    : view_(view), messages_(messages), file_(env) {}

void TfrmNotes::SetProgramName(std::string_view name) {
    programName_ = nonEmpty(name);
}

void TfrmNotes::SetDataFolder(std::string_view folder) {
    dataFolder_ = nonEmpty(folder);
}

std::optional<std::string> TfrmNotes::notesPath() const {
    if (!programName_ || !dataFolder_) {
        return std::nullopt;
    }
    return NotesFile::pathFor(*dataFolder_, *programName_);
}

TfrmNotes::KeyAction TfrmNotes::keyAction(int key, bool ctrl, bool alt) {
    if (!ctrl || !alt) {
        return KeyAction::kNone;
    }
    if (key == 'Z' || key == 'z') {
        return KeyAction::kUnlock;
    }
    if (key == 'S' || key == 's') {
        return KeyAction::kSave;
    }
    return KeyAction::kNone;
}

bool TfrmNotes::checkNames() {
    if (!programName_) {
        view_->appendLine(u"Nome programma non comunicato alla classe");
    }
    if (!dataFolder_) {
        view_->appendLine(u"Nome cartella dati non comunicato alla classe");
    }
    return programName_ && dataFolder_;
}

void TfrmNotes::FormShow() {
    if (!checkNames()) {
        return;
    }
    const std::string path = *notesPath();
    std::vector<std::u16string> lines;
    switch (file_.load(path, &lines)) {
        case NotesFile::kLoaded:
            view_->setLines(lines);
            break;
        case NotesFile::kMissing:
            view_->appendLine(u"File di revisione: " + text::toWide(path));
            view_->appendLine(u"Non trovato");
            break;
        case NotesFile::kUnreadable:
            showError(u"Impossibile leggere il file di revisione\r\n" + text::toWide(path));
            break;
    }
}

TfrmNotes::KeyAction TfrmNotes::FormKeyDown(int key, bool ctrl, bool alt) {
    const KeyAction action = keyAction(key, ctrl, alt);
    if (action == KeyAction::kUnlock) {
        view_->unlockForEditing();
    } else if (action == KeyAction::kSave) {
        save();
    }
    return action;
}

void TfrmNotes::save() {
    if (!checkNames()) {
        return;
    }
    const std::vector<std::u16string> lines = memoLines(*view_);
    if (lines.empty()) {
        return;
    }
    const std::string path = *notesPath();
    if (!file_.save(path, lines)) {
        // A save that did not happen is never reported as done.
        showError(u"Impossibile salvare il file di revisione\r\n" + text::toWide(path));
        return;
    }
    messages_->show(u"Salvataggio Eseguito", u"OK", ModalMessageBox::kOk);
}

void TfrmNotes::showError(const std::u16string& text) {
    messages_->show(text, u"Errore!", ModalMessageBox::kOk | ModalMessageBox::kIconError);
}
