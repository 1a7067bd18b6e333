// The remittance report on the test server: the report byte for byte, the
// vault table's update, and what is left behind when something fails.
#include "flows/RemittanceReport.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/KroDate.h"
#include "db/GatewayFixture.h"
#include "records/KroFile.h"

namespace {

using Outcome = RemittanceReport::Outcome;
using Row = TestDatabase::Row;

constexpr const char* kList = "EFFETTI01_CA_240305_GUI_DIST";
constexpr const char* kGuide = "EFFETTI01_CA_240305_GUI_DOC";
constexpr const char* kVault = "CAVEAU_CA_DOC";
constexpr const char* kColumns =
    "Tp  Prg  N.Pass.  PRATICA        CMC7     NUM_EFF  FIL     IMPORTO     SCADENZA  DEBITORE\r\n";
constexpr const char* kFooter =
    "* * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * *\r\n"
    "\r\n\r\n\r\n";

struct ReportRecorder : RemittanceReport::Listener {
    void statusText(const std::string& text) override { status.push_back(text); }
    void monitorLine(const std::string& line) override { monitor.push_back(line); }
    void error(const std::string& text) override { errors.push_back(text); }
    void progress(int position, int maximum) override {
        (void)maximum;
        if (onDocument) {
            onDocument(position);
        }
    }
    void remittanceProgress(int position, int maximum) override {
        remittances.emplace_back(position, maximum);
        if (onRemittance) {
            onRemittance(position);
        }
    }

    std::vector<std::string> status;
    std::vector<std::string> monitor;
    std::vector<std::string> errors;
    std::vector<std::pair<int, int>> remittances;
    std::function<void(int)> onRemittance;
    std::function<void(int)> onDocument;
};

// The next failingStreams files opened fail their writes once limit bytes
// are written; unbuffered, so the failure shows at the line that meets it.
class FailingWritesEnv : public EnvWrapper {
public:
    explicit FailingWritesEnv(long limit) : EnvWrapper(Env::Default()), limit_(limit) {}

    std::FILE* openStream(const std::string& path, const char* mode) override {
        std::FILE* real = EnvWrapper::openStream(path, mode);
        if (real == nullptr || failingStreams == 0) {
            return real;
        }
        --failingStreams;
        auto* cookie = new Cookie{real, limit_};
        std::FILE* stream = fopencookie(cookie, mode, {&read, &write, &seek, &close});
        setvbuf(stream, nullptr, _IONBF, 0);
        return stream;
    }

    int failingStreams = 1;

private:
    struct Cookie {
        std::FILE* real;
        long room;
    };
    static ssize_t read(void* c, char* buffer, size_t size) {
        return static_cast<ssize_t>(std::fread(buffer, 1, size, static_cast<Cookie*>(c)->real));
    }
    static ssize_t write(void* c, const char* buffer, size_t size) {
        auto* cookie = static_cast<Cookie*>(c);
        if (static_cast<long>(size) > cookie->room) {
            return -1;
        }
        cookie->room -= static_cast<long>(size);
        return static_cast<ssize_t>(std::fwrite(buffer, 1, size, cookie->real));
    }
    static int seek(void* c, off64_t* offset, int whence) {
        std::FILE* real = static_cast<Cookie*>(c)->real;
        if (fseeko(real, *offset, whence) != 0) {
            return -1;
        }
        *offset = ftello(real);
        return 0;
    }
    static int close(void* c) {
        auto* cookie = static_cast<Cookie*>(c);
        const int result = std::fclose(cookie->real);
        delete cookie;
        return result;
    }

    long limit_;
};

// Members are public: the failure cases below arrange them.
class RemittanceReportTest : public GatewayTest {
public:
    using GatewayTest::db;

