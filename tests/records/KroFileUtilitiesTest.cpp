#include "records/KroFileUtilities.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/TestEnv.h"

namespace {

// The real system with a few answers changed: extra directories, streams
// that cannot be opened or are opened elsewhere, sizes that lie.
class ScriptedEnv : public TestEnv {
public:
    bool isDirectory(const std::string& path) override {
        return directories.count(path) > 0 || TestEnv::isDirectory(path);
    }
    std::FILE* openStream(const std::string& path, const char* mode) override {
        if (unopenable.count(path) > 0) {
            return nullptr;
        }
        const auto redirect = redirected.find(path);
        return TestEnv::openStream(redirect != redirected.end() ? redirect->second : path, mode);
    }
    int64_t fileSize(const std::string& path) override {
        const auto size = sizes.find(path);
        return size != sizes.end() ? size->second : TestEnv::fileSize(path);
    }

    std::set<std::string> directories;
    std::set<std::string> unopenable;
    std::map<std::string, std::string> redirected;
    std::map<std::string, int64_t> sizes;
};

// 1300 bytes: more than two 512-byte blocks and a partial one, every byte value.
std::string binaryContent() {
    std::string bytes;
    for (int i = 0; i < 1300; ++i) {
        bytes += static_cast<char>(i % 256);
    }
    return bytes;
}

}  // namespace

TEST(KroFileUtilities, HasNoNameNoStatusAndOneTextForEveryBit) {
    KroFileUtilities files;
    EXPECT_EQ(files.name(), nullptr);
    EXPECT_FALSE(files.status().any());
    for (int bit : {0, 1, 15, 16, 31, 32, -1}) {
        EXPECT_STREQ(files.errorText(bit), "Errore non definito") << bit;
        EXPECT_EQ(files.errorTextW(bit), u"Errore non definito") << bit;
    }
}

// Every row is split, then composed back into the same path.
TEST(KroFileUtilities, SplitsPathsAndComposesThemBack) {
    struct Case {
        std::string path, drive, directory, fileName, extension;
    };
    const std::vector<Case> cases = {
        {"C:\\A\\B\\file.txt", "C:", "\\A\\B\\", "file", ".txt"},
        {"C:file.txt", "C:", "", "file", ".txt"},
        {"C:\\A.B\\file", "C:", "\\A.B\\", "file", ""},
        {"C:\\A\\archive.tar.gz", "C:", "\\A\\", "archive.tar", ".gz"},
        {"C:/A/B/f.txt", "C:", "/A/B/", "f", ".txt"},
        {"C:\\A/B\\f.txt", "C:", "\\A/B\\", "f", ".txt"},
        {"C:\\DIR\\", "C:", "\\DIR\\", "", ""},
        {"\\\\SRV\\SHARE\\DIR\\F.TXT", "\\\\SRV\\SHARE", "\\DIR\\", "F", ".TXT"},
        {"\\\\SRV\\SHARE\\F.TXT", "\\\\SRV\\SHARE", "\\", "F", ".TXT"},
        {"\\\\SRV\\SHARE", "", "\\\\SRV\\", "SHARE", ""},
        {"\\\\SRV", "", "\\\\", "SRV", ""},
        {"/srv/vault/OUT/FLUSSO.TXT", "", "/srv/vault/OUT/", "FLUSSO", ".TXT"},
        {"/home/u/.profile", "", "/home/u/", "", ".profile"},
        {"/f.txt", "", "/", "f", ".txt"},
        {"relative/f.txt", "", "relative/", "f", ".txt"},
        {"SUB\\f.txt", "", "SUB\\", "f", ".txt"},
        {"\\A\\f.txt", "", "\\A\\", "f", ".txt"},
        {"file.", "", "", "file", "."},
        {"f", "", "", "f", ""},
        {"", "", "", "", ""},
    };
    KroFileUtilities files;
    for (const Case& c : cases) {
        std::string drive = "x", directory = "x", fileName = "x", extension = "x";
        files.splitPath(c.path, &drive, &extension, &fileName, &directory);
        EXPECT_EQ(drive, c.drive) << c.path;
        EXPECT_EQ(directory, c.directory) << c.path;
        EXPECT_EQ(fileName, c.fileName) << c.path;
        EXPECT_EQ(extension, c.extension) << c.path;
        EXPECT_EQ(KroFileUtilities::makePath(drive, extension, fileName, directory), c.path)
            << c.path;
    }
}

