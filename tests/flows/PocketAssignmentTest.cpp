#include "flows/PocketAssignment.h"

#include <gtest/gtest.h>

#include "FlowFixture.h"

namespace {

constexpr const char* kFrom = "2024-03-01";
constexpr const char* kTo = "2024-03-05";
constexpr const char* kGone =
    "(E) Assegnazione tasche annullata: le caselle del periodo sono "
    "rimaste quelle di prima";

class PocketAssignmentTest : public FlowTest {
protected:
    PocketAssignment pockets{gateway, listener};
};

}  // namespace

TEST_F(PocketAssignmentTest, ConsecutiveDossiersTakeConsecutivePocketsInAllFourPasses) {
    insert({document(kFrom, 10, 1), document(kFrom, 10, 2), document(kFrom, 11),
            document(kFrom, 12, 1), document(kFrom, 12, 2)});
    EXPECT_EQ(pockets.assignPockets(range(kFrom, kTo), 10, 22), 5);
    EXPECT_EQ(pocketsByItem(),
              (Texts{"2/2/2/2 0", "2/2/2/2 0", "3/3/3/3 0", "4/4/4/4 0", "4/4/4/4 0"}));
    EXPECT_TRUE(listener.errors.empty());
    EXPECT_EQ(listener.status, (Texts{"Cancellazione vecchie assegnazioni",
                                      "Assegnazione tasche  (Attendere! può richiedere un tempo "
                                      "anche lungo)..."}));
    EXPECT_EQ(listener.monitor, (Texts{"Passi di selezione necessari: UNO!\r\nSvuota sempre le "
                                       "caselle man mano che si riempiono!!!"}));
}

TEST_F(PocketAssignmentTest, PocketsCycleFromTwoToTheLastPocket) {
    struct Case {
        int lastPocket;
        int dossiers;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {8, 9, {2, 3, 4, 5, 6, 7, 8, 2, 3}},
        {22, 23, {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                  14, 15, 16, 17, 18, 19, 20, 21, 22, 2,  3}},
        {3, 5, {2, 3, 2, 3, 2}},
        {2, 3, {2, 2, 2}},  // a single usable pocket
        {1, 2, {2, 2}},     // below the first pocket: still 2
    };
    for (const Case& c : cases) {
        db.exec("DELETE FROM DOC");
        std::vector<Document> documents;
        for (int prg = 1; prg <= c.dossiers; ++prg) {
            documents.push_back(document(kFrom, prg));
        }
        insert(documents);
        ASSERT_EQ(pockets.assignPockets(range(kFrom, kTo), 1, c.lastPocket), c.dossiers);
        std::vector<int> got;
        for (const auto& row : db.rows("SELECT T1 FROM DOC ORDER BY Prg")) {
            got.push_back(std::stoi(row[0].value_or("-1")));
        }
        EXPECT_EQ(got, c.expected) << "last pocket " << c.lastPocket;
    }
}

TEST_F(PocketAssignmentTest, OnlyAChangeOfPrgMovesToTheNextPocket) {
    insert({
        document("2024-03-01", 5, 1, 0),  // 2
        document("2024-03-01", 5, 2, 1),  // 2: Condizione changes, Prg does not
        document("2024-03-02", 5, 3, 0),  // 2: the date changes, Prg does not
        document("2024-03-02", 6, 1, 0),  // 3
        document("2024-03-03", 5, 4, 0),  // 4: Prg 5 again, after Prg 6
        document("2024-03-03", 7, 1, 2),  // 5
    });
    ASSERT_EQ(pockets.assignPockets(range("2024-03-01", "2024-03-03"), 5, 22), 6);
    EXPECT_EQ(pocketsByItem(), (Texts{"2/2/2/2 0", "2/2/2/2 0", "2/2/2/2 0", "3/3/3/3 0",
                                      "4/4/4/4 0", "5/5/5/5 0"}));
}

