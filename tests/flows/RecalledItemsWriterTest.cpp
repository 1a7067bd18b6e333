#include "flows/RecalledItemsWriter.h"

#include <gtest/gtest.h>

#include "FlowFixture.h"
#include "db/KroTableCatalog.h"
#include "records/KroTrack.h"
#include "support/SorterTrack.h"

namespace {

using Outcome = RecalledItemsWriter::Outcome;

constexpr const char* kFrom = "2024-03-01";
constexpr const char* kTo = "2024-03-05";

constexpr const char* kOrvaxLayout =
    "[TABLE]\r\n"
    "Progr INT NOT NULL AUTO_INCREMENT,\r\n"
    "DataCaricoIn VARCHAR(10), DataCaricoFin VARCHAR(10),\r\n"
    "PraticaIn INT, PraticaFin INT, Num_Pratiche INT, Num_Documenti INT,\r\n"
    "NumPraticaIn VARCHAR(20), NumPraticaFin VARCHAR(20),\r\n"
    "PRIMARY KEY (Progr)\r\n";

class RecalledItemsWriterTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        ASSERT_TRUE(gateway.createTableFromLayout(KroTableCatalog::kExtractionLogTable,
                                                  dir.write("Orvax.TBL", kOrvaxLayout)));
    }

    // The layout loaded and the flow file opened for writing, as the
    // controller hands them over.
    void openFlow(const SorterTrackFields& layout = SorterTrackFields()) {
        ASSERT_TRUE(track.load(writeSorterTrack(dir.path(), layout)));
        track.setMode(KroFile::kCreate);
        track.setStagedWriting(true);
        track.setFileName(flowPath);
        ASSERT_NO_THROW(track.openOrThrow(true));
    }

    RecalledItemsWriter::Result write(const std::string& to, const DocumentCounts& counts,
                                      int block) {
        openFlow();
        return writer.write(track, range(kFrom, to), counts, block);
    }

    // Documents of three dossiers with pockets 2, 3, 4, stored in an order
    // other than the flow's.
    void insertThreeDossiers() {
        std::vector<Document> documents = {
            withPocket(document("2024-03-02", 12, 1, 0), 4),
            withPocket(document(kFrom, 11, 2, 1), 3),
            withPocket(document(kFrom, 10, 1, 0), 2),
            withPocket(document(kFrom, 11, 1, 1), 3),
            withPocket(document(kFrom, 10, 2, 0), 2),
            withPocket(document("2024-03-06", 13), 5),       // after the range
            withPocket(document(kFrom, 14, 1, 0, "02"), 6),  // another type
        };
        documents[2].serial = "  000123  ";
        documents[4].serial.reset();
        insert(documents);
    }

    static Document withPocket(Document d, int pocket) {
        d.t[0] = d.t[1] = d.t[2] = d.t[3] = pocket;
        d.lottoPres = 0;
        return d;
    }

    std::vector<TestDatabase::Row> log() {
        return db.rows(
            "SELECT Progr, DataCaricoIn, DataCaricoFin, PraticaIn, PraticaFin, Num_Pratiche, "
            "Num_Documenti, NumPraticaIn, NumPraticaFin FROM Orvax ORDER BY Progr");
    }

    std::vector<std::string> batches() {
        std::vector<std::string> values;
        for (const auto& row : db.rows("SELECT Lotto_Pres FROM DOC ORDER BY Num_Effetto")) {
            values.push_back(row[0].value_or("NULL"));
        }
        return values;
    }

    const DocumentCounts kThreeDossiers{3, 10, 12, 5};
    RecalledItemsWriter writer{gateway, listener};
    KroTrack track{&box};
    const std::string flowPath = dir.file("OrvaxBlocco_001.NST");
};

}  // namespace