    void SetUp() override {
        jobDate.set(5, 3, 2024);
        db.exec(std::string("CREATE TABLE ") + kList + " (Lotto_Pres INT)");
        db.exec(std::string("CREATE TABLE ") + kGuide +
                " (Lotto_Pres INT, Prg1 INT, Prg2 INT, TC VARCHAR(2), Num_Pratica VARCHAR(20), "
                "Serial VARCHAR(10), Num_Effetto INT, Fil_Cod VARCHAR(5), Importo DECIMAL(15,2), "
                "Scadenza DATE, Deb_RagSoc VARCHAR(40))");
        db.exec(std::string("CREATE TABLE ") + kVault +
                " (Serial VARCHAR(10), Lotto_Pres INT, Data_Pres DATE, Prg1 INT, Prg2 INT)");
        db.exec(std::string("INSERT INTO ") + kVault +
                " (Serial) VALUES ('0000004711'), ('S8'), ('S9A'), ('S7Z'), ('OTHER')");
        connect();
    }

    // Remittances 9, 8, 7 and 6 (in that order in the list): 7 lists two
    // documents (in the order Prg2, Prg1) and has one more with Prg1 0; 8
    // lists one; 9 lists none; 6 has no document at all.
    void insertRemittances() {
        db.exec(std::string("INSERT INTO ") + kList + " VALUES (9), (8), (7), (6)");
        insertGuide(
            "(7, 1, 2, 'CA', 'P10', NULL, 42, '00101', 1234.5, '2024-12-31', 'Rossi Mario'),"
            "(7, 3, 1, 'CA', 'P10', '0000004711', 4711, '00101', 1000, NULL, 'Bianchi'),"
            "(7, 0, 9, 'CA', 'P10', 'S7Z', 5, '00101', 1, '2024-12-31', 'Verdi'),"
            "(8, 2, 1, 'CA', 'P11', 'S8', 7, '00102', 12345678901.25, '0000-00-00', ''),"
            "(9, 0, 4, 'CA', 'P12', 'S9A', 9, '00103', 3, '2024-12-31', 'Neri')");
    }

    void insertGuide(const std::string& values) {
        db.exec(std::string("INSERT INTO ") + kGuide + " VALUES " + values);
    }

    RemittanceReport::Result write(const std::string& name, Env* env = Env::Default()) {
        RemittanceReport report(gateway, listener, file, workDate, env);
        return report.WriteRemittances({"EFFETTI01_CA", &jobDate, jobType}, name);
    }

    std::vector<Row> vault() {
        return db.rows(std::string("SELECT Serial, Lotto_Pres, Data_Pres, Prg1, Prg2 FROM ") +
                       kVault + " ORDER BY Serial");
    }

