// The recalled-items job end to end through the controller, on the test
// server: the date boxes, the flow choice, the pockets, the verification
// and the writing, with the flow file compared byte for byte.
#include <gtest/gtest.h>

#include "JobFixture.h"
#include "db/KroMy_DBUtils.h"

namespace {

class VaultConnectionJobTest : public JobTest {
protected:
    // Dossiers 10, 11, 12 in the range (12 loaded across two days), one
    // document without a serial, one outside the range.
    void insertRange() {
        Document noSerial = document("2024-03-01", 10, 2);
        noSerial.numEffetto = 4711;
        noSerial.serial.reset();
        insert({document("2024-03-01", 10, 1), noSerial, document("2024-03-02", 11, 1),
                document("2024-03-02", 12, 1), document("2024-03-03", 12, 2),
                document("2024-03-20", 13, 1)});
    }
};

TEST_F(VaultConnectionJobTest, WritesTheFlowLogsTheBlockAndStampsTheBatch) {
    insertRange();
    TfrmOutput& c = runJob(u"1/3/24", u"05/03/2024");
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(narrow(view.element("tbDataIn").text), "01/03/2024");
    EXPECT_EQ(narrow(view.element("tbPraticheCount").text), "3");
    EXPECT_EQ(narrow(view.element("tbAgg").text), "5");
    EXPECT_EQ(narrow(view.element("lblPkts").text), "Tasche: 20");
    EXPECT_EQ(narrow(view.element("lblCavMode").text), "Flusso di selezione dei richiamati");
    EXPECT_EQ(narrow(view.element("tbTrack").text), "SORTER");
    EXPECT_TRUE(view.element("chkAssTasche").visible);
    EXPECT_EQ(narrow(view.element("tbDstFile").text), flowPath(1));
    EXPECT_TRUE(monitorHas("Sono stati attribuiti 1 serial=Num_Effetto"));
    EXPECT_TRUE(monitorHas("Crea il flusso di selezione"));
    EXPECT_TRUE(monitorHas("Flusso Selez. Resi scaricato regolarmente"));
    EXPECT_EQ(c.stepKeeper()->current(), 6);

    // In the order Condizione, Data_Carico, Prg, Doc_Prg; the serial filled
    // from the item number.
    EXPECT_EQ(fileBytes(flowPath(1)), sorterFlowRecord("S1002", "02", "02", "02", "02") +
                                          sorterFlowRecord("0000004711", "02", "02", "02", "02") +
                                          sorterFlowRecord("S1003", "03", "03", "03", "03") +
                                          sorterFlowRecord("S1004", "04", "04", "04", "04") +
                                          sorterFlowRecord("S1005", "04", "04", "04", "04"));
    using Row = TestDatabase::Row;
    EXPECT_EQ(
        db.rows("SELECT Progr, DataCaricoIn, DataCaricoFin, PraticaIn, PraticaFin, "
                "Num_Pratiche, Num_Documenti, NumPraticaIn, NumPraticaFin FROM Orvax"),
        (std::vector<Row>{{"1", "2024-03-01", "2024-03-05", "10", "12", "3", "5", "P10", "P12"}}));
    EXPECT_EQ(db.scalar(std::string("SELECT GROUP_CONCAT(IFNULL(Lotto_Pres, 'N') ORDER BY "
                                    "Num_Effetto) FROM ") +
                        kDocTable),
              "1,1,1,1,N,1");
}

TEST_F(VaultConnectionJobTest, ASecondRunFromTheSameDateRewritesTheSameBlock) {
    insertRange();
    runJob(u"01/03/2024", u"05/03/2024");
    controller->FormDestroy();
    controller.reset();
    view = RecordingView();
    db.exec(std::string("UPDATE ") + kDocTable + " SET Data_Carico='2024-03-06' WHERE Prg=13");
    runJob(u"01/03/2024", u"06/03/2024");
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(controller->blockNumber(), 1);
    EXPECT_EQ(narrow(view.element("tbDstFile").text), flowPath(1));
    EXPECT_EQ(db.rows("SELECT Progr, DataCaricoFin, Num_Documenti, NumPraticaIn, NumPraticaFin "
                      "FROM Orvax"),
              (std::vector<TestDatabase::Row>{{"1", "2024-03-06", "6", "P10", "P12"}}));
}

TEST_F(VaultConnectionJobTest, ALaterRangeMakesTheNextBlock) {
    insertRange();
    runJob(u"01/03/2024", u"05/03/2024");
    controller->FormDestroy();
    controller.reset();
    view = RecordingView();
    TfrmOutput& c = runJob(u"06/03/2024", u"31/03/2024");
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(c.blockNumber(), 2);
    EXPECT_EQ(fileBytes(flowPath(2)), sorterFlowRecord("S1006", "02", "02", "02", "02"));
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Orvax"), "2");
}

TEST_F(VaultConnectionJobTest, TheStepStopsOnMissingDatesAndEmptyRanges) {
    insertRange();
    TfrmOutput& c = connect();
    c.RadioButtonClick("RadioButton2");
    view.setText("tbDataOut", u"");
    c.act03AssTasExecute();
    EXPECT_EQ(view.messageTexts(), Texts{"Attribuisci la data carico finale"});
    EXPECT_EQ(c.stepKeeper()->current(), 3);
    // The serials are filled before the dates are looked at.
    EXPECT_EQ(db.scalar(std::string("SELECT Serial FROM ") + kDocTable + " WHERE Num_Effetto=4711"),
              "0000004711");

    view.shown.clear();
    view.setText("tbDataIn", u"");
    c.act03AssTasExecute();
    EXPECT_EQ(view.messageTexts(), Texts{"Attribuisci la data carico iniziale"});

    view.shown.clear();
    view.setText("tbDataIn", u"01/01/2023");
    view.setText("tbDataOut", u"31/01/2023");
    c.act03AssTasExecute();
    EXPECT_EQ(view.messageTexts(),
              (Texts{"Nessuna pratica estratta", "Errori in fase di estrazione"}));
    EXPECT_EQ(c.stepKeeper()->current(), 1);
    EXPECT_EQ(view.focus, "tbDataIn");
}

TEST_F(VaultConnectionJobTest, TheDateBoxesCheckWhatIsTyped) {
    insertRange();
    TfrmOutput& c = connect();
    view.setText("tbDataOut", u"");
    type("tbDataIn", u"0102");
    EXPECT_EQ(view.messageTexts(), Texts{"Data non valida"});
    EXPECT_EQ(narrow(view.element("tbDataIn").text), "");
    EXPECT_EQ(view.focus, "tbDataIn");

    view.shown.clear();
    type("tbDataIn", u"5/3/24");
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(narrow(view.element("tbDataIn").text), "05/03/2024");
    EXPECT_EQ(view.focus, "tbDataOut");  // the other box is empty: no message

    type("tbDataIn", u"01/03/2024");
    type("tbDataOut", u"02/03/2024");
    EXPECT_EQ(narrow(view.element("tbPraticheCount").text), "3");
    EXPECT_EQ(narrow(view.element("tbAgg").text), "4");
    EXPECT_EQ(c.counts().startDoc, 10);
    EXPECT_EQ(c.counts().endDoc, 12);
}

TEST_F(VaultConnectionJobTest, FewerThanEightPocketsAreRefused) {
    insertRange();
    TfrmOutput& c = connect();
    type("tbDataIn", u"01/03/2024");
    type("tbDataOut", u"05/03/2024");
    c.RadioButtonClick("RadioButton2");
    view.setPosition("udFirst", 16);
    c.act03AssTasExecute();
    EXPECT_EQ(view.messageTexts(),
              Texts{"I dati relativi alle tasche di selezione nelle impostazioni del programma "
                    "sono sbagliati"});
    EXPECT_EQ(c.stepKeeper()->current(), 3);
    EXPECT_EQ(view.element("pnlStato4").colour, OutputView::Colour::Yellow);
    EXPECT_EQ(db.scalar(std::string("SELECT MAX(T1) FROM ") + kDocTable), "0");

    view.shown.clear();
    view.setPosition("udFirst", 15);
    c.act03AssTasExecute();
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(narrow(view.element("lblPkts").text), "Tasche: 8");
    EXPECT_EQ(c.stepKeeper()->current(), 4);
}

TEST_F(VaultConnectionJobTest, ALayoutWithoutTheFourthPocketStopsTheWriting) {
    insertRange();
    SorterTrackFields noT4;
    noT4.fields.erase(noT4.fields.begin() + 4);
    writeSorterTrack(suite.folder(SuiteTree::kPatterns), noT4);
    runJob(u"01/03/2024", u"05/03/2024");
    const Texts messages = view.messageTexts();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("SRT_T4"), std::string::npos);
    EXPECT_EQ(messages[1], "ERRORE DURANTE LA SCRITTURA DELL'USCITA");
    EXPECT_EQ(view.statusText(), "Fine lavoro");
    EXPECT_FALSE(monitorHas("Flusso Selez. Resi scaricato regolarmente"));
    EXPECT_EQ(fileBytes(flowPath(1)), "");
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Orvax"), "0");
}

