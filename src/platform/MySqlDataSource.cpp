#include "platform/MySqlDataSource.h"

#include <algorithm>

#include "platform/MySqlDataSet.h"

MySqlDataSource::MySqlDataSource(MySqlDataSet* dataSet) {
    setDataSet(dataSet);
}

MySqlDataSource::~MySqlDataSource() {
    // Copied: an observer may remove itself when told.
    const std::vector<MySqlDataSourceObserver*> observers = observers_;
    observers_.clear();
    for (MySqlDataSourceObserver* observer : observers) {
        observer->dataSourceDestroyed();
    }
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
    tellObservers();
}

void MySqlDataSource::addObserver(MySqlDataSourceObserver* observer) {
    if (observer != nullptr &&
        std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void MySqlDataSource::removeObserver(MySqlDataSourceObserver* observer) {
    std::erase(observers_, observer);
}

void MySqlDataSource::setEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    if (enabled_) {
        rowChanged();
    } else {
        tellObservers();
    }
}

void MySqlDataSource::rowChanged() {
    tellObservers();
    if (!enabled_) {
        return;
    }
    const std::vector<MySqlDataSet*> details = details_;
    for (MySqlDataSet* detail : details) {
        detail->masterMoved();
    }
}

void MySqlDataSource::dataSetDestroyed() {
    dataSet_ = nullptr;
    tellObservers();
}

void MySqlDataSource::tellObservers() {
    // Copied: an observer may add or remove observers when told.
    const std::vector<MySqlDataSourceObserver*> observers = observers_;
    for (MySqlDataSourceObserver* observer : observers) {
        if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) {
            observer->dataSourceChanged();
        }
    }
}
