#include "platform/MySqlDataSource.h"

#include <algorithm>

#include "platform/MySqlDataSet.h"

MySqlDataSource::MySqlDataSource(MySqlDataSet* dataSet) {
    setDataSet(dataSet);
}

MySqlDataSource::~MySqlDataSource() {
    setDataSet(nullptr);
    // Copied: each detail takes itself out of the list.
    const std::vector<MySqlDataSet*> details = details_;
    for (MySqlDataSet* detail : details) {
        detail->setMasterSource(nullptr);
    }
}

void MySqlDataSource::setDataSet(MySqlDataSet* dataSet) {
    if (dataSet_ == dataSet) {
        return;
    }
    if (dataSet_ != nullptr) {
        std::erase(dataSet_->sources_, this);
    }
    dataSet_ = dataSet;
    if (dataSet_ != nullptr) {
        dataSet_->sources_.push_back(this);
    }
}

void MySqlDataSource::setEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    if (enabled_) {
        rowChanged();
    }
}

void MySqlDataSource::rowChanged() {
    if (!enabled_) {
        return;
    }
    const std::vector<MySqlDataSet*> details = details_;
    for (MySqlDataSet* detail : details) {
        detail->masterMoved();
    }
}
