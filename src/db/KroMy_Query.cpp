#include "db/KroMy_Query.h"

#include "platform/MySqlQuery.h"
#include "platform/MySqlTable.h"

KroMy_Query::KroMy_Query(bool isTable, MySqlConnection* connection) {
    if (isTable) {
        owned_ = std::make_unique<MySqlTable>(connection);
    } else {
        owned_ = std::make_unique<MySqlQuery>(connection);
    }
    component_ = owned_.get();
}

KroMy_Query::~KroMy_Query() = default;

void KroMy_Query::setComponent(MySqlDataSet* component) {
    owned_.reset();
    component_ = component;
    componentReplaced();
}
