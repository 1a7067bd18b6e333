// Tables made from a table-layout file ("TBL").
#include <gtest/gtest.h>

#include "GatewayFixture.h"

namespace {

// The columns of a table, in order.
Texts columnsOf(TestDatabase& db, const std::string& table) {
    Texts names;
    for (const auto& row : db.rows("SHOW COLUMNS FROM " + table)) {
        names.push_back(row[0].value_or(""));
    }
    return names;
}

Texts indexesOf(TestDatabase& db, const std::string& table) {
    Texts names;
    for (const auto& row : db.rows("SHOW INDEX FROM " + table)) {
        names.push_back(row[2].value_or("") + "." + row[4].value_or(""));
    }
    return names;
}

}  // namespace

TEST_F(GatewayTest, ATableIsMadeFromItsLayoutFile) {
    connect();
    db.exec("CREATE TABLE T (Old INT)");  // replaced
    const std::string layout = dir.write("T.TBL",
                                         "[TABLE]\r\n"
                                         "Num INT NOT NULL, ; running number\r\n"
                                         "Code VARCHAR(20),\r\n"
                                         "PRIMARY KEY (Num)\r\n"
                                         "[INDEX]\r\n"
                                         "CREATE INDEX IX_Code ON %TABLE (Code)\r\n");
    ASSERT_TRUE(gateway.createTableFromLayout("T", layout)) << lastShown();
    EXPECT_EQ(columnsOf(db, "T"), (Texts{"Num", "Code"}));
    EXPECT_EQ(indexesOf(db, "T"), (Texts{"PRIMARY.Num", "IX_Code.Code"}));
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(GatewayTest, TheExtractionLogIsMadeFromOrvaxTbl) {
    connect();
    const std::string layout =
        dir.write("Orvax.TBL",
                  "; Registro delle estrazioni di ExportOrvax\r\n"
                  "[TABLE]\r\n"
                  "Progr INT NOT NULL AUTO_INCREMENT,   ; numero del blocco\r\n"
                  " questa riga comincia con un blanco e non conta\r\n"
                  "DataCaricoIn\tVARCHAR(10),\r\n"  // a tab reads as a blank
                  "DataCaricoFin VARCHAR(10),\r\n"
                  "PraticaIn INT, PraticaFin INT,\r\n"
                  "\r\n"
                  "Num_Pratiche INT, Num_Documenti INT,\r\n"
                  "NumPraticaIn VARCHAR(20) NULL, NumPraticaFin VARCHAR(20) NULL,\r\n"
                  "PRIMARY KEY (Progr)\r\n"
                  "[INDEX]\r\n"
                  "CREATE INDEX IX_DataIn ON %TABLE (DataCaricoIn)\r\n"
                  "[INDEX]\r\n"
                  "CREATE INDEX IX_DataFin\r\n"
                  "ON %TABLE (DataCaricoFin)\r\n");
    ASSERT_TRUE(gateway.createTableFromLayout("Orvax", layout)) << lastShown();
    EXPECT_EQ(columnsOf(db, "Orvax"),
              (Texts{"Progr", "DataCaricoIn", "DataCaricoFin", "PraticaIn", "PraticaFin",
                     "Num_Pratiche", "Num_Documenti", "NumPraticaIn", "NumPraticaFin"}));
    EXPECT_EQ(indexesOf(db, "orvax"),
              (Texts{"PRIMARY.Progr", "IX_DataIn.DataCaricoIn", "IX_DataFin.DataCaricoFin"}));
    EXPECT_TRUE(gateway.tableExists("Orvax"));
}

TEST_F(GatewayTest, ALayoutThatFailsStopsTheCreation) {
    connect();
    struct Case {
        const char* name;
        const char* layout;
        const char* shown;
    };
    const Case cases[] = {
        // Two index sections in a row run an empty statement.
        {"A", "[TABLE]\r\nX INT\r\n[INDEX]\r\n[INDEX]\r\nCREATE INDEX I ON %TABLE (X)\r\n",
         "Query was empty"},
        {"B", "[TABLE]\r\nX NOTATYPE\r\n", "Unknown data type"},
        {"C", "", "SQL syntax"},  // CREATE TABLE C()
    };
    for (const Case& c : cases) {
        box.shown.clear();
        EXPECT_FALSE(gateway.createTableFromLayout(c.name, dir.write("X.TBL", c.layout))) << c.name;
        ASSERT_FALSE(box.shown.empty()) << c.name;
        EXPECT_NE(lastShown().find(c.shown), std::string::npos) << c.name << ": " << lastShown();
    }
    // The table part of A was made before the empty statement failed.
    EXPECT_TRUE(gateway.tableExists("A"));
    EXPECT_FALSE(gateway.tableExists("B"));
}

TEST_F(GatewayTest, AMissingLayoutFileIsShownAndTheTableKept) {
    connect();
    db.exec("CREATE TABLE Orvax (Progr INT)");
    const std::string missing = dir.file("Orvax.TBL");
    EXPECT_FALSE(gateway.createTableFromLayout("Orvax", missing));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(lastShown(), "Apertura di " + missing + "\r\n non riuscita");
    EXPECT_EQ(box.shown[0].caption, u"Errore!");
    EXPECT_EQ(box.shown[0].flags, ModalMessageBox::kIconError);
    EXPECT_TRUE(gateway.tableExists("Orvax"));

    ASSERT_TRUE(gateway.createTableFromLayoutW(
        u"Orvax", text::toWide(dir.write("Orvax.TBL", "Progr INT\r\n[INDEX]\r\n"))));
    EXPECT_EQ(columnsOf(db, "Orvax"), (Texts{"Progr"}));
}
