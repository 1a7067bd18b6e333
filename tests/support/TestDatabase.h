// The private MariaDB server of the test run and a database of one test.
//
// CTest starts the server before the tests of the layers that talk to a
// database (tests/server/start.sh) and hands them the file it wrote through
// ORVAX_TEST_SERVER. A TestDatabase creates a database of its own with a name
// no other test uses, and drops it when it goes:
//
//   TestDatabase db;
//   db.exec("CREATE TABLE doc (Serial VARCHAR(10))");
//   ... the code under test, connected to db.name() ...
//   EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM doc"), "1");
//
// It talks to the server through the client library directly, never through
// the code under test, with the character set latin1, so texts are the
// suite's Windows-1252 bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct st_mysql;

struct TestServer {
    std::string host;
    int port = 0;
    std::string user;
    std::string password;
};

// The server of this run; a test fails when it is not running.
const TestServer& testServer();

// A port on the loopback where nothing listens.
int closedPort();

class TestDatabase {
public:
    using Row = std::vector<std::optional<std::string>>;

    // A fresh database; with a name, that database (dropped first when it
    // exists).
    TestDatabase();
    explicit TestDatabase(const std::string& name);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const std::string& name() const { return name_; }
    // A new connection to the same database, after the server was restarted.
    void reconnect();

    // Runs statements in this database; a failure fails the test.
    void exec(const std::string& sql);
    // The rows of a query.
    std::vector<Row> rows(const std::string& sql);
    // The first column of the first row; "NULL" for NULL, "" without rows.
    std::string scalar(const std::string& sql);

    // A connection-string file's text naming this database on the server.
    std::string connectionString() const;

private:
    void create();
    void connect();

    std::string name_;
    st_mysql* mysql_ = nullptr;
};
