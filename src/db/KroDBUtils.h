// KroDBUtils is the database gateway: every statement of the program runs
// through it, in one of its numbered data sets. Built with n, it has n + 1
// data sets, 0 to n; n is the utility data set, used when a caller passes -1.
// A statement is run as a query that opens rows (mode 1) or as a statement
// that changes them (mode 0), optionally in a transaction of its own; its
// failure is shown to the operator ("Errore!", stop icon) when asked and
// reported as false; the data set keeps the row count (or the rows changed),
// -1 on failure:
//
//   KroMy_DBUtils db(box, 5, 0);
//   db.loadConnectionString(path);
//   try { db.connect(true); } catch (const std::runtime_error& e) { show(e.what()); }
//   if (db.run(sql, KroQueryBase::kOpen, true, 3, true)) rows = db.query(3)->resultCount();
//
// A failed transactional statement leaves its transaction open; the next
// transactional statement rolls it back before starting its own.
//
// Only connect(true) and dataSource() throw (std::runtime_error with the
// Italian text). Status bit 2, "Stringa di connessione mancante o non
// dichiarata", is set until a connection string is loaded; connect(true)
// refuses while any bit is set.
//
// Names the program puts into statements come from the suite's files: the
// table helpers refuse a name that is not a plain identifier (letters,
// digits, "_", "$") with a message and run nothing; callers building their
// own statements use checkIdentifier and escapeLiteral the same way.
//
// The base is independent of the database product; KroMy_DBUtils supplies
// MySQL.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/KroFastObject.h"
#include "platform/Env.h"

class KroCnnString;
class KroQueryBase;
class ModalMessageBox;
class MySqlDataSet;
class MySqlDataSource;

class KroDBUtils : public KroFastObject {
public:
    static constexpr int kNoDatabaseBit = 0;
    static constexpr int kNoCatalogBit = 1;
    static constexpr int kNoConnectionStringBit = 2;
    static constexpr int kNoServerBit = 3;

    // box: where failures are shown; tableMask: bit i makes data set i a
    // table. The derived class makes the data sets.
    KroDBUtils(ModalMessageBox& box, uint32_t tableMask, Env* env = Env::Default());
    ~KroDBUtils() override;
    KroDBUtils(const KroDBUtils&) = delete;
    KroDBUtils& operator=(const KroDBUtils&) = delete;

    const char* errorText(int bit) const override;

    virtual bool loginPrompt() const = 0;
    virtual void setLoginPrompt(bool prompt) = 0;
    // The connection's database ("" when none).
    virtual std::string databaseName() const = 0;
    virtual void setDatabaseName(const std::string& name) = 0;
    // Connects with the connection string (true) or disconnects (false).
    // Throws "Stato della connessione alterato" while the status is not 0,
    // and the server's message when the connection fails.
    virtual void connect(bool open) = 0;

    // The component of a data set; nullptr in the base and out of range.
    virtual MySqlDataSet* queryObject(int index) const;
    // Puts another component into a data set; nothing in the base.
    virtual void replaceQueryObject(int index, MySqlDataSet* component);
    // The data set (-1: the utility one); nullptr out of range.
    virtual KroQueryBase* query(int index) const;
    // The data set's data source, made on first request; throws "Data set
    // fuori dall'intervallo" outside 0 to count - 1.
    virtual MySqlDataSource* dataSource(int index);
    virtual bool inTransaction() const = 0;
    // The component of the data set of the last statement prepared.
    virtual MySqlDataSet* currentDataSet() const;
    virtual MySqlDataSet* utilityDataSet() const;
    // Frees the data sets and makes n + 1 new ones (n below 0 counts as 0).
    virtual void createDataSets(int n) = 0;
    virtual void freeDataSets();

