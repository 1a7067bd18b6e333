#include "environment/KroPathManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/Text.h"
#include "support/SuiteTree.h"
#include "support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kStateAtConstruction = (1u << 16) | (1u << 18) | (1u << 20);

// The real system where creating a directory can be refused, and the current
// directory can be another folder.
class PathEnv : public TestEnv {
public:
    bool createDirectory(const std::string& path) override {
        ++createCalls;
        return refuseCreation ? false : TestEnv::createDirectory(path);
    }
    std::string currentDirectory() override {
        return current.empty() ? TestEnv::currentDirectory() : current;
    }
    std::FILE* openStream(const std::string& path, const char* mode) override {
        return unopenable.count(path) > 0 ? nullptr : TestEnv::openStream(path, mode);
    }

    bool refuseCreation = false;
    int createCalls = 0;
    std::string current;
    std::set<std::string> unopenable;
};

}  // namespace

TEST(KroPathManager, StartsWithTheSuitesFoldersAndNoJob) {
    SuiteTree suite;
    KroPathManager paths(suite.home());
    EXPECT_STREQ(paths.name(), "Path Manager");
    EXPECT_EQ(paths.status().value(), kStateAtConstruction);
    EXPECT_FALSE(paths.status().anyLow());
    EXPECT_EQ(paths.currentIndex(), KroDir::kWork);
    EXPECT_EQ(paths.jobPath(), "");
    EXPECT_EQ(paths.jobRootPath(), "");
    EXPECT_EQ(paths.server(0), nullptr);
    EXPECT_EQ(paths.directory(KroDir::kWork), suite.folder(SuiteTree::kWork));
}

TEST(KroPathManager, HomeIsTheCurrentDirectoryByDefault) {
    SuiteTree suite;
    PathEnv env;
    env.current = suite.home();
    KroPathManager paths({}, &env);
    EXPECT_EQ(paths.homeDirectory(), suite.home());
    EXPECT_FALSE(paths.status().anyLow());
}

TEST(KroPathManager, MissingPathsFileStopsStartUp) {
    SuiteTree suite;
    fs::remove(suite.home() + "/PERCORSI.PAT");
    KroPathManager paths(suite.home());
    EXPECT_EQ(paths.status().value(), kStateAtConstruction | 0x5Fu);
    EXPECT_TRUE(paths.status().anyLow());
}

TEST(KroPathManager, OpenJobFolderCreatesTheJobAndDateFolders) {
    SuiteTree suite;
    KroPathManager paths(suite.home());
    const std::string lav = suite.folder(SuiteTree::kWork);
    EXPECT_TRUE(paths.openJobFolder("EFFETTI01", "240531", KroDir::kWork, true));
    EXPECT_EQ(paths.jobRootPath(), lav + "/EFFETTI01/");
    EXPECT_EQ(paths.jobPath(), lav + "/EFFETTI01/240531/");
    EXPECT_TRUE(fs::is_directory(lav + "/EFFETTI01/240531"));
    // Bits 16 to 18 cleared, the server attached (bit 20 cleared).
    EXPECT_EQ(paths.status().value(), 0u);
    const KroServer* server = paths.server(0);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->name, "/");
    EXPECT_EQ(server->number, 5);
    EXPECT_EQ(server->isLocal, 1);
    EXPECT_EQ(server->hasAlternate, 0);

    // Again, with everything in place.
    KroPathManager again(suite.home());
    EXPECT_TRUE(again.openJobFolder("EFFETTI01", "240531", KroDir::kWork, true));
    EXPECT_EQ(again.jobPath(), lav + "/EFFETTI01/240531/");
}

TEST(KroPathManager, EmptyDateSelectsTheJobLevelOnly) {
    SuiteTree suite;
    KroPathManager paths(suite.home());
    const std::string lav = suite.folder(SuiteTree::kWork);
    EXPECT_FALSE(paths.openJobFolder("EFFETTI01", "", KroDir::kWork, true));
    EXPECT_EQ(paths.jobRootPath(), lav + "/EFFETTI01/");
    EXPECT_EQ(paths.jobPath(), lav + "/EFFETTI01/");
    EXPECT_TRUE(fs::is_empty(lav + "/EFFETTI01"));
    EXPECT_EQ(paths.status().value(), (1u << 18) | (1u << 20));
}

TEST(KroPathManager, EmptyJobSelectsTheWorkFolderItself) {
    SuiteTree suite;
    KroPathManager paths(suite.home());
    const std::string lav = suite.folder(SuiteTree::kWork);
    EXPECT_TRUE(paths.openJobFolder("", "240531", KroDir::kWork, true));
    EXPECT_EQ(paths.jobPath(), lav + "//");
    EXPECT_EQ(paths.jobRootPath(), "");
    EXPECT_FALSE(fs::exists(lav + "/240531"));
    EXPECT_EQ(paths.status().value(), 0u);
}

