// MySqlDataSource connects a data set to what follows its current row: the
// grids and navigator of the window and the detail data sets whose master
// source it is. While it is disabled, moves of its data set are not passed
// on; enabling it passes on the current row.
//
//   MySqlDataSource masterSource(&master);
//   detail.setMasterSource(&masterSource);   // detail follows master's row
//
// What shows the rows (a grid, a navigator) observes the source: it is told
// of every change of the data set's rows, current row or state, and when the
// source goes away:
//
//   source.addObserver(&gridModel);      // gridModel.dataSourceChanged() ...
//
// Links in both directions are undone when either side is destroyed.
#pragma once

#include <vector>

class MySqlDataSet;

// Something that shows a data source's rows and follows them.
class MySqlDataSourceObserver {
public:
    // The data set was opened, closed or moved, a row was written, the
    // source was enabled or disabled, or it was given another data set.
    virtual void dataSourceChanged() = 0;
    // The source is being destroyed; it is not to be used any more.
    virtual void dataSourceDestroyed() = 0;

protected:
    ~MySqlDataSourceObserver() = default;
};

class MySqlDataSource {
public:
    explicit MySqlDataSource(MySqlDataSet* dataSet = nullptr);
    ~MySqlDataSource();
    MySqlDataSource(const MySqlDataSource&) = delete;
    MySqlDataSource& operator=(const MySqlDataSource&) = delete;

    void setDataSet(MySqlDataSet* dataSet);
    MySqlDataSet* dataSet() const { return dataSet_; }

    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }

    // An observer is told while it is added; adding it twice adds it once.
    void addObserver(MySqlDataSourceObserver* observer);
    void removeObserver(MySqlDataSourceObserver* observer);

private:
    friend class MySqlDataSet;

    // From the data set: its current row changed.
    void rowChanged();
    // From the data set: it is being destroyed.
    void dataSetDestroyed();
    void tellObservers();

    MySqlDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    std::vector<MySqlDataSet*> details_;
    std::vector<MySqlDataSourceObserver*> observers_;
};
