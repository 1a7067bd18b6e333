// InfoBoxView is what the information box's behaviour (TdlgInfoBox) needs of
// its window: the program and description labels, opening the notes window,
// closing, and opening the maker's web address. The Qt information box
// implements it; tests record the calls.
#pragma once

#include <optional>
#include <string>

// What the notes window is opened with: the program name (8-bit) always, the
// data folder only when the information box was given one.
struct NotesRequest {
    std::string programName;
    std::optional<std::string> dataFolder;
};

class InfoBoxView {
public:
    virtual ~InfoBoxView() = default;

    virtual void setDescriptionText(const std::u16string& text) = 0;
    virtual void setProgramText(const std::u16string& text) = 0;
    virtual std::u16string programText() const = 0;
    // Creates the notes window with the request, shows it modally and
    // destroys it.
    virtual void showNotesWindow(const NotesRequest& request) = 0;
    // Closes the box with the result OK.
    virtual void closeWithOk() = 0;
    // Opens the address with the system's default handler.
    virtual void openAddress(const std::u16string& address) = 0;
};
