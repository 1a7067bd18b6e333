#include "flows/SelectionFlowWriter.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "core/SuiteText.h"
#include "db/KroDBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "flows/FlowListener.h"
#include "platform/MySqlDataSet.h"
#include "platform/MySqlField.h"
#include "records/KroTrack.h"

namespace {

using Catalog = KroTableCatalog;

constexpr int kUtility = -1;
constexpr const char* kWriteError = "ERRORE DURANTE LA SCRITTURA DELL'USCITA";
constexpr const char* kSqlDate = "AAAA-MM-GG";
constexpr const char* kNoRecalledTable =
    "La tabella dei Richiamati (Caveau_RR_VER) non è nel database\r\nLa selezione mette i "
    "richiamati nella casella 23";
constexpr const char* kAskForAll =
    "Le date estreme non sono state estratte\r\nContinuo mettendo tutti i richiamati?";
constexpr const char* kEmptyPockets[] = {"SRT_T2", "SRT_T3", "SRT_T4"};

}  // namespace

std::string SelectionFlowWriter::DueDates::shown(bool lowest, const char* pattern) {
    KroDate& date = lowest ? from : to;
    if (!(lowest ? fromRead : toRead)) {
        return kUnreadableDate;
    }
    const char* text = pattern != nullptr ? date.format(pattern) : date.formatDefault();
    return text != nullptr ? text : kUnreadableDate;
}

SelectionFlowWriter::SelectionFlowWriter(KroDBUtils& dbUtils, FlowListener& listener, Job job)
    : dbUtils_(dbUtils), listener_(listener), job_(std::move(job)) {}

bool SelectionFlowWriter::verify() {
    checkGuide();
    endOpenTransaction();
    return true;
}

void SelectionFlowWriter::checkGuide() {
    if (!dbUtils_.tableExists(Catalog::kRecalledTable)) {
        listener_.warning(kNoRecalledTable);
        return;
    }
    DueDates dates = readDueDates(Catalog::kGuideDueDates, "ScadMin", "ScadMax");
    if (dates.queried) {
        listener_.monitorLine(Catalog::fill("Estrazione da %s da: %s a %s", job_.name,
                                            dates.shown(true, kSqlDate),
                                            dates.shown(false, kSqlDate)));
    } else {
        listener_.monitorLine(Catalog::fill(
            "(W) Le date di scadenza della guida di %s non sono state lette", job_.name));
    }
    listener_.monitorLine(Catalog::fill(
        "Gli eventuali effetti richiamati (associati nel contr. caveau) saranno inseriti in "
        "tasca %d",
        job_.returnsPocket));
}

SelectionFlowWriter::Result SelectionFlowWriter::write(KroTrack& track) {
    Result result = writeFile(track);
    endOpenTransaction();
    return result;
}

SelectionFlowWriter::Result SelectionFlowWriter::writeFile(KroTrack& track) {
    Result result;
    listener_.statusText("Scarico flusso di selezione");
    if (!writeGuide(track, result.guideRecords)) {
        return fail(track, result);
    }
    DueDates dates = readDueDates(Catalog::kGuideDueDatesShort, "miscad", "mascad");
    if (!dates.queried) {
        return fail(track, result);
    }
    if (!dates.complete() && !listener_.question(kAskForAll, "Attenzione")) {
        return fail(track, result);
    }
    listener_.monitorLine("Intervallo date dei richiamati:");
    listener_.monitorLine(Catalog::fill("Inizio: %s  - Fine: %s", dates.shown(true, nullptr),
                                        dates.shown(false, nullptr)));
    if (!writeRecalled(track, dates, result.recalledRecords)) {
        return fail(track, result);
    }
    track.close();  // a file left empty is removed
    if (track.status().test(KroFile::kIoErrorBit)) {
        listener_.error(kWriteError);
        return fail(track, result);
    }
    result.written = true;
    return result;
}

bool SelectionFlowWriter::writeGuide(KroTrack& track, int& records) {
    if (!guideTableChecked() || !dbUtils_.run(guideSql(Catalog::kGuidePockets), KroQueryBase::kOpen,
                                              true, kRowsDataSet, true)) {
        return false;
    }
    MySqlDataSet* rows = dbUtils_.queryObject(kRowsDataSet);
    return rows != nullptr && writeRows(track, *rows, 0, false, records);
}

