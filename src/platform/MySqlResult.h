// MySqlResult is what one statement gave back: the description of its
// columns, its rows as texts (NULL kept apart from an empty text), and the
// number of rows it changed. MySqlStatement fills it; a data set keeps it as
// its rows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One column of a result, as the server describes it.
struct MySqlColumn {
    std::string name;         // as selected (the alias when there is one)
    std::string originName;   // the source column; empty for an expression
    std::string originTable;  // the source table; empty for an expression
    std::string database;     // the source table's database
    unsigned int flags = 0;   // the server's column flags (PRI_KEY_FLAG ...)
    int type = 0;             // the server's column type (enum_field_types)

    // An expression, or a column of no table: nothing to write back to.
    bool isExpression() const { return originTable.empty() || originName.empty(); }
};

using MySqlValue = std::optional<std::string>;  // absent: NULL
using MySqlRow = std::vector<MySqlValue>;

struct MySqlResult {
    bool hasRows = false;  // the statement returned a result set
    std::vector<MySqlColumn> columns;
    std::vector<MySqlRow> rows;
    int64_t rowsAffected = -1;  // statements without a result set
    int64_t rowsMatched = -1;   // UPDATE: the rows found, changed or not
};
