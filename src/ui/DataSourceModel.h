// DataSourceModel shows the rows of a data source's data set in a grid: one
// column per field, titled with the field's name, one row per record, each
// cell the field's text (NULL shows empty). It reads the rows the data set
// keeps in memory without moving its cursor, and follows the source as the
// window library's grids do:
//
//   DataSourceModel model;
//   grid->setModel(&model);
//   model.setSource(dbUtils.dataSource(3));   // the rows of data set 3
//
// - a data set opened again, closed, or given other rows resets the model
//   (its columns or row count changed) or refreshes every cell;
// - a closed data set, a disabled source, a source without a data set and
//   no source at all show no rows, and nothing is read from them;
// - a source or data set that is destroyed leaves the model empty;
// - the data set's current row is told through currentRowChanged, and
//   moveToRow moves the cursor to the row the operator chose.
//
// Texts are the suite's Windows-1252 bytes, converted to UTF-16 for Qt.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include "platform/MySqlDataSource.h"

class MySqlDataSet;

class DataSourceModel : public QAbstractTableModel, public MySqlDataSourceObserver {
    Q_OBJECT

public:
    explicit DataSourceModel(QObject* parent = nullptr);
    ~DataSourceModel() override;

    // Shows the rows of the source (nullptr: none); always resets.
    void setSource(MySqlDataSource* source);
    MySqlDataSource* source() const { return source_; }

    // The data set's current row as shown; -1 when none.
    int currentRow() const { return currentRow_; }
    // Moves the data set's cursor to the row; false when the row is not
    // shown or the data set refused the move.
    bool moveToRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void dataSourceChanged() override;
    void dataSourceDestroyed() override;

signals:
    // The data set's cursor is on another row (-1: none).
    void currentRowChanged(int row);

private:
    // What the views were told: the column titles and the number of rows.
    struct Shape {
        QStringList columns;
        int rows = 0;
        bool operator==(const Shape& other) const = default;
    };

    // The data set whose rows are shown; nullptr when nothing is.
    MySqlDataSet* shownDataSet() const;
    Shape shapeOfDataSet() const;
    // Brings the views up to the data set's state.
    void follow(bool forceReset);
    void detach();

    MySqlDataSource* source_ = nullptr;
    Shape shape_;
    int currentRow_ = -1;
};
