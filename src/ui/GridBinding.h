// GridBinding makes a QTableView a data-aware grid: the grid shows the rows
// of a data source through a DataSourceModel, its current row follows the
// data set's cursor, and choosing a row in the grid moves the cursor there.
// One binding lives in each grid that has been bound, as its child:
//
//   GridBinding::of(grid)->setSource(dbUtils.dataSource(4));
//   GridBinding::of(grid)->setSource(nullptr);   // the grid shows nothing
#pragma once

#include <QObject>

#include "ui/DataSourceModel.h"

class MySqlDataSource;
class QModelIndex;
class QTableView;

class GridBinding : public QObject {
    Q_OBJECT

public:
    // The grid's binding, made on first request.
    static GridBinding* of(QTableView* grid);

    void setSource(MySqlDataSource* source);
    MySqlDataSource* source() const { return model_.source(); }
    DataSourceModel* model() { return &model_; }

private:
    explicit GridBinding(QTableView* grid);

    // Shows the data set's current row as the grid's current row.
    void showCurrentRow(int row);
    // The operator made another row current.
    void rowChosen(const QModelIndex& current);

    QTableView* grid_;
    DataSourceModel model_;
    bool showing_ = false;
};
