#include "platform/MySqlConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/MySqlQuery.h"
#include "support/TestConnection.h"
#include "support/TestDatabase.h"

namespace {

// A port on the loopback that accepts connections and never says a word, as
// a server that hangs.
class SilentPort {
public:
    SilentPort() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(fd_, 4);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~SilentPort() { close(fd_); }
    int port() const { return port_; }

private:
    int fd_;
    int port_ = 0;
};

}  // namespace

TEST(MySqlConnection, OpensWithTheAccountAndSwitchesDatabase) {
    TestDatabase db;
    TestDatabase other;
    other.exec("CREATE TABLE marker (x INT)");
    MySqlConnection connection;
    useTestServer(connection, db.name());
    ASSERT_TRUE(connection.open()) << connection.lastError();
    EXPECT_TRUE(connection.connected());
    EXPECT_FALSE(connection.inTransaction());

    ASSERT_TRUE(connection.setDatabase(other.name()));
    EXPECT_TRUE(connection.run("SELECT * FROM marker"));
    EXPECT_FALSE(connection.setDatabase("orvax_no_such_database"));
    EXPECT_NE(connection.lastError().find("orvax_no_such_database"), std::string::npos);

    connection.close();
    EXPECT_FALSE(connection.connected());
    EXPECT_FALSE(connection.run("SELECT 1"));
    EXPECT_EQ(connection.lastError(), "Connessione al database non attiva");
}

TEST(MySqlConnection, RefusalsCarryTheServersMessageAndNeverThePassword) {
    TestDatabase db;
    MySqlConnection connection;

    useTestServer(connection, db.name());
    connection.setPassword("sbagliata-42");
    EXPECT_FALSE(connection.open());
    EXPECT_FALSE(connection.connected());
    EXPECT_NE(connection.lastError().find("Access denied"), std::string::npos);
    EXPECT_EQ(connection.lastError().find("sbagliata-42"), std::string::npos);

    // A server that quotes the password (here as the user name) still
    // does not show it.
    connection.setUsername("segreto99");
    connection.setPassword("segreto99");
    EXPECT_FALSE(connection.open());
    EXPECT_NE(connection.lastError().find("Access denied"), std::string::npos);
    EXPECT_EQ(connection.lastError().find("segreto99"), std::string::npos);

    useTestServer(connection, db.name());
    connection.setPort(closedPort());
    EXPECT_FALSE(connection.open());
    EXPECT_NE(connection.lastError().find("Can't connect"), std::string::npos)
        << connection.lastError();
}

TEST(MySqlConnection, AServerThatNeverAnswersFailsAfterTheConnectionTimeOut) {
    SilentPort silent;
    MySqlConnection connection;
    connection.setServer("127.0.0.1");
    connection.setPort(silent.port());
    connection.setUsername("orvax");
    connection.setConnectionTimeout(1);
    EXPECT_FALSE(connection.open());
    EXPECT_FALSE(connection.lastError().empty());
}

TEST(MySqlConnection, TransactionsStartCommitAndRollBack) {
    TestDatabase db;
    db.exec("CREATE TABLE t (id INT PRIMARY KEY) ENGINE=InnoDB");
    MySqlConnection connection;
    useTestServer(connection, db.name());
    ASSERT_TRUE(connection.open());

    ASSERT_TRUE(connection.startTransaction());
    EXPECT_TRUE(connection.inTransaction());
    EXPECT_TRUE(connection.run("INSERT INTO t VALUES (1)"));
    ASSERT_TRUE(connection.rollback());
    EXPECT_FALSE(connection.inTransaction());
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM t"), "0");

    ASSERT_TRUE(connection.startTransaction());
    EXPECT_TRUE(connection.run("INSERT INTO t VALUES (2)"));
    // A failing statement leaves the transaction open.
    EXPECT_FALSE(connection.run("INSERT INTO t VALUES (2)"));
    EXPECT_NE(connection.lastError().find("Duplicate entry"), std::string::npos);
    EXPECT_TRUE(connection.inTransaction());
    ASSERT_TRUE(connection.commit());
    EXPECT_FALSE(connection.inTransaction());
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM t"), "1");
}

TEST(MySqlConnection, AConnectionTheServerDropsIsClosedWithTheServersMessage) {
    TestDatabase db;
    MySqlConnection connection;
    useTestServer(connection, db.name());
    ASSERT_TRUE(connection.open());
    MySqlQuery id(&connection);
    id.setSql("SELECT CONNECTION_ID() AS Id");
    ASSERT_TRUE(id.open());
    db.exec("KILL " + id.fieldByName("Id").asString());

    EXPECT_FALSE(connection.run("SELECT 1"));
    EXPECT_FALSE(connection.lastError().empty());
    EXPECT_NE(connection.lastError(), "Connessione al database non attiva");
    EXPECT_FALSE(connection.connected());
    EXPECT_FALSE(connection.inTransaction());

    // Opening again connects afresh.
    ASSERT_TRUE(connection.open());
    EXPECT_TRUE(connection.run("SELECT 1"));
}

TEST(MySqlConnection, EscapedValuesReadBackUnchanged) {
    TestDatabase db;
    db.exec("CREATE TABLE t (v VARCHAR(40))");
    MySqlConnection connection;
    useTestServer(connection, db.name());
    ASSERT_TRUE(connection.open());
    const std::string tricky = std::string("O'Brien \\ \"x\" \0 fine; --", 25);
    ASSERT_TRUE(connection.run("INSERT INTO t VALUES ('" + connection.escape(tricky) + "')"));
    const auto rows = db.rows("SELECT v FROM t");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], tricky);

    // Before connecting, the server's default rules apply.
    MySqlConnection closed;
    EXPECT_EQ(closed.escape("a'b\\c"), "a\\'b\\\\c");
}
