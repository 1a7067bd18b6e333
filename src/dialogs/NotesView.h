// NotesView is what the revision-notes window's behaviour (TfrmNotes) needs
// of its window: the memo's lines and unlocking the memo for editing. The Qt
// notes window implements it; tests record the calls.
#pragma once

#include <string>
#include <vector>

class NotesView {
public:
    virtual ~NotesView() = default;

    // Adds one line at the end of the memo.
    virtual void appendLine(const std::u16string& line) = 0;
    // Replaces everything in the memo with the lines.
    virtual void setLines(const std::vector<std::u16string>& lines) = 0;
    // The memo's text split at its line ends, as many lines as the memo has
    // paragraphs (an empty memo gives one empty line).
    virtual std::vector<std::u16string> lines() const = 0;
    // Makes the memo editable and magenta (red 255, green 0, blue 255).
    virtual void unlockForEditing() = 0;
};
