// The work-mode archive: both forms, the fields of each line, the sizes
// accepted, archives that end early, and job names that are not plain names.
#include "environment/KroModLav.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/SuiteTree.h"
#include "support/TempDir.h"

namespace {

constexpr uint32_t bit(int n) {
    return 1u << n;
}
constexpr uint32_t kEndedEarly = bit(KroModLav::kEndsEarlyBit) | bit(KroModLav::kNoJobBit);

KroModLav loadJob(const SuiteTree& suite) {
    return KroModLav(suite.witness.jobName.c_str(), suite.folder(SuiteTree::kParameters));
}

std::string text(const char* value) {
    return value ? value : "<none>";
}

// The archive of the fields cut into its lines, without line ends.
std::vector<std::string> linesOf(const WorkModeFields& fields) {
    const std::string archive = workModeArchive(fields);
    const std::size_t stride = (fields.longForm ? 784 : 264) + 2;
    std::vector<std::string> lines;
    for (std::size_t start = 0; start + stride <= archive.size(); start += stride) {
        lines.push_back(archive.substr(start, stride - 2));
    }
    return lines;
}

// The lines, each followed by CR LF.
std::string joined(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

// Bytes of a short-form archive: the lines, then a last line of filler that
// brings the file to 1330 bytes.
std::string shortArchive(const std::vector<std::string>& lines, char filler = 'N') {
    std::string bytes = joined(lines);
    EXPECT_LE(bytes.size() + 2, 1330u);
    return bytes + std::string(1330 - bytes.size() - 2, filler) + "\r\n";
}

}  // namespace

TEST(KroModLav, ShortFormAnswersTheJobsValues) {
    SuiteTree suite;
    const KroModLav workMode = loadJob(suite);

    EXPECT_EQ(workMode.status().value(), 0u);
    EXPECT_STREQ(workMode.name(), "Modo Lavoro");
    EXPECT_EQ(workMode.recordLength(), 264);
    EXPECT_STREQ(workMode.param(0), "03069");
    EXPECT_STREQ(workMode.param(5), "CA");
    EXPECT_STREQ(workMode.param(16), "AAMMGG");
    EXPECT_EQ(workMode.param(1), nullptr);
    EXPECT_STREQ(workMode.trackName(7), "VAULT");
    EXPECT_STREQ(workMode.trackName(10), "GUIDA");
    EXPECT_STREQ(workMode.trackName(13), "SORTER");
    EXPECT_EQ(workMode.trackName(0), nullptr);
    EXPECT_TRUE(workMode.option(7));
    EXPECT_FALSE(workMode.option(0));
    EXPECT_EQ(workMode.optionWord().value(), bit(7));
    EXPECT_EQ(workMode.flagWord(), 0b101u);
    EXPECT_EQ(workMode.number(0), 123);
    EXPECT_EQ(workMode.number(1), 45);
    EXPECT_EQ(workMode.number(2), 678);
    EXPECT_EQ(workMode.number(3), 9);
    EXPECT_STREQ(workMode.description(), "Scarico effetti richiamati");
    EXPECT_STREQ(workMode.longName(0), "Tracciato del f");
    EXPECT_EQ(workMode.note(), nullptr);  // five lines: no note
}

TEST(KroModLav, LongFormKeepsLongNamesOf48Characters) {
    SuiteTree suite;
    suite.workMode.longForm = true;
    suite.workMode.longNames[1] = std::string(49, 'L');
    suite.workMode.longNames[15] = "Ultimo";
    suite.writeWorkMode();
    const KroModLav workMode = loadJob(suite);

    EXPECT_EQ(workMode.status().value(), 0u);
    EXPECT_EQ(workMode.recordLength(), 784);
    EXPECT_STREQ(workMode.longName(0), "Tracciato del flusso per la selezionatrice");
    EXPECT_EQ(text(workMode.longName(1)), std::string(48, 'L'));
    EXPECT_STREQ(workMode.longName(15), "Ultimo");
    EXPECT_STREQ(workMode.param(16), "AAMMGG");
    EXPECT_STREQ(workMode.trackName(13), "SORTER");
}

TEST(KroModLav, IndexesOutOfRangeAnswerNone) {
    SuiteTree suite;
    const KroModLav workMode = loadJob(suite);
    EXPECT_EQ(workMode.param(-1), nullptr);
    EXPECT_EQ(workMode.param(24), nullptr);
    EXPECT_EQ(workMode.trackName(16), nullptr);
    EXPECT_EQ(workMode.longName(-1), nullptr);
    EXPECT_FALSE(workMode.option(32));
    EXPECT_FALSE(workMode.option(-1));
    EXPECT_EQ(workMode.number(4), 0);
}

TEST(KroModLav, FieldsAreCutBlankLedOrStoppedAtTheLineEnd) {
    const struct {
        const char* label;
        std::function<void(WorkModeFields&)> change;
        std::function<const char*(const KroModLav&)> read;
        const char* expected;
    } cases[] = {
        {"11 characters keep 10", [](WorkModeFields& f) { f.params[1] = "ABCDEFGHIJK"; },
         [](const KroModLav& m) { return m.param(1); }, "ABCDEFGHIJ"},
        {"five digits and blanks", [](WorkModeFields& f) { f.params[1] = "12345"; },
         [](const KroModLav& m) { return m.param(1); }, "12345"},
        {"parameter led by a blank", [](WorkModeFields& f) { f.params[1] = " 12345"; },
         [](const KroModLav& m) { return m.param(1); }, nullptr},
        {"parameter led by a tab", [](WorkModeFields& f) { f.params[1] = "\t2345"; },
         [](const KroModLav& m) { return m.param(1); }, nullptr},
        {"accented letter reads as a blank", [](WorkModeFields& f) { f.params[23] = "AB\xE8"; },
         [](const KroModLav& m) { return m.param(23); }, "AB"},
        {"name led by a blank", [](WorkModeFields& f) { f.names[10] = " GUIDA"; },
         [](const KroModLav& m) { return m.trackName(10); }, nullptr},
        {"16 characters of a name keep 15",
         [](WorkModeFields& f) { f.names[15] = "ABCDEFGHIJKLMNOP"; },
         [](const KroModLav& m) { return m.trackName(15); }, "ABCDEFGHIJKLMNO"},
        {"long name led by a blank", [](WorkModeFields& f) { f.longNames[3] = " X"; },
         [](const KroModLav& m) { return m.longName(3); }, nullptr},
    };
    for (const auto& c : cases) {
        SuiteTree suite;
        c.change(suite.workMode);
        suite.writeWorkMode();
        const KroModLav workMode = loadJob(suite);
        EXPECT_EQ(workMode.status().value(), 0u) << c.label;
        EXPECT_EQ(text(c.read(workMode)), text(c.expected)) << c.label;
    }
}

TEST(KroModLav, LineZeroNumbersStopAtTheirFirstNonDigit) {
    SuiteTree suite;
    suite.workMode.flags = "1x1 1111";
    suite.workMode.numbers = "12A 7   -5 X";
    suite.writeWorkMode();
    const KroModLav workMode = loadJob(suite);
    EXPECT_EQ(workMode.status().value(), 0u);
    EXPECT_EQ(workMode.flagWord(), 0b11110101u);
    EXPECT_EQ(workMode.number(0), 12);
    EXPECT_EQ(workMode.number(1), 7);
    EXPECT_EQ(workMode.number(2), -5);
    EXPECT_EQ(workMode.number(3), 0);
}

TEST(KroModLav, BlankNameLineLoadsWithEveryNameNone) {
    SuiteTree suite;
    suite.workMode.names = std::vector<std::string>(16);
    suite.writeWorkMode();
    const KroModLav workMode = loadJob(suite);
    EXPECT_EQ(workMode.status().value(), 0u);
    for (int i = 0; i < KroModLav::kNameCount; ++i) {
        EXPECT_EQ(workMode.trackName(i), nullptr) << i;
    }
    EXPECT_STREQ(workMode.param(16), "AAMMGG");
}

TEST(KroModLav, SixthLineIsTheNoteAndShortLinesEndTheirFields) {
    SuiteTree suite;
    std::vector<std::string> lines = linesOf(suite.workMode);
    lines[2] = "ABC";  // parameter 0 stops at the line end; the others are empty
    lines[4] = "X";
    lines.push_back(std::string(261, 'n'));  // the note keeps 259
    std::string bytes = joined(lines);
    bytes.replace(bytes.size() - 2, 0, std::string(1330 - bytes.size(), ' '));  // to 1330
    suite.write(SuiteTree::kParameters, "EFFETTI01_CA.LAV", bytes);
    const KroModLav workMode = loadJob(suite);

    EXPECT_EQ(workMode.status().value(), 0u);
    EXPECT_STREQ(workMode.param(0), "ABC");
    EXPECT_EQ(workMode.param(16), nullptr);
    EXPECT_STREQ(workMode.longName(0), "X");
    EXPECT_EQ(text(workMode.note()), std::string(259, 'n'));
}

TEST(KroModLav, ArchiveEndingBeforeLineFourSetsBitOneAndEmptiesEverything) {
    SuiteTree suite;
    const std::vector<std::string> lines = linesOf(suite.workMode);
    auto without = [&lines](std::size_t index) {
        std::vector<std::string> changed = lines;
        changed[index].clear();  // two line ends in a row
        return shortArchive(changed);
    };
    const struct {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"empty line 0", without(0)},
        {"empty line 2", without(2)},
        {"empty line 4", without(4)},
        {"end-of-file marks only", std::string(1330, '\x1A')},
    };
    for (const auto& c : cases) {
        suite.write(SuiteTree::kParameters, "EFFETTI01_CA.LAV", c.bytes);
        ASSERT_EQ(c.bytes.size(), 1330u) << c.label;
        const KroModLav workMode = loadJob(suite);
        EXPECT_EQ(workMode.status().value(), kEndedEarly) << c.label;
        for (int i = 0; i < KroModLav::kParamCount; ++i) {
            EXPECT_EQ(workMode.param(i), nullptr) << c.label << " " << i;
        }
        EXPECT_EQ(workMode.trackName(10), nullptr) << c.label;
        EXPECT_FALSE(workMode.option(7)) << c.label;
        EXPECT_EQ(workMode.optionWord().value(), 0u) << c.label;
        EXPECT_EQ(workMode.flagWord(), 0u) << c.label;
        EXPECT_EQ(workMode.number(0), 0) << c.label;
        EXPECT_EQ(workMode.description(), nullptr) << c.label;
    }
}

