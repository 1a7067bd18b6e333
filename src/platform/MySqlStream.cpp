#include "platform/MySqlStream.h"

#include <mysql.h>

#include "platform/MySqlConnection.h"
#include "platform/MySqlStatement.h"

MySqlStream::~MySqlStream() {
    close();
}

bool MySqlStream::open(MySqlConnection& connection, std::string_view sql) {
    close();
    columns_.clear();
    rowsRead_ = 0;
    failed_ = false;
    lastError_.clear();
    if (!connection.connected()) {
        connection.fail(std::string("Connessione al database non attiva"));
        return fail(connection.lastError());
    }
    connection.endStream();
    MYSQL* mysql = connection.handle();
    if (mysql_real_query(mysql, sql.data(), sql.size()) != 0) {
        connection.fail();
        return fail(connection.lastError());
    }
    result_ = mysql_use_result(mysql);
    if (result_ == nullptr) {
        if (mysql_field_count(mysql) != 0) {
            connection.fail();
            return fail(connection.lastError());
        }
        return fail(kNoRowsText);
    }
    MySqlStatement::describeColumns(result_, columns_);
    connection_ = &connection;
    connection.holdForStream(this);
    return true;
}

bool MySqlStream::next(MySqlRow& row) {
    if (result_ == nullptr) {
        return false;
    }
    MYSQL_ROW values = mysql_fetch_row(result_);
    if (values == nullptr) {
        MySqlConnection* connection = connection_;
        const unsigned int code = mysql_errno(connection->handle());
        const std::string message = mysql_error(connection->handle());
        // The result goes before the connection hears of the failure, which
        // may close it.
        release();
        if (code != 0) {
            connection->fail(code, message);
            return fail(connection->lastError());
        }
        return false;
    }
    const unsigned long* lengths = mysql_fetch_lengths(result_);
    const size_t count = columns_.size();
    row.assign(count, MySqlValue());
    for (size_t i = 0; i < count; ++i) {
        if (values[i] != nullptr) {
            row[i].emplace(values[i], lengths[i]);
        }
    }
    ++rowsRead_;
    return true;
}

void MySqlStream::close() {
    release();
}

void MySqlStream::interrupt() {
    release();
    fail(kInterruptedText);
}

void MySqlStream::release() {
    if (result_ == nullptr) {
        return;
    }
    // Reads what is left, so the connection can take the next statement.
    mysql_free_result(result_);
    result_ = nullptr;
    if (connection_ != nullptr) {
        connection_->releaseStream(this);
        connection_ = nullptr;
    }
}

bool MySqlStream::fail(const std::string& message) {
    failed_ = true;
    lastError_ = message;
    return false;
}
