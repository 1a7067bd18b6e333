// The revision-notes file: its name, reading its lines whatever the line
// ends, the code page and the UTF-8 mark, and writing them back.
#include "dialogs/NotesFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "dialogs/NotesTestSupport.h"
#include "support/TempDir.h"

namespace {

using Lines = std::vector<std::u16string>;

}  // namespace

TEST(NotesFile, PathJoinsFolderNameAndExtensionWithTheFoldersOwnSeparator) {
    struct Case {
        const char* folder;
        const char* expected;
    };
    const Case cases[] = {
        {"D:\\VAULT\\PARAM", "D:\\VAULT\\PARAM\\Vantrell.REV"},
        {"D:\\VAULT\\PARAM\\", "D:\\VAULT\\PARAM\\Vantrell.REV"},
        {"/srv/vault/param", "/srv/vault/param/Vantrell.REV"},
        {"/srv/vault/param/", "/srv/vault/param/Vantrell.REV"},
        {"param", "param/Vantrell.REV"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NotesFile::pathFor(c.folder, "Vantrell"), c.expected) << c.folder;
    }
}

TEST(NotesFile, ReadsLinesEndedByCrLfCrOrLfWithoutAnExtraLastLine) {
    struct Case {
        const char* bytes;
        Lines expected;
    };
    const Case cases[] = {
        {"uno\r\ndue\r\n", {u"uno", u"due"}},
        {"uno\ndue", {u"uno", u"due"}},
        {"uno\rdue\r\n\r\n", {u"uno", u"due", u""}},
        {"\r\n", {u""}},
        {"", {}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.write("X.REV", c.bytes);
        NotesFile file;
        Lines lines{u"old"};
        ASSERT_EQ(file.load(path, &lines), NotesFile::kLoaded);
        EXPECT_EQ(lines, c.expected) << c.bytes;
    }
}

// A file in the code page stays in the code page; one marked as UTF-8 stays
// UTF-8, so that no character outside the code page is lost.
TEST(NotesFile, SavesAFileBackInTheEncodingItWasReadIn) {
    struct Case {
        std::string bytes;
        std::u16string line;
    } cases[] = {
        {"Citt\xE0 \x80 5\r\n", u"Citt\u00E0 \u20AC 5"},
        {"\xEF\xBB\xBF\xE2\x86\x92 rev\r\n", u"\u2192 rev"},  // mark, then U+2192 " rev"
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.write("X.REV", c.bytes);
        NotesFile file;
        Lines lines;
        ASSERT_EQ(file.load(path, &lines), NotesFile::kLoaded) << c.bytes;
        EXPECT_EQ(lines, Lines{c.line}) << c.bytes;

        ASSERT_TRUE(file.save(path, lines));
        EXPECT_EQ(readBytes(path), c.bytes);
    }
}

TEST(NotesFile, TellsAMissingFileFromAnUnreadableOne) {
    TempDir dir;
    Lines lines{u"kept"};
    NotesFile file;
    EXPECT_EQ(file.load(dir.file("NONE.REV"), &lines), NotesFile::kMissing);
    EXPECT_EQ(file.load(dir.path(), &lines), NotesFile::kMissing);  // a directory

    UnreadableEnv env;
    NotesFile unreadable(&env);
    EXPECT_EQ(unreadable.load(dir.write("X.REV", "uno\r\n"), &lines), NotesFile::kUnreadable);
    EXPECT_EQ(lines, Lines{u"kept"});
}

TEST(NotesFile, SaveReplacesTheFileAndFailsWhereNoFileCanBeMade) {
    TempDir dir;
    const std::string path = dir.write("X.REV", "a much longer old content\r\n");
    NotesFile file;
    ASSERT_TRUE(file.save(path, {u"uno", u"", u"tre"}));
    EXPECT_EQ(readBytes(path), "uno\r\n\r\ntre\r\n");

    EXPECT_FALSE(file.save(dir.file("missing-folder/X.REV"), {u"uno"}));
}
