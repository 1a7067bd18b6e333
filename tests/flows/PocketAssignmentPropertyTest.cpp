// The set-based pocket assignment against the document-by-document
// reference on random tables: the same pockets, document for document.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

#include "FlowFixture.h"
#include "flows/PocketAssignment.h"
#include "support/LiteralPocketAssignment.h"

namespace {

constexpr const char* kCopy = "DOC_REF";

class PocketAssignmentPropertyTest : public FlowTest {
protected:
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    template <typename T>
    std::optional<T> sometimesNull(T value, int oneIn) {
        return uniform(1, oneIn) == 1 ? std::nullopt : std::optional<T>(value);
    }

    // Documents over five load dates (some outside the range, a few without
    // one), two type codes, small dossier numbers that repeat across dates
    // and conditions, NULLs where the columns allow them, old pockets.
    std::vector<Document> randomDocuments() {
        std::vector<Document> documents;
        const int count = uniform(1, 120);
        for (int i = 0; i < count; ++i) {
            Document d;
            d.numEffetto = 1 + i;
            d.dataCarico = sometimesNull(loadDate(uniform(0, 4)), 20);
            d.serial = sometimesNull("S" + std::to_string(i), 10);
            d.tc = uniform(1, 5) == 1 ? "02" : "01";
            for (int& pocket : d.t) {
                pocket = uniform(0, 30);
            }
            d.nota = uniform(0, 2);
            d.condizione = sometimesNull(uniform(0, 2), 8);
            d.docPrg = sometimesNull(uniform(1, 4), 8);
            d.prg = sometimesNull(uniform(1, 8), 10);
            documents.push_back(d);
        }
        std::shuffle(documents.begin(), documents.end(), random);
        return documents;
    }

    std::vector<TestDatabase::Row> pocketsOf(const std::string& table) {
        return db.rows("SELECT Num_Effetto, T1, T2, T3, T4, NOTA FROM " + table +
                       " ORDER BY Num_Effetto");
    }

    std::mt19937 random{20240301};
};

}  // namespace

TEST_F(PocketAssignmentPropertyTest, GivesThePocketsOfTheDocumentByDocumentMethod) {
    PocketAssignment pockets(gateway, listener);
    db.exec(documentTableStatement(kCopy));
    for (int round = 0; round < 40; ++round) {
        db.exec("DELETE FROM DOC");
        db.exec("DELETE FROM " + std::string(kCopy));
        // Half the rounds with a text Condizione whose values differ only by
        // letter case or a trailing blank, which the server sorts together.
        const bool textCondition = round % 2 == 1;
        const std::string condition = textCondition ? "VARCHAR(3)" : "INT";
        for (const char* table : {kDoc, kCopy}) {
            db.exec(std::string("ALTER TABLE ") + table + " MODIFY Condizione " + condition);
        }
        insert(randomDocuments());
        if (textCondition) {
            db.exec(
                "UPDATE DOC SET Condizione = ELT(Condizione + 1, 'a', 'A', 'a ') WHERE "
                "Condizione IS NOT NULL");
        }
        db.exec("INSERT INTO " + std::string(kCopy) + " SELECT * FROM DOC");

        const std::string from = loadDate(uniform(0, 2));
        const std::string to = loadDate(uniform(2, 4));
        const int lastPocket = uniform(1, 10);
        // Mostly the range's first dossier, sometimes another number (also one
        // that makes a relative Prg of -1, the value the walk starts from).
        const int startDoc = uniform(1, 3) == 1 ? uniform(-1, 10) : 1;
        const int expected =
            literalAssignPockets(gateway, kCopy, "01", from, to, startDoc, lastPocket);
        ASSERT_GE(expected, 0) << lastShown();
        const int assigned =
            pockets.assignPockets(DocumentRange(kDoc, "01", from, to), startDoc, lastPocket);
        ASSERT_EQ(assigned, expected) << lastShown();
        ASSERT_EQ(pocketsOf(kDoc), pocketsOf(kCopy))
            << "round " << round << ", " << from << " to " << to << ", start " << startDoc
            << ", last pocket " << lastPocket;
    }
    EXPECT_TRUE(box.shown.empty()) << lastShown();
}
