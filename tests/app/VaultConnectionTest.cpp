// The connect step against the test server. Every fixture here rebuilds the
// operators' schema QuorvelNet, so their names start with VaultConnection
// (the test command runs such tests one at a time).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "ControllerFixture.h"
#include "app/KroStepKeeper.h"
#include "db/KroMy_DBUtils.h"
#include "db/KroQueryBase.h"
#include "platform/MySqlDataSet.h"
#include "platform/MySqlDataSource.h"
#include "support/TestDatabase.h"

namespace {

constexpr int kErrorBox = ModalMessageBox::kIconError | ModalMessageBox::kOk;
const std::string kDocTable = "EFFETTI01_CA_240531_GUI_DOC";

class VaultConnectionTest : public ControllerTest {
protected:
    VaultConnectionTest() {
        users.exec("CREATE TABLE auth_users (UserID VARCHAR(64), Nome VARCHAR(40))");
        users.exec("INSERT INTO auth_users VALUES ('Operatore', 'Anna'), ('rossi', 'Mario')");
        suite.writeConnectionString(db.connectionString());
        suite.writeExtractionLogLayout();
        db.exec("CREATE TABLE " + kDocTable +
                " (Prg INT, Data_Carico DATE, Serial VARCHAR(10), TC VARCHAR(2))");
    }

    void addDocuments(const std::string& loadDate, int count) {
        for (int i = 0; i < count; ++i) {
            db.exec("INSERT INTO " + kDocTable + " (Data_Carico) VALUES ('" + loadDate + "')");
        }
    }

    // The extraction log as the suite's other runs left it: rows of Progr
    // and DataCaricoFin (NULL when empty).
    void makeLog(const std::vector<std::pair<int, std::string>>& rows) {
        db.exec(
            "CREATE TABLE Orvax (Progr INT NOT NULL AUTO_INCREMENT PRIMARY KEY, DataCaricoIn "
            "DATE, DataCaricoFin DATE)");
        for (const auto& [progr, last] : rows) {
            db.exec("INSERT INTO Orvax (Progr, DataCaricoFin) VALUES (" + std::to_string(progr) +
                    ", " + (last.empty() ? "NULL" : "'" + last + "'") + ")");
        }
    }

    TfrmOutput& connect() {
        start().act01_ConnectExecute();
        return *controller;
    }

    // The rows of the data set bound to a grid, walking the named column.
    std::vector<std::string> gridColumn(const char* grid, const char* column) {
        std::vector<std::string> values;
        MySqlDataSource* source = view.element(grid).source;
        if (source == nullptr || source->dataSet() == nullptr) {
            return values;
        }
        MySqlDataSet* set = source->dataSet();
        for (set->first(); !set->eof(); set->next()) {
            values.push_back(set->fieldByName(column).asString());
        }
        return values;
    }

    void expectServerOff(TfrmOutput& c) {
        EXPECT_EQ(narrow(view.element("Control1").text), "Server OFF");
        EXPECT_TRUE(view.element("Control1").bold);
        EXPECT_FALSE(view.element("Control2").enabled);
        EXPECT_EQ(c.stepKeeper()->current(), 0);
        EXPECT_EQ(view.statusText(), "Connessione al database");
        ASSERT_NE(c.dbUtils(), nullptr);
        EXPECT_FALSE(c.dbUtils()->connected());
    }