TEST(KroFileUtilities, SplitFillsOnlyTheOutputsGiven) {
    KroFileUtilities files;
    std::string extension;
    files.splitPath("C:\\SCARICO\\FLUSSO.NST", nullptr, &extension, nullptr, nullptr);
    EXPECT_EQ(extension, ".NST");
}

// A name right below the root that is an existing directory is the directory.
TEST(KroFileUtilities, SplitFoldsADirectoryBelowTheRootIntoTheDirectory) {
    ScriptedEnv env;
    env.directories = {"C:\\WINDOWS", "/vault"};
    KroFileUtilities files(&env);
    files.splitInto("C:\\WINDOWS");
    EXPECT_EQ(files.drive(), "C:");
    EXPECT_EQ(files.directory(), "\\WINDOWS");
    EXPECT_EQ(files.fileName(), "");
    files.splitInto("/vault");
    EXPECT_EQ(files.directory(), "/vault");
    EXPECT_EQ(files.fileName(), "");
    files.splitInto("C:\\NOTADIR.TXT");
    EXPECT_EQ(files.directory(), "\\");
    EXPECT_EQ(files.fileName(), "NOTADIR");
}

TEST(KroFileUtilities, SplitPartsAreCutAtTheLimit) {
    KroFileUtilities files;
    const std::string longName(300, 'N');
    const std::string longFolder = "/" + std::string(299, 'D') + "/";
    files.splitInto(longFolder + longName + ".TXT");
    EXPECT_EQ(files.directory(), longFolder.substr(0, KroFileUtilities::kMaxPath));
    EXPECT_EQ(files.fileName(), longName.substr(0, KroFileUtilities::kMaxPath));
    EXPECT_EQ(files.extension(), ".TXT");
}

TEST(KroFileUtilities, ComposesPaths) {
    struct Case {
        std::string drive, extension, fileName, directory;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"", "TXT", "FLUSSO", "C:\\SCARICO\\ASSE", "C:\\SCARICO\\ASSE\\FLUSSO.TXT"},
        {"\\\\SRV\\SHARE\\", "", "", "DATI", "\\\\SRV\\SHARE\\DATI\\"},
        {"\\\\SRV\\SHARE", ".TXT", "F", "", "\\\\SRV\\SHARE\\F.TXT"},
        {"\\\\SRV\\SHARE\\", "TXT", "F", "", "\\\\SRV\\SHARE\\F.TXT"},
        {"", "", "\\F", "\\\\SRV\\SHARE\\DATI", "\\\\SRV\\SHARE\\DATI\\F"},
        {"", "", "", "\\\\SRV\\SHARE", "\\\\SRV\\SHARE\\"},
        {"C:", ".txt", "file", "\\A\\B\\", "C:\\A\\B\\file.txt"},
        {"C:", "txt", "file", "\\A\\B", "C:\\A\\B\\file.txt"},
        {"C:", "", "file", "", "C:file"},
        {"C:", "", "", "/A/B", "C:/A/B/"},
        {"/", "", "", "srv/vault/LAV", "/srv/vault/LAV/"},
        {"/", ".NST", "F", "", "/F.NST"},
        {"/srv", "", "F", "vault", "/srv/vault/F"},
        {"", ".NST", "OrvaxBlocco_001", "/srv/sorter", "/srv/sorter/OrvaxBlocco_001.NST"},
        {"", "", "F", "SUB\\", "SUB\\F"},
        {"", "", "F", "", "F"},
        {"", "", "", "", ""},
        {"X", "", "F", "", std::nullopt},
        {"SRV\\SHARE", "", "F", "DATI", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KroFileUtilities::makePath(c.drive, c.extension, c.fileName, c.directory),
                  c.expected)
            << "[" << c.drive << "] [" << c.directory << "] [" << c.fileName << "]";
    }
}

