// KroQueryBase is one numbered data set of the database gateway: it holds
// the data-set component (a MySqlQuery or a MySqlTable) with the settings of
// the statement last prepared in it (mode, error display, transaction), the
// count the statement gave, and the data source made for the grids and the
// navigator on first request:
//
//   KroQueryBase* q = dbUtils.query(3);
//   view.bindGrid("dbgDateCarico", q->dataSource());
//
// The base holds no component of its own; KroMy_Query makes one.
#pragma once

#include <memory>
#include <string>

class MySqlDataSet;
class MySqlDataSource;
class MySqlQuery;
class MySqlTable;

class KroQueryBase {
public:
    // The statement modes.
    static constexpr int kExecute = 0;
    static constexpr int kOpen = 1;

    KroQueryBase();
    // Deletes the data source (the derived class deletes an owned component).
    virtual ~KroQueryBase();
    KroQueryBase(const KroQueryBase&) = delete;
    KroQueryBase& operator=(const KroQueryBase&) = delete;

    // The component when it is a query, else nullptr.
    virtual MySqlQuery* asQuery() const;
    // Puts another component in; nothing in the base.
    virtual void setComponent(MySqlDataSet* component);
    // The component when it is a table, else nullptr.
    virtual MySqlTable* asTable() const;
    // A general-purpose flag for the caller.
    virtual bool flag() const { return flag_; }
    virtual void setFlag(bool value) { flag_ = value; }

    MySqlDataSet* component() const { return component_; }
    // Made on first request over the component, and kept.
    MySqlDataSource* dataSource();

    // Replaces "%TABLE" in the statements prepared for this data set.
    const std::string& tableName() const { return tableName_; }
    void setTableName(const std::string& name) { tableName_ = name; }

    bool transactional() const { return transactional_; }
    void setTransactional(bool value) { transactional_ = value; }
    bool showErrors() const { return showErrors_; }
    void setShowErrors(bool value) { showErrors_ = value; }
    // kOpen stays kOpen; any other value becomes kExecute.
    int mode() const { return mode_; }
    void setMode(int mode) { mode_ = mode == kOpen ? kOpen : kExecute; }
    // -1 before a statement ran; then the rows of an opened query or the
    // rows a statement changed.
    int resultCount() const { return resultCount_; }
    void setResultCount(int count) { resultCount_ = count; }

protected:
    // The data source follows the component that replaces its own.
    void componentReplaced();

    MySqlDataSet* component_ = nullptr;

private:
    std::unique_ptr<MySqlDataSource> dataSource_;
    std::string tableName_;
    bool flag_ = false;
    bool transactional_ = false;
    bool showErrors_ = false;
    int mode_ = kOpen;
    int resultCount_ = -1;
};
