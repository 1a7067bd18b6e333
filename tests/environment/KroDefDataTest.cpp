#include "environment/KroDefData.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "support/SuiteTree.h"
#include "support/TestEnv.h"

namespace {

// The real system, except that the named files cannot be opened.
class UnopenableEnv : public TestEnv {
public:
    std::FILE* openStream(const std::string& path, const char* mode) override {
        return unopenable.count(path) > 0 ? nullptr : TestEnv::openStream(path, mode);
    }
    std::set<std::string> unopenable;
};

std::string defDataPath(const SuiteTree& suite) {
    return suite.file(SuiteTree::kUserData, "DEFDATA.DAT");
}

void writeDefDataBytes(const SuiteTree& suite, const std::string& bytes) {
    suite.write(SuiteTree::kUserData, "DEFDATA.DAT", bytes);
}

// The suite's line without its line end, resized (blanks added or cut).
std::string lineOfLength(const DefDataFields& fields, std::size_t length) {
    std::string line = defDataLine(fields);
    line.resize(1024);
    line.resize(length, ' ');
    return line;
}

void expectDefaults(const KroDefData& userData) {
    EXPECT_EQ(userData.firstText(), "Generico");
    EXPECT_EQ(userData.secondText(), "");
    EXPECT_EQ(userData.stationCode(), "");
    EXPECT_EQ(userData.stationNumber(), 1);
    EXPECT_FALSE(userData.firstFlag());
    EXPECT_FALSE(userData.secondFlag());
    EXPECT_EQ(userData.firstPath(), "");
    EXPECT_EQ(userData.secondPath(), "");
}

}  // namespace

TEST(KroDefData, ReadsEveryFieldOfTheSuitesRecord) {
    SuiteTree suite;
    KroDefData userData(suite.folder(SuiteTree::kUserData));
    EXPECT_EQ(userData.status().value(), 0u);
    EXPECT_STREQ(userData.name(), "Dati Utente");
    EXPECT_EQ(userData.firstText(), "Banca di Prova");
    EXPECT_EQ(userData.secondText(), "Filiale Centro");
    EXPECT_EQ(userData.fiveCharCode(), "03069");
    EXPECT_EQ(userData.fortyCharText(), "Via Roma 1");
    EXPECT_EQ(userData.twoCharCode(), "MI");
    EXPECT_EQ(userData.fortySixCharText(), "Milano");
    EXPECT_EQ(userData.stationCode(), "ABC");
    EXPECT_EQ(userData.stationNumber(), 5);
    EXPECT_TRUE(userData.secondFlag());
    EXPECT_FALSE(userData.firstFlag());
    EXPECT_EQ(userData.firstPath(), "C:\\VAULT");
    EXPECT_EQ(userData.secondPath(), "C:\\VAULT\\BACKUP");
}

TEST(KroDefData, FieldsTakeTheirFullWidthAndStopAtAByteZero) {
    SuiteTree suite;
    suite.defData.userName = std::string(50, 'U');
    suite.defData.secondText = std::string("Filiale\0Nord", 12);
    suite.defData.stationNumber = 99;
    suite.defData.secondFlag = '0';
    suite.defData.firstFlag = '7';
    suite.defData.path1 = std::string(256, 'P');
    suite.defData.path2 = std::string(512, 'Q');
    suite.defData.lineEnd = "\n";
    suite.writeDefData();
    KroDefData userData(suite.folder(SuiteTree::kUserData));
    EXPECT_EQ(userData.firstText(), std::string(50, 'U'));
    EXPECT_EQ(userData.secondText(), "Filiale");
    EXPECT_EQ(userData.stationNumber(), 99);
    EXPECT_FALSE(userData.secondFlag());
    EXPECT_TRUE(userData.firstFlag());
    EXPECT_EQ(userData.firstPath(), std::string(256, 'P'));
    EXPECT_EQ(userData.secondPath(), std::string(512, 'Q'));
}

TEST(KroDefData, StationCodeKeepsUpToFourCharacters) {
    struct Case {
        const char* field;
        const char* code;
    } cases[] = {{"AB  ", "AB"}, {"ABCD", "ABCD"}, {"    ", ""}, {"A B ", "A B"}};
    for (const Case& c : cases) {
        SuiteTree suite;
        suite.defData.stationCode = c.field;
        suite.writeDefData();
        KroDefData userData(suite.folder(SuiteTree::kUserData));
        EXPECT_EQ(userData.stationCode(), c.code) << c.field;
        EXPECT_EQ(userData.stationNumber(), 5) << c.field;
    }
}

TEST(KroDefData, SecondPathOnlyOnAFullLineAndNothingFromAnOverlongOne) {
    struct Case {
        std::size_t length;
        const char* lineEnd;
        const char* secondPath;
        const char* firstText;
    } cases[] = {
        {1023, "\r\n", "", "Banca di Prova"},
        {1024, "\r\n", "C:\\VAULT\\BACKUP", "Banca di Prova"},
        {1024, "", "C:\\VAULT\\BACKUP", "Banca di Prova"},
        {1025, "\r\n", "", "Generico"},
        {1026, "\n", "", "Generico"},
        {3000, "\r\n", "", "Generico"},
    };
    for (const Case& c : cases) {
        SuiteTree suite;
        writeDefDataBytes(suite, lineOfLength(suite.defData, c.length) + c.lineEnd);
        KroDefData userData(suite.folder(SuiteTree::kUserData));
        EXPECT_EQ(userData.status().value(), 0u) << c.length;
        EXPECT_EQ(userData.secondPath(), c.secondPath) << c.length;
        EXPECT_EQ(userData.firstText(), c.firstText) << c.length;
        EXPECT_EQ(userData.stationNumber(), c.length <= 1024 ? 5 : 1) << c.length;
    }
}

