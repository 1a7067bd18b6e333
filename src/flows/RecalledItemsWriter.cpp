#include "flows/RecalledItemsWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "core/SuiteText.h"
#include "db/KroDBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "flows/DocumentRange.h"
#include "flows/FlowListener.h"
#include "platform/MySqlDataSet.h"
#include "records/KroTrack.h"

namespace {

using Catalog = KroTableCatalog;

constexpr int kUtility = -1;
constexpr const char* kWriteError = "ERRORE DURANTE LA SCRITTURA DELL'USCITA";
constexpr const char* kPocketAliases[] = {"SRT_T1", "SRT_T2", "SRT_T3", "SRT_T4"};
constexpr const char* kPocketColumns[] = {"T1", "T2", "T3", "T4"};

}  // namespace

RecalledItemsWriter::RecalledItemsWriter(KroDBUtils& dbUtils, FlowListener& listener)
    : dbUtils_(dbUtils), listener_(listener) {}

RecalledItemsWriter::Result RecalledItemsWriter::write(KroTrack& track, const DocumentRange& range,
                                                       const DocumentCounts& counts,
                                                       int blockNumber) {
    Result result;
    KroQueryBase* dataSet = dbUtils_.query(kDocumentDataSet);
    if (!range.check(dbUtils_, listener_) || dataSet == nullptr ||
        dataSet->component() == nullptr) {
        track.discard();
        return result;
    }
    result.outcome = writeFile(track, *dataSet->component(), range, counts, result.records);
    if (result.outcome == Outcome::kWritten) {
        listener_.progress(result.records, result.records);
        recordBlock(range, counts, blockNumber, result);
    }
    return result;
}

RecalledItemsWriter::Outcome RecalledItemsWriter::writeFile(KroTrack& track, MySqlDataSet& rows,
                                                            const DocumentRange& range,
                                                            const DocumentCounts& counts,
                                                            int& records) {
    listener_.statusText("Estrazione dati dal database (Attendere...)");
    rows.setStreaming(true);
    // No transaction of its own: committing it would end the reading.
    if (!dbUtils_.run(range.fill(Catalog::kRecalledFlowDocuments, dbUtils_), KroQueryBase::kOpen,
                      true, kDocumentDataSet, false)) {
        rows.setStreaming(false);
        track.discard();
        return Outcome::kQueryFailed;
    }
    listener_.statusText("Output della procedura");
    listener_.statusText("Scrittura del file di output");
    std::vector<std::string> problems;
    Outcome outcome = writeRecords(track, rows, counts.totDoc, records, problems);
    // The reading ends before the operator is told anything: a server left
    // waiting on a box for long would drop the connection.
    rows.setStreaming(false);
    if (outcome == Outcome::kWritten) {
        track.close();
    } else {
        track.discard();  // never a flow cut short for the sorter
    }
    if (outcome == Outcome::kWritten && track.status().test(KroFile::kIoErrorBit)) {
        problems.push_back(kWriteError);
        outcome = Outcome::kFileFailed;
    }
    for (const std::string& problem : problems) {
        listener_.error(problem);
    }
    return outcome;
}

void RecalledItemsWriter::recordBlock(const DocumentRange& range, const DocumentCounts& counts,
                                      int blockNumber, Result& result) {
    if (!logBlock(range, counts, blockNumber, result.loggedBlock)) {
        result.loggedBlock = 0;
        result.outcome = Outcome::kLogFailed;
        const std::string text = Catalog::fill(
            "Il file di scarico è completo ma il blocco %d non è stato registrato: ripetere lo "
            "scarico",
            blockNumber);
        listener_.monitorLine("(E) " + text);
        listener_.error(text);
        return;
    }
    if (result.loggedBlock != blockNumber) {
        listener_.monitorLine(Catalog::fill(
            "(W) Il blocco è registrato con il numero %d, il file e il lotto hanno il numero %d",
            result.loggedBlock, blockNumber));
    }
    listener_.statusText("Scarico terminato");
}