TEST_F(PocketAssignmentTest, DocumentsOutsideTheRangeOrOfAnotherTypeKeepTheirPockets) {
    insert({document("2024-02-29", 1), document(kFrom, 2), document(kFrom, 3, 1, 0, "02"),
            document("2024-03-06", 4)});
    ASSERT_EQ(pockets.assignPockets(range(kFrom, kTo), 2, 22), 1);
    EXPECT_EQ(pocketsByItem(), (Texts{"9/9/9/9 1", "2/2/2/2 0", "9/9/9/9 1", "9/9/9/9 1"}));
}

TEST_F(PocketAssignmentTest, DocumentsWithoutASerialGetTheirItemNumber) {
    Document noSerial = document(kFrom, 1);
    noSerial.serial.reset();
    noSerial.numEffetto = 4711;
    Document emptySerial = document(kFrom, 1, 2);
    emptySerial.serial = "";
    Document withSerial = document(kFrom, 2);
    withSerial.serial = "ABC";
    Document long_ = document(kFrom, 3);
    long_.serial.reset();
    long_.numEffetto = 123456789;
    insert({noSerial, emptySerial, withSerial, long_});

    EXPECT_EQ(pockets.fillSerials(kDoc), 2);
    EXPECT_EQ(listener.monitor, (Texts{"Sono stati attribuiti 2 serial=Num_Effetto"}));
    EXPECT_EQ(db.scalar("SELECT Serial FROM DOC WHERE Num_Effetto=4711"), "0000004711");
    EXPECT_EQ(db.scalar("SELECT Serial FROM DOC WHERE Num_Effetto=123456789"), "0123456789");
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM DOC WHERE Serial IN ('', 'ABC')"), "2");

    listener.monitor.clear();
    EXPECT_EQ(pockets.fillSerials(kDoc), 0);  // nothing left to fill: no line
    EXPECT_TRUE(listener.monitor.empty());
}

TEST_F(PocketAssignmentTest, CountsTheDossiersAndDocumentsOfTheRange) {
    insert({document(kFrom, 10, 1), document(kFrom, 10, 2), document("2024-03-05", 12),
            document("2024-03-06", 13), document(kFrom, 9, 1, 0, "02")});
    DocumentCounts counts;
    ASSERT_TRUE(pockets.countDocuments(range(kFrom, kTo), counts));
    EXPECT_EQ(counts.dossiers, 2);
    EXPECT_EQ(counts.startDoc, 10);
    EXPECT_EQ(counts.endDoc, 12);
    EXPECT_EQ(counts.totDoc, 3);
    EXPECT_TRUE(listener.errors.empty());
}

TEST_F(PocketAssignmentTest, ARangeWithoutDossiersIsRefused) {
    insert({document(kFrom, 10)});
    struct Case {
        const char* from;
        const char* tc;
    };
    for (const Case c : {Case{"2024-03-02", "01"}, Case{kFrom, "07"}}) {
        listener.errors.clear();
        DocumentCounts counts;
        EXPECT_FALSE(pockets.countDocuments(range(c.from, kTo, c.tc), counts));
        EXPECT_EQ(listener.errors, (Texts{"Nessuna pratica estratta"}));
        EXPECT_EQ(counts.totDoc, 0);
    }
}

// The server ends the connection between clearing and assigning: the
// clearing is undone with the rest.
TEST_F(PocketAssignmentTest, AServerGoneDuringTheAssignmentLeavesThePocketsAsTheyWere) {
    insert({document(kFrom, 1), document(kFrom, 2), document("2024-03-02", 3)});
    const std::string id = gatewayConnectionId();
    listener.onStatus = [&](const std::string& text) {
        if (text.starts_with("Assegnazione tasche")) {
            db.exec("KILL " + id);
        }
    };
    EXPECT_EQ(pockets.assignPockets(range(kFrom, kTo), 1, 22), -1);
    EXPECT_EQ(pocketsByItem(), (Texts{"9/9/9/9 1", "9/9/9/9 1", "9/9/9/9 1"}));
    EXPECT_EQ(listener.errors, (Texts{"Errore nella query di ingresso n .1"}));
    EXPECT_EQ(listener.monitor.back(), kGone);
    EXPECT_FALSE(box.shown.empty());  // the server's own message first
}