TEST(KroFileUtilities, ARelativeFolderJoinsWithTheNativeSeparator) {
    const std::string native(1, KroFileUtilities::kNativeSeparator);
    EXPECT_EQ(KroFileUtilities::makePath("", "TXT", "F", "OUT"), "OUT" + native + "F.TXT");
}

TEST(KroFileUtilities, AComposedPathLongerThanTheLimitIsRefusedNotCut) {
    const std::string folder = "/" + std::string(250, 'D');  // "/DDD.../" is 252 characters
    EXPECT_EQ(KroFileUtilities::makePath("", "", "12345678", folder)->size(), 260u);
    EXPECT_EQ(KroFileUtilities::makePath("", "", "123456789", folder), std::nullopt);
}

TEST(KroFileUtilities, ListsComponents) {
    struct Case {
        std::string path;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"C:\\A\\B\\file.txt", {"C:", "A", "B", "file.txt"}},
        {"\\\\SRV\\SHARE\\DIR", {"\\\\SRV", "SHARE", "DIR"}},
        {"/srv/vault/x.txt", {"/", "srv", "vault", "x.txt"}},
        {"C:/A/B", {"C:", "A", "B"}},
        {"C:\\\\A\\\\\\B\\", {"C:", "A", "B"}},
        {"C:\\DIR  \\F ", {"C:", "DIR", "F"}},
        {"A \\B ", {"A ", "B"}},
        {"\\DIR\\X", {"\\", "DIR", "X"}},
        {"A\\B", {"A", "B"}},
        {"", {}},
    };
    KroFileUtilities files;
    for (const Case& c : cases) {
        EXPECT_EQ(files.components(c.path), static_cast<int>(c.expected.size())) << c.path;
        EXPECT_EQ(files.componentList(), c.expected) << c.path;
    }
}

TEST(KroFileUtilities, RootLengths) {
    struct Case {
        std::string path;
        int expected;
    };
    const std::vector<Case> cases = {
        {"", -1},
        {"C", -1},
        {"C:", 2},
        {"C:\\A\\B", 2},
        {"\\\\SRV\\SHARE", 11},
        {"\\\\SRV\\SHARE\\DIR", 11},
        {"\\\\SRV\\SHARE\\DIR\\SUB", 11},
        {"\\\\SRV", 5},
        {"\\\\", 2},
        {"\\DIR", -1},
        {"A\\B\\C\\D\\E", -1},
        {"AB", -1},
        {"/", 1},
        {"/srv/vault", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KroFileUtilities::rootLength(c.path), c.expected) << c.path;
    }
}

// The folder picker's answer: the folder is kept, the prompt text dropped.
TEST(KroFileUtilities, KeepsTheDirectoryOfASplitPath) {
    KroFileUtilities files;
    EXPECT_EQ(files.listComponents("C:\\SORTER\\Premi invio quando sei nella cartella!"), 3);
    EXPECT_EQ(files.directoryPath(), "C:\\SORTER\\");
    EXPECT_EQ(files.components(), 2);
    EXPECT_EQ(files.componentList(), (std::vector<std::string>{"C:", "SORTER"}));

    files.listComponents("\\\\SRV\\SHARE\\SORTER\\F.NST");
    EXPECT_EQ(files.directoryPath(), "\\\\SRV\\SHARE\\SORTER\\");
    files.listComponents("/srv/sorter/Premi invio quando sei nella cartella!");
    EXPECT_EQ(files.directoryPath(), "/srv/sorter/");
}

TEST(KroFileUtilities, FullPathAndPathTextComposeThePathParts) {
    KroFileUtilities files;
    std::string output = "old";
    EXPECT_EQ(files.fullPath(&output), -1);
    EXPECT_EQ(output, "");
    EXPECT_EQ(files.pathText(0), "");

    files.splitInto("\\\\SRV\\SHARE\\DIR\\F.NST");
    EXPECT_EQ(files.fullPath(&output), 0);
    EXPECT_EQ(output, "\\\\SRV\\SHARE\\DIR\\F.NST");
    EXPECT_EQ(files.pathText(0), "\\\\SRV\\SHARE\\DIR\\F.NST");

    files.splitInto("/other/G.TXT");
    EXPECT_EQ(files.pathText(1), "");
    EXPECT_EQ(files.componentList(),
              (std::vector<std::string>{"\\\\SRV", "SHARE", "DIR", "F.NST"}));
    EXPECT_EQ(files.fileName(), "F");
    EXPECT_EQ(files.pathText(7), "");
    EXPECT_EQ(files.fileName(), "F");
}

