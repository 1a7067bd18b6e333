// Suite files written by someone who means harm, or by mistake: job names
// and type codes that would change a statement are refused at start-up,
// before a folder is made or a statement runs (the server's general log
// shows none); and the connection string's password never leaves it, in
// no message, monitor line, status text, console line or file written.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/JobFixture.h"
#include "batch/BatchRun.h"
#include "support/TempDir.h"

namespace {

// Every statement the server receives is logged while a test runs.
class GeneralLog {
public:
    explicit GeneralLog(TestDatabase& db) : db_(db) {
        db_.exec("SET GLOBAL log_output = 'TABLE'");
        db_.exec("TRUNCATE TABLE mysql.general_log");
        db_.exec("SET GLOBAL general_log = ON");
    }
    ~GeneralLog() { db_.exec("SET GLOBAL general_log = OFF"); }

    // Statements (and connections) whose text holds marker.
    std::string countHolding(const std::string& marker) {
        return db_.scalar("SELECT COUNT(*) FROM mysql.general_log WHERE argument LIKE '%" + marker +
                          "%' AND argument NOT LIKE '%general_log%'");
    }

private:
    TestDatabase& db_;
};

class HostileFilesTest : public JobTest {
protected:
    // A new start-up on the suite as it stands, then the connect step.
    void startAndConnect() {
        controller.reset();
        view.shown.clear();
        start();
        controller->act01_ConnectExecute();
    }

    bool anyFileHolds(const std::string& secret, const std::string& except) const {
        namespace fs = std::filesystem;
        for (const auto& entry : fs::recursive_directory_iterator(suite.home())) {
            if (entry.is_regular_file() && entry.path().string() != except &&
                readBytes(entry.path().string()).find(secret) != std::string::npos) {
                ADD_FAILURE() << entry.path().string() << " holds the password";
                return true;
            }
        }
        return false;
    }

    bool viewHolds(const std::string& secret) const {
        std::vector<std::u16string> texts = view.statusTexts;
        texts.insert(texts.end(), view.monitorLines.begin(), view.monitorLines.end());
        for (const auto& shown : view.shown) {
            texts.push_back(shown.text);
            texts.push_back(shown.caption);
        }
        for (const auto& text : texts) {
            if (narrow(text).find(secret) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(HostileFilesTest, JobNamesAndTypeCodesThatWouldChangeAStatementAreRefused) {
    const struct {
        const char* jobName;
        const char* typeCode;
    } cases[] = {
        {"HX'01_CA", "01"},
        {"HX\"01_CA", "01"},
        {"HX;DROP_CA", "01"},
        {"HX--01_CA", "01"},
        {"HX#01_CA", "01"},
        {"HX/*1*/_CA", "01"},
        {"HX`01_CA", "01"},
        {"HX 01_CA", "01"},
        {"HX01_C'", "01"},
        {"HX01_C;", "01"},
        {"HX)OR(1_CA", "01"},
        {"HX%01_CA", "01"},
        {"EFFETTI01_CA", "HX' OR '1'='1"},
        {"EFFETTI01_CA", "HX;"},
        {"EFFETTI01_CA", "H`X"},
        {"EFFETTI01_CA", "HX 1"},
        {"EFFETTI01_CA", "HX--"},
    };
    GeneralLog log(db);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.jobName) + " / " + c.typeCode);
        suite.witness.jobName = c.jobName;
        suite.workMode.params[5] = c.typeCode;
        suite.writeWitness();
        suite.writeWorkMode();
        startAndConnect();
        EXPECT_FALSE(controller->started());
        EXPECT_EQ(view.shown.size(), 1u);
        EXPECT_EQ(log.countHolding("HX"), "0");
        EXPECT_EQ(log.countHolding("H`X"), "0");
    }
    // The log does see a plain name that reaches the server.
    suite.witness.jobName = "HXPLAIN_CA";
    suite.workMode.params[5] = "CA";
    suite.writeWitness();
    suite.writeWorkMode();
    startAndConnect();
    EXPECT_TRUE(controller->started());
    EXPECT_NE(log.countHolding("HXPLAIN"), "0");
}

TEST_F(HostileFilesTest, ThePasswordNeverLeavesTheConnectionString) {
    const std::string secret = "Segreto-" + db.name();
    const struct {
        const char* what;
        std::string connection;
    } cases[] = {
        {"refused connection", "Provider=MySQL\r\nData Source=127.0.0.1\r\nInitial Catalog=" +
                                   db.name() + "\r\nUser ID=orvax\r\nPassword=" + secret +
                                   "\r\nPort=" + std::to_string(closedPort()) + "\r\n"},
        {"wrong password", "Provider=MySQL\r\nData Source=127.0.0.1\r\nInitial Catalog=" +
                               db.name() + "\r\nUser ID=orvax\r\nPassword=" + secret +
                               "\r\nPort=" + std::to_string(testServer().port) + "\r\n"},
        {"missing database", "Provider=MySQL\r\nData Source=127.0.0.1\r\nInitial Catalog=" +
                                 db.name() + "_GONE\r\nUser ID=orvax\r\nPassword=" + secret +
                                 "\r\nPort=" + std::to_string(testServer().port) + "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string cns = suite.writeConnectionString(c.connection);
        startAndConnect();
        EXPECT_FALSE(view.shown.empty());  // the operator is told
        controller->act0EndExecute();
        controller->FormDestroy();
        EXPECT_FALSE(viewHolds(secret));
        EXPECT_FALSE(anyFileHolds(secret, cns));

        std::ostringstream out;
        std::ostringstream err;
        const char* argv[] = {"ExportOrvaxBatch",   "--flow", "1",         "--home",
                              suite.home().c_str(), "--to",   "05/03/2024"};
        EXPECT_EQ(BatchRun(out, err).main(7, argv), BatchRun::kFailed);
        EXPECT_EQ(out.str().find(secret), std::string::npos);
        EXPECT_EQ(err.str().find(secret), std::string::npos);
        EXPECT_FALSE(anyFileHolds(secret, cns));
    }
}

// A whole job written with the real password: the flow, the settings and
// everything else the program leaves behind hold no trace of it.
TEST_F(HostileFilesTest, AJobRunThroughLeavesThePasswordNowhere) {
    insert({document("2024-03-01", 10, 1), document("2024-03-02", 11, 1)});
    const std::string cns = suite.writeConnectionString(db.connectionString());
    runJob(u"01/03/2024", u"05/03/2024");
    EXPECT_EQ(view.messageTexts(), Texts{});
    controller->act0EndExecute();
    controller->FormDestroy();
    const std::string password = testServer().password;
    EXPECT_FALSE(viewHolds(password));
    EXPECT_FALSE(anyFileHolds(password, cns));
}

}  // namespace
