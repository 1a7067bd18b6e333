#include "environment/KroDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/Text.h"
#include "support/SuiteTree.h"
#include "support/TestEnv.h"

namespace {

// Status value with the given bits set.
uint32_t bits(std::initializer_list<int> numbers) {
    uint32_t value = 0;
    for (int n : numbers) {
        value |= 1u << n;
    }
    return value;
}

// The real system, where Windows paths (C:\..., \\host\...) also exist, so
// that slots can hold them on this machine.
class WindowsPathsEnv : public TestEnv {
public:
    bool fileExists(const std::string& path) override {
        return isWindowsPath(path) || TestEnv::fileExists(path);
    }
    bool isDirectory(const std::string& path) override {
        return isWindowsPath(path) || TestEnv::isDirectory(path);
    }

private:
    static bool isWindowsPath(const std::string& path) {
        return path.starts_with("\\\\") || (path.size() > 1 && path[1] == ':');
    }
};

// The real system whose current directory is another folder.
class CurrentDirectoryEnv : public TestEnv {
public:
    explicit CurrentDirectoryEnv(std::string current) : current_(std::move(current)) {}
    std::string currentDirectory() override { return current_; }

private:
    std::string current_;
};

std::string folder(const SuiteTree& suite, int slot) {
    return suite.folder(static_cast<SuiteTree::Slot>(slot));
}

}  // namespace

TEST(KroDir, ReadsTheSixFoldersOfTheSuite) {
    SuiteTree suite;
    KroDir paths(suite.home());
    EXPECT_EQ(paths.status().value(), 0u);
    EXPECT_STREQ(paths.name(), "KroDir");
    EXPECT_EQ(paths.homeDirectory(), suite.home());
    for (int slot = 0; slot < KroDir::kFolderSlots; ++slot) {
        EXPECT_EQ(paths.directory(slot), folder(suite, slot)) << slot;
        EXPECT_EQ(paths.directoryW(slot), text::toWide(folder(suite, slot))) << slot;
    }
    EXPECT_EQ(paths.directory(6), std::nullopt);
    EXPECT_EQ(paths.directory(-1), std::nullopt);
    EXPECT_EQ(paths.directoryW(6), std::nullopt);
}

TEST(KroDir, HomeDirectoryFromSourceAndSubfolderOrTheCurrentDirectory) {
    SuiteTree suite;
    std::filesystem::create_directory(suite.home() + "/SUB");
    std::filesystem::rename(suite.home() + "/PERCORSI.PAT", suite.home() + "/SUB/PERCORSI.PAT");
    KroDir joined(suite.home(), "SUB");
    EXPECT_EQ(joined.homeDirectory(), suite.home() + "/SUB");
    EXPECT_EQ(joined.status().value(), 0u);

    CurrentDirectoryEnv env(suite.home() + "/SUB");
    KroDir current({}, {}, &env);
    EXPECT_EQ(current.homeDirectory(), suite.home() + "/SUB");
    EXPECT_EQ(current.directory(KroDir::kWork), suite.folder(SuiteTree::kWork));
}

TEST(KroDir, MissingPathsFileLeavesSlotsZeroToFourUndefined) {
    SuiteTree suite;
    std::filesystem::remove(suite.home() + "/PERCORSI.PAT");
    KroDir paths(suite.home());
    EXPECT_EQ(paths.status().value(), bits({0, 1, 2, 3, 4, 6}));
    EXPECT_EQ(paths.reload(false), 0);
    EXPECT_EQ(paths.directory(KroDir::kWork), std::nullopt);
    // The pattern slot is optional: defined and empty.
    EXPECT_EQ(paths.directory(KroDir::kPatterns), "");
}

TEST(KroDir, PathsFileIsFoundWithoutExtensionOrInAnotherCase) {
    for (const char* name : {"PERCORSI", "percorsi.pat", "Percorsi"}) {
        SuiteTree suite;
        std::filesystem::rename(suite.home() + "/PERCORSI.PAT", suite.home() + "/" + name);
        KroDir paths(suite.home());
        EXPECT_EQ(paths.status().value(), 0u) << name;
        EXPECT_EQ(paths.directory(KroDir::kAuxiliary), suite.folder(SuiteTree::kAuxiliary));
    }
}

TEST(KroDir, PathsFileThatIsADirectoryGivesWayToPercorsi) {
    SuiteTree suite;
    std::filesystem::rename(suite.home() + "/PERCORSI.PAT", suite.home() + "/PERCORSI");
    std::filesystem::create_directory(suite.home() + "/PERCORSI.PAT");
    KroDir paths(suite.home());
    EXPECT_EQ(paths.status().value(), 0u);
}

