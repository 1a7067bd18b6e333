#include "support/LiteralPocketAssignment.h"

#include "db/KroDBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "platform/MySqlDataSet.h"

int literalAssignPockets(KroDBUtils& dbUtils, const std::string& docTable,
                         const std::string& typeCode, const std::string& from,
                         const std::string& to, int startDoc, int lastPocket) {
    using Catalog = KroTableCatalog;
    constexpr int kRowsDataSet = 2;
    const std::string code = dbUtils.escapeLiteral(typeCode);
    if (!dbUtils.run(Catalog::fill(Catalog::kClearPockets, docTable, code, from, to),
                     KroQueryBase::kExecute, true, -1, true) ||
        !dbUtils.run(Catalog::fill(Catalog::kPocketRows, startDoc, docTable, code, from, to),
                     KroQueryBase::kOpen, true, kRowsDataSet, true)) {
        return -1;
    }
    MySqlDataSet& rows = *dbUtils.currentDataSet();
    int pocket = 1;
    int64_t previous = -1;
    int assigned = 0;
    for (rows.first(); !rows.eof(); rows.next()) {
        const int64_t prg = rows.fieldByName("Prg").asInteger();
        if (prg != previous) {
            if (++pocket > lastPocket) {
                pocket = 2;
            }
            previous = prg;
        }
        if (!rows.edit()) {
            return -1;
        }
        for (const char* column : {"T1", "T2", "T3", "T4"}) {
            rows.fieldByName(column).setAsInteger(pocket);
        }
        if (!rows.post()) {
            return -1;
        }
        ++assigned;
    }
    rows.close();
    return assigned;
}
