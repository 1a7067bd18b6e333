#include "ui/GridBinding.h"

#include <QItemSelectionModel>
#include <QTableView>

namespace {

constexpr const char* kBindingName = "gridBinding";

}  // namespace

GridBinding* GridBinding::of(QTableView* grid) {
    auto* binding =
        grid->findChild<GridBinding*>(QLatin1String(kBindingName), Qt::FindDirectChildrenOnly);
    return binding != nullptr ? binding : new GridBinding(grid);
}

GridBinding::GridBinding(QTableView* grid) : QObject(grid), grid_(grid) {
    setObjectName(QLatin1String(kBindingName));
    grid_->setModel(&model_);
    connect(&model_, &DataSourceModel::currentRowChanged, this, &GridBinding::showCurrentRow);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &GridBinding::rowChosen);
}

void GridBinding::setSource(MySqlDataSource* source) {
    model_.setSource(source);
}

void GridBinding::showCurrentRow(int row) {
    showing_ = true;
    QItemSelectionModel* selection = grid_->selectionModel();
    const QModelIndex index = model_.index(row, qMax(grid_->currentIndex().column(), 0));
    if (index.isValid()) {
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        grid_->scrollTo(index);
    } else {
        selection->clear();
    }
    showing_ = false;
}

void GridBinding::rowChosen(const QModelIndex& current) {
    if (showing_ || !current.isValid()) {
        return;
    }
    model_.moveToRow(current.row());
    // A refused move puts the grid back on the data set's row.
    if (model_.currentRow() != current.row()) {
        showCurrentRow(model_.currentRow());
    }
}