TEST(KroDir, LinesDecideTheSlots) {
    SuiteTree suite;
    const std::string par = suite.folder(SuiteTree::kParameters);
    const std::string lav = suite.folder(SuiteTree::kWork);
    const std::string qry = suite.folder(SuiteTree::kQueries);
    const std::string usr = suite.folder(SuiteTree::kUserData);
    const std::string aux = suite.folder(SuiteTree::kAuxiliary);
    const std::string pat = suite.folder(SuiteTree::kPatterns);
    struct Case {
        const char* what;
        std::string bytes;
        uint32_t status;
    } cases[] = {
        {"LF only, last line without end",
         par + "\n" + lav + "\n" + qry + "\n" + usr + "\n" + aux + "\n" + pat, 0},
        {"trailing separators", pathsFile({par + "/", lav + "/", qry, usr, aux, pat}), 0},
        {"lines after the sixth ignored",
         pathsFile({par, lav, qry, usr, aux, pat, "garbage", "*?"}), 0},
        {"five lines", pathsFile({par, lav, qry, usr, aux}), bits({5})},
        {"empty sixth line", pathsFile({par, lav, qry, usr, aux, ""}), 0},
        {"empty third line", pathsFile({par, lav, "", usr, aux, pat}), bits({2, 6})},
        {"relative paths", pathsFile({".\\PAR", "LAV", "./QRY", "..\\USR", "AUX", "PAT"}),
         bits({0, 1, 2, 3, 4, 5, 6})},
        {"a folder that does not exist", pathsFile({par, lav + "X", qry, usr, aux, pat}),
         bits({1, 6})},
        {"the last folder does not exist", pathsFile({par, lav, qry, usr, aux, pat + "X"}),
         bits({5, 7})},
        {"blanks are part of the path", pathsFile({par, lav + " ", qry, usr, aux, pat}),
         bits({1, 6})},
        {"binary bytes read as blanks",
         pathsFile({par, lav, std::string("\x01\x80", 2) + qry, usr, aux, pat}), bits({2, 6})},
        {"empty file", "", bits({0, 1, 2, 3, 4, 5, 6})},
        {"a Ctrl-Z ends the file", pathsFile({par, lav}) + "\x1A" + pathsFile({qry}),
         bits({2, 3, 4, 5, 6})},
    };
    for (const Case& c : cases) {
        suite.writeInHome("PERCORSI.PAT", c.bytes);
        KroDir paths(suite.home());
        EXPECT_EQ(paths.status().value(), c.status) << c.what;
    }
}

TEST(KroDir, EmptyLineKeepsTheSlotAsItWas) {
    SuiteTree suite;
    suite.paths[KroDir::kPatterns] = "";
    suite.writePaths();
    KroDir paths(suite.home());
    EXPECT_EQ(paths.status().value(), 0u);
    EXPECT_EQ(paths.directory(KroDir::kPatterns), "");

    suite.paths.pop_back();
    suite.writePaths();
    KroDir fiveLines(suite.home());
    EXPECT_EQ(fiveLines.directory(KroDir::kPatterns), std::nullopt);
    EXPECT_STREQ(fiveLines.errorText(5), "Dir dei pattern non definita");
}

TEST(KroDir, RefusesBadCharactersAndMalformedWindowsPaths) {
    SuiteTree suite;
    KroDir paths(suite.home());
    const std::string lav = suite.folder(SuiteTree::kWork);
    for (const char* bad : {"*", "?", "|", "<", ">"}) {
        EXPECT_FALSE(paths.isValidPath(lav + bad, false)) << bad;
    }
    struct Case {
        const char* path;
        bool valid;
    } cases[] = {
        {"C:\\VAULT\\LAV", true},
        {"c:\\", true},
        {"C:\\A:B", false},
        {"C:VAULT", false},
        {"C:/VAULT", false},
        {"1:\\VAULT", false},
        {"\\\\host\\share\\LAV", true},
        {"\\\\host", true},
        {"\\VAULT", false},
        {"VAULT\\LAV", false},
        {".\\LAV", false},
        {"C:\\VAULT?", false},
        {"/srv/vault", true},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(paths.isValidPath(c.path, false), c.valid) << c.path;
    }
    EXPECT_EQ(paths.status().value(), 0u);
}