TEST_F(VaultConnectionJobTest, AMissingLayoutStopsBeforeAnythingIsWritten) {
    insertRange();
    suite.workMode.names[13] = "NOSUCH";
    suite.writeWorkMode();
    runJob(u"01/03/2024", u"05/03/2024");
    EXPECT_EQ(view.messageTexts(), (Texts{"Impossibile caricare il Tracciato Record",
                                          "Impossibile creare il file di scarico"}));
    EXPECT_EQ(view.shown.back().caption, u"Errore");
    EXPECT_TRUE(monitorHas("(E)CREAZIONE FLUSSO GUIDA ABORTITA!"));
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Orvax"), "0");
}

TEST_F(VaultConnectionJobTest, TheVerificationCountsUnlinkedDocuments) {
    insertRange();
    TfrmOutput& c = connect();
    db.exec(std::string("UPDATE ") + kDocTable + " SET Serial=NULL WHERE Prg=13");
    EXPECT_TRUE(c.VerifyRecalledFlow());  // that one and 4711, not filled yet
    EXPECT_TRUE(monitorHas("Esistono in lavorazione 2 effetti non agganciati!"));
    EXPECT_TRUE(monitorHas("Gli effetti non agganciati non verranno scaricati"));
    EXPECT_EQ(view.statusText(), "Estrazione Effetti");
}