RecalledItemsWriter::Outcome RecalledItemsWriter::writeRecords(KroTrack& track, MySqlDataSet& rows,
                                                               int expected, int& records,
                                                               std::vector<std::string>& problems) {
    listener_.progress(0, expected);
    for (rows.first(); !rows.eof();) {
        if (!buildAndWrite(track, rows, problems)) {
            problems.push_back(kWriteError);
            return Outcome::kRecordFailed;
        }
        ++records;
        if (records % kProgressStep == 0) {
            listener_.progress(records, std::max(expected, records));
        }
        if (!rows.next()) {
            problems.push_back(rows.lastError());
            return Outcome::kQueryFailed;
        }
    }
    return Outcome::kWritten;
}

bool RecalledItemsWriter::writeRecord(KroTrack& track, MySqlDataSet& rows) {
    std::vector<std::string> problems;
    const bool written = buildAndWrite(track, rows, problems);
    for (const std::string& problem : problems) {
        listener_.error(problem);
    }
    return written;
}

bool RecalledItemsWriter::buildAndWrite(KroTrack& track, MySqlDataSet& rows,
                                        std::vector<std::string>& problems) {
    try {
        track.selectByName(kRecordName);
        track.activeRecord().fieldByAliasOrThrow("SRT_KEY")->setValue(
            suitetext::trimmed(rows.fieldByName("Serial").asString()));
        for (int pass = 0; pass < 4; ++pass) {
            const int64_t pocket = rows.fieldByName(kPocketColumns[pass]).asInteger();
            track.activeRecord()
                .fieldByAliasOrThrow(kPocketAliases[pass])
                ->setValue(suitetext::twoDigits(pocket));
        }
    } catch (const std::runtime_error& layoutError) {
        problems.push_back(layoutError.what());
        return false;
    }
    return track.writeActive(-1);
}

bool RecalledItemsWriter::logBlock(const DocumentRange& range, const DocumentCounts& counts,
                                   int blockNumber, int& loggedBlock) {
    // A transaction left open by a failed statement is not ours to commit.
    if (dbUtils_.inTransaction()) {
        dbUtils_.rollback();
    }
    const std::string from = range.quotedFrom(dbUtils_);
    const std::string to = range.quotedTo(dbUtils_);
    const std::string& table = range.docTable();
    // The batch first: an insert undone would still use up its Progr, so it
    // comes as late as it can.
    bool logged = runCommand(Catalog::kStartTransaction) &&
                  runCommand(Catalog::fill(Catalog::kMarkBatch, table, blockNumber,
                                           range.quotedTypeCode(dbUtils_), from, to));
    bool found = false;
    int progr = 0;
    logged = logged && findBlock(range, found, progr);
    if (logged && found) {
        logged = runCommand(Catalog::fill(Catalog::kUpdateBlock, from, to, counts.startDoc,
                                          counts.endDoc, counts.dossiers, counts.totDoc, progr));
    } else if (logged) {
        logged = runCommand(Catalog::fill(Catalog::kInsertBlock, from, to, counts.startDoc,
                                          counts.endDoc, counts.dossiers, counts.totDoc)) &&
                 findBlock(range, found, progr) && found;
    }
    logged = logged && runCommand(Catalog::fill(Catalog::kFillFirstDossier, table)) &&
             runCommand(Catalog::fill(Catalog::kFillLastDossier, table)) &&
             runCommand(Catalog::kCommit);
    if (!logged) {
        dbUtils_.rollback();
        return false;
    }
    loggedBlock = progr;
    return true;
}

// The block logged on the range's first load date: found, and its Progr
// (the first column of the first row). False when the look-up fails.
bool RecalledItemsWriter::findBlock(const DocumentRange& range, bool& found, int& progr) {
    if (!dbUtils_.run(Catalog::fill(Catalog::kBlockOfLoadDate, range.quotedFrom(dbUtils_)),
                      KroQueryBase::kOpen, true, kUtility, false)) {
        return false;
    }
    MySqlDataSet* rows = dbUtils_.currentDataSet();
    found = rows != nullptr && rows->recordCount() > 0 && rows->fieldCount() > 0;
    progr = found ? static_cast<int>(rows->field(0).asInteger()) : 0;
    return true;
}

bool RecalledItemsWriter::runCommand(const std::string& sql) {
    return dbUtils_.run(sql, KroQueryBase::kExecute, true, kUtility, false);
}
