// MySqlTable is the data set of one whole table, named with setTableName:
// opening it reads every row of the table, and its rows can be edited and
// posted like a query's. An SQL text given with setSql runs instead, as for a
// query.
#pragma once

#include <string>

#include "platform/MySqlDataSet.h"

class MySqlTable : public MySqlDataSet {
public:
    using MySqlDataSet::MySqlDataSet;

    // Closes the data set.
    void setTableName(const std::string& name);
    const std::string& tableName() const { return tableName_; }

protected:
    std::string statementText() const override;

private:
    std::string tableName_;
};
