#include "flows/DocumentRange.h"

#include <gtest/gtest.h>

#include "FlowFixture.h"
#include "core/KroDate.h"
#include "db/KroTableCatalog.h"

TEST(DocumentRange, TakesTheDatesAsTheStatementsWriteThem) {
    KroDate from;
    ASSERT_TRUE(from.set(5, 3, 2024));
    KroDate to;
    ASSERT_TRUE(to.set(31, 12, 2024));
    const DocumentRange range("DOC", "01", from, to);
    EXPECT_EQ(range.from(), "2024-03-05");
    EXPECT_EQ(range.to(), "2024-12-31");

    KroDate bad;
    EXPECT_FALSE(bad.parse("0102"));
    EXPECT_EQ(DocumentRange("DOC", "01", bad, to).from(), "");
}

TEST(DocumentRange, KnowsDatesAndTypeCodesThatMayGoIntoAStatement) {
    struct Case {
        const char* text;
        bool date;
        bool typeCode;
    };
    const Case cases[] = {
        {"2024-03-05", true, true},   {"2024-3-05", false, true}, {"2024/03/05", false, true},
        {"2024-03-05 ", false, true}, {"", false, true},          {"01", false, true},
        {"C A", false, true},         {"0'1", false, false},      {"0\\1", false, false},
        {"0\n1", false, false},       {"\x7F", false, false},     {"\xE8", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DocumentRange::isSqlDate(c.text), c.date) << c.text;
        EXPECT_EQ(DocumentRange::isUsableTypeCode(c.text), c.typeCode) << c.text;
    }
}

class DocumentRangeOnServer : public FlowTest {};

TEST_F(DocumentRangeOnServer, FillsAStatementAndRefusesWhatMustNotGoIntoIt) {
    const DocumentRange range(kDoc, "0A", "2024-03-01", "2024-03-05");
    EXPECT_TRUE(range.check(gateway, listener));
    EXPECT_EQ(range.fill(KroTableCatalog::kRecalledFlowDocuments, gateway),
              "SELECT * FROM DOC WHERE TC='0A' AND Data_Carico between '2024-03-01' AND "
              "'2024-03-05' ORDER BY Condizione, Data_carico, Prg, Doc_Prg");

    EXPECT_FALSE(DocumentRange("DOC-1", "01", "2024-03-01", "2024-03-05").check(gateway, listener));
    EXPECT_EQ(box.shown.size(), 1u);
    EXPECT_FALSE(DocumentRange(kDoc, "01", "", "2024-03-05").check(gateway, listener));
    EXPECT_FALSE(DocumentRange(kDoc, "0'", "2024-03-01", "2024-03-05").check(gateway, listener));
    EXPECT_EQ(listener.errors,
              (Texts{"Data carico non valida: \"\" - \"2024-03-05\"",
                     "Codice tipo documento non ammesso in un'istruzione SQL: \"0'\""}));
}
