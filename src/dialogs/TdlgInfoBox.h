// TdlgInfoBox is the behaviour of the information box, without the window:
// the program's name and description shown on it, the folder it hands to
// the revision-notes window, and its buttons (notes, close, web address).
// The Qt box (ui/InfoBoxDialog) forwards its clicks here and implements
// InfoBoxView.
//
//   TdlgInfoBox box(&view);
//   box.SetDescription(TdlgInfoBox::kMainWindowDescription);
//   box.SetProgram(TdlgInfoBox::kMainWindowProgram);
//   box.SpbNotesClick();   // opens the notes window for "Vantrell"
//
// The main window's information button shows the box with the two
// kMainWindow texts; nothing in the program sets a notes folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialogs/InfoBoxView.h"

class TdlgInfoBox {
public:
    static constexpr std::u16string_view kCaption = u"Info";
    static constexpr std::u16string_view kRevision = u"Revisione 3.0.10";
    static constexpr std::u16string_view kMaker = u"Quorvel";
    static constexpr std::u16string_view kWebAddress = u"https://www.quorvel.example";
    static constexpr std::u16string_view kMainWindowDescription =
        u"Output nelle estrazioni di caveau";
    static constexpr std::u16string_view kMainWindowProgram = u"Vantrell";

    explicit TdlgInfoBox(InfoBoxView* view);

    void SetDescription(std::u16string_view text);
    void SetProgram(std::u16string_view text);
    std::u16string GetProgram() const;

    void setNotesFolder(std::string_view folder);
    const std::optional<std::string>& notesFolder() const { return notesFolder_; }

    // Handlers of the box.
    void FormShow() {}
    void spbCloseClick();
    void SpbNotesClick();
    void webAddressClick();

private:
    InfoBoxView* view_;
    std::optional<std::string> notesFolder_;
};