TEST(KroPathManager, WorkFolderRemovedAfterStartUpIsCreatedAgain) {
    SuiteTree suite;
    KroPathManager paths(suite.home());
    const std::string lav = suite.folder(SuiteTree::kWork);
    fs::remove_all(lav);
    EXPECT_TRUE(paths.openJobFolder("EFFETTI01", "240531", KroDir::kWork, true));
    EXPECT_TRUE(fs::is_directory(lav + "/EFFETTI01/240531"));
}

TEST(KroPathManager, WithoutCreateMissingFoldersAreSelectedButNotMade) {
    SuiteTree suite;
    KroPathManager paths(suite.home());
    const std::string lav = suite.folder(SuiteTree::kWork);
    EXPECT_TRUE(paths.openJobFolder("EFFETTI01", "240531", KroDir::kWork, false));
    EXPECT_EQ(paths.jobPath(), lav + "/EFFETTI01/240531/");
    EXPECT_FALSE(fs::exists(lav + "/EFFETTI01"));
    EXPECT_TRUE(paths.ensureDirectory(lav + "/MISSING/", false));
    EXPECT_FALSE(fs::exists(lav + "/MISSING"));
}

TEST(KroPathManager, FolderThatCannotBeCreatedSetsBit8AndKeepsTheLastSelection) {
    SuiteTree suite;
    const std::string lav = suite.folder(SuiteTree::kWork);
    {
        // A file where the job folder should be.
        KroPathManager paths(suite.home());
        suite.write(SuiteTree::kWork, "EFFETTI01", "not a folder");
        EXPECT_FALSE(paths.openJobFolder("EFFETTI01", "240531", KroDir::kWork, true));
        EXPECT_EQ(paths.jobPath(), "");
        EXPECT_EQ(paths.status().value(), (1u << 8) | kStateAtConstruction);
        fs::remove(lav + "/EFFETTI01");
    }
    {
        // A file where the date folder should be: the job level stays selected.
        KroPathManager paths(suite.home());
        fs::create_directory(lav + "/EFFETTI01");
        suite.write(SuiteTree::kWork, "EFFETTI01/240531", "not a folder");
        EXPECT_FALSE(paths.openJobFolder("EFFETTI01", "240531", KroDir::kWork, true));
        EXPECT_EQ(paths.jobPath(), lav + "/EFFETTI01/");
        EXPECT_EQ(paths.status().value(), (1u << 8) | (1u << 18) | (1u << 20));
    }
}

TEST(KroPathManager, WorkFolderThatCannotBeCreatedSetsBits8And16) {
    SuiteTree suite;
    PathEnv env;
    KroPathManager paths(suite.home(), &env);
    fs::remove_all(suite.folder(SuiteTree::kWork));
    env.refuseCreation = true;
    EXPECT_FALSE(paths.openJobFolder("EFFETTI01", "240531", KroDir::kWork, true));
    EXPECT_EQ(paths.status().value(), (1u << 8) | kStateAtConstruction);
}

TEST(KroPathManager, EnterSubdirectoryRefusesOtherSlotsAndUndefinedOnes) {
    SuiteTree suite;
    suite.paths[KroDir::kQueries] = "QRY";
    suite.writePaths();
    PathEnv env;
    KroPathManager paths(suite.home(), &env);
    for (int index : {5, 6, -1}) {
        EXPECT_FALSE(paths.enterSubdirectory(index, "JOB", true, true)) << index;
    }
    EXPECT_EQ(env.createCalls, 0);
    // An undefined slot has no folder: nothing is made at the root.
    EXPECT_FALSE(paths.enterSubdirectory(KroDir::kQueries, "JOB", true, true));
    EXPECT_EQ(env.createCalls, 0);
    EXPECT_TRUE(paths.status().test(KroPathManager::kNoMainFolderBit));

    EXPECT_TRUE(paths.enterSubdirectory(KroDir::kAuxiliary, "JOB", true, true));
    EXPECT_EQ(paths.currentIndex(), KroDir::kAuxiliary);
    EXPECT_EQ(paths.jobPath(), suite.folder(SuiteTree::kAuxiliary) + "/JOB/");
    EXPECT_FALSE(paths.status().test(KroPathManager::kNoMainFolderBit));
    EXPECT_FALSE(paths.status().test(KroPathManager::kNoFirstLevelBit));
    EXPECT_TRUE(paths.status().test(KroPathManager::kNoJobFolderBit));
}

