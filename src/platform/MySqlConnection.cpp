#include "platform/MySqlConnection.h"

#include <errmsg.h>
#include <mysql.h>
#include <mysqld_error.h>

#include <string>

#include "platform/MySqlStream.h"

namespace {

constexpr char kNotConnected[] = "Connessione al database non attiva";

// Errors after which the connection cannot be used any more.
bool meansServerGone(unsigned int code) {
    return code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST || code == ER_CONNECTION_KILLED ||
           code == 4031;  // ER_CLIENT_INTERACTION_TIMEOUT: closed for inactivity
}

// A password of a few letters would blank out ordinary words; longer ones
// are taken out of every message in case a server quotes one (as a user
// name, say).
void removePassword(std::string& message, const std::string& password) {
    if (password.size() < 4) {
        return;
    }
    for (size_t at = message.find(password); at != std::string::npos;
         at = message.find(password, at)) {
        message.replace(at, password.size(), "****");
        at += 4;
    }
}

}  // namespace

MySqlConnection::MySqlConnection() = default;

MySqlConnection::~MySqlConnection() {
    close();
}

bool MySqlConnection::setDatabase(const std::string& name) {
    database_ = name;
    if (!connected()) {
        return true;
    }
    endStream();
    return mysql_select_db(mysql_, name.c_str()) == 0 || fail();
}

bool MySqlConnection::open() {
    close();
    lastError_.clear();
    mysql_ = mysql_init(nullptr);
    if (mysql_ == nullptr) {
        return fail("Memoria insufficiente per la connessione al database");
    }
    mysql_options(mysql_, MYSQL_SET_CHARSET_NAME, "latin1");
    if (connectionTimeout_ > 0) {
        const unsigned int seconds = static_cast<unsigned int>(connectionTimeout_);
        mysql_options(mysql_, MYSQL_OPT_CONNECT_TIMEOUT, &seconds);
    }
    if (readTimeout_ > 0) {
        const unsigned int seconds = static_cast<unsigned int>(readTimeout_);
        mysql_options(mysql_, MYSQL_OPT_READ_TIMEOUT, &seconds);
        mysql_options(mysql_, MYSQL_OPT_WRITE_TIMEOUT, &seconds);
    }
    // A loopback name would otherwise mean the Unix socket; the connection
    // string names a server on the network.
    const unsigned int protocol = MYSQL_PROTOCOL_TCP;
    mysql_options(mysql_, MYSQL_OPT_PROTOCOL, &protocol);
    const char* database = database_.empty() ? nullptr : database_.c_str();
    if (mysql_real_connect(mysql_, server_.c_str(), username_.c_str(), password_.c_str(), database,
                           static_cast<unsigned int>(port_ > 0 ? port_ : 3306), nullptr,
                           0) == nullptr) {
        fail();
        close();
        return false;
    }
    statementTime_ = 0;
    statementTimeKnown_ = true;
    return true;
}

void MySqlConnection::close() {
    endStream();
    if (mysql_ != nullptr) {
        mysql_close(mysql_);
        mysql_ = nullptr;
    }
}

bool MySqlConnection::inTransaction() const {
    if (!connected()) {
        return false;
    }
    unsigned int status = 0;
    mariadb_get_infov(mysql_, MARIADB_CONNECTION_SERVER_STATUS, &status);
    return (status & SERVER_STATUS_IN_TRANS) != 0;
}

bool MySqlConnection::startTransaction() {
    return run("START TRANSACTION");
}

bool MySqlConnection::commit() {
    return run("COMMIT");
}

bool MySqlConnection::rollback() {
    return run("ROLLBACK");
}

bool MySqlConnection::run(std::string_view sql) {
    if (!connected()) {
        return fail(kNotConnected);
    }
    endStream();
    if (mysql_real_query(mysql_, sql.data(), sql.size()) != 0) {
        return fail();
    }
    // A statement that returned rows anyway leaves nothing pending.
    if (MYSQL_RES* rows = mysql_store_result(mysql_)) {
        mysql_free_result(rows);
    }
    return true;
}

std::string MySqlConnection::escape(std::string_view value) const {
    std::string escaped(value.size() * 2 + 1, '\0');
    size_t length = 0;
    if (connected()) {
        length = mysql_real_escape_string(mysql_, escaped.data(), value.data(), value.size());
    } else {
        // The server's defaults: backslash escapes on.
        for (char c : value) {
            if (c == '\'' || c == '\\') {
                escaped[length++] = '\\';
            } else if (c == '\0') {
                escaped[length++] = '\\';
                c = '0';
            }
            escaped[length++] = c;
        }
    }
    escaped.resize(length);
    return escaped;
}

bool MySqlConnection::limitStatementTime(int seconds) {
    seconds = seconds > 0 ? seconds : 0;
    if (seconds == statementTime_ || !statementTimeKnown_) {
        return true;
    }
    if (!connected()) {
        return fail(kNotConnected);
    }
    endStream();
    // MariaDB's limit, else MySQL's (for queries only); a server with
    // neither relies on the read time-out alone.
    const std::string settings[] = {
        "SET SESSION max_statement_time=" + std::to_string(seconds),
        "SET SESSION max_execution_time=" + std::to_string(seconds * 1000),
    };
    for (const std::string& setting : settings) {
        if (mysql_real_query(mysql_, setting.data(), setting.size()) == 0) {
            statementTime_ = seconds;
            return true;
        }
        if (mysql_errno(mysql_) != ER_UNKNOWN_SYSTEM_VARIABLE) {
            return fail();
        }
    }
    statementTimeKnown_ = false;
    return true;
}

void MySqlConnection::holdForStream(MySqlStream* stream) {
    if (stream_ != stream) {
        endStream();
    }
    stream_ = stream;
}

void MySqlConnection::releaseStream(MySqlStream* stream) {
    if (stream_ == stream) {
        stream_ = nullptr;
    }
}

void MySqlConnection::endStream() {
    if (MySqlStream* stream = stream_) {
        stream_ = nullptr;
        stream->interrupt();
    }
}

bool MySqlConnection::fail() {
    if (!connected()) {
        return fail(kNotConnected);
    }
    return fail(mysql_errno(mysql_), mysql_error(mysql_));
}

bool MySqlConnection::fail(unsigned int code, const std::string& message) {
    fail(message.empty() ? "Errore " + std::to_string(code) + " del database" : message);
    if (meansServerGone(code)) {
        close();
    }
    return false;
}

bool MySqlConnection::fail(const std::string& message) {
    lastError_ = message;
    removePassword(lastError_, password_);
    return false;
}
