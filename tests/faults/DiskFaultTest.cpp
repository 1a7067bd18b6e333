// The operator's job when the disk refuses to write: the disk fills up while
// a flow file or the remittance report is written, the output folder cannot hold a file, the disk
// is full when the settings are saved at the end. The operator is told, no
// file cut short is left under its name, nothing is logged for it, and the
// job runs through once there is room again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/JobFixture.h"
#include "app/KroStepKeeper.h"
#include "records/KroFile.h"
#include "support/FullDiskEnv.h"
#include "support/TempDir.h"

namespace {

class DiskFaultTest : public JobTest {
protected:
    DiskFaultTest() {
        disk.now = env.now;
        disk.login = env.login;
        controllerEnv = &disk;
    }

    void SetUp() override {
        insert({document("2024-03-01", 10, 1), document("2024-03-01", 10, 2),
                document("2024-03-02", 11, 1), document("2024-03-03", 12, 1)});
    }

    // Connected, the range typed, flow 1, pockets and verification done.
    TfrmOutput& connectedAndVerified() {
        connect();
        return readyToWrite(u"01/03/2024", u"05/03/2024");
    }

    std::string loggedBlocks() { return db.scalar("SELECT COUNT(*) FROM Orvax"); }
    std::string stampedDocuments() {
        return db.scalar(std::string("SELECT COUNT(*) FROM ") + kDocTable +
                         " WHERE Lotto_Pres <> 0");
    }
    bool shownMessage(const std::string& text) const {
        for (const std::string& shown : view.messageTexts()) {
            if (shown.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    // A flow whose writing failed: the operator told, no file under its name
    // or its staging name, no block logged, no document stamped.
    void expectNothingWrittenOrLogged(const std::string& flow) {
        EXPECT_TRUE(shownMessage("ERRORE DURANTE LA SCRITTURA DELL'USCITA"));
        EXPECT_TRUE(statusShown("Creazione flusso abortita"));
        EXPECT_FALSE(fileExists(flow));
        EXPECT_FALSE(fileExists(KroFile::stagingName(flow)));
        EXPECT_EQ(loggedBlocks(), "0");
        EXPECT_EQ(stampedDocuments(), "0");
    }

    FullDiskEnv disk{-1};
};

TEST_F(DiskFaultTest, AFullDiskWhileWritingTheFlowLeavesNoFileAndLogsNothing) {
    TfrmOutput& c = connectedAndVerified();
    const std::string flow = flowPath(1);
    disk.capacity = disk.written + 100;  // the four records need 128 bytes
    c.act06UnloadExecute();
    expectNothingWrittenOrLogged(flow);

    disk.capacity = -1;  // room again: the operator runs the flow again
    view.shown.clear();
    runSteps(u"01/03/2024", u"05/03/2024");
    EXPECT_EQ(view.messageTexts(), Texts{});
    EXPECT_EQ(fileBytes(flow).size(), 4 * 32u);
    EXPECT_EQ(loggedBlocks(), "1");
    EXPECT_EQ(stampedDocuments(), "4");
}

// The same on a real file system that fills up: a 16 KB tmpfs mounted as
// the output folder (when this machine lets the test mount one).
TEST_F(DiskFaultTest, AFullFileSystemWhileWritingTheFlowLeavesNoFileAndLogsNothing) {
    std::vector<Document> documents;
    for (int i = 0; i < 800; ++i) {  // 800 records of 32 bytes: 25 KB
        documents.push_back(document("2024-03-04", 20 + i / 10, 1 + i % 10));
    }
    insert(documents);
    TempDir mountPoint;
    const std::string mount = "mount -t tmpfs -o size=16k orvaxfull '" + mountPoint.path() + "'";
    if (std::system((mount + " 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
    }
    struct Unmount {
        std::string path;
        ~Unmount() { std::system(("umount '" + path + "'").c_str()); }
    } unmount{mountPoint.path()};
    TfrmOutput& c = connectedAndVerified();
    const std::string flow = mountPoint.path() + "/OrvaxBlocco_001.NST";
    view.setText("tbDstFile", text::toWide(flow));
    c.act06UnloadExecute();
    expectNothingWrittenOrLogged(flow);
}

// A full disk keeps the flow file of an earlier run of the same block whole.
TEST_F(DiskFaultTest, AFullDiskKeepsAnEarlierFileOfTheSameNameWhole) {
    TfrmOutput& c = connectedAndVerified();
    const std::string flow = flowPath(1);
    std::FILE* earlier = Env::Default()->openStream(flow, "wb");
    ASSERT_NE(earlier, nullptr);
    std::fputs("EARLIER FLOW\r\n", earlier);
    std::fclose(earlier);
    disk.capacity = disk.written + 100;
    c.act06UnloadExecute();
    EXPECT_EQ(fileBytes(flow), "EARLIER FLOW\r\n");
    EXPECT_EQ(loggedBlocks(), "0");
}

TEST_F(DiskFaultTest, AnOutputFolderThatCannotHoldAFileStopsBeforeAnythingIsWritten) {
    TfrmOutput& c = connectedAndVerified();
    // Where the folder should be there is a file: no one can create the flow.
    const std::string notAFolder = c.pathManager()->jobPath() + "NOTAFOLDER";
    std::FILE* file = Env::Default()->openStream(notAFolder, "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    view.setText("tbDstFile", text::toWide(notAFolder + "/OrvaxBlocco_001.NST"));
    c.act06UnloadExecute();
    EXPECT_TRUE(shownMessage("Impossibile creare il file di scarico"));
    EXPECT_TRUE(monitorHas("(E)CREAZIONE FLUSSO GUIDA ABORTITA!"));
    EXPECT_TRUE(statusShown("Creazione flusso abortita"));
    EXPECT_EQ(loggedBlocks(), "0");
    EXPECT_EQ(stampedDocuments(), "0");
}

// The remittance report on a full disk: no report is left, the vault table
// does not record a presentation, and the report is whole once there is room.
TEST_F(DiskFaultTest, AFullDiskWhileWritingTheReportLeavesNoReportAndPresentsNothing) {
    db.exec("CREATE TABLE EFFETTI01_CA_240531_GUI_DIST (Lotto_Pres INT)");
    db.exec("INSERT INTO EFFETTI01_CA_240531_GUI_DIST VALUES (3)");
    db.exec(std::string("UPDATE ") + kDocTable + " SET Lotto_Pres=3, Prg1=Doc_Prg, Prg2=Prg");
    db.exec(
        "CREATE TABLE CAVEAU_CA_DOC (Serial VARCHAR(10), Lotto_Pres INT, Data_Pres DATE, Prg1 INT, "
        "Prg2 INT)");
    db.exec(std::string("INSERT INTO CAVEAU_CA_DOC (Serial) SELECT Serial FROM ") + kDocTable);
    TfrmOutput& c = connect();
    const std::string report = c.pathManager()->jobPath() + "EFFETTI01_CA_REP_152.TXT";
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "full disk" : "room again");
        view.shown.clear();
        c.RadioButtonClick("RadioButton3");
        c.act05VerifyExecute();
        disk.capacity = full ? disk.written + 300 : -1;  // the report needs about 800 bytes
        c.act06UnloadExecute();
        EXPECT_EQ(shownMessage("ERRORE DURANTE LA SCRITTURA DELL'USCITA"), full);
        EXPECT_EQ(fileExists(report), !full);
        EXPECT_FALSE(fileExists(KroFile::stagingName(report)));
        EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM CAVEAU_CA_DOC WHERE Lotto_Pres = 3"),
                  full ? "0" : "4");
    }
}

// The selection flow on a full disk: no file cut short for the sorter.
TEST_F(DiskFaultTest, AFullDiskWhileWritingTheSelectionLeavesNoFile) {
    db.exec("CREATE TABLE CAVEAU_RR_VER (SERIAL VARCHAR(10), SCADENZA DATE, TC VARCHAR(2))");
    TfrmOutput& c = connect();
    const std::string flow = c.pathManager()->jobPath() + "EFFETTI01_CA_GGG.NST";
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "full disk" : "room again");
        view.shown.clear();
        readyToWrite(u"01/03/2024", u"05/03/2024", "RadioButton1");
        disk.capacity = full ? disk.written + 100 : -1;  // four records of 32 bytes
        c.act06UnloadExecute();
        EXPECT_EQ(!view.shown.empty(), full);
        EXPECT_TRUE(monitorHas("(E)CREAZIONE FLUSSO GUIDA ABORTITA!") || !full);
        EXPECT_EQ(fileBytes(flow).size(), full ? 0u : 4 * 32u);
        EXPECT_FALSE(fileExists(KroFile::stagingName(flow)));
    }
}

TEST_F(DiskFaultTest, AFullDiskAtTheEndKeepsTheStoredSettings) {
    start().act0EndExecute();
    controller->FormDestroy();
    const std::string stored = fileBytes(settingsFile());
    ASSERT_FALSE(stored.empty());
    TfrmOutput& c = start();
    view.setPosition("udResi", 30);
    disk.capacity = disk.written;  // not one byte more
    c.act0EndExecute();
    c.FormDestroy();
    EXPECT_TRUE(shownMessage("Impossibile salvare le impostazioni"));
    EXPECT_EQ(fileBytes(settingsFile()), stored);
    EXPECT_FALSE(fileExists(KroFile::stagingName(settingsFile())));
}

}  // namespace