    TestDatabase users{"QuorvelNet"};
    TestDatabase db;
};

TEST_F(VaultConnectionTest, ConnectsChecksTheOperatorAndProposesTheFirstBlock) {
    addDocuments("2024-01-16", 2);
    addDocuments("2024-01-15", 3);
    TfrmOutput& c = connect();
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_TRUE(c.dbUtils()->connected());
    EXPECT_EQ(narrow(view.element("Control1").text), "Server ON");
    EXPECT_TRUE(view.element("Control1").bold);
    EXPECT_EQ(narrow(view.element("tbServer").text), testServer().host);
    EXPECT_EQ(c.stepKeeper()->current(), 1);
    EXPECT_TRUE(view.element("Control2").enabled);
    EXPECT_TRUE(view.element("act02_DstType").enabled);
    EXPECT_EQ(view.element("pnlStato2").colour, OutputView::Colour::Yellow);
    EXPECT_EQ(view.statusText(), "Seleziona il flusso da scaricare");

    // The load dates in data set 3, the log in data set 4.
    EXPECT_EQ(view.element("dbgDateCarico").source, c.dbUtils()->dataSource(3));
    EXPECT_EQ(gridColumn("dbgDateCarico", "Data_Carico"), (Texts{"2024-01-15", "2024-01-16"}));
    EXPECT_EQ(gridColumn("dbgDateCarico", "DocCount"), (Texts{"3", "2"}));
    EXPECT_EQ(view.element("dbgOrvax").source, c.dbUtils()->dataSource(4));
    EXPECT_EQ(view.element("dbnNavigator").source, c.dbUtils()->dataSource(4));

    EXPECT_EQ(c.blockNumber(), 1);
    EXPECT_EQ(narrow(view.element("tbBlockNo").text), "1");
    EXPECT_EQ(narrow(view.element("tbDataIn").text), "15/01/2024");
    EXPECT_EQ(view.focus, "tbDataIn");
    EXPECT_EQ(view.missingRequests, Texts{});  // every name is one of the window's
}

TEST_F(VaultConnectionTest, CreatesTheExtractionLogFromItsLayout) {
    connect();
    EXPECT_EQ(view.messageTexts(), Texts{});
    const auto columns =
        db.rows("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA='" +
                db.name() + "' AND TABLE_NAME='orvax' ORDER BY ORDINAL_POSITION");
    std::vector<std::string> names;
    for (const auto& row : columns) {
        names.push_back(row[0].value_or(""));
    }
    EXPECT_EQ(names, (Texts{"Progr", "DataCaricoIn", "DataCaricoFin", "PraticaIn", "PraticaFin",
                            "Num_Pratiche", "Num_Documenti", "NumPraticaIn", "NumPraticaFin"}));
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM information_schema.STATISTICS WHERE TABLE_SCHEMA='" +
                        db.name() + "' AND INDEX_NAME='IX_DataCaricoIn'"),
              "1");
    // An empty log and an empty document table.
    EXPECT_EQ(narrow(view.element("tbBlockNo").text), "1");
    EXPECT_EQ(narrow(view.element("tbDataIn").text), "01/01/2000");
}

TEST_F(VaultConnectionTest, AnExistingLogIsKept) {
    makeLog({{1, "2024-02-10"}});
    std::filesystem::remove(suite.file(SuiteTree::kPatterns, "Orvax.TBL"));
    connect();
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(gridColumn("dbgOrvax", "Progr"), Texts{"1"});
}

struct ProposalCase {
    std::string name;
    std::vector<std::pair<int, std::string>> log;
    std::string firstLoadDate;  // of the documents; empty: none
    int block;
    std::string date;
};

void PrintTo(const ProposalCase& c, std::ostream* out) {
    *out << c.name;
}

class VaultConnectionProposalTest : public VaultConnectionTest,
                                    public testing::WithParamInterface<ProposalCase> {};

TEST_P(VaultConnectionProposalTest, ProposesTheNextBlock) {
    const ProposalCase& c = GetParam();
    makeLog(c.log);
    if (!c.firstLoadDate.empty()) {
        addDocuments("2024-08-01", 1);
        addDocuments(c.firstLoadDate, 1);
    }
    TfrmOutput& controller = connect();
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(controller.blockNumber(), c.block);
    EXPECT_EQ(narrow(view.element("tbBlockNo").text), std::to_string(c.block));
    EXPECT_EQ(narrow(view.element("tbDataIn").text), c.date);
    EXPECT_EQ(controller.stepKeeper()->current(), 1);
}