TEST(KroModLav, OnlyTheTwoSizesAreAccepted) {
    SuiteTree suite;
    const std::string shortForm = workModeArchive(suite.workMode);
    WorkModeFields longFields = suite.workMode;
    longFields.longForm = true;
    const std::string longForm = workModeArchive(longFields);
    const struct {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"1331 bytes", shortForm + "X"},
        {"1329 bytes", shortForm.substr(0, 1329)},
        {"3931 bytes", longForm + "X"},
        {"3929 bytes", longForm.substr(0, 3929)},
        {"two short forms", shortForm + shortForm},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        suite.write(SuiteTree::kParameters, "EFFETTI01_CA.LAV", c.bytes);
        const KroModLav workMode = loadJob(suite);
        EXPECT_EQ(workMode.status().value(),
                  bit(KroModLav::kBadSizeBit) | bit(KroModLav::kNoJobBit))
            << c.label;
        EXPECT_EQ(workMode.param(0), nullptr) << c.label;
    }
}

TEST(KroModLav, MissingArchiveOrJobAnswersNone) {
    SuiteTree suite;
    const std::string folder = suite.folder(SuiteTree::kParameters);
    // An archive the escaping names below would reach.
    suite.write(SuiteTree::kWork, "ESCAPE.LAV", workModeArchive(suite.workMode));
    ASSERT_TRUE(Env::Default()->createDirectory(folder + "/FOLDER.LAV"));
    const struct {
        const char* label;
        const char* jobName;
        uint32_t status;
    } cases[] = {
        {"no archive", "NOJOB", bit(KroModLav::kCannotOpenBit) | bit(KroModLav::kNoJobBit)},
        {"archive is a directory", "FOLDER",
         bit(KroModLav::kCannotOpenBit) | bit(KroModLav::kNoJobBit)},
        {"no job name", nullptr, bit(KroModLav::kNoJobBit)},
        {"empty job name", "", bit(KroModLav::kNoJobBit)},
        {"slash leaves the folder", "../LAV/ESCAPE",
         bit(KroModLav::kCannotOpenBit) | bit(KroModLav::kNoJobBit)},
        {"backslash", "..\\LAV\\ESCAPE",
         bit(KroModLav::kCannotOpenBit) | bit(KroModLav::kNoJobBit)},
    };
    for (const auto& c : cases) {
        const KroModLav workMode(c.jobName, folder);
        EXPECT_EQ(workMode.status().value(), c.status) << c.label;
        EXPECT_EQ(workMode.param(16), nullptr) << c.label;
        EXPECT_EQ(workMode.trackName(10), nullptr) << c.label;
        EXPECT_FALSE(workMode.option(7)) << c.label;
    }
}