TEST_F(RecalledItemsWriterTest, WritesOneSorterRecordPerDocumentAndLogsTheBlock) {
    insertThreeDossiers();
    const auto result = write(kTo, kThreeDossiers, 1);
    ASSERT_TRUE(result.ok()) << lastShown();
    EXPECT_EQ(result.records, 5);
    EXPECT_EQ(result.loggedBlock, 1);
    EXPECT_FALSE(track.isOpen());

    // Condizione, Data_carico, Prg, Doc_Prg; the key trimmed, pockets "%.2d".
    EXPECT_EQ(readBytes(flowPath), sorterFlowRecord("000123", "02", "02", "02", "02") +
                                       sorterFlowRecord("", "02", "02", "02", "02") +
                                       sorterFlowRecord("S1001", "04", "04", "04", "04") +
                                       sorterFlowRecord("S1004", "03", "03", "03", "03") +
                                       sorterFlowRecord("S1002", "03", "03", "03", "03"));
    EXPECT_EQ(
        log(),
        (std::vector<TestDatabase::Row>{{"1", kFrom, kTo, "10", "12", "3", "5", "P10", "P12"}}));
    EXPECT_EQ(batches(), (Texts{"1", "1", "1", "1", "1", "0", "0"}));
    EXPECT_EQ(listener.status,
              (Texts{"Estrazione dati dal database (Attendere...)", "Output della procedura",
                     "Scrittura del file di output", "Scarico terminato"}));
    EXPECT_EQ(listener.steps.front(), std::make_pair(0, 5));
    EXPECT_EQ(listener.steps.back(), std::make_pair(5, 5));
    EXPECT_TRUE(listener.errors.empty());
    EXPECT_TRUE(box.shown.empty());
    EXPECT_FALSE(gateway.inTransaction());
}

TEST_F(RecalledItemsWriterTest, ExtractingAgainRewritesTheSameBlockAndKeepsItsDossierNumbers) {
    insertThreeDossiers();
    ASSERT_TRUE(write(kTo, kThreeDossiers, 1).ok());
    // Later the first dossier is renumbered and the range reaches one more day.
    db.exec("UPDATE DOC SET Num_Pratica='P10bis' WHERE Prg=10");
    const auto again = write("2024-03-06", DocumentCounts{4, 10, 13, 6}, 1);
    ASSERT_TRUE(again.ok()) << lastShown();
    EXPECT_EQ(again.loggedBlock, 1);
    EXPECT_EQ(log(), (std::vector<TestDatabase::Row>{
                         {"1", kFrom, "2024-03-06", "10", "13", "4", "6", "P10", "P12"}}));
    EXPECT_EQ(batches(), (Texts{"1", "1", "1", "1", "1", "1", "0"}));
    EXPECT_EQ(readBytes(flowPath).size(), 6u * 32);

    // A block starting on another day is a new one.
    db.exec("UPDATE DOC SET Lotto_Pres=0");
    openFlow();
    const auto other =
        writer.write(track, range("2024-03-06", "2024-03-06"), DocumentCounts{1, 13, 13, 1}, 2);
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(other.loggedBlock, 2);
    EXPECT_EQ(log().size(), 2u);
    EXPECT_EQ(batches(), (Texts{"0", "0", "0", "0", "0", "2", "0"}));
}

