// MySqlStatement is one SQL text ready to run on a connection. Named
// parameters (":Lotto_Pres") outside quotes and comments become markers of
// a prepared statement and their values are bound, never pasted into the
// text; a text without parameters runs as it is.
//
//   MySqlStatement statement("SELECT * FROM t WHERE Lotto_Pres=:Lotto_Pres");
//   MySqlResult result;
//   if (!statement.run(connection, {MySqlValue("7")}, result)) ...
//
// The whole result is read at once, so the connection is free again when run
// returns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/MySqlResult.h"

class MySqlConnection;
struct st_mysql_res;

class MySqlStatement {
public:
    explicit MySqlStatement(std::string_view sql);

    // The text sent to the server: the parameters replaced by "?".
    const std::string& text() const { return text_; }
    // The parameters' names in the order of the text, a name as often as it
    // occurs.
    const std::vector<std::string>& parameterNames() const { return names_; }

    // Runs it with one value per parameter name; false with the failure in
    // the connection's lastError().
    bool run(MySqlConnection& connection, const std::vector<MySqlValue>& values,
             MySqlResult& result) const;

    // The columns of a result as the server describes them (for the layer's
    // readers of results).
    static void describeColumns(st_mysql_res* metadata, std::vector<MySqlColumn>& columns);

private:
    bool runText(MySqlConnection& connection, MySqlResult& result) const;
    bool runPrepared(MySqlConnection& connection, const std::vector<MySqlValue>& values,
                     MySqlResult& result) const;

    std::string text_;
    std::vector<std::string> names_;
};
