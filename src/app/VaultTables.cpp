#include "app/VaultTables.h"

#include "app/OutputView.h"
#include "core/KroDate.h"
#include "core/Text.h"
#include "db/KroDBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "platform/MySqlDataSet.h"
#include "records/KroFileUtilities.h"

VaultTables::VaultTables(KroDBUtils& dbUtils, OutputView& view) : dbUtils_(dbUtils), view_(view) {}

bool VaultTables::open(const std::string& docTable,
                       const std::optional<std::string>& patternFolder) {
    // The name comes from the witness's job: only a plain name goes into a
    // statement (the gateway shows why another one is refused).
    const bool nameIsUsable = dbUtils_.checkIdentifier(docTable);
    bool ok = nameIsUsable && checkDocumentTable(docTable);
    listLoadDates(docTable, nameIsUsable);
    ok = ensureExtractionLog(patternFolder) && ok;
    listExtractionLog();
    return ok;
}

bool VaultTables::checkDocumentTable(const std::string& docTable) {
    if (dbUtils_.tableExists(docTable)) {
        return true;
    }
    view_.show(u"Non esiste la tabella di lavoro!", u"Errore!",
               ModalMessageBox::kIconError | ModalMessageBox::kOk);
    return false;
}

void VaultTables::listLoadDates(const std::string& docTable, bool nameIsUsable) {
    if (nameIsUsable) {
        dbUtils_.run(KroTableCatalog::fill(KroTableCatalog::kLoadDates, docTable),
                     KroQueryBase::kOpen, true, kLoadDatesDataSet, true);
    }
    view_.bindGrid("dbgDateCarico", dbUtils_.dataSource(kLoadDatesDataSet));
}

bool VaultTables::ensureExtractionLog(const std::optional<std::string>& patternFolder) {
    const std::string table = KroTableCatalog::kExtractionLogTable;
    if (dbUtils_.tableExists(table)) {
        return true;
    }
    if (!patternFolder || patternFolder->empty()) {
        return false;  // no folder to find the layout in
    }
    std::string path = *patternFolder;
    if (path.back() != '/' && path.back() != '\\') {
        path += KroFileUtilities::kNativeSeparator;
    }
    return dbUtils_.createTableFromLayout(table, path + table + ".TBL");
}

void VaultTables::listExtractionLog() {
    dbUtils_.run(KroTableCatalog::kExtractionLog, KroQueryBase::kOpen, true, kExtractionLogDataSet,
                 true);
    view_.bindGrid("dbgOrvax", dbUtils_.dataSource(kExtractionLogDataSet));
}

int VaultTables::proposeNextBlock(const std::string& docTable, KroDate& workDate,
                                  KroDate& loadDateFrom) {
    // The rows of the log, whatever their numbers: gaps in Progr do not count.
    const int rows = dbUtils_.query(kExtractionLogDataSet)->resultCount();
    if (rows >= 1) {
        proposeFromLastBlock(workDate, loadDateFrom);
        return rows + 1;
    }
    proposeFromDocuments(docTable, loadDateFrom);
    return 1;
}

void VaultTables::proposeFromLastBlock(KroDate& workDate, KroDate& loadDateFrom) {
    MySqlDataSet* log = dbUtils_.query(kExtractionLogDataSet)->component();
    if (log == nullptr || !log->active()) {
        return;
    }
    log->last();  // the highest Progr
    if (workDate.parse(log->fieldByName("DataCaricoFin").asString())) {
        workDate.nextDay();
        loadDateFrom.assign(workDate);
    }
}

void VaultTables::proposeFromDocuments(const std::string& docTable, KroDate& loadDateFrom) {
    MySqlDataSet* utility = dbUtils_.utilityDataSet();
    const bool ran = KroDBUtils::isValidIdentifier(docTable) &&
                     dbUtils_.run(KroTableCatalog::fill(KroTableCatalog::kFirstLoadDate, docTable),
                                  KroQueryBase::kOpen, true, -1, true);
    const bool found = ran && utility != nullptr && utility->active() &&
                       loadDateFrom.parse(utility->fieldByName("DataMin").asString());
    if (!found) {
        loadDateFrom.set(1, 1, 2000);
    }
}
