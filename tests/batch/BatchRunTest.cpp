// The unattended run on a suite tree and the test server: exit codes and
// what goes to standard output and standard error.
#include <gtest/gtest.h>

#include <sstream>

#include "app/JobFixture.h"
#include "batch/BatchRun.h"
#include "platform/Env.h"

namespace {

class VaultConnectionBatchTest : public JobTest {
protected:
    VaultConnectionBatchTest() {
        // The batch run works as the user running the tests.
        users.exec("INSERT INTO auth_users VALUES ('" +
                   text::toNarrow(Env::Default()->loginName()) + "', 'Batch')");
        insert({document("2024-03-01", 10), document("2024-03-02", 11)});
    }

    int run(std::vector<std::string> arguments) {
        std::vector<const char*> argv = {"ExportOrvaxBatch"};
        for (const std::string& argument : arguments) {
            argv.push_back(argument.c_str());
        }
        return BatchRun(out, err).main(static_cast<int>(argv.size()), argv.data());
    }

    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(VaultConnectionBatchTest, WritesTheRecalledItemsFlow) {
    EXPECT_EQ(
        run({"--flow", "1", "--home", suite.home(), "--from", "01/03/2024", "--to", "05/03/2024"}),
        0);
    EXPECT_EQ(err.str(), "");
    EXPECT_NE(out.str().find("Flusso Selez. Resi scaricato regolarmente\n"), std::string::npos);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Orvax"), "1");
}

TEST_F(VaultConnectionBatchTest, WritesTheRemittanceReport) {
    db.exec("CREATE TABLE EFFETTI01_CA_240531_GUI_DIST (Lotto_Pres INT)");
    db.exec("INSERT INTO EFFETTI01_CA_240531_GUI_DIST VALUES (5)");
    db.exec(std::string("UPDATE ") + kDocTable + " SET Lotto_Pres=5, Prg1=Num_Effetto, Prg2=1");
    db.exec(
        "CREATE TABLE CAVEAU_CA_DOC (Serial VARCHAR(10), Lotto_Pres INT, Data_Pres DATE, "
        "Prg1 INT, Prg2 INT)");
    EXPECT_EQ(run({"--flow", "2", "--home", suite.home()}), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_NE(out.str().find("Sono stati scaricati  2 effetti\n"), std::string::npos);
    const std::string report =
        fileBytes(suite.folder(SuiteTree::kWork) + "/EFFETTI01_CA/240531/EFFETTI01_CA_REP_152.TXT");
    EXPECT_EQ(report.rfind("Rimessa effetti N. 5\r\n", 0), 0u) << report;
}

TEST_F(VaultConnectionBatchTest, WritesTheSelectionFlow) {
    db.exec("CREATE TABLE CAVEAU_RR_VER (SERIAL VARCHAR(12), SCADENZA DATE, TC VARCHAR(2))");
    EXPECT_EQ(
        run({"--flow", "0", "--home", suite.home(), "--from", "01/03/2024", "--to", "05/03/2024"}),
        0);
    EXPECT_EQ(err.str(), "");
    const std::string flow =
        fileBytes(suite.folder(SuiteTree::kWork) + "/EFFETTI01_CA/240531/EFFETTI01_CA_GGG.NST");
    EXPECT_EQ(flow, sorterFlowRecord("S1001", "02", "00", "00", "00", "2") +
                        sorterFlowRecord("S1002", "03", "00", "00", "00", "2"));
}

TEST_F(VaultConnectionBatchTest, AnEmptyRangeFailsWithItsMessages) {
    EXPECT_EQ(run({"--flow", "1", "--home", suite.home(), "--from", "01/01/2023", "--to",
                   "31/01/2023", "--verbose"}),
              1);
    EXPECT_NE(err.str().find("[Errore!] Nessuna pratica estratta\n"), std::string::npos);
    EXPECT_NE(err.str().find("[Errore!] Errori in fase di estrazione\n"), std::string::npos);
    EXPECT_NE(err.str().find("Connessione al database\n"), std::string::npos);  // --verbose
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Orvax"), "0");
}

TEST_F(VaultConnectionBatchTest, AStartUpThatStopsFails) {
    suite.writeInHome("PERCORSI.PAT", "");
    EXPECT_EQ(run({"--flow", "1", "--home", suite.home(), "--to", "05/03/2024"}), 1);
    EXPECT_NE(err.str().find('['), std::string::npos);
}

TEST(BatchUsageTest, UsageErrorsAndHelp) {
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"--flow", "3"}, {"--flow", "1"}, {"--flow", "2", "--answer", "forse"}, {"--bogus"}};
    for (const auto& arguments : wrong) {
        std::ostringstream out;
        std::ostringstream err;
        std::vector<const char*> argv = {"ExportOrvaxBatch"};
        for (const std::string& argument : arguments) {
            argv.push_back(argument.c_str());
        }
        EXPECT_EQ(BatchRun(out, err).main(static_cast<int>(argv.size()), argv.data()), 2);
        EXPECT_NE(err.str().find("usage: ExportOrvaxBatch --flow N"), std::string::npos);
    }
    std::ostringstream out;
    std::ostringstream err;
    const char* help[] = {"ExportOrvaxBatch", "--help"};
    EXPECT_EQ(BatchRun(out, err).main(2, help), 0);
    EXPECT_EQ(out.str().rfind("usage: ExportOrvaxBatch", 0), 0u);
}

}  // namespace