    // Loads a statement into a data set without running it. A "%TABLE" in
    // the text becomes the data set's table name, except with index -1.
    // False when the index names no data set.
    virtual bool prepare(const std::string& sql, int mode, bool showErrors, int index,
                         bool transactional);
    // prepare, then execute.
    virtual bool run(const std::string& sql, int mode, bool showErrors, int index,
                     bool transactional);
    virtual bool runW(const std::u16string& sql, int mode, bool showErrors, int index,
                      bool transactional);
    // Runs the statement prepared in the data set; an index outside -1 to
    // count - 1 shows "La query impostata non e' nell'intervallo ammesso".
    virtual bool execute(int index) = 0;
    // "SELECT * FROM name" into the data set.
    virtual bool openTable(const std::string& name, int index);
    virtual bool dropTable(const std::string& name);
    // -1 when the table does not exist, 1 when it has rows, else 0.
    virtual int countIfExists(const std::string& name);
    virtual bool loadConnectionString(const std::string& path);
    virtual bool loadConnectionStringW(const std::u16string& path);
    virtual void freeConnectionString();
    // Whether a table matches the name as a LIKE pattern ("_" and "%" match
    // any character and any text).
    virtual bool tableExists(const std::string& name);
    virtual bool tableExistsW(const std::u16string& name);
    virtual bool startTransaction() = 0;
    virtual bool commit() = 0;
    virtual bool rollback() = 0;
    // A fresh data set of the same kind in place of one (its data source
    // goes with it).
    virtual bool recreateDataSet(int index) = 0;
    // Makes data set detailIndex run sql with the current row of data set
    // masterIndex as its parameters, following it as it moves. The master
    // is opened again with the statement last prepared in it; false (with
    // the failure shown when its data set shows errors) when it or the
    // detail cannot open.
    virtual bool linkDetail(int detailIndex, int masterIndex, const std::string& sql);

    // The rows of a table; -1 on failure.
    int count(const std::string& name);
    // Drops the table and runs the statements of the layout file (see the
    // source for the format); false when a statement fails.
    bool createTableFromLayout(const std::string& name, const std::string& path);
    bool createTableFromLayoutW(const std::u16string& name, const std::u16string& path);

    // Letters, digits, "_" and "$", not all digits, 1 to 64 characters.
    static bool isValidIdentifier(std::string_view name);
    // The same; a name that fails is shown to the operator ("Errore!").
    bool checkIdentifier(std::string_view name);
    // The value for use between single quotes in a statement.
    virtual std::string escapeLiteral(std::string_view value) const;

    // True while connected; a connection the server dropped counts as gone.
    virtual bool connected() const { return connected_; }
    bool hasConnectionString() const { return hasConnectionString_; }
    // 0 here, 3 for MySQL; informational.
    int databaseType() const { return databaseType_; }
    int dataSetCount() const { return static_cast<int>(dataSets_.size()); }
    int utilityIndex() const { return dataSetCount() - 1; }
    // The data set of the last statement prepared or run (-1: the utility
    // one, or an index that named none).
    int currentIndex() const { return currentIndex_; }
    uint32_t tableMask() const { return tableMask_; }
    // nullptr until a connection string was loaded.
    const KroCnnString* connectionString() const { return cnnString_.get(); }

protected:
    // The data set of an index, -1 the utility one; nullptr out of range.
    KroQueryBase* dataSetAt(int index) const;
    // "Errore!" with the stop icon.
    void showError(const std::string& text) const;
    bool isTable(int index) const;
    void closeUtilityDataSet();

    ModalMessageBox& box_;
    Env* env_;
    bool connected_ = false;
    bool hasConnectionString_ = false;
    int databaseType_ = 0;
    int currentIndex_ = -1;
    uint32_t tableMask_;
    std::string sql_;  // the text last prepared
    std::vector<std::unique_ptr<KroQueryBase>> dataSets_;
    std::unique_ptr<KroCnnString> cnnString_;

private:
    bool runLayoutStatement(std::string statement, const std::string& name);
};
