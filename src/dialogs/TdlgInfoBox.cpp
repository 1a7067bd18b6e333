#include "dialogs/TdlgInfoBox.h"

#include "core/Text.h"

TdlgInfoBox::TdlgInfoBox(InfoBoxView* view) : view_(view) {}

void TdlgInfoBox::SetDescription(std::u16string_view text) {
    view_->setDescriptionText(std::u16string(text));
}

void TdlgInfoBox::SetProgram(std::u16string_view text) {
    view_->setProgramText(std::u16string(text));
}

std::u16string TdlgInfoBox::GetProgram() const {
    return view_->programText();
}

void TdlgInfoBox::setNotesFolder(std::string_view folder) {
    notesFolder_ = folder.empty() ? std::nullopt : std::optional<std::string>(folder);
}

void TdlgInfoBox::spbCloseClick() {
    view_->closeWithOk();
}

void TdlgInfoBox::SpbNotesClick() {
    view_->showNotesWindow({text::toNarrow(view_->programText()), notesFolder_});
}

void TdlgInfoBox::webAddressClick() {
    view_->openAddress(std::u16string(kWebAddress));
}
