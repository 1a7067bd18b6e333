// The revision-notes window on the screen: its look, loading on show, and
// the two key combinations typed into the memo.
#include "ui/NotesWindow.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPlainTextEdit>
#include <QTest>

#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"
#include "ui/UiTestSupport.h"

namespace {

class NotesWindowTest : public testing::Test {
protected:
    TempDir dir;
    RecordingMessageBox messages;
    NotesWindow window{nullptr, &messages};

    QPlainTextEdit* memo() { return window.findChild<QPlainTextEdit*>(QStringLiteral("memNotes")); }
    void showWithNotes(const std::string& bytes) {
        dir.write("Vantrell.REV", bytes);
        window.behaviour().SetProgramName("Vantrell");
        window.behaviour().SetDataFolder(dir.path());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

}  // namespace

TEST_F(NotesWindowTest, IsAReadOnlyFixedPitchMemoWithBothScrollBars) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Note di revisione"));
    EXPECT_EQ(window.size(), QSize(582, 349));
    ASSERT_NE(memo(), nullptr);
    EXPECT_TRUE(memo()->isReadOnly());
    EXPECT_TRUE(QFontInfo(memo()->font()).fixedPitch());
    EXPECT_EQ(memo()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(NotesWindowTest, ShowingLoadsTheNotesFile) {
    showWithNotes("Rev. 1.0.03/26\r\nCitt\xE0\r\n");
    EXPECT_EQ(memo()->toPlainText(), q(u"Rev. 1.0.03/26\nCittà"));
}

TEST_F(NotesWindowTest, CtrlAltZUnlocksTheMemoInMagentaAndUnsavedTypingLeavesTheFile) {
    const std::string bytes = "Rev. 1.0.03/26\r\n";
    showWithNotes(bytes);
    QTest::keyClick(memo(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(memo()->isReadOnly());
    EXPECT_EQ(memo()->palette().color(QPalette::Base), QColor(255, 0, 255));
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("Rev. 1.0.03/26"));  // the key typed nothing

    memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo(), QStringLiteral(" bis"));
    window.close();
    EXPECT_EQ(readBytes(dir.file("Vantrell.REV")), bytes);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(NotesWindowTest, CtrlAltSSavesWhatTheMemoHolds) {
    showWithNotes("Rev. 1.0.03/26\r\n");
    QTest::keyClick(memo(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo(), QStringLiteral(" bis"));
    QTest::keyClick(memo(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);

    EXPECT_EQ(readBytes(dir.file("Vantrell.REV")), "Rev. 1.0.03/26 bis\r\n");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Salvataggio Eseguito");
}

TEST_F(NotesWindowTest, PlainKeysDoNothingInTheLockedMemo) {
    showWithNotes("Rev\r\n");
    QTest::keyClick(memo(), Qt::Key_Z);
    QTest::keyClick(memo(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(memo()->isReadOnly());
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("Rev"));
    EXPECT_TRUE(messages.shown.empty());
}
