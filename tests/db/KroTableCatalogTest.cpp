#include "db/KroTableCatalog.h"

#include <gtest/gtest.h>

#include "GatewayFixture.h"

using C = KroTableCatalog;

TEST(KroTableCatalog, NamesTheJobsTables) {
    EXPECT_EQ(C::documentTable("EFFETTI01_CA", "240305"), "EFFETTI01_CA_240305_GUI_DOC");
    EXPECT_EQ(C::listTable("EFFETTI01_CA", "240305"), "EFFETTI01_CA_240305_GUI_DIST");
    EXPECT_EQ(C::documentTable("EFFETTICC01", "240305"), "EFFETTICC01_DOC");
    EXPECT_EQ(C::listTable("EFFETTICC01", "240305"), "EFFETTICC01_DIST");
    EXPECT_EQ(C::documentTable("ACCETTI", "240305"), "ACCETTI_DOC");  // "CC" anywhere
    EXPECT_EQ(C::documentTable("EFFETTIcc01", "240305"), "EFFETTIcc01_240305_GUI_DOC");
    EXPECT_EQ(C::guideDocumentTable("EFFETTICC01", "240305"), "EFFETTICC01_240305_GUI_DOC");
    EXPECT_EQ(C::guideListTable("EFFETTICC01", "240305"), "EFFETTICC01_240305_GUI_DIST");
    EXPECT_EQ(C::vaultDocumentTable("CA"), "CAVEAU_CA_DOC");
}

TEST(KroTableCatalog, FillsFormatsAsPrintfDoes) {
    EXPECT_EQ(C::fill(C::kMarkBatch, std::string("D"), 12, "01", "2024-03-01", "2024-03-05"),
              "UPDATE D SET Lotto_Pres = 12 WHERE TC='01' AND Data_Carico between '2024-03-01' "
              "AND '2024-03-05'");
    EXPECT_EQ(C::fill(C::kExtractionLog), "SELECT * FROM Orvax Order By Progr");
    EXPECT_EQ(C::fill(C::kInsertBlock, "a", "b", 1, 2, 3, 4),
              "INSERT INTO Orvax (DataCaricoIn, DataCaricoFin, PraticaIn, PraticaFin, "
              "Num_Pratiche, Num_Documenti) \tVALUES('a', 'b', 1, 2, 3, 4)");
}

namespace {

constexpr const char* kJob = "EFFETTI01_CA";
constexpr const char* kDate = "240305";
constexpr const char* kFrom = "2024-03-01";
constexpr const char* kTo = "2024-03-02";

constexpr const char* kDocumentColumns =
    "(Data_Carico DATE, Serial VARCHAR(10), Num_Effetto INT, TC VARCHAR(2), T1 INT, T2 INT, "
    "T3 INT, T4 INT, NOTA INT, Condizione INT, Doc_Prg INT, Prg INT, Num_Pratica VARCHAR(20), "
    "Stat CHAR(1), Lotto_Pres INT, Importo DECIMAL(12,2), Prg1 INT, Prg2 INT, SCADENZA DATE, "
    "Fil_Cod VARCHAR(5), Deb_RagSoc VARCHAR(40))";

constexpr const char* kDocuments =
    " VALUES ('2024-03-01', NULL, 15, '01', 9, 9, 9, 9, 1, 1, 1, 10, 'P10', 'A', 7, 100.50, 1, "
    "1, '2024-04-30', '001', 'Società Alfa'), "
    "('2024-03-01', 'S2', 16, '01', 9, 9, 9, 9, 1, 1, 2, 10, 'P10', 'A', 7, 20.00, 2, 1, "
    "'2024-05-31', '001', 'Beta'), "
    "('2024-03-02', 'S3', 17, '01', 9, 9, 9, 9, 1, 1, 1, 11, 'P11', 'J', 8, 5.25, 1, 1, "
    "'2024-06-30', '002', 'Gamma'), "
    "('2024-03-02', 'S4', 18, '02', 9, 9, 9, 9, 1, 1, 1, 12, 'P12', 'A', 8, 1.00, 0, 2, "
    "'2024-06-30', '002', 'Delta')";

constexpr const char* kOrvaxLayout =
    "[TABLE]\r\n"
    "Progr INT NOT NULL AUTO_INCREMENT,\r\n"
    "DataCaricoIn VARCHAR(10), DataCaricoFin VARCHAR(10),\r\n"
    "PraticaIn INT, PraticaFin INT, Num_Pratiche INT, Num_Documenti INT,\r\n"
    "NumPraticaIn VARCHAR(20), NumPraticaFin VARCHAR(20),\r\n"
    "PRIMARY KEY (Progr)\r\n";

class CatalogTest : public GatewayTest {
protected:
    void SetUp() override {
        const std::string doc = C::documentTable(kJob, kDate);
        db.exec("CREATE TABLE " + doc + " " + kDocumentColumns);
        db.exec("INSERT INTO " + doc + kDocuments);
        db.exec("CREATE TABLE EFFETTICC01_DOC " + std::string(kDocumentColumns));
        db.exec("INSERT INTO EFFETTICC01_DOC" + std::string(kDocuments));
        db.exec("CREATE TABLE " + C::listTable(kJob, kDate) + " (Lotto_Pres INT)");
        db.exec("INSERT INTO " + C::listTable(kJob, kDate) + " VALUES (8), (7)");
        db.exec(
            "CREATE TABLE CAVEAU_CA_DOC (Serial VARCHAR(10) PRIMARY KEY, Lotto_Pres INT, "
            "Data_Pres VARCHAR(10), Prg1 INT, Prg2 INT)");
        db.exec("INSERT INTO CAVEAU_CA_DOC (Serial) VALUES ('0000000015'), ('S3'), ('X9')");
        db.exec("CREATE TABLE CAVEAU_RR_VER (SERIAL VARCHAR(10), SCADENZA DATE, TC VARCHAR(2))");
        db.exec(
            "INSERT INTO CAVEAU_RR_VER VALUES ('R1', '2024-04-01', '01'), (NULL, "
            "'2024-04-01', '01'), ('R2', '2025-01-01', '01')");
        connect();
        ASSERT_TRUE(gateway.createTableFromLayout(C::kExtractionLogTable,
                                                  dir.write("Orvax.TBL", kOrvaxLayout)));
    }

