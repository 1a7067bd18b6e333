// The revision-notes window's behaviour: the missing-name lines, loading the
// notes into the memo, the key combinations and saving.
#include "dialogs/TfrmNotes.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/Text.h"
#include "dialogs/NotesTestSupport.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"

namespace {

using Lines = std::vector<std::u16string>;

// A memo in memory: what the window shows, and whether it was unlocked.
class RecordingNotesView : public NotesView {
public:
    void appendLine(const std::u16string& line) override {
        if (memo.size() == 1 && memo.front().empty()) {
            memo.clear();
        }
        memo.push_back(line);
    }
    void setLines(const Lines& lines) override { memo = lines.empty() ? Lines{u""} : lines; }
    Lines lines() const override { return memo; }
    void unlockForEditing() override { ++unlocks; }

    Lines memo{u""};
    int unlocks = 0;
};

class NotesTest : public testing::Test {
protected:
    RecordingNotesView view;
    RecordingMessageBox messages;
    TempDir dir;
    TfrmNotes notes{&view, &messages};

    std::string notesPath() const { return dir.file("Vantrell.REV"); }
    void nameBoth() {
        notes.SetProgramName("Vantrell");
        notes.SetDataFolder(dir.path());
    }
};

}  // namespace

TEST_F(NotesTest, ShowingWithoutNamesListsWhatIsMissingAndLoadsNothing) {
    notes.FormShow();
    EXPECT_EQ(view.memo, (Lines{u"Nome programma non comunicato alla classe",
                                u"Nome cartella dati non comunicato alla classe"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(NotesTest, TheInformationBoxGivesOnlyTheProgramSoOnlyTheFolderIsMissing) {
    notes.SetProgramName("Vantrell");
    notes.FormShow();
    EXPECT_EQ(view.memo, Lines{u"Nome cartella dati non comunicato alla classe"});
    EXPECT_FALSE(notes.notesPath());
}

TEST_F(NotesTest, AnEmptyNameCountsAsMissing) {
    notes.SetProgramName("Vantrell");
    notes.SetProgramName("");
    notes.SetDataFolder(dir.path());
    notes.FormShow();
    EXPECT_EQ(view.memo, Lines{u"Nome programma non comunicato alla classe"});
}

TEST_F(NotesTest, AMissingFileIsNamedInTheMemo) {
    nameBoth();
    notes.FormShow();
    const std::u16string first = u"File di revisione: " + text::toWide(notesPath());
    EXPECT_EQ(view.memo, (Lines{first, u"Non trovato"}));
}

TEST_F(NotesTest, AnExistingFileFillsTheMemo) {
    dir.write("Vantrell.REV", "Rev. 1.0.03/26\r\n- prima versione\r\n");
    nameBoth();
    notes.FormShow();
    EXPECT_EQ(view.memo, (Lines{u"Rev. 1.0.03/26", u"- prima versione"}));
    EXPECT_EQ(view.unlocks, 0);
}

TEST_F(NotesTest, AnUnreadableFileIsReportedAsAnError) {
    dir.write("Vantrell.REV", "uno\r\n");
    UnreadableEnv env;
    TfrmNotes unreadable(&view, &messages, &env);
    unreadable.SetProgramName("Vantrell");
    unreadable.SetDataFolder(dir.path());
    unreadable.FormShow();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, u"Errore!");
    EXPECT_EQ(messages.shown[0].flags, ModalMessageBox::kIconError);
    EXPECT_EQ(view.memo, Lines{u""});
}

TEST(TfrmNotesKeys, OnlyZAndSWithBothCtrlAndAltDoAnything) {
    using Action = TfrmNotes::KeyAction;
    struct Case {
        int key;
        bool ctrl;
        bool alt;
        Action expected;
    };
    const Case cases[] = {
        {'Z', true, true, Action::kUnlock}, {'z', true, true, Action::kUnlock},
        {'S', true, true, Action::kSave},   {'s', true, true, Action::kSave},
        {'Z', true, false, Action::kNone},  {'Z', false, true, Action::kNone},
        {'S', false, false, Action::kNone}, {'X', true, true, Action::kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TfrmNotes::keyAction(c.key, c.ctrl, c.alt), c.expected)
            << static_cast<char>(c.key) << c.ctrl << c.alt;
    }
}

TEST_F(NotesTest, CtrlAltZUnlocksTheMemo) {
    EXPECT_EQ(notes.FormKeyDown('Z', true, true), TfrmNotes::KeyAction::kUnlock);
    EXPECT_EQ(view.unlocks, 1);
    EXPECT_EQ(notes.FormKeyDown('Z', true, false), TfrmNotes::KeyAction::kNone);
    EXPECT_EQ(view.unlocks, 1);
}

TEST_F(NotesTest, CtrlAltSSavesTheLoadedNotesUnchangedAndSaysSo) {
    const std::string bytes = "Rev. 1.0.03/26\r\n\r\n- prima versione\r\n";
    dir.write("Vantrell.REV", bytes);
    nameBoth();
    notes.FormShow();

    EXPECT_EQ(notes.FormKeyDown('S', true, true), TfrmNotes::KeyAction::kSave);
    EXPECT_EQ(readBytes(notesPath()), bytes);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Salvataggio Eseguito");
    EXPECT_EQ(messages.shown[0].caption, u"OK");
    EXPECT_EQ(messages.shown[0].flags, ModalMessageBox::kOk);
}

TEST_F(NotesTest, SavingWritesTheEditedMemoWithoutItsEmptyLastLine) {
    nameBoth();
    view.memo = {u"uno", u"due", u""};
    notes.FormKeyDown('S', true, true);
    EXPECT_EQ(readBytes(notesPath()), "uno\r\ndue\r\n");
}

TEST_F(NotesTest, AnEmptyMemoIsNotSaved) {
    const std::string bytes = "kept\r\n";
    dir.write("Vantrell.REV", bytes);
    nameBoth();
    view.memo = {u""};
    notes.FormKeyDown('S', true, true);
    EXPECT_EQ(readBytes(notesPath()), bytes);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(NotesTest, SavingWithoutNamesOnlyListsWhatIsMissing) {
    notes.SetDataFolder(dir.path());
    view.memo = {u"uno"};
    notes.FormKeyDown('S', true, true);
    EXPECT_EQ(view.memo, (Lines{u"uno", u"Nome programma non comunicato alla classe"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(NotesTest, AFailedSaveIsAnErrorNotASuccess) {
    notes.SetProgramName("Vantrell");
    notes.SetDataFolder(dir.file("no-such-folder"));
    view.memo = {u"uno"};
    notes.FormKeyDown('S', true, true);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, u"Errore!");
    EXPECT_EQ(messages.shown[0].flags, ModalMessageBox::kIconError);
}
