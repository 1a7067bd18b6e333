// MySqlDataSet is a statement with its rows: the data set behind a query or
// a table of the database gateway. open() runs a statement that returns rows
// and keeps them all, with a cursor over them; execute() runs one that
// changes rows and keeps their number:
//
//   MySqlQuery query(&connection);
//   query.setSql("SELECT Serial, T1 FROM doc WHERE TC='01'");
//   if (!query.open()) show(query.lastError());
//   for (query.first(); !query.eof(); query.next()) {
//       query.edit();
//       query.fieldByName("T1").setAsInteger(2);
//       query.post();               // UPDATE of T1 in the source table
//   }
//
// The cursor moves as in the window library's data sets: first() and next()
// walk the rows, eof() turns true on a move past the last row (and after
// last()), an empty result is eof() at once.
//
// Named parameters (":Lotto_Pres") are bound through a prepared statement.
// A data set with a master source (a detail) takes each parameter named
// like a field of the master's data set from the master's current row, and
// runs again whenever the master moves to a row with other values, while
// that data source is enabled.
//
// post() writes the changed columns back to their source table, finding the
// row by the table's primary key when the result holds all of it, otherwise
// by the original values of all the selected columns of that table (one row
// at most). Columns that are expressions are never written. Moving the
// cursor while editing posts first; close() drops the changes.
//
// Each statement runs under the command time-out, a limit the server
// enforces: past it the statement fails with the server's message.
//
// A streaming data set (setStreaming) reads the rows of open() from the
// server one at a time instead of all at once, for results too large to
// hold: only the current row is in memory. It moves forward only (first()
// only before the second row; prior() and last() refused), cannot be
// edited, counts in recordCount() the rows read so far, and holds the
// connection while it is open: any other statement on the connection ends
// it, and the next move then fails, as it does when the server breaks off
// (next() false, eof() true, lastError() the reason). It cannot be the
// master of a detail. A statement with parameters is read whole.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/MySqlField.h"
#include "platform/MySqlResult.h"
#include "platform/MySqlRowWriter.h"

class MySqlConnection;
class MySqlDataSource;
class MySqlStatement;
class MySqlStream;

class MySqlDataSet {
public:
    explicit MySqlDataSet(MySqlConnection* connection = nullptr);
    virtual ~MySqlDataSet();
    MySqlDataSet(const MySqlDataSet&) = delete;
    MySqlDataSet& operator=(const MySqlDataSet&) = delete;

    // Closes the data set.
    void setConnection(MySqlConnection* connection);
    MySqlConnection* connection() const { return connection_; }

    // Closes the data set and forgets the parameters' values.
    void setSql(const std::string& sql);
    const std::string& sql() const { return sql_; }
    // The value of a named parameter for the next run (nullopt: NULL).
    void setParam(const std::string& name, MySqlValue value);
    void clearParams() { params_.clear(); }

    // Seconds a statement may run; 0: no limit.
    void setCommandTimeout(int seconds) { commandTimeout_ = seconds; }
    int commandTimeout() const { return commandTimeout_; }

    // Rows read one at a time (see above); closes the data set.
    void setStreaming(bool streaming);
    bool streaming() const { return streaming_; }

    // Makes this data set a detail of the source's data set (nullptr: none).
    void setMasterSource(MySqlDataSource* source);
    MySqlDataSource* masterSource() const { return master_; }

    // Runs the statement and keeps its rows; the cursor on the first.
    bool open();
    // Drops the rows (and any change being edited).
    void close();
    bool active() const { return active_; }
    // Runs a statement that changes rows; a result set is read and dropped.
    bool execute();
    // Rows of the open result (streaming: read so far); 0 when closed.
    int recordCount() const;
    // Rows changed by the last execute(); -1 before one.
    int64_t rowsAffected() const { return rowsAffected_; }

    // Cursor moves; false when a change being edited could not be posted
    // (the cursor then stays), and for a streaming data set when the move
    // is refused or the next row could not be read.
    bool first();
    bool next();
    bool prior();
    bool last();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    // The current row from 0; -1 when there is none.
    int recNo() const;

    int fieldCount() const { return static_cast<int>(fields_.size()); }
    // The field of a column; index must be below fieldCount().
    MySqlField& field(int index) { return *fields_[static_cast<size_t>(index)]; }
    // The field of that name, letter case ignored; nullptr when absent.
    MySqlField* findField(std::string_view name);
    // The same, or a stand-in that reads as NULL when absent. Both live
    // until the data set is next opened.
    MySqlField& fieldByName(std::string_view name);

    // Starts changing the current row; false when there is none.
    bool edit();
    bool editing() const { return editing_; }
    // Writes the changed columns; the row stays in edit on failure.
    bool post();
    void cancel();

    // The message of the last failure.
    const std::string& lastError() const { return lastError_; }

protected:
    // The text run by open() and execute(); a table composes it.
    virtual std::string statementText() const { return sql_; }

private:
    friend class MySqlField;
    friend class MySqlDataSource;

    // Closes without telling the data sources.
    void drop();
    bool run(MySqlResult& result);
    bool openStream();
    void takeColumns(std::vector<MySqlColumn> columns);
    bool nextStreamed();
    bool refuseWhileStreaming();
    std::vector<MySqlValue> parameterValues(const MySqlStatement& statement) const;
    bool postIfEditing();
    void moveTo(int row, bool atEof, bool atBof);
    const MySqlValue* currentValue(int column) const;
    bool setCurrentValue(int column, MySqlValue value);
    // Tells the data sources over this data set that its current row changed.
    void rowChanged();
    // From the master source: its data set moved.
    void masterMoved();
    bool fail(const std::string& message);

    MySqlConnection* connection_;
    std::string sql_;
    std::vector<std::pair<std::string, MySqlValue>> params_;
    int commandTimeout_ = 0;
    MySqlDataSource* master_ = nullptr;
    std::vector<MySqlDataSource*> sources_;

    bool active_ = false;
    std::vector<MySqlColumn> columns_;
    std::vector<MySqlRow> rows_;
    std::vector<std::unique_ptr<MySqlField>> fields_;
    std::vector<std::unique_ptr<MySqlField>> missing_;
    int row_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    int64_t rowsAffected_ = -1;
    bool streaming_ = false;
    std::unique_ptr<MySqlStream> stream_;
    std::vector<MySqlValue> boundValues_;
    bool refreshing_ = false;

    bool editing_ = false;
    MySqlRow original_;
    std::vector<bool> changed_;
    MySqlRowWriter writer_;

    std::string lastError_;
};
