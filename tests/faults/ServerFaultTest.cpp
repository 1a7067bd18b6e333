// The operator's job when the database server dies at the worst moments:
// killed (SIGKILL, as a crash or a power cut) while the pockets are being
// assigned, between the flow file and the block's log, before connecting,
// and between two steps. What the operator sees, what the database and the
// job folder hold afterwards, and that connecting again finishes the job.
#include <gtest/gtest.h>

#include "FaultServer.h"
#include "app/JobFixture.h"
#include "app/KroStepKeeper.h"

namespace {

constexpr const char* kFirstBlock = "OrvaxBlocco_001.NST";

class ServerFaultTest : public JobTest {
protected:
    void SetUp() override {
        insert({document("2024-03-01", 10, 1), document("2024-03-01", 10, 2),
                document("2024-03-02", 11, 1), document("2024-03-03", 12, 1)});
        db.exec(std::string("UPDATE ") + kDocTable + " SET T1=9, T2=9, T3=9, T4=9");
    }

    void TearDown() override {
        view.onStatus = nullptr;
        view.onProgress = nullptr;
        if (serverKilled_) {
            FaultServer::restart();
        }
    }

    void killServer() {
        FaultServer::kill();
        serverKilled_ = true;
    }

    void restartServer() {
        FaultServer::restart();
        serverKilled_ = false;
        db.reconnect();
        users.reconnect();
    }

    std::string pockets() {
        return db.scalar(std::string("SELECT GROUP_CONCAT(CONCAT(T1, '/', T2, '/', T3, '/', T4) "
                                     "ORDER BY Num_Effetto) FROM ") +
                         kDocTable);
    }
    std::string batches() {
        return db.scalar(std::string("SELECT GROUP_CONCAT(IFNULL(Lotto_Pres, 0) ORDER BY "
                                     "Num_Effetto) FROM ") +
                         kDocTable);
    }
    std::string loggedBlocks() {
        return db.scalar("SELECT GROUP_CONCAT(Progr ORDER BY Progr) FROM Orvax");
    }
    std::string jobFile(const char* name) { return controller->pathManager()->jobPath() + name; }

    // The whole job once more, after connecting again.
    void reconnectAndRunTheJob() {
        view.shown.clear();
        controller->act01_ConnectExecute();
        EXPECT_EQ(narrow(view.element("Control1").text), "Server ON");
        runSteps(u"01/03/2024", u"05/03/2024");
        EXPECT_EQ(view.messageTexts(), Texts{});
        EXPECT_EQ(controller->stepKeeper()->current(), 6);
    }

    static constexpr const char* kAsBefore = "9/9/9/9,9/9/9/9,9/9/9/9,9/9/9/9";
    static constexpr const char* kAssigned = "2/2/2/2,2/2/2/2,3/3/3/3,4/4/4/4";

    bool serverKilled_ = false;
};

// The old pockets are cleared in the same transaction before the new ones
// are written: the server dies between the two, with the clearing done and
// not committed.
TEST_F(ServerFaultTest, KilledDuringThePocketAssignmentLeavesThePocketsAsTheyWere) {
    TfrmOutput& c = connect();
    type("tbDataIn", u"01/03/2024");
    type("tbDataOut", u"05/03/2024");
    c.RadioButtonClick("RadioButton2");
    view.onStatus = [this](const std::string& text) {
        if (text.starts_with("Assegnazione tasche")) {
            killServer();
        }
    };
    c.act03AssTasExecute();
    view.onStatus = nullptr;
    EXPECT_FALSE(view.shown.empty());         // the operator is told
    EXPECT_LT(c.stepKeeper()->current(), 4);  // the verification is out of reach

    restartServer();
    EXPECT_EQ(pockets(), kAsBefore);
    reconnectAndRunTheJob();
    EXPECT_EQ(pockets(), kAssigned);
    EXPECT_EQ(loggedBlocks(), "1");
}

// The file is complete and closed when the server dies, before the block is
// logged and the batch stamped: the operator is told to run it again, and
// the run again logs the same block once.
TEST_F(ServerFaultTest, KilledBetweenTheFlowFileAndTheLogIsCompletedByARunAgain) {
    connect();
    TfrmOutput& c = readyToWrite(u"01/03/2024", u"05/03/2024");
    view.onProgress = [this](std::string_view name, int position, int maximum) {
        if (name == "ProgressBar" && maximum > 0 && position == maximum && !serverKilled_) {
            killServer();
        }
    };
    c.act06UnloadExecute();
    view.onProgress = nullptr;
    const Texts shown = view.messageTexts();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(),
              "Il file di scarico \xE8 completo ma il blocco 1 non \xE8 stato registrato: "
              "ripetere lo scarico");
    EXPECT_TRUE(statusShown("Creazione flusso abortita"));
    const std::string firstFile = fileBytes(jobFile(kFirstBlock));
    EXPECT_EQ(firstFile.size(), 4 * 32u);

    restartServer();
    EXPECT_EQ(loggedBlocks(), "NULL");
    EXPECT_EQ(batches(), "0,0,0,0");
    reconnectAndRunTheJob();
    EXPECT_EQ(loggedBlocks(), "1");
    EXPECT_EQ(batches(), "1,1,1,1");
    EXPECT_EQ(fileBytes(jobFile(kFirstBlock)), firstFile);
}

TEST_F(ServerFaultTest, AServerDownAtConnectingIsReportedAndConnectingLaterWorks) {
    killServer();
    TfrmOutput& c = start();
    c.act01_ConnectExecute();
    EXPECT_EQ(narrow(view.element("Control1").text), "Server OFF");
    ASSERT_FALSE(view.shown.empty());
    EXPECT_NE(view.messageTexts().front().find("127.0.0.1"), std::string::npos)
        << view.messageTexts().front();

    restartServer();
    reconnectAndRunTheJob();
    EXPECT_EQ(loggedBlocks(), "1");
}

TEST_F(ServerFaultTest, AServerRestartedBetweenStepsIsReportedAndConnectingAgainWorks) {
    TfrmOutput& c = connect();
    FaultServer::kill();
    FaultServer::restart();
    db.reconnect();
    users.reconnect();
    type("tbDataIn", u"01/03/2024");
    type("tbDataOut", u"05/03/2024");
    c.RadioButtonClick("RadioButton2");
    c.act03AssTasExecute();
    EXPECT_FALSE(view.shown.empty());  // the lost connection is reported
    EXPECT_EQ(pockets(), kAsBefore);

    reconnectAndRunTheJob();
    EXPECT_EQ(pockets(), kAssigned);
    EXPECT_EQ(loggedBlocks(), "1");
}

}  // namespace