TEST(KroDir, ExistenceTestSetsAndClearsBit7) {
    SuiteTree suite;
    KroDir paths(suite.home());
    EXPECT_FALSE(paths.isValidPath(suite.home() + "/NOWHERE", true));
    EXPECT_TRUE(paths.status().test(KroDir::kMissingPathBit));
    EXPECT_STREQ(paths.errorText(7), "Errore non definito ");
    EXPECT_TRUE(paths.isValidPath(suite.home(), true));
    EXPECT_FALSE(paths.status().test(KroDir::kMissingPathBit));
}

TEST(KroDir, SetDirectoryChecksThePathAndRecomputesBit6) {
    SuiteTree suite;
    KroDir paths(suite.home());
    EXPECT_FALSE(paths.setDirectory(6, suite.home()));
    EXPECT_FALSE(paths.setDirectory(-1, suite.home()));

    EXPECT_TRUE(paths.setDirectory(KroDir::kQueries, "QRY"));
    EXPECT_EQ(paths.status().value(), bits({2, 6}));
    EXPECT_EQ(paths.slotText(KroDir::kQueries), suite.folder(SuiteTree::kQueries));

    EXPECT_TRUE(paths.setDirectory(KroDir::kQueries, suite.home()));
    EXPECT_EQ(paths.status().value(), 0u);
    EXPECT_EQ(paths.directory(KroDir::kQueries), suite.home());

    EXPECT_TRUE(paths.setDirectory(KroDir::kPatterns, "nowhere"));
    EXPECT_EQ(paths.status().value(), bits({5}));

    const std::u16string wide = text::toWide(suite.folder(SuiteTree::kPatterns));
    EXPECT_TRUE(paths.setDirectoryW(KroDir::kPatterns, wide));
    EXPECT_EQ(paths.status().value(), 0u);
}

TEST(KroDir, PathLongerThanASlotIsRefusedNotCut) {
    SuiteTree suite;
    // An existing folder whose path has 261 characters, and one of 260.
    const std::string base = suite.home() + "/";
    const std::string longest = base + std::string(260 - base.size(), 'L');
    const std::string tooLong = base + std::string(261 - base.size(), 'L');
    std::filesystem::create_directory(longest);
    std::filesystem::create_directory(tooLong);
    suite.paths[KroDir::kQueries] = longest;
    suite.paths[KroDir::kAuxiliary] = tooLong;
    suite.writePaths();
    KroDir paths(suite.home());
    EXPECT_EQ(paths.directory(KroDir::kQueries), longest);
    EXPECT_EQ(paths.directory(KroDir::kAuxiliary), std::nullopt);
    EXPECT_EQ(paths.status().value(), bits({4, 6}));
}

TEST(KroDir, OverlongLineIsReadInPieces) {
    SuiteTree suite;
    // 300 characters: the first 264 are line 0, the rest is line 1.
    const std::string overlong = suite.folder(SuiteTree::kParameters) + std::string(300, ' ');
    suite.paths[KroDir::kParameters] = overlong.substr(0, 300);
    suite.writePaths();
    KroDir paths(suite.home());
    EXPECT_TRUE(paths.status().test(KroDir::kParameters));
    EXPECT_TRUE(paths.status().test(KroDir::kWork));
    EXPECT_TRUE(paths.status().test(KroDir::kNoPathsFileBit));
    EXPECT_EQ(paths.directory(KroDir::kQueries), suite.folder(SuiteTree::kWork));
}

TEST(KroDir, RootLengthOfEachForm) {
    struct Case {
        const char* path;
        int length;
    } cases[] = {
        {"C:\\VAULT\\LAV", 2},
        {"C:", 2},
        {"\\\\host\\share\\VAULT\\LAV", 12},
        {"\\\\host\\share\\", 12},
        {"\\\\host\\share", 12},
        {"\\\\host", 6},
        {"a\\b", 0},
        {"/srv/vault", 1},
        {"VAULT", -1},
        {"\\VAULT", -1},
        {"C", -1},
        {"", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KroDir::rootLength(c.path), c.length) << c.path;
    }
}

