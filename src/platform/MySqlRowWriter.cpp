#include "platform/MySqlRowWriter.h"

#include <strings.h>

#include <algorithm>

#include "platform/MySqlConnection.h"
#include "platform/MySqlStatement.h"

namespace {

bool sameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

bool sameTable(const MySqlColumn& a, const MySqlColumn& b) {
    return sameText(a.database, b.database) && sameText(a.originTable, b.originTable);
}

std::string quoteName(const std::string& name) {
    std::string quoted = "`";
    for (char c : name) {
        quoted += c;
        if (c == '`') {
            quoted += '`';
        }
    }
    return quoted + "`";
}

std::string tableName(const MySqlColumn& column) {
    const std::string table = quoteName(column.originTable);
    return column.database.empty() ? table : quoteName(column.database) + "." + table;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

std::string literal(const MySqlConnection& connection, const MySqlValue& value) {
    return value ? "'" + connection.escape(*value) + "'" : std::string("NULL");
}

// The columns of the result that find the row: the whole primary key, or
// every column of the table when the result lacks part of the key.
std::vector<size_t> rowFinders(const std::vector<MySqlColumn>& columns, const MySqlColumn& table,
                               const std::vector<std::string>& key, bool& byKey) {
    std::vector<size_t> finders;
    byKey = !key.empty();
    for (const std::string& part : key) {
        const auto found = std::find_if(columns.begin(), columns.end(), [&](const MySqlColumn& c) {
            return !c.isExpression() && sameTable(c, table) && sameText(c.originName, part);
        });
        if (found == columns.end()) {
            byKey = false;
            break;
        }
        finders.push_back(static_cast<size_t>(found - columns.begin()));
    }
    if (!byKey) {
        finders.clear();
        for (size_t i = 0; i < columns.size(); ++i) {
            if (!columns[i].isExpression() && sameTable(columns[i], table)) {
                finders.push_back(i);
            }
        }
    }
    return finders;
}

}  // namespace

bool MySqlRowWriter::write(MySqlConnection& connection, const std::vector<MySqlColumn>& columns,
                           const MySqlRow& original, const MySqlRow& current,
                           const std::vector<bool>& changed, std::string& error) {
    std::vector<size_t> written;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (changed[i] && !columns[i].isExpression()) {
            if (!written.empty() && !sameTable(columns[i], columns[written.front()])) {
                error =
                    "Le colonne modificate appartengono a tabelle diverse: modifica non salvata";
                return false;
            }
            written.push_back(i);
        }
    }
    if (written.empty()) {
        return true;
    }
    const MySqlColumn& table = columns[written.front()];
    std::vector<std::string> key;
    if (!primaryKey(connection, table, key, error)) {
        return false;
    }
    bool byKey = false;
    const std::vector<size_t> finders = rowFinders(columns, table, key, byKey);

    std::string sql = "UPDATE " + tableName(table) + " SET ";
    for (size_t i : written) {
        sql += (i == written.front() ? "" : ", ") + quoteName(columns[i].originName) + "=" +
               literal(connection, current[i]);
    }
    sql += " WHERE ";
    for (size_t i : finders) {
        sql += (i == finders.front() ? "" : " AND ") + quoteName(columns[i].originName) + " <=> " +
               literal(connection, original[i]);
    }
    if (!byKey) {
        sql += " LIMIT 1";
    }
    MySqlResult result;
    if (!MySqlStatement(sql).run(connection, {}, result)) {
        error = connection.lastError();
        return false;
    }
    if (result.rowsMatched == 0) {
        error = "La riga da aggiornare non si trova più nella tabella " + table.originTable +
                ": modifica non salvata";
        return false;
    }
    return true;
}

bool MySqlRowWriter::primaryKey(MySqlConnection& connection, const MySqlColumn& table,
                                std::vector<std::string>& key, std::string& error) {
    const std::string id = lowerCase(table.database + "." + table.originTable);
    if (const auto known = keys_.find(id); known != keys_.end()) {
        key = known->second;
        return true;
    }
    MySqlResult result;
    const std::string sql = "SHOW KEYS FROM " + tableName(table) + " WHERE Key_name='PRIMARY'";
    if (!MySqlStatement(sql).run(connection, {}, result)) {
        error = connection.lastError();
        return false;
    }
    const auto name = std::find_if(result.columns.begin(), result.columns.end(),
                                   [](const MySqlColumn& c) { return c.name == "Column_name"; });
    key.clear();
    if (name != result.columns.end()) {
        const size_t at = static_cast<size_t>(name - result.columns.begin());
        for (const MySqlRow& row : result.rows) {
            key.push_back(row[at].value_or(""));
        }
    }
    keys_[id] = key;
    return true;
}
