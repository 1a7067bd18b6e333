// MySqlStream is the result of one statement read from the server a row at a
// time (an unbuffered result), for results too large to hold whole: only the
// row just read is in memory.
//
//   MySqlStream stream;
//   if (!stream.open(connection, "SELECT * FROM doc ORDER BY Prg")) show(stream.lastError());
//   MySqlRow row;
//   while (stream.next(row)) write(row);
//   if (stream.failed()) show(stream.lastError());   // not all rows came
//
// While it is open the connection is busy with it: the connection ends it
// before it runs any other statement (MySqlConnection::endStream), and the
// rows not read by then are lost, so next() then fails with
// kInterruptedText. A server that breaks off mid-way fails next() with its
// message. Closing reads and drops the rows left, so the connection is free
// again afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MySqlResult.h"

class MySqlConnection;
struct st_mysql_res;

class MySqlStream {
public:
    static constexpr const char* kInterruptedText =
        "Lettura delle righe interrotta da un'altra istruzione";
    static constexpr const char* kNoRowsText = "L'istruzione non restituisce righe";

    MySqlStream() = default;
    ~MySqlStream();
    MySqlStream(const MySqlStream&) = delete;
    MySqlStream& operator=(const MySqlStream&) = delete;

    // Runs the statement (a text without parameters) and describes its
    // columns; the rows stay on the server until next() reads them. False
    // when the statement fails or returns no rows.
    bool open(MySqlConnection& connection, std::string_view sql);
    // Reads the next row into row. False at the end of the rows (row left as
    // it was), and on a failure (failed() then tells).
    bool next(MySqlRow& row);
    // Drops the rows not read and frees the connection.
    void close();

    bool isOpen() const { return result_ != nullptr; }
    const std::vector<MySqlColumn>& columns() const { return columns_; }
    int64_t rowsRead() const { return rowsRead_; }
    // The rows ended early: the server broke off or another statement ran.
    bool failed() const { return failed_; }
    const std::string& lastError() const { return lastError_; }

private:
    friend class MySqlConnection;

    // From the connection: another statement is about to run.
    void interrupt();
    void release();
    bool fail(const std::string& message);

    MySqlConnection* connection_ = nullptr;
    st_mysql_res* result_ = nullptr;
    std::vector<MySqlColumn> columns_;
    int64_t rowsRead_ = 0;
    bool failed_ = false;
    std::string lastError_;
};
