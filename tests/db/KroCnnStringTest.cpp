#include "db/KroCnnString.h"

#include <gtest/gtest.h>

#include "core/Text.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"

namespace {

class KroCnnStringTest : public testing::Test {
protected:
    // Loads a file of these bytes.
    bool load(const std::string& bytes) { return cns.load(dir.write("VAULT.CNS", bytes)); }

    std::string value(int index) const { return text::toNarrow(cns.value(index)); }

    TempDir dir;
    RecordingMessageBox box;
    KroCnnString cns{box};
};

struct EntryCase {
    const char* file;
    int index;
    const char* value;
};

}  // namespace

TEST_F(KroCnnStringTest, ATypicalFileFillsTheTableAndTheDefaults) {
    EXPECT_FALSE(cns.isLoaded());
    EXPECT_FALSE(cns.loginPrompt());
    ASSERT_TRUE(
        load("Provider=MSDASQL;Data Source=srv-caveau;Initial Catalog=vault\r\n"
             "User ID=operatore;Password=Segreta1;Port=3307\r\n"));
    EXPECT_TRUE(cns.isLoaded());
    EXPECT_EQ(value(KroCnnString::kProvider), "MSDASQL");
    EXPECT_EQ(value(KroCnnString::kDataSource), "srv-caveau");
    EXPECT_EQ(value(KroCnnString::kInitialCatalog), "vault");
    EXPECT_EQ(value(KroCnnString::kUserId), "operatore");
    EXPECT_EQ(value(KroCnnString::kPassword), "Segreta1");
    EXPECT_EQ(value(KroCnnString::kPort), "3307");
    EXPECT_EQ(cns.port(), 3307);
    EXPECT_EQ(value(KroCnnString::kCommandTimeout), "300");
    EXPECT_EQ(value(KroCnnString::kConnectionTimeout), "10");
    EXPECT_EQ(value(KroCnnString::kDriver), "");
    EXPECT_EQ(value(-1), "");
    EXPECT_EQ(value(12), "");
    EXPECT_TRUE(box.shown.empty());
    EXPECT_STREQ(KroCnnString::keyName(8), "Connection Timeout");
    EXPECT_EQ(KroCnnString::keyName(12), nullptr);
}

TEST_F(KroCnnStringTest, EntriesAreMatchedAsTheFileFormatSays) {
    const EntryCase cases[] = {
        {"data source=x", KroCnnString::kDataSource, "x"},        // any letter case
        {"Data Source = x", KroCnnString::kDataSource, "= x"},    // blank as separator
        {"Data Source=  x  ", KroCnnString::kDataSource, "x  "},  // trailing blanks stay
        {"Data Sourcex", KroCnnString::kDataSource, ""},          // nothing after separator
        {"User=orvax", KroCnnString::kUserId, ""},                // not a key of the table
        {"Password=old;Pass", KroCnnString::kPassword, ""},       // prefix of the key
        {"P=x", KroCnnString::kProvider, ""},                     // first key in table order
        {"Port=3306;Port=3307", KroCnnString::kPort, "3307"},     // later replaces earlier
        {";;Initial Catalog=v;;", KroCnnString::kInitialCatalog, "v"},
        {"Initial Catalog=a\r\nInitial Catalog=b\r\n", KroCnnString::kInitialCatalog, "b"},
        {" Data Source=x", KroCnnString::kDataSource, ""},          // a leading blank: no key
        {"Password=a\tb", KroCnnString::kPassword, "a b"},          // non-printable: blank
        {"Password=perch\xE8", KroCnnString::kPassword, "perch "},  // so is an accented letter
        {"Command Timeout=60", KroCnnString::kCommandTimeout, "60"},
        {"Connection Timeout=", KroCnnString::kConnectionTimeout, "10"},
    };
    for (const EntryCase& c : cases) {
        KroCnnString fresh(box);
        ASSERT_TRUE(fresh.load(dir.write("CASE.CNS", c.file))) << c.file;
        EXPECT_EQ(text::toNarrow(fresh.value(c.index)), c.value) << c.file;
    }
}

