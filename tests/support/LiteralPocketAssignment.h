// The pocket assignment done the plain way, document by document, as the
// reference the set-based PocketAssignment is compared with (tests) and
// measured against (benchmark): the old pockets cleared, the documents of the
// range selected in data set 2 in the order Data_Carico, Condizione, Prg,
// Doc_Prg, and each document edited and posted with its pocket, one UPDATE
// per document committed on its own. No transaction spans the whole.
//
//   int assigned = literalAssignPockets(dbUtils, "DOC", "01", "2024-03-01",
//                                       "2024-03-05", startDoc, 22);
#pragma once

#include <string>

class KroDBUtils;

// The documents given a pocket; -1 when a statement or a post failed.
int literalAssignPockets(KroDBUtils& dbUtils, const std::string& docTable,
                         const std::string& typeCode, const std::string& from,
                         const std::string& to, int startDoc, int lastPocket);