const ProposalCase kProposalCases[] = {
    {"TheDayAfterTheLastBlock",
     {{1, "2024-01-31"}, {2, "2024-02-29"}, {3, "2024-03-31"}},
     "2024-01-02",
     4,
     "01/04/2024"},
    {"GapsInProgrCountRows",
     {{1, "2024-01-31"}, {5, "2024-02-29"}, {9, "2024-06-30"}},
     "",
     4,
     "01/07/2024"},
    {"TheLastBlockIsTheHighestProgr", {{7, "2024-05-05"}, {2, "2024-09-30"}}, "", 3, "06/05/2024"},
    {"AcrossTheYearEnd", {{1, "2023-12-31"}}, "", 2, "01/01/2024"},
    {"ALastBlockWithoutDateKeepsTheDate",
     {{1, "2024-01-31"}, {2, ""}},
     "2024-01-02",
     3,
     "10/09/2024"},  // the controller's date: today
    {"AnEmptyLogStartsAtTheFirstLoadDate", {}, "2024-01-15", 1, "15/01/2024"},
    {"NothingAtAllStartsIn2000", {}, "", 1, "01/01/2000"},
};

INSTANTIATE_TEST_SUITE_P(Proposals, VaultConnectionProposalTest, testing::ValuesIn(kProposalCases),
                         [](const testing::TestParamInfo<ProposalCase>& info) {
                             return info.param.name;
                         });

TEST_F(VaultConnectionTest, TheConnectActionDisconnectsAndReconnectsWithTheSameGateway) {
    TfrmOutput& c = connect();
    KroMy_DBUtils* gateway = c.dbUtils();
    c.act01_ConnectExecute();
    expectServerOff(c);
    EXPECT_EQ(c.dbUtils(), gateway);
    EXPECT_EQ(narrow(view.element("tbServer").text), testServer().host);  // kept

    c.act01_ConnectExecute();
    EXPECT_EQ(c.dbUtils(), gateway);
    EXPECT_TRUE(gateway->connected());
    EXPECT_EQ(narrow(view.element("Control1").text), "Server ON");
    EXPECT_EQ(c.stepKeeper()->current(), 1);
    EXPECT_EQ(view.messageTexts(), Texts{});
}

TEST_F(VaultConnectionTest, DestructionTakesTheGridsOffTheDataSets) {
    TfrmOutput& c = connect();
    ASSERT_NE(view.element("dbgOrvax").source, nullptr);
    c.FormDestroy();
    EXPECT_EQ(c.dbUtils(), nullptr);
    for (const char* grid : {"dbgDateCarico", "dbgOrvax", "dbnNavigator"}) {
        EXPECT_EQ(view.element(grid).source, nullptr) << grid;
    }
}

TEST_F(VaultConnectionTest, AWorkModeWithoutConnectionStringChangesNothing) {
    suite.workMode.names[7] = "";
    suite.writeWorkMode();
    TfrmOutput& c = connect();
    EXPECT_EQ(view.messageTexts(), Texts{"Manca Connection String nel modo lavoro"});
    EXPECT_EQ(narrow(view.shown[0].caption), "Errore!");
    EXPECT_EQ(view.shown[0].flags, kErrorBox);
    EXPECT_EQ(narrow(view.element("Control1").text), "Segui il giallo...");
    EXPECT_FALSE(view.element("Control1").bold);
    EXPECT_FALSE(c.dbUtils()->connected());
    EXPECT_EQ(c.stepKeeper()->current(), 0);
}