    // Runs a statement of the program; the count it gave.
    int run(const std::string& sql, int mode, int index) {
        EXPECT_TRUE(gateway.run(sql, mode, true, index, true)) << sql << "\n" << lastShown();
        return gateway.query(index)->resultCount();
    }

    std::string field(const char* name) {
        return gateway.currentDataSet()->fieldByName(name).asString();
    }

    const std::string doc = C::documentTable(kJob, kDate);
};

}  // namespace

TEST_F(CatalogTest, ConnectingStatementsRun) {
    EXPECT_EQ(run(C::fill(C::kLoadDates, doc), 1, 3), 2);
    EXPECT_EQ(walk(gateway.currentDataSet(), "DocCount"), (Texts{"2", "2"}));
    EXPECT_EQ(run(C::kExtractionLog, 1, 4), 0);
    EXPECT_EQ(run(C::fill(C::kFirstLoadDate, doc), 1, -1), 1);
    EXPECT_EQ(field("DataMin"), "2024-03-01");
    EXPECT_EQ(run(C::fill(C::kBlockOfLoadDate, kFrom), 1, -1), 0);
}

TEST_F(CatalogTest, PocketAssignmentWritesThePocketsBackRowByRow) {
    EXPECT_EQ(run(C::fill(C::kFillSerials, doc), 0, -1), 1);
    EXPECT_EQ(run(C::fill(C::kClearPockets, doc, "01", kFrom, kTo), 0, -1), 3);
    EXPECT_EQ(run(C::fill(C::kDossierCounts, doc, "01", kFrom, kTo), 1, -1), 2);
    EXPECT_EQ(run(C::fill(C::kDossierRange, doc, "01", kFrom, kTo), 1, -1), 1);
    EXPECT_EQ(field("StartDoc"), "10");
    EXPECT_EQ(field("EndDoc"), "11");
    EXPECT_EQ(field("TotDoc"), "3");

    // Each dossier its pocket, from 2; the table has no key, Prg is computed.
    ASSERT_EQ(run(C::fill(C::kPocketRows, 10, doc, "01", kFrom, kTo), 1, 2), 3);
    MySqlDataSet* rows = gateway.currentDataSet();
    int pocket = 1;
    int64_t previous = -1;
    for (rows->first(); !rows->eof(); rows->next()) {
        const int64_t prg = rows->fieldByName("Prg").asInteger();
        if (prg != previous) {
            ++pocket;
            previous = prg;
        }
        ASSERT_TRUE(rows->edit());
        for (const char* name : {"T1", "T2", "T3", "T4"}) {
            rows->fieldByName(name).setAsInteger(pocket);
        }
        ASSERT_TRUE(rows->post()) << rows->lastError();
    }
    const auto written =
        db.rows("SELECT Serial, Prg, T1, T2, T3, T4, NOTA FROM " + doc + " ORDER BY Num_Effetto");
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written[0], (TestDatabase::Row{"0000000015", "10", "2", "2", "2", "2", "0"}));
    EXPECT_EQ(written[1], (TestDatabase::Row{"S2", "10", "2", "2", "2", "2", "0"}));
    EXPECT_EQ(written[2], (TestDatabase::Row{"S3", "11", "3", "3", "3", "3", "0"}));
    EXPECT_EQ(written[3], (TestDatabase::Row{"S4", "12", "9", "9", "9", "9", "1"}));  // type 02
}

