// TableLayoutFile reads a table-layout file (<table>.TBL, shipped with the
// suite) into the statements that make the table, one at a time, so that
// the gateway can drop the old table only once the file is at hand and stop
// at the first statement that fails:
//
//   TableLayoutFile layout(name, env);
//   std::string error;
//   if (!layout.open(path, &error)) show(error);
//   for (std::string sql; layout.nextStatement(&sql);) run(sql with "%TABLE" named);
//
// The file holds lines of at most 258 characters (a longer line goes on as
// the next one), non-printable characters read as blanks:
// - an empty line, or one beginning with a blank or ";", is skipped;
// - a line beginning "[T" (the table section) is skipped;
// - a line beginning "[I" ends the statement (closing the column list of
//   the CREATE TABLE when still open); the next one starts;
// - any other line adds a blank and its text up to its first ";".
// The first statement begins "CREATE TABLE <name>("; the end of the file
// ends the last one (closing the column list when still open), unless
// nothing came after an "[I" line. A "%TABLE" in the lines is left for the
// caller.
#pragma once

#include <string>

#include "platform/Env.h"
#include "records/KroFile.h"

class TableLayoutFile {
public:
    // tableName: the table the first statement creates.
    TableLayoutFile(const std::string& tableName, Env* env);

    // Opens the file read only; on failure false and, in *error, the record
    // file's text ("Apertura di <path>\r\n non riuscita").
    bool open(const std::string& path, std::string* error);
    // The next statement; false when there is none left.
    bool nextStatement(std::string* statement);

private:
    KroFile file_;
    std::string statement_;
    bool columnListOpen_ = true;
    bool ended_ = false;
};