TEST_F(PocketAssignmentTest, AStatementRefusedMidWayUndoesTheWholeStep) {
    insert({document(kFrom, 1), document(kFrom, 2), document(kFrom, 3)});
    // The server refuses a pocket for the last dossier only, after the
    // others were written.
    db.exec(
        "CREATE TRIGGER refuse BEFORE UPDATE ON DOC FOR EACH ROW IF NEW.T1 > 0 AND NEW.Prg = 3 "
        "THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'casella rifiutata'; END IF");
    EXPECT_EQ(pockets.assignPockets(range(kFrom, kTo), 1, 22), -1);
    EXPECT_EQ(pocketsByItem(), (Texts{"9/9/9/9 1", "9/9/9/9 1", "9/9/9/9 1"}));
    EXPECT_EQ(listener.errors, (Texts{"Errore nella query di ingresso n .1"}));
    EXPECT_EQ(lastShown(), "casella rifiutata");
    EXPECT_FALSE(gateway.inTransaction());

    // Once the server accepts, the same step goes through.
    db.exec("DROP TRIGGER refuse");
    listener.errors.clear();
    EXPECT_EQ(pockets.assignPockets(range(kFrom, kTo), 1, 22), 3);
    EXPECT_EQ(pocketsByItem(), (Texts{"2/2/2/2 0", "3/3/3/3 0", "4/4/4/4 0"}));
}

TEST_F(PocketAssignmentTest, ARefusedClearingChangesNothing) {
    insert({document(kFrom, 1), document(kFrom, 2)});
    db.exec(
        "CREATE TRIGGER refuse BEFORE UPDATE ON DOC FOR EACH ROW IF NEW.T1 = 0 AND NEW.Prg = 2 "
        "THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'azzeramento rifiutato'; END IF");
    EXPECT_EQ(pockets.assignPockets(range(kFrom, kTo), 1, 22), -1);
    EXPECT_EQ(listener.errors, (Texts{"Errore: Query Cancellazione Caselle preesist.)"}));
    EXPECT_EQ(listener.monitor, (Texts{kGone}));
    EXPECT_EQ(pocketsByItem(), (Texts{"9/9/9/9 1", "9/9/9/9 1"}));
}

TEST_F(PocketAssignmentTest, HostileNamesAreRefusedBeforeAnyStatement) {
    insert({document(kFrom, 1)});
    db.exec("CREATE TABLE victim (x INT)");
    const std::string table = "DOC; DROP TABLE victim";
    const DocumentRange hostileTable(table, "01", kFrom, kTo);
    DocumentCounts counts;
    EXPECT_EQ(pockets.fillSerials(table), -1);
    EXPECT_FALSE(pockets.countDocuments(hostileTable, counts));
    EXPECT_EQ(pockets.assignPockets(hostileTable, 1, 22), -1);
    for (const std::string& shown : shownTexts()) {
        EXPECT_TRUE(shown.starts_with("Nome non ammesso in un'istruzione SQL")) << shown;
    }
    EXPECT_EQ(box.shown.size(), 3u);

    const std::string code = "01' OR '1'='1";
    EXPECT_FALSE(pockets.countDocuments(range(kFrom, kTo, code), counts));
    EXPECT_EQ(pockets.assignPockets(range(kFrom, kTo, code), 1, 22), -1);
    EXPECT_EQ(pockets.assignPockets(range(kFrom, "2024-03-05' OR 1=1 -- "), 1, 22), -1);
    EXPECT_EQ(listener.errors.size(), 3u);
    EXPECT_EQ(listener.errors.front(),
              "Codice tipo documento non ammesso in un'istruzione SQL: \"01' OR '1'='1\"");
    EXPECT_EQ(box.shown.size(), 3u);  // no statement ran, so nothing failed
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM victim"), "0");
    EXPECT_EQ(pocketsByItem(), (Texts{"9/9/9/9 1"}));
}