TEST_F(VaultConnectionTest, AnUnreadableConnectionStringChangesNothing) {
    const std::string path = suite.file(SuiteTree::kParameters, "VAULT.CNS");
    std::filesystem::remove(path);
    TfrmOutput& c = connect();
    EXPECT_EQ(view.messageTexts(),
              (Texts{"Apertura di " + path + "\r\n non riuscita",
                     "Impossibile caricare la stringa di connessione\r\n" + path}));
    EXPECT_EQ(narrow(view.shown[1].caption), "Errore!");
    EXPECT_EQ(view.shown[1].flags, kErrorBox);
    EXPECT_EQ(narrow(view.element("Control1").text), "Segui il giallo...");
    EXPECT_FALSE(c.dbUtils()->connected());
    EXPECT_EQ(view.terminateRequests, 0);
}

TEST_F(VaultConnectionTest, ARefusedConnectionShowsTheServersMessage) {
    std::string cns = db.connectionString();
    const std::string port = "Port=" + std::to_string(testServer().port);
    cns.replace(cns.find(port), port.size(), "Port=" + std::to_string(closedPort()));
    suite.writeConnectionString(cns);
    TfrmOutput& c = connect();
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_FALSE(view.shown[0].text.empty());
    EXPECT_EQ(narrow(view.shown[0].caption), "Errore!");
    EXPECT_EQ(view.shown[0].flags, kErrorBox);
    expectServerOff(c);
    EXPECT_EQ(view.terminateRequests, 0);
}

TEST_F(VaultConnectionTest, AnUnknownOperatorEndsTheProgram) {
    env.login = u"bianchi";
    TfrmOutput& c = connect();
    ASSERT_EQ(view.messageTexts(), Texts{"Utente non censito\r\nImpossibile continuare "});
    EXPECT_EQ(narrow(view.shown[0].caption), "ATTENZIONE!");
    EXPECT_EQ(view.shown[0].flags, kErrorBox);
    expectServerOff(c);
    EXPECT_EQ(view.terminateRequests, 1);
}

TEST_F(VaultConnectionTest, AMissingDocumentTableDropsTheConnection) {
    db.exec("DROP TABLE " + kDocTable);
    TfrmOutput& c = connect();
    const Texts shown = view.messageTexts();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Non esiste la tabella di lavoro!");
    EXPECT_NE(shown[1].find("doesn't exist"), std::string::npos) << shown[1];  // the load dates
    EXPECT_EQ(narrow(view.shown[0].caption), "Errore!");
    // The log was still made and listed before the connection was dropped.
    EXPECT_EQ(db.scalar("SHOW TABLES LIKE 'orvax'"), "orvax");
    EXPECT_TRUE(view.element("dbgOrvax").bound);
    EXPECT_TRUE(view.element("dbnNavigator").bound);
    expectServerOff(c);
    EXPECT_TRUE(view.element("tbBlockNo").text.empty());  // nothing read after the drop
    EXPECT_EQ(view.terminateRequests, 0);
}

TEST_F(VaultConnectionTest, ALogThatCannotBeCreatedDropsTheConnection) {
    const std::string layout = suite.file(SuiteTree::kPatterns, "Orvax.TBL");
    std::filesystem::remove(layout);
    TfrmOutput& c = connect();
    const Texts shown = view.messageTexts();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Apertura di " + layout + "\r\n non riuscita");
    EXPECT_NE(shown[1].find("doesn't exist"), std::string::npos) << shown[1];  // the log query
    expectServerOff(c);
    EXPECT_TRUE(view.element("tbBlockNo").text.empty());
}

// The job name names the document table: one that is no identifier stops
// the start-up, and the connect step then does nothing.
TEST_F(VaultConnectionTest, ADocumentTableNameThatIsNoIdentifierIsNeverSent) {
    suite.witness.jobName = "EFF-01_CA";
    suite.writeWitness();
    suite.writeWorkMode();
    TfrmOutput& c = connect();
    EXPECT_FALSE(c.started());
    EXPECT_EQ(
        view.messageTexts(),
        Texts{"Nome del lavoro non valido: \"EFF-01_CA\"\r\nSono ammessi solo lettere, cifre e _"});
    EXPECT_TRUE(c.dbUtils() == nullptr || !c.dbUtils()->connected());
}

}  // namespace