TEST(KroDir, RootAndRemainderOfWindowsSlots) {
    SuiteTree suite;
    WindowsPathsEnv env;
    KroDir paths(suite.home(), {}, &env);
    ASSERT_TRUE(paths.setDirectory(KroDir::kWork, "\\\\host\\share\\VAULT\\LAV"));
    ASSERT_TRUE(paths.setDirectory(KroDir::kParameters, "C:\\VAULT"));
    ASSERT_TRUE(paths.setDirectory(KroDir::kQueries, "\\\\host\\share"));
    EXPECT_EQ(paths.status().value(), 0u);

    EXPECT_EQ(paths.rootOf(KroDir::kWork), "\\\\host\\share");
    EXPECT_EQ(paths.slotText(KroDir::kScratch), "\\\\host\\share");
    EXPECT_EQ(paths.pathAfterRoot(KroDir::kWork), "\\VAULT\\LAV");
    EXPECT_EQ(paths.directory(KroDir::kWork, false), std::nullopt);
    EXPECT_EQ(paths.directoryW(KroDir::kWork, false), std::nullopt);

    EXPECT_EQ(paths.rootOf(KroDir::kParameters), "C:");
    EXPECT_EQ(paths.pathAfterRoot(KroDir::kParameters), "\\VAULT");
    EXPECT_EQ(paths.directory(KroDir::kParameters, false), "\\VAULT");
    EXPECT_EQ(paths.directoryW(KroDir::kParameters, false), u"\\VAULT");

    // A share named alone is its own root.
    EXPECT_EQ(paths.rootOf(KroDir::kQueries), "\\\\host\\share");
    EXPECT_EQ(paths.pathAfterRoot(KroDir::kQueries), "");
}

TEST(KroDir, RootAndRemainderOfPosixSlots) {
    SuiteTree suite;
    KroDir paths(suite.home());
    const std::string lav = suite.folder(SuiteTree::kWork);
    EXPECT_EQ(paths.rootOf(KroDir::kWork), "/");
    EXPECT_EQ(paths.pathAfterRoot(KroDir::kWork), lav.substr(1));
    EXPECT_EQ(paths.directory(KroDir::kWork, false), lav);
    EXPECT_EQ(paths.rootOf(KroDir::kHome), "/");

    paths.setDirectory(KroDir::kQueries, "nowhere");
    EXPECT_EQ(paths.rootOf(KroDir::kQueries), std::nullopt);
    EXPECT_EQ(paths.pathAfterRoot(KroDir::kQueries), std::nullopt);
    EXPECT_EQ(paths.rootOf(9), std::nullopt);
}

TEST(KroDir, SavedSlotsReadBackTheSame) {
    SuiteTree suite;
    suite.paths[KroDir::kQueries] = "nowhere";
    suite.writePaths();
    KroDir paths(suite.home());
    ASSERT_EQ(paths.status().value(), bits({2, 6}));
    EXPECT_EQ(paths.reload(true), 1);
    const std::string saved = readBytes(suite.home() + "/PERCORSI.PAT");
    EXPECT_EQ(saved, pathsFile({suite.paths[0], suite.paths[1], "", suite.paths[3], suite.paths[4],
                                suite.paths[5]}));
    KroDir again(suite.home());
    EXPECT_EQ(again.status().value(), bits({2, 6}));
    EXPECT_EQ(again.directory(KroDir::kPatterns), suite.folder(SuiteTree::kPatterns));
}

TEST(KroDir, NamesItsBits) {
    KroDir paths("/nonexistent-home-of-the-suite");
    const char* texts[] = {"Dir dei parametri non definita", "Dir di lavoro non definita",
                           "Dir delle query non definita",   "Errore non definito ",
                           "Dir ausiliaria non definita",    "Dir dei pattern non definita",
                           "Manca il file Percorsi",         "Errore non definito "};
    for (int bit = 0; bit < 8; ++bit) {
        EXPECT_STREQ(paths.errorText(bit), texts[bit]) << bit;
        EXPECT_EQ(paths.errorTextW(bit), text::toWide(texts[bit])) << bit;
    }
    EXPECT_STREQ(paths.errorText(31), "Errore non definito ");
}

TEST(KroDir, SurvivesArbitraryBytes) {
    SuiteTree suite;
    std::mt19937 random(31052024);
    for (std::size_t size : {1u, 2u, 3u, 4u, 100u, 264u, 265u, 600u, 2000u}) {
        for (int round = 0; round < 8; ++round) {
            std::string bytes(size, '\0');
            for (char& byte : bytes) {
                const unsigned value = random() & 0xFF;
                // Plenty of line ends and path characters among the noise.
                byte = static_cast<char>(value < 16 ? '\n' : value < 32 ? '\\' : value);
            }
            suite.writeInHome("PERCORSI.PAT", bytes);
            KroDir paths(suite.home());
            for (int slot = 0; slot < KroDir::kFolderSlots; ++slot) {
                const auto path = paths.directory(slot, false);
                EXPECT_TRUE(!path || path->size() <= KroDir::kMaxPath);
                paths.rootOf(slot);
                paths.pathAfterRoot(slot);
            }
        }
    }
}