TEST_F(CatalogTest, RecalledItemsFlowStatementsRun) {
    EXPECT_EQ(run(C::fill(C::kUnlinkedDocuments, "EFFETTICC01"), 1, -1), 1);
    EXPECT_EQ(field("NAG"), "3");
    EXPECT_EQ(run(C::fill(C::kGuideWithoutSerial, kJob, kDate), 1, -1), 1);
    EXPECT_EQ(field("NAG"), "1");

    EXPECT_EQ(run(C::fill(C::kInsertBlock, kFrom, kTo, 10, 11, 2, 3), 0, -1), 1);
    EXPECT_EQ(run(C::fill(C::kBlockOfLoadDate, kFrom), 1, -1), 1);
    const int block = std::stoi(field("PROGR"));
    EXPECT_EQ(block, 1);
    // Rows changed count, not rows found: rewriting the same values gives 0.
    EXPECT_EQ(run(C::fill(C::kUpdateBlock, kFrom, kTo, 10, 11, 2, 3, block), 0, -1), 0);
    EXPECT_EQ(run(C::fill(C::kUpdateBlock, kFrom, kTo, 10, 11, 2, 4, block), 0, -1), 1);
    EXPECT_EQ(run(C::fill(C::kFillFirstDossier, doc), 0, -1), 1);
    EXPECT_EQ(run(C::fill(C::kFillLastDossier, doc), 0, -1), 1);
    EXPECT_EQ(db.scalar("SELECT CONCAT(NumPraticaIn, '-', NumPraticaFin) FROM Orvax"), "P10-P11");
    // Filled once: a second run finds them no longer empty.
    EXPECT_EQ(run(C::fill(C::kFillFirstDossier, doc), 0, -1), 0);

    EXPECT_EQ(run(C::fill(C::kMarkBatch, doc, block, "01", kFrom, kTo), 0, -1), 3);
    EXPECT_EQ(run(C::fill(C::kRecalledFlowDocuments, doc, "01", kFrom, kTo), 1, 2), 3);
    EXPECT_EQ(walk(gateway.currentDataSet(), "Lotto_Pres"), (Texts{"1", "1", "1"}));
    EXPECT_EQ(run(C::kExtractionLog, 1, 4), 1);
}

TEST_F(CatalogTest, SelectionFlowStatementsRun) {
    EXPECT_EQ(run(C::fill(C::kGuideDueDates, kJob, kDate), 1, -1), 1);
    EXPECT_EQ(field("ScadMin") + " " + field("ScadMax"), "2024-04-30 2024-06-30");
    EXPECT_EQ(run(C::fill(C::kGuideDueDatesShort, kJob, kDate), 1, -1), 1);
    EXPECT_EQ(field("miscad") + " " + field("mascad"), "2024-04-30 2024-06-30");
    EXPECT_EQ(run(C::fill(C::kGuidePockets, kJob, kDate), 1, 0), 4);
    EXPECT_EQ(field("Deb_RagSoc"), "Società Alfa");
    EXPECT_EQ(run(C::kRecalledItems, 1, 1), 2);
    EXPECT_EQ(run(C::fill(C::kRecalledItemsInRange, "2024-01-01", "2024-12-31", "01"), 1, 1), 1);
}

TEST_F(CatalogTest, RemittanceStatementsRunWithTheDetailFollowingItsList) {
    ASSERT_EQ(run(C::fill(C::kRemittances, kJob, kDate), 1, 0), 2);
    ASSERT_TRUE(gateway.linkDetail(1, 0, C::fill(C::kRemittanceDocuments, kJob, kDate)))
        << lastShown();
    MySqlDataSet* remittances = gateway.query(0)->component();
    MySqlDataSet* documents = gateway.query(1)->component();
    Texts seen;
    for (remittances->first(); !remittances->eof(); remittances->next()) {
        const int batch = static_cast<int>(remittances->fieldByName("Lotto_Pres").asInteger());
        run(C::fill(C::kRemittanceTotals, kJob, kDate, batch), 1, -1);
        seen.push_back(std::to_string(batch) + ": " + field("TotImpo") + " " + field("Pzz"));
        for (documents->first(); !documents->eof(); documents->next()) {
            seen.push_back(documents->fieldByName("Serial").asString() + " " +
                           documents->fieldByName("Scadenza").asString() + " " +
                           documents->fieldByName("Importo").asString());
        }
    }
    EXPECT_EQ(seen, (Texts{"7: 120.50 2", " 2024-04-30 100.50", "S2 2024-05-31 20.00", "8: 5.25 1",
                           "S3 2024-06-30 5.25"}));

    EXPECT_EQ(run(C::fill(C::kFillSerials, doc), 0, -1), 1);
    EXPECT_EQ(run(C::fill(C::kVaultPresentation, "CA", kJob, kDate, "2024-03-05"), 0, -1), 2);
    const auto vault = db.rows(
        "SELECT Serial, Lotto_Pres, Data_Pres, Prg1, Prg2 FROM CAVEAU_CA_DOC ORDER BY Serial");
    ASSERT_EQ(vault.size(), 3u);
    EXPECT_EQ(vault[0], (TestDatabase::Row{"0000000015", "7", "2024-03-05", "1", "1"}));
    EXPECT_EQ(vault[1], (TestDatabase::Row{"S3", "8", "2024-03-05", "1", "1"}));
    EXPECT_EQ(vault[2],
              (TestDatabase::Row{"X9", std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
}