TEST_F(RecalledItemsWriterTest, ALayoutWithoutT4StopsAtTheFirstDocumentAndRecordsNothing) {
    insertThreeDossiers();
    SorterTrackFields withoutT4;
    withoutT4.fields.erase(withoutT4.fields.begin() + 4);
    openFlow(withoutT4);
    const auto result = writer.write(track, range(kFrom, kTo), kThreeDossiers, 1);
    EXPECT_EQ(result.outcome, Outcome::kRecordFailed);
    EXPECT_EQ(result.records, 0);
    EXPECT_EQ(listener.errors, (Texts{"Campo SRT_T4 non previsto sul record SORTER",
                                      "ERRORE DURANTE LA SCRITTURA DELL'USCITA"}));
    EXPECT_EQ(readBytes(flowPath), "");
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(batches(), (Texts{"0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_FALSE(track.isOpen());
}

TEST_F(RecalledItemsWriterTest, AFailedDocumentQueryRecordsNothing) {
    insertThreeDossiers();
    db.exec("ALTER TABLE DOC DROP COLUMN Doc_Prg");  // the order cannot be made
    const auto result = write(kTo, kThreeDossiers, 1);
    EXPECT_EQ(result.outcome, Outcome::kQueryFailed);
    EXPECT_NE(lastShown().find("Doc_Prg"), std::string::npos);  // the server's message
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(batches(), (Texts{"0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_FALSE(track.isOpen());
}

// The server goes away while the documents are being read: the file would
// be cut short, so it is dropped and nothing is recorded. The rows are large enough (20 MB in all)
// that most of them are still on the server when it lets go.
TEST_F(RecalledItemsWriterTest, AServerGoneWhileReadingRecordsNothing) {
    std::vector<Document> documents;
    for (int i = 0; i < 5000; ++i) {
        documents.push_back(withPocket(document(kFrom, 1 + i / 10, 1 + i % 10), 2));
    }
    insert(documents);
    db.exec("ALTER TABLE DOC ADD COLUMN Filler VARCHAR(4000) NOT NULL DEFAULT ''");
    db.exec("UPDATE DOC SET Filler = REPEAT('x', 4000)");
    const std::string id = gatewayConnectionId();
    listener.onProgress = [&](int position) {
        if (position == RecalledItemsWriter::kProgressStep) {
            db.exec("KILL " + id);
        }
    };
    const auto result = write(kTo, DocumentCounts{500, 1, 500, 5000}, 1);
    EXPECT_EQ(result.outcome, Outcome::kQueryFailed);
    EXPECT_LT(result.records, 5000);
    ASSERT_EQ(listener.errors.size(), 1u);
    EXPECT_FALSE(listener.errors[0].empty());
    EXPECT_FALSE(fileExists(flowPath));
    EXPECT_FALSE(fileExists(KroFile::stagingName(flowPath)));
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Orvax"), "0");
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM DOC WHERE Lotto_Pres <> 0"), "0");
}

// The batch cannot be stamped: the log row goes with it, the operator is
// told, and running the flow again completes the same block once.
TEST_F(RecalledItemsWriterTest, ALogThatFailsIsUndoneAndTheRunAgainCompletesTheBlock) {
    insertThreeDossiers();
    db.exec(
        "CREATE TRIGGER refuse BEFORE UPDATE ON DOC FOR EACH ROW IF NEW.Lotto_Pres <> "
        "OLD.Lotto_Pres THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'lotto rifiutato'; END IF");
    const auto failed = write(kTo, kThreeDossiers, 1);
    EXPECT_EQ(failed.outcome, Outcome::kLogFailed);
    EXPECT_EQ(failed.records, 5);
    EXPECT_EQ(failed.loggedBlock, 0);
    EXPECT_EQ(lastShown(), "lotto rifiutato");
    const std::string told =
        "Il file di scarico è completo ma il blocco 1 non è stato registrato: ripetere lo scarico";
    EXPECT_EQ(listener.errors, (Texts{told}));
    EXPECT_EQ(listener.monitor, (Texts{"(E) " + told}));
    EXPECT_EQ(readBytes(flowPath).size(), 5u * 32);  // the file is whole
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(batches(), (Texts{"0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_FALSE(gateway.inTransaction());

    db.exec("DROP TRIGGER refuse");
    const auto again = write(kTo, kThreeDossiers, 1);
    ASSERT_TRUE(again.ok()) << lastShown();
    EXPECT_EQ(log().size(), 1u);
    EXPECT_EQ(batches(), (Texts{"1", "1", "1", "1", "1", "0", "0"}));
}

// A failure after the log row was inserted is undone too, but the server
// has used up that Progr: the run again logs the block under the next one
// and says so.
TEST_F(RecalledItemsWriterTest, AnInsertUndoneUsesUpItsNumber) {
    insertThreeDossiers();
    db.exec(
        "CREATE TRIGGER refuse BEFORE UPDATE ON Orvax FOR EACH ROW IF NEW.NumPraticaIn IS NOT "
        "NULL THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'pratica rifiutata'; END IF");
    EXPECT_EQ(write(kTo, kThreeDossiers, 1).outcome, Outcome::kLogFailed);
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(batches(), (Texts{"0", "0", "0", "0", "0", "0", "0"}));

    db.exec("DROP TRIGGER refuse");
    listener.monitor.clear();
    const auto again = write(kTo, kThreeDossiers, 1);
    ASSERT_TRUE(again.ok()) << lastShown();
    EXPECT_EQ(again.loggedBlock, 2);
    EXPECT_EQ(listener.monitor,
              (Texts{"(W) Il blocco è registrato con il numero 2, il file e il lotto hanno il "
                     "numero 1"}));
    EXPECT_EQ(log().size(), 1u);
}

TEST_F(RecalledItemsWriterTest, HostileNamesAreRefusedBeforeAnyStatement) {
    insertThreeDossiers();
    openFlow();
    const auto table = writer.write(track, DocumentRange("DOC WHERE 1=1; --", "01", kFrom, kTo),
                                    kThreeDossiers, 1);
    EXPECT_EQ(table.outcome, Outcome::kRefused);
    EXPECT_TRUE(lastShown().starts_with("Nome non ammesso in un'istruzione SQL"));
    openFlow();
    const auto code =
        writer.write(track, range(kFrom, kTo, "x'; DELETE FROM Orvax; --"), kThreeDossiers, 1);
    EXPECT_EQ(code.outcome, Outcome::kRefused);
    EXPECT_EQ(listener.errors.size(), 1u);
    EXPECT_FALSE(track.isOpen());
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(batches(), (Texts{"0", "0", "0", "0", "0", "0", "0"}));
}