TEST(KroFileUtilities, TellsDirectoriesFromFiles) {
    TempDir dir;
    const std::string file = dir.write("F.TXT", "x");
    KroFileUtilities files;
    EXPECT_TRUE(files.isDirectory(dir.path()));
    EXPECT_TRUE(files.isDirectory(dir.path() + "/"));
    EXPECT_TRUE(files.isDirectory(dir.path() + "\\\\"));
    EXPECT_TRUE(files.isDirectory("/"));
    EXPECT_FALSE(files.isDirectory(file));
    EXPECT_FALSE(files.isDirectory(dir.file("missing")));
    EXPECT_FALSE(files.isDirectory(""));
}

TEST(KroFileUtilities, DirectorySearchDepthNeverGoesBelowNone) {
    KroFileUtilities files;
    files.closeSearches(0);
    EXPECT_EQ(files.searchDepth(), -1);
    files.closeSearches(-1);
    EXPECT_EQ(files.searchDepth(), -1);
}

TEST(KroFileUtilities, NamesEveryCopyResult) {
    const std::map<int, std::string> texts = {
        {-2, "Nessun file da copiare"},
        {0, "Copia avvenuta regolarmente"},
        {1, "File sorgente non trovato durante la copia"},
        {2, "Impossibile aprire il file sorgente durante la copia"},
        {3, "Hai esaurito lo spazio sul disco fisso"},
        {4, "Hai esaurito lo spazio sul disco fisso"},
        {5, "Errore durante la copia"},
        {6, "La cartella di destinazione manca e/o non e' stato possibile crearla"},
        {7, "Sovrascrittura di file nella cartella di destinazione non ammessa"},
        {9, "Errore non definito"},
        {8, "Errore non definito"},
        {-1, "Errore non definito"},
    };
    for (const auto& [code, text] : texts) {
        EXPECT_EQ(KroFileUtilities::copyResultText(code), text) << code;
    }
}

class KroFileUtilitiesCopy : public ::testing::Test {
protected:
    KroFileUtilitiesCopy() : files(&env) {}

    TempDir dir;
    ScriptedEnv env;
    KroFileUtilities files;
    const std::string content = binaryContent();
};

TEST_F(KroFileUtilitiesCopy, CopiesThroughTheSystem) {
    const std::string from = dir.write("FLUSSO.NST", content);
    EXPECT_EQ(files.copyFile(from, dir.file("COPIA.NST"), false), 0);
    EXPECT_EQ(readBytes(dir.file("COPIA.NST")), content);
    EXPECT_EQ(env.copyCalls, 1);
}

TEST_F(KroFileUtilitiesCopy, AMissingSourceIsReportedAndNothingIsCreated) {
    EXPECT_EQ(files.copyFile(dir.file("MANCA.NST"), dir.file("COPIA.NST"), false), 1);
    EXPECT_FALSE(fileExists(dir.file("COPIA.NST")));
    EXPECT_EQ(env.copyCalls, 0);
    EXPECT_EQ(files.copyFile("", dir.file("COPIA.NST"), false), 1);
}

TEST_F(KroFileUtilitiesCopy, FailIfExistsLeavesAnExistingDestinationAlone) {
    const std::string from = dir.write("FLUSSO.NST", content);
    const std::string to = dir.write("COPIA.NST", "vecchio");
    EXPECT_EQ(files.copyFile(from, to, true), 0);
    EXPECT_EQ(readBytes(to), "vecchio");
    EXPECT_EQ(files.copyFile(from, to, false), 0);
    EXPECT_EQ(readBytes(to), content);
}

TEST_F(KroFileUtilitiesCopy, RetriesTheSystemCopy) {
    const std::string from = dir.write("FLUSSO.NST", content);
    env.failingCopies = 2;
    EXPECT_EQ(files.copyFile(from, dir.file("COPIA.NST"), false), 0);
    EXPECT_EQ(env.copyCalls, 3);
    EXPECT_EQ(readBytes(dir.file("COPIA.NST")), content);
}