TEST_F(VaultConnectionJobTest, ACaveauCheckJobCountsItsDocumentsNotInStateJ) {
    suite.witness.jobName = "EFFETTICC_CA";
    suite.writeWitness();
    suite.writeWorkMode();
    suite.writeConnectionString(db.connectionString());
    db.exec(documentTableStatement("EFFETTICC_CA_240531_GUI_DOC"));
    db.exec("CREATE TABLE EFFETTICC_CA_DOC (Stat CHAR(1))");
    db.exec("INSERT INTO EFFETTICC_CA_DOC VALUES ('J'), ('A'), ('B')");
    TfrmOutput& c = connect();
    EXPECT_TRUE(c.VerifyRecalledFlow());
    EXPECT_TRUE(monitorHas("Output del controllo di caveau"));
    EXPECT_TRUE(monitorHas("Esistono in lavorazione 2 effetti non agganciati!"));

    db.exec("DROP TABLE EFFETTICC_CA_DOC");
    view.shown.clear();
    EXPECT_FALSE(c.VerifyRecalledFlow());
    ASSERT_FALSE(view.messageTexts().empty());
    EXPECT_EQ(view.messageTexts().back(), "(E) ERRORE DURANTE L'ESTRAZIONE EFFETTI NON AGGANCIATI");
    EXPECT_TRUE(monitorHas("(E) ERRORE DURANTE L'ESTRAZIONE EFFETTI NON AGGANCIATI"));
}

TEST_F(VaultConnectionJobTest, TheFlowFileIsCopiedToTheSorterFolderWhenAsked) {
    insertRange();
    const std::string sorter = suite.folder(SuiteTree::kAuxiliary) + "/";
    connect();
    view.setChecked("chkCopyPath", true);
    view.setText("tbCopyPath", text::toWide(suite.folder(SuiteTree::kAuxiliary)));
    runSteps(u"01/03/2024", u"05/03/2024");
    EXPECT_TRUE(monitorHas("File copiato nella seconda cartella di scarico"));
    EXPECT_EQ(fileBytes(sorter + "OrvaxBlocco_001.NST"), fileBytes(flowPath(1)));
}

}  // namespace
