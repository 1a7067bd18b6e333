// MySqlConnection is one connection to a MySQL or MariaDB server over
// MariaDB Connector/C: the connection of the database gateway, shared by all
// its data sets. The settings are given first and take effect at the next
// open:
//
//   MySqlConnection connection;
//   connection.setServer("127.0.0.1");
//   connection.setDatabase("vault");
//   ...
//   if (!connection.open()) show(connection.lastError());
//
// Texts travel in the character set latin1, which MySQL defines as
// Windows-1252: names, SQL and column values are the suite's narrow texts.
// A failure keeps the server's (or the client library's) message in
// lastError(); the password never appears in it. A connection the server
// dropped (killed, gone away, a read past the time-out) is closed, so later
// statements fail at once instead of waiting on a dead socket.
//
// A result read row by row (MySqlStream) holds the connection while it is
// open; every other statement, and closing, ends it first.
#pragma once

#include <string>
#include <string_view>

class MySqlStream;
struct st_mysql;

class MySqlConnection {
public:
    MySqlConnection();
    ~MySqlConnection();
    MySqlConnection(const MySqlConnection&) = delete;
    MySqlConnection& operator=(const MySqlConnection&) = delete;

    void setServer(const std::string& host) { server_ = host; }
    const std::string& server() const { return server_; }
    // 0 means the server's standard port, 3306.
    void setPort(int port) { port_ = port; }
    int port() const { return port_; }
    // Also switches the database of an open connection; false when the
    // server refuses it.
    bool setDatabase(const std::string& name);
    const std::string& database() const { return database_; }
    void setUsername(const std::string& name) { username_ = name; }
    const std::string& username() const { return username_; }
    // The password is kept for the next open and cannot be read back.
    void setPassword(const std::string& password) { password_ = password; }
    // Seconds allowed for reaching the server and its greeting; 0: the
    // client library's own limit.
    void setConnectionTimeout(int seconds) { connectionTimeout_ = seconds; }
    int connectionTimeout() const { return connectionTimeout_; }
    // Seconds the client waits for any answer of the server before it gives
    // the connection up; 0 waits for ever. A guard against a server that
    // stops answering; a statement's own limit is the data set's command
    // time-out.
    void setReadTimeout(int seconds) { readTimeout_ = seconds; }
    int readTimeout() const { return readTimeout_; }
    // Kept for the caller: the connection never asks anybody for credentials.
    void setLoginPrompt(bool prompt) { loginPrompt_ = prompt; }
    bool loginPrompt() const { return loginPrompt_; }

    // Connects with the settings; an open connection is closed first.
    bool open();
    void close();
    bool connected() const { return mysql_ != nullptr; }

    // True while a transaction started on this connection is open, as the
    // server reports it after each statement.
    bool inTransaction() const;
    bool startTransaction();
    bool commit();
    bool rollback();

    // The message of the last failure.
    const std::string& lastError() const { return lastError_; }

    // Runs a statement that returns no rows (used by the layer itself).
    bool run(std::string_view sql);
    // The text for a value between single quotes in a statement, escaped the
    // way the server reads it (its character set and SQL mode).
    std::string escape(std::string_view value) const;
    // Limits the statements that follow to the given seconds (0: no limit);
    // sent to the server only when it changes.
    bool limitStatementTime(int seconds);

    // For the layer's data sets: the client handle, nullptr when closed.
    st_mysql* handle() const { return mysql_; }
    // Records the client handle's last error; closes the connection when
    // the error means the server is gone. Returns false for convenience.
    bool fail();
    // The same for an error of a prepared statement.
    bool fail(unsigned int code, const std::string& message);
    // Records a failure of the layer's own.
    bool fail(const std::string& message);

    // For MySqlStream: the result being read row by row, which holds the
    // connection until it is released or ended.
    void holdForStream(MySqlStream* stream);
    void releaseStream(MySqlStream* stream);
    // Ends the result being read row by row, if any, so that another
    // statement can run; its rows not read yet are dropped.
    void endStream();

private:
    std::string server_;
    int port_ = 0;
    std::string database_;
    std::string username_;
    std::string password_;
    int connectionTimeout_ = 0;
    int readTimeout_ = 0;
    bool loginPrompt_ = false;
    int statementTime_ = 0;
    bool statementTimeKnown_ = true;  // the server has a statement time limit
    st_mysql* mysql_ = nullptr;
    MySqlStream* stream_ = nullptr;
    std::string lastError_;
};