TEST_F(KroFileUtilitiesCopy, CopiesByHandWhenTheSystemCopyKeepsFailing) {
    const std::string from = dir.write("FLUSSO.NST", content);
    env.failingCopies = 3;
    EXPECT_EQ(files.copyFile(from, dir.file("COPIA.NST"), true), 0);
    EXPECT_EQ(env.copyCalls, 3);
    EXPECT_EQ(readBytes(dir.file("COPIA.NST")), content);

    const std::string empty = dir.write("VUOTO.NST", "");
    env.failingCopies = 3;
    EXPECT_EQ(files.copyFile(empty, dir.file("COPIA_VUOTA.NST"), false), 0);
    EXPECT_TRUE(fileExists(dir.file("COPIA_VUOTA.NST")));
}

// An older destination must not pass for a copy the system failed to make.
TEST_F(KroFileUtilitiesCopy, AFailedSystemCopyOverAnOlderDestinationIsRedoneByHand) {
    const std::string from = dir.write("FLUSSO.NST", content);
    const std::string to = dir.write("COPIA.NST", "vecchio");
    env.failingCopies = 3;
    EXPECT_EQ(files.copyFile(from, to, false), 0);
    EXPECT_EQ(readBytes(to), content);
}

TEST_F(KroFileUtilitiesCopy, ASourceThatCannotBeOpenedGivesTwo) {
    const std::string from = dir.write("FLUSSO.NST", content);
    env.failingCopies = 3;
    env.unopenable = {from};
    EXPECT_EQ(files.copyFile(from, dir.file("COPIA.NST"), false), 2);
    EXPECT_FALSE(fileExists(dir.file("COPIA.NST")));

    env.failingCopies = 0;
    EXPECT_EQ(files.copyFile(dir.path(), dir.file("COPIA.NST"), false), 2);  // a folder
}

TEST_F(KroFileUtilitiesCopy, ADestinationFolderThatDoesNotExistGivesFour) {
    const std::string from = dir.write("FLUSSO.NST", content);
    EXPECT_EQ(files.copyFile(from, dir.file("MANCA/COPIA.NST"), false), 4);
    EXPECT_EQ(env.copyCalls, KroFileUtilities::kRetries);
    EXPECT_FALSE(fileExists(dir.file("MANCA")));
}

TEST_F(KroFileUtilitiesCopy, AFullDiskGivesFive) {
    if (!fileExists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    const std::string from = dir.write("FLUSSO.NST", content);
    env.failingCopies = 3;
    env.redirected = {{dir.file("COPIA.NST"), "/dev/full"}};
    EXPECT_EQ(files.copyFile(from, dir.file("COPIA.NST"), false), 5);
}

TEST_F(KroFileUtilitiesCopy, AShortHandCopyIsRemoved) {
    const std::string from = dir.write("FLUSSO.NST", content);
    env.failingCopies = 3;
    env.sizes = {{from, static_cast<int64_t>(content.size()) + 100}};
    EXPECT_EQ(files.copyFile(from, dir.file("COPIA.NST"), false), 5);
    EXPECT_FALSE(fileExists(dir.file("COPIA.NST")));
}

TEST_F(KroFileUtilitiesCopy, AFileCopiedOntoItselfIsLeftIntact) {
    const std::string from = dir.write("FLUSSO.NST", content);
    env.failingCopies = 3;
    EXPECT_EQ(files.copyFile(from, from, false), 0);
    EXPECT_EQ(readBytes(from), content);
}

TEST_F(KroFileUtilitiesCopy, PathsLongerThanTheLimitAreRefusedNotCut) {
    const std::string from = dir.write("FLUSSO.NST", content);
    const std::string longName = dir.file(std::string(KroFileUtilities::kMaxPath, 'L'));
    EXPECT_EQ(files.copyFile(longName, dir.file("COPIA.NST"), false), 2);
    EXPECT_EQ(files.copyFile(from, longName, false), 4);
    EXPECT_EQ(env.copyCalls, 0);
}
