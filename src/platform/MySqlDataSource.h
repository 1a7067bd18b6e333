// MySqlDataSource connects a data set to what follows its current row: the
// grids and navigator of the window and the detail data sets whose master
// source it is. While it is disabled, moves of its data set are not passed
// on; enabling it passes on the current row.
//
//   MySqlDataSource masterSource(&master);
//   detail.setMasterSource(&masterSource);   // detail follows master's row
//
// Links in both directions are undone when either side is destroyed.
#pragma once

#include <vector>

class MySqlDataSet;

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

private:
    friend class MySqlDataSet;

    // From the data set: its current row changed.
    void rowChanged();

    MySqlDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    std::vector<MySqlDataSet*> details_;
};
