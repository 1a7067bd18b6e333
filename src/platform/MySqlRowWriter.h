// MySqlRowWriter writes one edited row of a result back to its source table
// with an UPDATE. The row is found by the table's primary key when the result
// holds every column of it; otherwise by the original values of all the
// result's columns of that table, and then at most one row is changed.
// Expression columns are never written. A data set keeps one writer per
// result, which remembers the primary keys it asked the server for.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/MySqlResult.h"

class MySqlConnection;

class MySqlRowWriter {
public:
    // Forgets the remembered keys (a new result).
    void reset() { keys_.clear(); }

    // Writes the changed columns of the row. Nothing to write is a success.
    // False with the reason in error when the statement fails, the changes
    // span several tables, or no row of the table matches any more.
    bool write(MySqlConnection& connection, const std::vector<MySqlColumn>& columns,
               const MySqlRow& original, const MySqlRow& current, const std::vector<bool>& changed,
               std::string& error);

private:
    bool primaryKey(MySqlConnection& connection, const MySqlColumn& table,
                    std::vector<std::string>& key, std::string& error);

    std::map<std::string, std::vector<std::string>> keys_;
};
