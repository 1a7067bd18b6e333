#include "platform/MySqlStatement.h"

#include <mysql.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/MySqlConnection.h"

namespace {

bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '$';
}

// The end of a quoted text starting at sql[from] (the quote), past the
// closing quote; doubled quotes and, except in `names`, backslashes escape.
size_t skipQuoted(std::string_view sql, size_t from) {
    const char quote = sql[from];
    size_t at = from + 1;
    while (at < sql.size()) {
        const char c = sql[at++];
        if (c == '\\' && quote != '`') {
            ++at;
        } else if (c == quote) {
            if (at < sql.size() && sql[at] == quote) {
                ++at;
            } else {
                return at;
            }
        }
    }
    return sql.size();
}

// The end of a comment starting at sql[from], or from itself when none does.
size_t skipComment(std::string_view sql, size_t from) {
    const std::string_view rest = sql.substr(from);
    const bool lineComment =
        rest.starts_with('#') || (rest.starts_with("--") &&
                                  (rest.size() == 2 || static_cast<unsigned char>(rest[2]) <= ' '));
    if (lineComment) {
        const size_t end = sql.find('\n', from);
        return end == std::string_view::npos ? sql.size() : end;
    }
    if (rest.starts_with("/*")) {
        const size_t end = sql.find("*/", from + 2);
        return end == std::string_view::npos ? sql.size() : end + 2;
    }
    return from;
}

MySqlColumn describe(const MYSQL_FIELD& field) {
    MySqlColumn column;
    column.name.assign(field.name, field.name_length);
    column.originName.assign(field.org_name, field.org_name_length);
    column.originTable.assign(field.org_table, field.org_table_length);
    column.database.assign(field.db, field.db_length);
    column.flags = field.flags;
    column.type = field.type;
    return column;
}

// "Rows matched: 1  Changed: 0  Warnings: 0" after an UPDATE.
int64_t rowsMatched(const char* info) {
    const char* at = info != nullptr ? std::strstr(info, "Rows matched:") : nullptr;
    return at != nullptr ? std::strtoll(at + std::strlen("Rows matched:"), nullptr, 10) : -1;
}

struct StatementCloser {
    void operator()(MYSQL_STMT* statement) const { mysql_stmt_close(statement); }
};
using StatementHandle = std::unique_ptr<MYSQL_STMT, StatementCloser>;

struct ResultFreer {
    void operator()(MYSQL_RES* result) const { mysql_free_result(result); }
};
using ResultHandle = std::unique_ptr<MYSQL_RES, ResultFreer>;

// Closes the statement first: the failure may close the connection.
bool failStatement(MySqlConnection& connection, StatementHandle& statement) {
    const unsigned int code = mysql_stmt_errno(statement.get());
    const std::string message = mysql_stmt_error(statement.get());
    statement.reset();
    return connection.fail(code, message);
}

// Reads every row of an executed prepared statement as texts.
bool fetchRows(MYSQL_STMT* statement, size_t columns, MySqlResult& result) {
    constexpr unsigned long kFirstTry = 64;
    std::vector<std::vector<char>> buffers(columns, std::vector<char>(kFirstTry));
    std::vector<unsigned long> lengths(columns);
    std::vector<my_bool> nulls(columns);
    std::vector<MYSQL_BIND> binds(columns);
    for (size_t i = 0; i < columns; ++i) {
        binds[i].buffer_type = MYSQL_TYPE_STRING;
        binds[i].buffer = buffers[i].data();
        binds[i].buffer_length = kFirstTry;
        binds[i].length = &lengths[i];
        binds[i].is_null = &nulls[i];
    }
    if (mysql_stmt_bind_result(statement, binds.data()) != 0) {
        return false;
    }
    for (;;) {
        const int status = mysql_stmt_fetch(statement);
        if (status == MYSQL_NO_DATA) {
            return true;
        }
        if (status != 0 && status != MYSQL_DATA_TRUNCATED) {
            return false;
        }
        MySqlRow row(columns);
        for (size_t i = 0; i < columns; ++i) {
            if (nulls[i]) {
                continue;
            }
            std::string value(lengths[i], '\0');
            if (lengths[i] <= kFirstTry) {
                value.assign(buffers[i].data(), lengths[i]);
            } else {
                // Too long for the first buffer: read this column again whole.
                MYSQL_BIND whole{};
                unsigned long length = 0;
                whole.buffer_type = MYSQL_TYPE_STRING;
                whole.buffer = value.data();
                whole.buffer_length = lengths[i];
                whole.length = &length;
                if (mysql_stmt_fetch_column(statement, &whole, static_cast<unsigned int>(i), 0)) {
                    return false;
                }
            }
            row[i] = std::move(value);
        }
        result.rows.push_back(std::move(row));
    }
}

}  // namespace

