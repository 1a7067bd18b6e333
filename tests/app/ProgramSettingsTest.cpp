#include "app/ProgramSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "ControllerFixture.h"
#include "support/TempDir.h"

namespace {

const std::string kDefaults = "RES=24\r\nFST=3\r\nLST=22\r\nCPY=0\r\nPTH=\r\n";

class SettingsTest : public ControllerTest {
protected:
    // The page after a start-up that read a settings file of these bytes.
    RecordingView& startWith(const std::string& bytes) {
        suite.write(SuiteTree::kAuxiliary, "ExportOrvax-EFFETTI01_CA.PRS", bytes);
        start();
        return view;
    }

    int position(const char* name) { return view.element(name).position; }
};

TEST_F(SettingsTest, WithoutAFileThePageKeepsItsDefaultsAndTheyAreWritten) {
    start();
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(position("udResi"), 24);
    controller->FormDestroy();
    EXPECT_EQ(readBytes(settingsFile()), kDefaults);
}

TEST_F(SettingsTest, RoundTripThroughTheFile) {
    start();
    view.element("udResi").position = 30;
    view.element("tbFirstPkt").position = 4;  // the up-down by its edit's name
    view.element("udLast").position = 20;
    view.element("chkCopyPath").checked = true;
    view.element("tbCopyPath").text = u"/srv/sorter";
    view.element("udDistinta").position = 5;  // not saved
    controller->FormDestroy();
    EXPECT_EQ(readBytes(settingsFile()),
              "RES=30\r\nFST=4\r\nLST=20\r\nCPY=1\r\nPTH=/srv/sorter\r\n");

    RecordingView next;
    TfrmOutput again(next, suite.home(), &env);
    again.FormCreate();
    EXPECT_EQ(next.element("udResi").position, 30);
    EXPECT_EQ(next.element("udFirst").position, 4);
    EXPECT_EQ(next.element("udLast").position, 20);
    EXPECT_TRUE(next.element("chkCopyPath").checked);
    EXPECT_EQ(narrow(next.element("tbCopyPath").text), "/srv/sorter");
    EXPECT_EQ(next.element("udDistinta").position, 1);
}

struct LineCase {
    std::string name;
    std::string file;
    int resi;
    int first;
    int last;
    bool copy;
    std::string folder;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

class SettingsLineTest : public SettingsTest, public testing::WithParamInterface<LineCase> {};

TEST_P(SettingsLineTest, ReadsAsTheFileSays) {
    const LineCase& c = GetParam();
    startWith(c.file);
    EXPECT_EQ(position("udResi"), c.resi);
    EXPECT_EQ(position("udFirst"), c.first);
    EXPECT_EQ(position("udLast"), c.last);
    EXPECT_EQ(view.element("chkCopyPath").checked, c.copy);
    EXPECT_EQ(narrow(view.element("tbCopyPath").text), c.folder);
    EXPECT_TRUE(view.shown.empty());
}

const std::string k78(78, 'x');

const LineCase kLineCases[] = {
    {"KeysIgnoreCase", "res=30\r\nFsT=5\r\nlst=40\r\ncpy=1\r\npth=/a\r\n", 30, 5, 40, true, "/a"},
    {"ABlankFirstIsAComment", " RES=30\r\n", 24, 3, 22, false, ""},
    {"ASemicolonFirstIsAComment", ";RES=30\r\n\r\nFST=6\r\n", 24, 6, 22, false, ""},
    {"OtherKeysAreIgnored", "XYZ=1\r\nRE=5\r\nRESI=7\r\n", 24, 3, 22, false, ""},
    {"LineEndsNeedNoCarriageReturn", "RES=31\nFST=7", 31, 7, 22, false, ""},
    {"CopyIsAnyNonZeroNumber", "CPY=2\r\n", 24, 3, 22, true, ""},
    {"CopyWithoutDigitsUnchecks", "CPY=1\r\nCPY=abc\r\n", 24, 3, 22, false, ""},
    {"TheLastValueWins", "PTH=/first\r\nRES=40\r\nPTH=/second\r\nRES=41\r\n", 41, 3, 22, false,
     "/second"},
    {"NumbersTakeBlanksSignAndLeadingDigits", "RES=  +7x\r\nFST=12.9\r\n", 7, 12, 22, false, ""},
    {"NoDigitsGiveTheLowestPocket", "FST=\r\n", 24, 1, 22, false, ""},
    {"OutOfRangeComesToTheNearestBound", "RES=0\r\nFST=101\r\nLST=80\r\n", 1, 100, 64, false, ""},
    {"NegativeAndHugeNumbersAreBounded", "RES=-5\r\nFST=99999999999999999999\r\n", 1, 100, 22,
     false, ""},
    {"TheFolderIsTheRestOfTheLineUnchanged", "PTH= /srv/a b \r\n", 24, 3, 22, false, " /srv/a b "},
    {"ControlCharactersReadAsBlanks", std::string("PTH=/a\tb\x01") + "\r\n", 24, 3, 22, false,
     "/a b "},
    {"ALongLineIsReadInPiecesOf82", "PTH=" + k78 + "yyyy\r\nRES=9\r\n", 9, 3, 22, false, k78},
};

INSTANTIATE_TEST_SUITE_P(Lines, SettingsLineTest, testing::ValuesIn(kLineCases),
                         [](const testing::TestParamInfo<LineCase>& info) {
                             return info.param.name;
                         });

TEST_F(SettingsTest, ALongFolderIsCutToTheLineAndComesBackShortened) {
    start();
    const std::string folder = "/" + std::string(99, 'd');
    view.element("tbCopyPath").text = text::toWide(folder);
    controller->FormDestroy();
    const std::string expectedLine = "PTH=" + folder.substr(0, 76);
    EXPECT_EQ(readBytes(settingsFile()),
              "RES=24\r\nFST=3\r\nLST=22\r\nCPY=0\r\n" + expectedLine + "\r\n");

    RecordingView next;
    TfrmOutput again(next, suite.home(), &env);
    again.FormCreate();
    EXPECT_EQ(narrow(next.element("tbCopyPath").text), folder.substr(0, 76));
}

TEST_F(SettingsTest, AFileThatCannotBeCreatedIsReportedWithErrore) {
    start();
    std::filesystem::create_directory(settingsFile());  // a folder in the file's place
    controller->FormDestroy();
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(narrow(view.shown[0].text), "Apertura di " + settingsFile() + "\r\n non riuscita");
    EXPECT_EQ(narrow(view.shown[0].caption), "Errore");
    EXPECT_EQ(view.shown[0].flags, ModalMessageBox::kIconError | ModalMessageBox::kOk);
    EXPECT_TRUE(std::filesystem::is_directory(settingsFile()));
}

TEST_F(SettingsTest, AnUnreadableFileKeepsTheDefaultsSilently) {
    std::filesystem::create_directory(settingsFile());
    start();
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(position("udResi"), 24);
}

TEST(ProgramSettingsNumberTest, ReadsLikeTheSuite) {
    const std::pair<const char*, int> cases[] = {
        {"42", 42},
        {"  42", 42},
        {"-3", -3},
        {"+8", 8},
        {"", 0},
        {"abc", 0},
        {"7abc", 7},
        {" - 3", 0},
        {"00012", 12},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ProgramSettings::readNumber(text), value) << text;
    }
}

}  // namespace