TEST_F(KroCnnStringTest, PortIsZeroWhenAbsentOrNotANumber) {
    const std::pair<const char*, int> cases[] = {
        {"Data Source=x", 0}, {"Port=abc", 0},         {"Port=33o6", 0},
        {"Port=3306 ", 3306}, {"Port=99999999999", 0}, {"Port=0", 0},
    };
    for (const auto& [file, port] : cases) {
        ASSERT_TRUE(load(file));
        EXPECT_EQ(cns.port(), port) << file;
    }
}

TEST_F(KroCnnStringTest, LongLinesAreReadInPiecesOf102Characters) {
    // 150 characters: the first 102 are one line, the other 48 the next.
    const std::string first = "Initial Catalog=" + std::string(86, 'd');
    const std::string second = ";Port=3307;Db Type=" + std::string(29, 'x');
    ASSERT_EQ(first.size() + second.size(), 150u);
    ASSERT_TRUE(load(first + second + "\r\n"));
    EXPECT_EQ(value(KroCnnString::kInitialCatalog), std::string(86, 'd'));
    EXPECT_EQ(cns.port(), 3307);
    EXPECT_EQ(value(KroCnnString::kDbType), std::string(29, 'x'));

    // An entry cut by the end of a piece is read as two: a one-line file of
    // more than 102 characters loses the value at the cut.
    ASSERT_TRUE(load(std::string(98, ';') + "Password=cut\r\n"));
    EXPECT_EQ(value(KroCnnString::kPassword), "");
}

TEST_F(KroCnnStringTest, AFileThatCannotBeOpenedIsShownWithTheRecordFilesText) {
    const std::string missing = dir.file("MISSING.CNS");
    EXPECT_FALSE(cns.load(missing));
    EXPECT_FALSE(cns.isLoaded());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(text::toNarrow(box.shown[0].text), "Apertura di " + missing + "\r\n non riuscita");
    EXPECT_EQ(box.shown[0].caption, u"Errore!");
    EXPECT_EQ(box.shown[0].flags, ModalMessageBox::kIconError);

    EXPECT_FALSE(cns.load(""));
    EXPECT_EQ(text::toNarrow(box.shown.back().text), "Nome del file \r\n non valido");
}

TEST_F(KroCnnStringTest, ALaterLoadReplacesTheWholeTable) {
    ASSERT_TRUE(load("Data Source=a;Password=first-one;Port=3310"));
    ASSERT_TRUE(load("Data Source=b"));
    EXPECT_EQ(value(KroCnnString::kDataSource), "b");
    EXPECT_EQ(value(KroCnnString::kPassword), "");
    EXPECT_EQ(cns.port(), 0);
}

TEST_F(KroCnnStringTest, WidePathsAreFoundInTheSuitesCodePage) {
    dir.write("Citt\xC3\xA0.CNS", "Data Source=wide");  // UTF-8 name on disk
    const std::u16string path = text::fromUtf8(dir.path()) + u"/Citt\u00E0.CNS";
    ASSERT_TRUE(cns.loadW(path));
    EXPECT_EQ(value(KroCnnString::kDataSource), "wide");
}

TEST_F(KroCnnStringTest, ArbitraryBytesNeverBreakTheReader) {
    std::string bytes;
    for (int round = 0; round < 3; ++round) {
        for (int b = 0; b < 256; ++b) {
            bytes += static_cast<char>(b == 0x1A ? ';' : b);
            if (b % 37 == 0) {
                bytes += "Password=";
            }
        }
    }
    bytes += std::string(500, '=') + "\x1A" + "Port=1";
    ASSERT_TRUE(load(bytes));
    EXPECT_EQ(cns.port(), 1);  // a 0x1A byte ends a line, not the file
    EXPECT_LE(cns.value(KroCnnString::kPassword).size(), 102u);
}