TEST(KroModLav, FolderMayEndWithASeparator) {
    SuiteTree suite;
    const KroModLav workMode("EFFETTI01_CA", suite.folder(SuiteTree::kParameters) + "/");
    EXPECT_EQ(workMode.status().value(), 0u);
    EXPECT_STREQ(workMode.param(0), "03069");
}

TEST(KroModLav, ArbitraryBytesNeverCrashAndKeepTheFieldsInBounds) {
    SuiteTree suite;
    std::mt19937 random(1330);
    // Line ends and end-of-file marks are frequent, so lines of every length occur.
    const std::string frequent("\r\n\x1A \0", 5);
    std::uniform_int_distribution<int> byte(0, 255 + 40);
    int loaded = 0;
    for (const std::size_t size : {1330u, 3930u}) {
        for (int round = 0; round < 40; ++round) {
            std::string bytes(size, ' ');
            for (char& b : bytes) {
                const int value = byte(random);
                b = value < 256 ? static_cast<char>(value) : frequent[value % frequent.size()];
            }
            suite.write(SuiteTree::kParameters, "EFFETTI01_CA.LAV", bytes);
            const KroModLav workMode = loadJob(suite);
            EXPECT_EQ(workMode.status().value() & ~0x1Bu, 0u);
            loaded += workMode.status().any() ? 0 : 1;
            const std::size_t longWidth = size == 3930 ? 48 : 15;
            for (int i = 0; i < KroModLav::kParamCount; ++i) {
                EXPECT_LE(text(workMode.param(i)).size(), 10u);
            }
            for (int i = 0; i < KroModLav::kNameCount; ++i) {
                EXPECT_LE(text(workMode.trackName(i)).size(), 15u);
                EXPECT_LE(text(workMode.longName(i)).size(), longWidth);
            }
            EXPECT_LE(text(workMode.description()).size(), 180u);
            EXPECT_LE(text(workMode.note()).size(), 259u);
        }
    }
    EXPECT_GT(loaded, 0);  // the bounds above were checked on loaded archives
}