MySqlStatement::MySqlStatement(std::string_view sql) {
    size_t at = 0;
    while (at < sql.size()) {
        const char c = sql[at];
        size_t end = at + 1;
        if (c == '\'' || c == '"' || c == '`') {
            end = skipQuoted(sql, at);
        } else if (const size_t comment = skipComment(sql, at); comment != at) {
            end = comment;
        } else if (c == ':' && at + 1 < sql.size() && isNameStart(sql[at + 1]) &&
                   (at == 0 || (!isNameChar(sql[at - 1]) && sql[at - 1] != ':'))) {
            end = at + 1;
            while (end < sql.size() && isNameChar(sql[end])) {
                ++end;
            }
            names_.emplace_back(sql.substr(at + 1, end - at - 1));
            text_ += '?';
            at = end;
            continue;
        }
        text_.append(sql.substr(at, end - at));
        at = end;
    }
}

bool MySqlStatement::run(MySqlConnection& connection, const std::vector<MySqlValue>& values,
                         MySqlResult& result) const {
    result = MySqlResult{};
    if (!connection.connected()) {
        return connection.fail(std::string("Connessione al database non attiva"));
    }
    connection.endStream();
    return names_.empty() ? runText(connection, result) : runPrepared(connection, values, result);
}

void MySqlStatement::describeColumns(MYSQL_RES* metadata, std::vector<MySqlColumn>& columns) {
    const unsigned int count = mysql_num_fields(metadata);
    const MYSQL_FIELD* fields = mysql_fetch_fields(metadata);
    for (unsigned int i = 0; i < count; ++i) {
        columns.push_back(describe(fields[i]));
    }
}

bool MySqlStatement::runText(MySqlConnection& connection, MySqlResult& result) const {
    MYSQL* mysql = connection.handle();
    if (mysql_real_query(mysql, text_.data(), text_.size()) != 0) {
        return connection.fail();
    }
    ResultHandle rows(mysql_store_result(mysql));
    if (!rows) {
        if (mysql_field_count(mysql) != 0) {
            return connection.fail();
        }
        result.rowsAffected = static_cast<int64_t>(mysql_affected_rows(mysql));
        result.rowsMatched = rowsMatched(mysql_info(mysql));
        return true;
    }
    result.hasRows = true;
    describeColumns(rows.get(), result.columns);
    const size_t columns = result.columns.size();
    while (MYSQL_ROW row = mysql_fetch_row(rows.get())) {
        const unsigned long* lengths = mysql_fetch_lengths(rows.get());
        MySqlRow values(columns);
        for (size_t i = 0; i < columns; ++i) {
            if (row[i] != nullptr) {
                values[i].emplace(row[i], lengths[i]);
            }
        }
        result.rows.push_back(std::move(values));
    }
    result.rowsAffected = static_cast<int64_t>(result.rows.size());
    return true;
}

bool MySqlStatement::runPrepared(MySqlConnection& connection, const std::vector<MySqlValue>& values,
                                 MySqlResult& result) const {
    StatementHandle statement(mysql_stmt_init(connection.handle()));
    if (!statement) {
        return connection.fail();
    }
    if (mysql_stmt_prepare(statement.get(), text_.data(), text_.size()) != 0) {
        return failStatement(connection, statement);
    }
    std::vector<MYSQL_BIND> binds(names_.size());
    std::vector<unsigned long> lengths(names_.size());
    for (size_t i = 0; i < binds.size(); ++i) {
        const MySqlValue* value = i < values.size() ? &values[i] : nullptr;
        if (value == nullptr || !value->has_value()) {
            binds[i].buffer_type = MYSQL_TYPE_NULL;
            continue;
        }
        lengths[i] = (*value)->size();
        binds[i].buffer_type = MYSQL_TYPE_STRING;
        binds[i].buffer = const_cast<char*>((*value)->data());
        binds[i].buffer_length = lengths[i];
        binds[i].length = &lengths[i];
    }
    if (mysql_stmt_bind_param(statement.get(), binds.data()) != 0 ||
        mysql_stmt_execute(statement.get()) != 0) {
        return failStatement(connection, statement);
    }
    ResultHandle metadata(mysql_stmt_result_metadata(statement.get()));
    if (!metadata) {
        result.rowsAffected = static_cast<int64_t>(mysql_stmt_affected_rows(statement.get()));
        result.rowsMatched = rowsMatched(mysql_info(connection.handle()));
        return true;
    }
    result.hasRows = true;
    describeColumns(metadata.get(), result.columns);
    if (mysql_stmt_store_result(statement.get()) != 0 ||
        !fetchRows(statement.get(), result.columns.size(), result)) {
        return failStatement(connection, statement);
    }
    result.rowsAffected = static_cast<int64_t>(result.rows.size());
    return true;
}
