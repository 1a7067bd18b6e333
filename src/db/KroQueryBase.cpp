#include "db/KroQueryBase.h"

#include "platform/MySqlDataSource.h"
#include "platform/MySqlQuery.h"
#include "platform/MySqlTable.h"

KroQueryBase::KroQueryBase() = default;

KroQueryBase::~KroQueryBase() = default;

MySqlQuery* KroQueryBase::asQuery() const {
    return dynamic_cast<MySqlQuery*>(component_);
}

void KroQueryBase::setComponent(MySqlDataSet*) {}

MySqlTable* KroQueryBase::asTable() const {
    return dynamic_cast<MySqlTable*>(component_);
}

MySqlDataSource* KroQueryBase::dataSource() {
    if (!dataSource_) {
        dataSource_ = std::make_unique<MySqlDataSource>(component_);
    }
    return dataSource_.get();
}

void KroQueryBase::componentReplaced() {
    if (dataSource_) {
        dataSource_->setDataSet(component_);
    }
}