TEST(KroPathManager, SubfolderMayNotLeadOutOfTheSlotFolder) {
    SuiteTree suite;
    KroPathManager paths(suite.home());
    for (const char* job :
         {"..", "../ESCAPED", "A/../../ESCAPED", "/tmp", "\\\\host\\share", "C:ESCAPED"}) {
        EXPECT_FALSE(paths.openJobFolder(job, "240531", KroDir::kWork, true)) << job;
        EXPECT_EQ(paths.jobPath(), "") << job;
    }
    EXPECT_FALSE(paths.openJobFolder("EFFETTI01", "..", KroDir::kWork, true));
    EXPECT_EQ(paths.jobPath(), suite.folder(SuiteTree::kWork) + "/EFFETTI01/");
    EXPECT_FALSE(fs::exists(suite.home() + "/ESCAPED"));
}

TEST(KroPathManager, AttachServerWithAnAlternatePath) {
    SuiteTree suite;
    KroPathManager paths(suite.home());
    EXPECT_TRUE(paths.attachServer(1, suite.home(), "LAV"));
    const KroServer* server = paths.server(1);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->name, suite.home());
    EXPECT_EQ(server->alternatePath, "LAV");
    EXPECT_EQ(server->hasAlternate, 1);
    EXPECT_EQ(server->isLocal, 0);
    EXPECT_EQ(server->number, -1);
    EXPECT_FALSE(paths.status().test(KroPathManager::kNoServerBit));

    EXPECT_FALSE(paths.attachServer(2, suite.home(), "MISSING"));
    EXPECT_TRUE(paths.status().test(KroPathManager::kNoServerFolderBit));
    EXPECT_FALSE(paths.attachServer(3));
    EXPECT_FALSE(paths.attachServer(-1));
}

TEST(KroPathManager, AttachServerReadsTheStationNumber) {
    SuiteTree suite;
    PathEnv env;
    KroPathManager paths(suite.home(), &env);
    EXPECT_TRUE(paths.attachServer(0));
    EXPECT_EQ(paths.server(0)->number, 5);
    EXPECT_EQ(paths.status().value(), (1u << 16) | (1u << 18));

    // User data that cannot be read: false, and no bit of its own.
    KroPathManager unreadable(suite.home(), &env);
    env.unopenable.insert(suite.file(SuiteTree::kUserData, "DEFDATA.DAT"));
    EXPECT_FALSE(unreadable.attachServer(0));
    EXPECT_EQ(unreadable.status().value(), kStateAtConstruction);
}

TEST(KroPathManager, AttachServerWithoutAWorkFolderSetsBit19) {
    SuiteTree suite;
    suite.paths[KroDir::kWork] = "LAV";
    suite.writePaths();
    KroPathManager paths(suite.home());
    EXPECT_FALSE(paths.attachServer(0));
    EXPECT_EQ(paths.server(0)->name, std::nullopt);
    EXPECT_TRUE(paths.status().test(KroPathManager::kNoServerFolderBit));
    EXPECT_TRUE(paths.status().test(KroPathManager::kNoServerBit));
}

TEST(KroPathManager, NamesItsBitsAndDefersToKroDir) {
    KroPathManager paths("/nonexistent-home-of-the-suite");
    struct Case {
        int bit;
        const char* text;
    } cases[] = {
        {8, "Errore creando una directory"},
        {16, "Directory principale non definita"},
        {17, "Errore non definito "},
        {18, "Manca la madre di tutte le directory"},
        {19, "Manca la cartella principale sul server dichiarato"},
        {20, "Il server non è ancora stato istanziato"},
        {1, "Dir di lavoro non definita"},
        {6, "Manca il file Percorsi"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(paths.errorText(c.bit), c.text) << c.bit;
        EXPECT_EQ(paths.errorTextW(c.bit), text::toWide(c.text)) << c.bit;
    }
}

TEST(KroServer, SetStoresTheNameAndEitherTheNumberOrTheAlternate) {
    KroServer server;
    EXPECT_EQ(server.isLocal, 0);
    EXPECT_EQ(server.hasAlternate, -1);
    EXPECT_EQ(server.number, -1);
    EXPECT_EQ(server.set("C:", 7, std::nullopt), "C:");
    EXPECT_EQ(server.number, 7);
    EXPECT_EQ(server.isLocal, 1);
    EXPECT_EQ(server.set("\\\\host\\share", 7, "\\VAULT"), "\\\\host\\share");
    EXPECT_EQ(server.number, -1);
    EXPECT_EQ(server.alternatePath, "\\VAULT");
    server.clear();
    EXPECT_EQ(server.name, std::nullopt);
    EXPECT_EQ(server.alternatePath, std::nullopt);
}
