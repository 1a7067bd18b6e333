// KroMy_Query is a data set of the database gateway over the MySQL layer: it
// makes and owns a MySqlTable or a MySqlQuery, or holds a component handed
// in with setComponent without owning it.
//
//   KroMy_Query query(false, &connection);   // a query data set
//   query.component()->setSql("SELECT ...");
#pragma once

#include <memory>

#include "db/KroQueryBase.h"

class MySqlConnection;

class KroMy_Query : public KroQueryBase {
public:
    // isTable: a MySqlTable, else a MySqlQuery, on the connection.
    explicit KroMy_Query(bool isTable, MySqlConnection* connection = nullptr);
    ~KroMy_Query() override;

    // Deletes the owned component; the new one is used and not owned.
    void setComponent(MySqlDataSet* component) override;

private:
    std::unique_ptr<MySqlDataSet> owned_;
};