TEST(KroDefData, FieldsBeyondAShortLineReadEmpty) {
    SuiteTree suite;
    writeDefDataBytes(suite, lineOfLength(suite.defData, 150) + "\r\n");
    KroDefData userData(suite.folder(SuiteTree::kUserData));
    EXPECT_EQ(userData.status().value(), 0u);
    EXPECT_EQ(userData.fortyCharText(), "Via Roma 1");
    EXPECT_EQ(userData.twoCharCode(), "MI");
    EXPECT_EQ(userData.fortySixCharText(), "Mil");  // cut by the end of the line
    EXPECT_EQ(userData.stationCode(), "");
    EXPECT_EQ(userData.stationNumber(), 0);
    EXPECT_FALSE(userData.secondFlag());
}

TEST(KroDefData, MissingFileLeavesTheDefaultsWithoutError) {
    SuiteTree suite;
    std::filesystem::remove(defDataPath(suite));
    KroDefData userData(suite.folder(SuiteTree::kUserData));
    EXPECT_EQ(userData.status().value(), 0u);
    expectDefaults(userData);

    KroDefData noFolder("");
    EXPECT_EQ(noFolder.status().value(), 0u);
    expectDefaults(noFolder);
}

TEST(KroDefData, FileIsFoundWhateverTheCaseOfItsName) {
    for (const char* name : {"Defdata.dat", "defdata.DAT"}) {
        SuiteTree suite;
        std::filesystem::rename(defDataPath(suite), suite.file(SuiteTree::kUserData, name));
        KroDefData userData(suite.folder(SuiteTree::kUserData));
        EXPECT_EQ(userData.status().value(), 0u) << name;
        EXPECT_EQ(userData.stationCode(), "ABC") << name;
    }
}

TEST(KroDefData, EmptyFileGivesEmptyFieldsAndIsLeftInPlace) {
    SuiteTree suite;
    writeDefDataBytes(suite, "");
    KroDefData userData(suite.folder(SuiteTree::kUserData));
    EXPECT_EQ(userData.status().value(), 0u);
    EXPECT_EQ(userData.firstText(), "");
    EXPECT_EQ(userData.stationNumber(), 0);
    EXPECT_TRUE(fileExists(defDataPath(suite)));
}

TEST(KroDefData, ReadOnlyFileIsRead) {
    SuiteTree suite;
    std::filesystem::permissions(defDataPath(suite), std::filesystem::perms::owner_read);
    KroDefData userData(suite.folder(SuiteTree::kUserData));
    EXPECT_EQ(userData.status().value(), 0u);
    EXPECT_EQ(userData.stationNumber(), 5);
}

TEST(KroDefData, ExistingFileThatCannotBeOpenedSetsBit0) {
    SuiteTree suite;
    UnopenableEnv env;
    env.unopenable.insert(defDataPath(suite));
    KroDefData refused(suite.folder(SuiteTree::kUserData), &env);
    EXPECT_EQ(refused.status().value(), 1u);
    EXPECT_EQ(refused.stationNumber(), 1);

    std::filesystem::remove(defDataPath(suite));
    std::filesystem::create_directory(defDataPath(suite));
    KroDefData directory(suite.folder(SuiteTree::kUserData));
    EXPECT_EQ(directory.status().value(), 1u);
    expectDefaults(directory);
}

TEST(KroDefData, UnreadableFileSetsBit0) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop the superuser from reading";
    }
    SuiteTree suite;
    std::filesystem::permissions(defDataPath(suite), std::filesystem::perms::none);
    KroDefData userData(suite.folder(SuiteTree::kUserData));
    EXPECT_EQ(userData.status().value(), 1u);
}

TEST(KroDefData, NamesItsBits) {
    KroDefData userData("");
    EXPECT_STREQ(userData.errorText(0), "Errore in lettura Dati Utente");
    EXPECT_STREQ(userData.errorText(1), "Dimensione di 'Defdata.dat' inattesa");
    EXPECT_STREQ(userData.errorText(2), "Errore non definito ");
    EXPECT_EQ(userData.errorTextW(0), u"Errore in lettura Dati Utente");
}

TEST(KroDefData, SurvivesArbitraryBytes) {
    SuiteTree suite;
    std::mt19937 random(20240531);
    for (std::size_t size : {1u, 2u, 4u, 199u, 200u, 1023u, 1024u, 1025u, 1026u, 1027u, 5000u}) {
        for (int round = 0; round < 8; ++round) {
            std::string bytes(size, '\0');
            for (char& byte : bytes) {
                byte = static_cast<char>(random() & 0xFF);
            }
            writeDefDataBytes(suite, bytes);
            KroDefData userData(suite.folder(SuiteTree::kUserData));
            EXPECT_EQ(userData.status().value(), 0u);
            EXPECT_LE(userData.stationCode().size(), 4u);
            EXPECT_LE(userData.stationNumber(), 99);
            EXPECT_GE(userData.stationNumber(), 0);
        }
    }
}
