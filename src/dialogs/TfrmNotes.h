// TfrmNotes is the behaviour of the revision-notes window, without the
// window: it knows the program name and data folder that name the notes
// file, loads the file into the memo when the window is shown, and answers
// the two key combinations of the window (Ctrl+Alt+Z unlocks the memo,
// Ctrl+Alt+S saves it). The Qt window (ui/NotesWindow) forwards its show and
// key events here and implements NotesView.
//
//   TfrmNotes notes(&view, &messageBox);
//   notes.SetProgramName("Vantrell");
//   notes.SetDataFolder(folder);
//   notes.FormShow();                       // memo filled
//   notes.FormKeyDown('S', true, true);     // saved, "Salvataggio Eseguito"
//
// Without a program name or a data folder the memo gets a line naming what
// is missing, and nothing is loaded or saved.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialogs/NotesFile.h"
#include "dialogs/NotesView.h"
#include "platform/Env.h"
#include "platform/ModalMessageBox.h"

class TfrmNotes {
public:
    enum class KeyAction { kNone, kUnlock, kSave };

    TfrmNotes(NotesView* view, ModalMessageBox* messages, Env* env = Env::Default());

    // Store a copy of the text; an empty text leaves the value missing.
    void SetProgramName(std::string_view name);
    void SetDataFolder(std::string_view folder);
    const std::optional<std::string>& programName() const { return programName_; }
    const std::optional<std::string>& dataFolder() const { return dataFolder_; }

    // The notes file of the program name and data folder; none while either
    // is missing.
    std::optional<std::string> notesPath() const;

    // What a key pressed with these modifiers asks for: Z or S (either case)
    // with both Ctrl and Alt held; anything else is kNone.
    static KeyAction keyAction(int key, bool ctrl, bool alt);

    // Loads the notes file into the memo.
    void FormShow();
    // Runs the key's action and tells which one it was, so that the window
    // can keep the key from the memo.
    KeyAction FormKeyDown(int key, bool ctrl, bool alt);

private:
    // Adds a line for each missing name; true when both are there.
    bool checkNames();
    void save();
    void showError(const std::u16string& text);

    NotesView* view_;
    ModalMessageBox* messages_;
    NotesFile file_;
    std::optional<std::string> programName_;
    std::optional<std::string> dataFolder_;
};
