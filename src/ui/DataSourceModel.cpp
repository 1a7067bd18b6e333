#include "ui/DataSourceModel.h"

#include <string>

#include "core/Text.h"
#include "platform/MySqlDataSet.h"
#include "platform/MySqlField.h"

namespace {

QString fromNarrow(const std::string& narrow) {
    return QString::fromStdU16String(text::toWide(narrow));
}

}  // namespace

DataSourceModel::DataSourceModel(QObject* parent) : QAbstractTableModel(parent) {}

DataSourceModel::~DataSourceModel() {
    detach();
}

void DataSourceModel::setSource(MySqlDataSource* source) {
    if (source != source_) {
        detach();
        source_ = source;
        if (source_ != nullptr) {
            source_->addObserver(this);
        }
    }
    follow(true);
}

void DataSourceModel::detach() {
    if (source_ != nullptr) {
        source_->removeObserver(this);
        source_ = nullptr;
    }
}

MySqlDataSet* DataSourceModel::shownDataSet() const {
    if (source_ == nullptr || !source_->enabled()) {
        return nullptr;
    }
    MySqlDataSet* dataSet = source_->dataSet();
    return dataSet != nullptr && dataSet->active() ? dataSet : nullptr;
}

DataSourceModel::Shape DataSourceModel::shapeOfDataSet() const {
    Shape shape;
    MySqlDataSet* dataSet = shownDataSet();
    if (dataSet == nullptr) {
        return shape;
    }
    for (int column = 0; column < dataSet->fieldCount(); ++column) {
        shape.columns.append(fromNarrow(dataSet->field(column).fieldName()));
    }
    shape.rows = dataSet->recordCount();
    return shape;
}

void DataSourceModel::follow(bool forceReset) {
    Shape shape = shapeOfDataSet();
    const bool reset = forceReset || !(shape == shape_);
    if (reset) {
        beginResetModel();
        shape_ = std::move(shape);
        endResetModel();
    } else if (shape_.rows > 0 && !shape_.columns.isEmpty()) {
        // Same columns and rows: a move, a written row or a run giving the
        // same number of rows; the cells may have changed.
        emit dataChanged(index(0, 0), index(shape_.rows - 1, int(shape_.columns.size()) - 1));
    }
    MySqlDataSet* dataSet = shownDataSet();
    const int row = dataSet != nullptr ? dataSet->recNo() : -1;
    if (reset || row != currentRow_) {
        currentRow_ = row;
        emit currentRowChanged(row);
    }
}

bool DataSourceModel::moveToRow(int row) {
    MySqlDataSet* dataSet = shownDataSet();
    if (dataSet == nullptr || row < 0 || row >= dataSet->recordCount()) {
        return false;
    }
    // The data set moves one row at a time, as a grid's scrolling does.
    while (dataSet->recNo() != row) {
        const int before = dataSet->recNo();
        const bool moved = row < before ? dataSet->prior() : dataSet->next();
        if (!moved || dataSet->recNo() == before || shownDataSet() != dataSet) {
            return false;
        }
    }
    return true;
}

int DataSourceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shape_.rows;
}

int DataSourceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shape_.columns.size());
}

QVariant DataSourceModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    const MySqlDataSet* dataSet = shownDataSet();
    const MySqlValue* value =
        dataSet != nullptr ? dataSet->valueAt(index.row(), index.column()) : nullptr;
    if (value == nullptr || !value->has_value()) {
        return QString();
    }
    return fromNarrow(**value);
}

QVariant DataSourceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < shape_.columns.size()) {
        return shape_.columns.at(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void DataSourceModel::dataSourceChanged() {
    follow(false);
}

void DataSourceModel::dataSourceDestroyed() {
    source_ = nullptr;
    follow(true);
}
