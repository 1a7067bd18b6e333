// The selection flow end to end through the controller, on the test server:
// the flow's button, the pockets, the verification and the writing, with the
// sorter's file compared byte for byte.
#include <gtest/gtest.h>

#include <algorithm>

#include "JobFixture.h"
#include "flows/SelectionFlowWriter.h"
#include "support/TempDir.h"

namespace {

class VaultConnectionSelectionTest : public JobTest {
protected:
    VaultConnectionSelectionTest() {
        // Dossiers 10 (one document without a serial) and 11 in the range,
        // 13 after it; every document due on 30/06/2024.
        Document noSerial = document("2024-03-01", 10, 2);
        noSerial.serial.reset();
        insert({noSerial, document("2024-03-01", 10, 1), document("2024-03-02", 11),
                document("2024-03-20", 13)});
        db.exec(std::string("ALTER TABLE ") + kDocTable + " ADD FRZ_Z1 INT DEFAULT 0");
        db.exec("CREATE TABLE CAVEAU_RR_VER (SERIAL VARCHAR(12), SCADENZA DATE, TC VARCHAR(2))");
        db.exec(std::string("UPDATE ") + kDocTable + " SET FRZ_Z1=7 WHERE Prg=11");
        db.exec(
            "INSERT INTO CAVEAU_RR_VER VALUES ('R1', '2024-06-30', 'CA'), "
            "('R2', '2024-06-29', 'CA'), ('R3', '2024-06-30', 'CO')");
    }

    // Connect, the range typed, flow 0, pockets, verification, writing.
    TfrmOutput& runSelection() {
        connect();
        TfrmOutput& c = readyToWrite(u"01/03/2024", u"05/03/2024", "RadioButton1");
        c.act06UnloadExecute();
        return c;
    }

    std::string selectionPath() const {
        return controller->pathManager()->jobPath() + "EFFETTI01_CA_GGG.NST";
    }
};

TEST_F(VaultConnectionSelectionTest, WritesTheGuideThenTheRecalledItemsAndCopiesTheFile) {
    TempDir sorterFolder;
    view.setChecked("chkCopyPath", true);
    view.setText("tbCopyPath", text::toWide(sorterFolder.path() + "/"));
    TfrmOutput& c = runSelection();
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(narrow(view.element("lblDocSel").text), "Doc. 'Virtuali' in Selezione");
    EXPECT_EQ(narrow(view.element("tbDstFile").text), selectionPath());
    EXPECT_TRUE(monitorHas("Estrazione da EFFETTI01_CA da: 2024-06-30 a 2024-06-30"));
    EXPECT_TRUE(monitorHas("Vengono aggiunti 1 rich. CA in coda (tasca assegnata 24)"));
    EXPECT_TRUE(monitorHas("File copiato nella seconda cartella di scarico"));
    EXPECT_EQ(c.stepKeeper()->current(), 6);
    const std::string expected = sorterFlowRecord("0000001001", "02", "00", "00", "00", "2") +
                                 sorterFlowRecord("S1002", "02", "00", "00", "00", "2") +
                                 sorterFlowRecord("S1003", "03", "00", "00", "00", "7") +
                                 sorterFlowRecord("R1", "24", "00", "00", "00");
    EXPECT_EQ(fileBytes(selectionPath()), expected);
    EXPECT_EQ(fileBytes(sorterFolder.file("EFFETTI01_CA_GGG.NST")), expected);
    // The selection flow only reads the database.
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Orvax"), "0");
}

TEST_F(VaultConnectionSelectionTest, NoToTheQuestionLeavesNoFile) {
    db.exec("DROP TABLE CAVEAU_RR_VER");
    db.exec(std::string("UPDATE ") + kDocTable + " SET SCADENZA=NULL");
    view.answer = RecordingView::kAnswerNo;
    runSelection();
    ASSERT_EQ(view.shown.size(), 2u);
    EXPECT_EQ(view.shown[0].caption, u"Attenzione!");  // the verification's warning
    EXPECT_EQ(view.shown[0].flags, ModalMessageBox::kIconWarning);
    EXPECT_EQ(narrow(view.shown[1].text),
              "Le date estreme non sono state estratte\r\nContinuo mettendo tutti i richiamati?");
    EXPECT_EQ(view.shown[1].caption, u"Attenzione");
    EXPECT_EQ(view.shown[1].flags, ModalMessageBox::kIconQuestion | ModalMessageBox::kYesNo);
    EXPECT_TRUE(monitorHas(SelectionFlowWriter::kAborted));
    EXPECT_FALSE(fileExists(selectionPath()));
    EXPECT_NE(
        std::find(view.statusTexts.begin(), view.statusTexts.end(), u"Creazione flusso abortita"),
        view.statusTexts.end());
}

}  // namespace