    static std::vector<Row> untouchedVault() {
        return {{"0000004711", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                {"OTHER", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                {"S7Z", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                {"S8", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                {"S9A", std::nullopt, std::nullopt, std::nullopt, std::nullopt}};
    }

    static std::string heading(int batch, const std::string& total, int count) {
        return "Rimessa effetti N. " + std::to_string(batch) + "\r\nImporto totale " + total +
               "\r\nNum. Effetti " + std::string(9, ' ') + std::to_string(count) +
               "\r\n\r\n\r\n\r\n" + kColumns;
    }

    static std::string fullReport() {
        return heading(7, "     2234.50", 2) +
               "CA   1)      3  P10   0000004711  0004711  00101        1000,00            "
               "Bianchi  \r\n"
               "CA   2)      1  P10               0000042  00101        1234,50  31/12/24  "
               "Rossi Mario  \r\n" +
               kFooter + heading(8, "12345678901.25", 1) +
               "CA   1)      2  P11   S8  0000007  00102  12345678901,25              \r\n" +
               kFooter;
    }

    KroDate jobDate;
    KroDate workDate;
    std::string jobType = "CA";
    std::unique_ptr<KroFile> file;
    ReportRecorder listener;
    // Remittance 7's heading fits; its first document line does not.
    FailingWritesEnv failingWrites{200};
    Env* env = Env::Default();
};

TEST_F(RemittanceReportTest, WritesTheListedDocumentsAndPresentsEveryGuideDocument) {
    insertRemittances();
    const RemittanceReport::Result result = write(dir.file("EFFETTI01_CA_REP_GGG.TXT"));
    EXPECT_EQ(result.outcome, Outcome::kWritten);
    EXPECT_EQ(result.lines, 3);
    EXPECT_EQ(shownTexts(), Texts{});
    EXPECT_EQ(listener.errors, Texts{});
    EXPECT_EQ(readBytes(dir.file("EFFETTI01_CA_REP_065.TXT")), fullReport());
    EXPECT_FALSE(fileExists(dir.file("EFFETTI01_CA_REP_GGG.TXT")));
    EXPECT_EQ(listener.monitor,
              (Texts{"Sono stati scaricati  3 effetti",
                     "Sto aggiornando il campo Data_Pres sulla tabella CAVEAU_CA (Non "
                     "interrompere!)",
                     "Aggiornamento Data_Pres terminato"}));
    EXPECT_EQ(listener.status.back(), "Scarico terminato");
    EXPECT_EQ(listener.remittances.back(), std::make_pair(4, 4));
    // Matched by serial, listed or not; the document without a serial and
    // the vault's own document stay as they were.
    EXPECT_EQ(vault(),
              (std::vector<Row>{{"0000004711", "7", "2024-03-05", "3", "1"},
                                {"OTHER", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                                {"S7Z", "7", "2024-03-05", "0", "9"},
                                {"S8", "8", "2024-03-05", "2", "1"},
                                {"S9A", "9", "2024-03-05", "0", "4"}}));
}

TEST_F(RemittanceReportTest, ASecondRunRewritesTheSameReport) {
    insertRemittances();
    ASSERT_TRUE(write(dir.file("R_GGG.TXT")).ok());
    ASSERT_TRUE(write(dir.file("R_GGG.TXT")).ok());
    EXPECT_EQ(readBytes(dir.file("R_065.TXT")), fullReport());
}

TEST_F(RemittanceReportTest, TheDayOfTheYearReplacesTheFirstGGGOnly) {
    struct Case {
        const char* name;
        int day, month, year;
        const char* expected;
    };
    const Case cases[] = {
        {"/out/EFFETTI01_CA_REP_GGG.TXT", 5, 3, 2024, "/out/EFFETTI01_CA_REP_065.TXT"},
        {"/out/R_GGG.TXT", 31, 12, 2024, "/out/R_366.TXT"},
        {"/out/R_GGG_GGG.TXT", 1, 1, 2023, "/out/R_001_GGG.TXT"},
        {"/out/REPORT.TXT", 5, 3, 2024, "/out/REPORT.TXT"},
        {"/out/R_GG.TXT", 5, 3, 2024, "/out/R_GG.TXT"},
    };
    for (const Case& c : cases) {
        KroDate date;
        date.set(c.day, c.month, c.year);
        EXPECT_EQ(RemittanceReport::reportName(c.name, date), c.expected) << c.name;
    }
}

TEST_F(RemittanceReportTest, NoListedDocumentWritesNoReportAndChangesNothing) {
    db.exec(std::string("INSERT INTO ") + kList + " VALUES (9), (6)");
    insertGuide("(9, 0, 4, 'CA', 'P12', 'S9A', 9, '00103', 3, '2024-12-31', 'Neri')");
    EXPECT_EQ(write(dir.file("R_GGG.TXT")).outcome, Outcome::kNothingWritten);
    EXPECT_EQ(listener.monitor, Texts{"(E) NON SONO STATI SCARICATI EFFETTI"});
    EXPECT_FALSE(fileExists(dir.file("R_065.TXT")));
    EXPECT_EQ(vault(), untouchedVault());
}

// One way of failing: what breaks, where the report goes, and what the
// operator is told (in a box, by the gateway or by the flow).
struct Failure {
    const char* name;
    void (*arrange)(RemittanceReportTest&);
    const char* folder;  // under the test directory
    Outcome outcome;
    const char* told;
    bool reportLeft;
};

void PrintTo(const Failure& failure, std::ostream* out) {
    *out << failure.name;
}

class RemittanceFailureTest : public RemittanceReportTest,
                              public testing::WithParamInterface<Failure> {};

TEST_P(RemittanceFailureTest, LeavesNoHalfReportAndTheVaultAsItWas) {
    const Failure& failure = GetParam();
    insertRemittances();
    failure.arrange(*this);
    const std::string folder = dir.path() + "/" + failure.folder;
    const RemittanceReport::Result result = write(folder + "R_GGG.TXT", env);
    EXPECT_EQ(result.outcome, failure.outcome);
    EXPECT_FALSE(gateway.inTransaction());  // no table left locked for the suite
    Texts told = shownTexts();
    told.insert(told.end(), listener.errors.begin(), listener.errors.end());
    EXPECT_TRUE(std::any_of(told.begin(), told.end(), [&](const std::string& text) {
        return text.find(failure.told) != std::string::npos;
    })) << testing::PrintToString(told);
    EXPECT_EQ(fileExists(folder + "R_065.TXT"), failure.reportLeft);
    if (failure.reportLeft) {  // the vault table is the one missing
        EXPECT_EQ(readBytes(folder + "R_065.TXT"), fullReport());
        EXPECT_EQ(listener.monitor.back(), "(E) Aggiornamento Data_Pres non eseguito");
        EXPECT_EQ(listener.status.back(), "Scarico terminato");
    } else {
        EXPECT_EQ(vault(), untouchedVault());
    }
    if (failure.outcome != Outcome::kFileFailed && !failure.reportLeft) {
        EXPECT_EQ(listener.monitor.back(), RemittanceReport::kAborted);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RemittanceFailureTest,
    testing::Values(Failure{"MissingList",
                            [](auto& t) { t.db.exec(std::string("DROP TABLE ") + kList); }, "",
                            Outcome::kQueryFailed, "doesn't exist", false},
                    // Remittance 7 written, then its documents' table gone: the query
                    // of the next remittance's documents fails...
                    Failure{"DocumentsGoneMidway",
                            [](auto& t) {
                                t.listener.onDocument = [&t](int position) {
                                    if (position == 2) {
                                        t.db.exec(std::string("DROP TABLE ") + kGuide);
                                    }
                                };
                            },
                            "", Outcome::kQueryFailed, "doesn't exist", false},
                    // ... and gone before remittance 7's totals are read, those.
                    Failure{"TotalsFail",
                            [](auto& t) {
                                t.listener.onRemittance = [&t](int position) {
                                    if (position == 2) {
                                        t.db.exec(std::string("DROP TABLE ") + kGuide);
                                    }
                                };
                            },
                            "", Outcome::kQueryFailed, "doesn't exist", false},
                    Failure{"MissingVaultTable",
                            [](auto& t) { t.db.exec(std::string("DROP TABLE ") + kVault); }, "",
                            Outcome::kUpdateFailed, "doesn't exist", true},
                    Failure{"JobTypeNotAName", [](auto& t) { t.jobType = "CA DOC;"; }, "",
                            Outcome::kRefused, "CAVEAU_CA DOC;_DOC", false},
                    Failure{"NoSuchFolder", [](auto&) {}, "missing/", Outcome::kFileFailed,
                            "non riuscita", false},
                    Failure{"ALineCannotBeWritten", [](auto& t) { t.env = &t.failingWrites; }, "",
                            Outcome::kLineFailed, RemittanceReport::kWriteError, false}),
    [](const testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

TEST_F(RemittanceReportTest, ARunAfterAFailedWriteWritesTheWholeReport) {
    insertRemittances();
    // The same report file, and the same files: only the first run fails.
    ASSERT_EQ(write(dir.file("R_GGG.TXT"), &failingWrites).outcome, Outcome::kLineFailed);
    ASSERT_TRUE(write(dir.file("R_GGG.TXT"), &failingWrites).ok());
    EXPECT_EQ(readBytes(dir.file("R_065.TXT")), fullReport());
}

}  // namespace
