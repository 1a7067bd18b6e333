// DocumentRange is the part of a job's documents a flow works on: the
// document table, the type code (TC, the work mode's parameter 5) and the
// load dates from and to, as they go into every statement of the flows
// ("... FROM %s WHERE TC='%s' AND Data_Carico between '%s' AND '%s'").
//
//   DocumentRange range(docTable, typeCode, loadDateFrom, loadDateTo);
//   if (!range.check(dbUtils, listener)) return false;   // before any SQL
//   dbUtils.run(range.fill(KroTableCatalog::kClearPockets, dbUtils), ...);
//
// The names come from the suite's files, so check() refuses, before any
// statement runs, a table name that is not a plain identifier (the gateway
// shows its message), a type code holding a quote, a backslash or a control
// character, and a date that did not make an "AAAA-MM-GG" text (both told
// through the listener). The quoted values are escaped for the server all
// the same.
#pragma once

#include <string>

class FlowListener;
class KroDate;
class KroDBUtils;

class DocumentRange {
public:
    // Dates as "AAAA-MM-GG".
    DocumentRange(std::string docTable, std::string typeCode, std::string from, std::string to);
    // The dates formatted "AAAA-MM-GG"; an invalid date gives an empty text,
    // which check() refuses.
    DocumentRange(std::string docTable, std::string typeCode, const KroDate& from,
                  const KroDate& to);

    bool check(KroDBUtils& dbUtils, FlowListener& listener) const;

    // A format taking the table, the type code and the two dates, filled
    // with them (the quoted values escaped).
    std::string fill(const char* format, const KroDBUtils& dbUtils) const;

    const std::string& docTable() const { return docTable_; }
    const std::string& typeCode() const { return typeCode_; }
    const std::string& from() const { return from_; }
    const std::string& to() const { return to_; }
    // The values as they go between quotes.
    std::string quotedTypeCode(const KroDBUtils& dbUtils) const;
    std::string quotedFrom(const KroDBUtils& dbUtils) const;
    std::string quotedTo(const KroDBUtils& dbUtils) const;

    // "AAAA-MM-GG" with digits where the letters are.
    static bool isSqlDate(const std::string& text);
    // No quote, backslash or control character.
    static bool isUsableTypeCode(const std::string& code);

private:
    std::string docTable_;
    std::string typeCode_;
    std::string from_;
    std::string to_;
};