bool SelectionFlowWriter::writeRecalled(KroTrack& track, DueDates& dates, int& records) {
    std::string sql = Catalog::kRecalledItems;
    if (dates.complete()) {
        const std::string from = dates.shown(true, kSqlDate);
        const std::string to = dates.shown(false, kSqlDate);
        sql = Catalog::fill(Catalog::kRecalledItemsInRange, from, to,
                            dbUtils_.escapeLiteral(job_.type));
    }
    // A failure (CAVEAU_RR_VER missing) is shown by the gateway and leaves
    // nothing to append; the guide's file still goes to the sorter.
    const bool ran = dbUtils_.run(sql, KroQueryBase::kOpen, true, kRowsDataSet, true);
    listener_.monitorLine(Catalog::fill("Intervallo date per i richiamati: %s e %s",
                                        dates.shown(true, "GG-MM-AAAA"),
                                        dates.shown(false, "GG-MM-AAAA")));
    KroQueryBase* query = dbUtils_.query(kRowsDataSet);
    MySqlDataSet* rows = dbUtils_.queryObject(kRowsDataSet);
    const int count = ran && query != nullptr && rows != nullptr ? query->resultCount() : -1;
    if (count <= 0) {
        return true;
    }
    listener_.monitorLine(Catalog::fill("Vengono aggiunti %d rich. %s in coda (tasca assegnata %d)",
                                        count, job_.type, job_.returnsPocket));
    listener_.statusText("Scarico flusso resi");
    return writeRows(track, *rows, job_.returnsPocket, true, records);
}

bool SelectionFlowWriter::writeRows(KroTrack& track, MySqlDataSet& rows, int pocket, bool recalled,
                                    int& records) {
    const int total = rows.recordCount();
    listener_.progress(0, total);
    for (rows.first(); !rows.eof(); rows.next()) {
        std::string problem;
        if (!writeRecord(track, rows, pocket, recalled, problem)) {
            listener_.error(problem.empty() ? kWriteError : problem);
            return false;
        }
        ++records;
        if (records % kProgressStep == 0) {
            listener_.progress(records, total);
        }
    }
    listener_.progress(total, total);
    return true;
}

bool SelectionFlowWriter::writeRecord(KroTrack& track, MySqlDataSet& rows, int pocket,
                                      bool recalled, std::string& problem) {
    try {
        if (!track.selectByName(kRecordName)) {
            problem = Catalog::fill("Il tracciato non ha il record %s", kRecordName);
            return false;
        }
        KroRecord& record = track.activeRecord();
        if (pocket == 0) {
            pocket = static_cast<int>(rows.fieldByName("T1").asInteger());
        }
        record.fieldByAliasOrThrow("SRT_KEY")->setValue(
            suitetext::trimmed(rows.fieldByName(recalled ? "SERIAL" : "Serial").asString()));
        record.fieldByAliasOrThrow("SRT_T1")->setValue(suitetext::twoDigits(pocket));
        for (const char* alias : kEmptyPockets) {
            record.fieldByAliasOrThrow(alias)->setValue("00");
        }
        KroField* stamp = record.fieldByAlias("SRT_STAMP_NO");
        if (job_.defaultStamp != 0 && stamp != nullptr && !recalled) {
            const int64_t own = rows.fieldByName("FRZ_Z1").asInteger();
            stamp->setValue(std::to_string(own > 0 ? own : job_.defaultStamp));
        }
    } catch (const std::runtime_error& layoutError) {
        problem = layoutError.what();
        return false;
    }
    return track.writeActive(-1);
}

SelectionFlowWriter::DueDates SelectionFlowWriter::readDueDates(const char* format,
                                                                const char* fromColumn,
                                                                const char* toColumn) {
    DueDates dates;
    if (!guideTableChecked() ||
        !dbUtils_.run(guideSql(format), KroQueryBase::kOpen, true, kUtility, true)) {
        return dates;
    }
    dates.queried = true;
    MySqlDataSet* rows = dbUtils_.currentDataSet();
    if (rows != nullptr && rows->recordCount() > 0) {
        rows->first();
        dates.fromRead = dates.from.parse(rows->fieldByName(fromColumn).asString());
        dates.toRead = dates.to.parse(rows->fieldByName(toColumn).asString());
    }
    return dates;
}

// A removed file cannot be mistaken by the sorter for a complete one.
void SelectionFlowWriter::abandonFile(KroTrack& track) {
    track.discard();
}

SelectionFlowWriter::Result SelectionFlowWriter::fail(KroTrack& track, Result result) {
    abandonFile(track);
    listener_.monitorLine(kAborted);
    result.written = false;
    return result;
}

// A failed statement leaves its transaction open, holding the locks of the
// tables it reached (a guide table could not be dropped or altered by the
// suite meanwhile). The flow only reads: nothing is lost by ending it.
void SelectionFlowWriter::endOpenTransaction() {
    if (dbUtils_.inTransaction()) {
        dbUtils_.rollback();
    }
}

bool SelectionFlowWriter::guideTableChecked() {
    return dbUtils_.checkIdentifier(Catalog::guideDocumentTable(job_.name, job_.date));
}

std::string SelectionFlowWriter::guideSql(const char* format) const {
    return Catalog::fill(format, job_.name, job_.date);
}
