#include "flows/PocketAssignment.h"

#include <algorithm>

#include "db/KroDBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "flows/DocumentRange.h"
#include "flows/FlowListener.h"
#include "platform/MySqlDataSet.h"

namespace {

using Catalog = KroTableCatalog;

constexpr int kUtility = -1;

int asInt(MySqlDataSet* dataSet, const char* name) {
    return dataSet != nullptr ? static_cast<int>(dataSet->fieldByName(name).asInteger()) : 0;
}

}  // namespace

PocketAssignment::PocketAssignment(KroDBUtils& dbUtils, FlowListener& listener)
    : dbUtils_(dbUtils), listener_(listener) {}

int PocketAssignment::fillSerials(const std::string& docTable) {
    if (!dbUtils_.checkIdentifier(docTable)) {
        return -1;
    }
    if (!dbUtils_.run(Catalog::fill(Catalog::kFillSerials, docTable), KroQueryBase::kExecute, true,
                      kUtility, true)) {
        return -1;
    }
    const int filled = dbUtils_.query(kUtility)->resultCount();
    if (filled > 0) {
        listener_.monitorLine(Catalog::fill("Sono stati attribuiti %d serial=Num_Effetto", filled));
    }
    return filled;
}

bool PocketAssignment::countDocuments(const DocumentRange& range, DocumentCounts& counts) {
    if (!range.check(dbUtils_, listener_)) {
        return false;
    }
    dbUtils_.run(range.fill(Catalog::kDossierCounts, dbUtils_), KroQueryBase::kOpen, true, kUtility,
                 true);
    const int dossiers = dbUtils_.query(kUtility)->resultCount();
    if (dossiers < 1) {
        listener_.error("Nessuna pratica estratta");
        return false;
    }
    counts.dossiers = dossiers;
    dbUtils_.run(range.fill(Catalog::kDossierRange, dbUtils_), KroQueryBase::kOpen, true, kUtility,
                 true);
    MySqlDataSet* figures = dbUtils_.currentDataSet();
    counts.totDoc = asInt(figures, "TotDoc");
    counts.startDoc = asInt(figures, "StartDoc");
    counts.endDoc = asInt(figures, "EndDoc");
    if (figures != nullptr) {
        figures->close();
    }
    if (counts.totDoc == 0) {
        listener_.error("Non ci sono effetti da selezionare");
        return false;
    }
    return true;
}

int PocketAssignment::assignPockets(const DocumentRange& range, int startDoc, int lastPocket) {
    listener_.statusText("Cancellazione vecchie assegnazioni");
    if (!range.check(dbUtils_, listener_)) {
        return -1;
    }
    // A transaction left open by a failed statement is not ours to commit.
    if (dbUtils_.inTransaction()) {
        dbUtils_.rollback();
    }
    if (!runCommand(Catalog::kStartTransaction) ||
        !runCommand(range.fill(Catalog::kClearPockets, dbUtils_))) {
        return undo("Errore: Query Cancellazione Caselle preesist.)");
    }
    listener_.monitorLine(
        "Passi di selezione necessari: UNO!\r\nSvuota sempre le caselle man mano che si "
        "riempiono!!!");
    listener_.statusText(
        "Assegnazione tasche  (Attendere! può richiedere un tempo anche lungo)...");
    const int cycle = std::max(lastPocket - 1, 1);
    const std::string typeCode = range.quotedTypeCode(dbUtils_);
    const std::string from = range.quotedFrom(dbUtils_);
    const std::string to = range.quotedTo(dbUtils_);
    const std::string assign =
        Catalog::fill(Catalog::kAssignPockets, range.docTable(), cycle, startDoc, range.docTable(),
                      typeCode, from, to, typeCode, from, to);
    if (!runCommand(assign)) {
        return undo("Errore nella query di ingresso n .1");
    }
    const int assigned = dbUtils_.query(kUtility)->resultCount();
    if (!runCommand(Catalog::kCommit)) {
        return undo("Errore nella query di ingresso n .1");
    }
    listener_.progress(assigned, assigned);
    return assigned;
}

bool PocketAssignment::runCommand(const std::string& sql) {
    return dbUtils_.run(sql, KroQueryBase::kExecute, true, kUtility, false);
}

int PocketAssignment::undo(const char* message) {
    // A server that went away has rolled back already; the call then fails
    // quietly.
    dbUtils_.rollback();
    listener_.error(message);
    listener_.monitorLine(
        "(E) Assegnazione tasche annullata: le caselle del periodo sono rimaste quelle di prima");
    return -1;
}
