// The remittance production end to end through the controller, on the test
// server: the flow choice, the verification it does not have, the writing,
// the report in the job folder and the vault table.
#include <gtest/gtest.h>

#include "JobFixture.h"

namespace {

class VaultConnectionRemittanceTest : public JobTest {
protected:
    static constexpr const char* kListTable = "EFFETTI01_CA_240531_GUI_DIST";

    VaultConnectionRemittanceTest() {
        db.exec(std::string("CREATE TABLE ") + kListTable + " (Lotto_Pres INT)");
        db.exec(std::string("INSERT INTO ") + kListTable + " VALUES (3)");
        db.exec(
            "CREATE TABLE CAVEAU_CA_DOC (Serial VARCHAR(10), Lotto_Pres INT, Data_Pres DATE, "
            "Prg1 INT, Prg2 INT)");
        db.exec("INSERT INTO CAVEAU_CA_DOC (Serial) VALUES ('S1001')");
        Document listed = document("2024-03-01", 10);
        listed.lottoPres = 3;
        insert({listed});
        db.exec(std::string("UPDATE ") + kDocTable + " SET Prg1=1, Prg2=1");
    }
};

TEST_F(VaultConnectionRemittanceTest, WritesTheReportAndPresentsTheDocuments) {
    TfrmOutput& c = connect();
    c.RadioButtonClick("RadioButton3");
    const std::string folder = c.pathManager()->jobPath();
    EXPECT_EQ(narrow(view.element("tbDstFile").text), folder + "EFFETTI01_CA_REP_GGG.TXT");
    EXPECT_EQ(narrow(view.element("lblCavMode").text), "Report delle distinte cartacee");
    EXPECT_EQ(c.stepKeeper()->current(), 4);
    c.act05VerifyExecute();
    c.act06UnloadExecute();

    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(c.stepKeeper()->current(), 6);
    // 31 May 2024 is day 152.
    EXPECT_EQ(fileBytes(folder + "EFFETTI01_CA_REP_152.TXT"),
              "Rimessa effetti N. 3\r\n"
              "Importo totale       100.00\r\n"
              "Num. Effetti          1\r\n"
              "\r\n\r\n\r\n"
              "Tp  Prg  N.Pass.  PRATICA        CMC7     NUM_EFF  FIL     IMPORTO     SCADENZA  "
              "DEBITORE\r\n"
              "CA   1)      1  P10   S1001  0001001  00101         100,00  30/06/24  Debitore  \r\n"
              "* * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * *\r\n"
              "\r\n\r\n\r\n");
    EXPECT_TRUE(monitorHas("Sono stati scaricati  1 effetti"));
    EXPECT_TRUE(monitorHas("Aggiornamento Data_Pres terminato"));
    EXPECT_EQ(view.element("psbDistinte").position, 1);
    EXPECT_EQ(db.rows("SELECT Serial, Lotto_Pres, Data_Pres, Prg1, Prg2 FROM CAVEAU_CA_DOC"),
              (std::vector<TestDatabase::Row>{{"S1001", "3", "2024-05-31", "1", "1"}}));
}

}  // namespace
