#include "flows/RemittanceReport.h"

#include <cstdio>
#include <stdexcept>

#include "core/KroDate.h"
#include "db/KroDBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "platform/MySqlDataSet.h"
#include "platform/MySqlField.h"
#include "records/KroFile.h"

namespace {

using Catalog = KroTableCatalog;

constexpr int kUtility = -1;
constexpr const char* kColumnHeading =
    "Tp  Prg  N.Pass.  PRATICA        CMC7     NUM_EFF  FIL     IMPORTO     SCADENZA  DEBITORE";
constexpr const char* kFooter =
    "* * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * *";
// Written as one line: two line ends of its own and the line's, three empty lines.
constexpr const char* kThreeEmptyLines = "\r\n\r\n";
constexpr const char* kDayOfYearMark = "_GGG";
const std::string kNoSerial(12, ' ');
const std::string kNoDueDate(10, ' ');

// A whole number by a printf format taking one long long.
std::string number(const char* format, long long value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "%13.2f" with a comma for the decimal point. The point itself is
// replaced, so an amount wider than the column keeps all its digits.
std::string amount(double value) {
    char text[512];
    std::snprintf(text, sizeof text, "%13.2f", value);
    std::string shown = text;
    const size_t point = shown.rfind('.');
    if (point != std::string::npos) {
        shown[point] = ',';
    }
    return shown;
}

}  // namespace

RemittanceReport::RemittanceReport(KroDBUtils& dbUtils, Listener& listener,
                                   std::unique_ptr<KroFile>& file, KroDate& workDate, Env* env)
    : dbUtils_(dbUtils), listener_(listener), file_(file), workDate_(workDate), env_(env) {}

RemittanceReport::Result RemittanceReport::WriteRemittances(const Job& job,
                                                            const std::string& name) {
    Result result;
    if (!acceptJob(job)) {
        listener_.monitorLine(kAborted);
        return result;
    }
    if (!OpenReportFile(name)) {
        result.outcome = Outcome::kFileFailed;
        return result;
    }
    KroQueryBase* remittances = dbUtils_.query(kRemittanceDataSet);
    KroQueryBase* documents = dbUtils_.query(kDocumentDataSet);
    Outcome outcome = Outcome::kQueryFailed;
    if (remittances != nullptr && remittances->component() != nullptr && documents != nullptr &&
        documents->component() != nullptr && SelectRemittances()) {
        listener_.statusText("Output della procedura");
        listener_.statusText("Scrittura del file di output");
        outcome =
            writeRemittanceList(*remittances->component(), *documents->component(), result.lines);
    }
    unlinkDocuments();
    result.outcome = finish(outcome, result.lines);
    endOpenTransaction();
    return result;
}

// A statement that failed leaves its transaction open, holding the locks of
// the tables it reached until the next statement; what failed changed
// nothing, so ending it loses nothing and frees the tables for the suite.
void RemittanceReport::endOpenTransaction() {
    if (dbUtils_.inTransaction()) {
        dbUtils_.rollback();
    }
}

bool RemittanceReport::acceptJob(const Job& job) {
    job_ = job;
    const char* date = job.date != nullptr ? job.date->format("AAMMGG") : nullptr;
    jobDate_ = date != nullptr ? date : "";
    if (date == nullptr) {
        listener_.error("Data del lavoro non valida");
        return false;
    }
    // The names come from the suite's files; a name that is not a plain
    // identifier never reaches the server (the gateway shows why).
    return dbUtils_.checkIdentifier(Catalog::guideListTable(job.name, jobDate_)) &&
           dbUtils_.checkIdentifier(Catalog::guideDocumentTable(job.name, jobDate_)) &&
           dbUtils_.checkIdentifier(Catalog::vaultDocumentTable(job.type));
}

bool RemittanceReport::OpenReportFile(const std::string& name) {
    // A failed write or seek of an earlier run leaves bits that never clear
    // and would refuse every line of this one: such a file is replaced.
    if (file_ == nullptr || file_->status().test(KroFile::kIoErrorBit) ||
        file_->status().test(KroFile::kSeekErrorBit)) {
        file_ = std::make_unique<KroFile>(true, env_);
    } else {
        file_->openOrThrow(false);
    }
    file_->setMode(KroFile::kCreate);
    // The report takes its name only once it is complete.
    file_->setStagedWriting(true);
    file_->setRecordLength(kLineLength);
    file_->setFileName(job_.date != nullptr ? reportName(name, *job_.date) : name);
    try {
        file_->openOrThrow(true);
    } catch (const std::runtime_error& error) {
        listener_.monitorLine(error.what());
        listener_.error(error.what());
        return false;
    }
    return true;
}

std::string RemittanceReport::reportName(const std::string& name, const KroDate& jobDate) {
    std::string result = name;
    const size_t mark = result.find(kDayOfYearMark);
    if (mark != std::string::npos) {
        result.replace(mark + 1, 3, number("%.3lld", jobDate.julianDay()));
    }
    return result;
}

bool RemittanceReport::SelectRemittances() {
    listener_.statusText("Estrazione dati dal database (Attendere anche a lungo....)");
    return dbUtils_.run(Catalog::fill(Catalog::kRemittances, job_.name, jobDate_),
                        KroQueryBase::kOpen, true, kRemittanceDataSet, true) &&
           dbUtils_.linkDetail(kDocumentDataSet, kRemittanceDataSet,
                               Catalog::fill(Catalog::kRemittanceDocuments, job_.name, jobDate_));
}

RemittanceReport::Outcome RemittanceReport::writeRemittanceList(MySqlDataSet& remittances,
                                                                MySqlDataSet& documents,
                                                                int& lines) {
    const int count = remittances.recordCount();
    int done = 0;
    Outcome outcome = Outcome::kWritten;
    listener_.remittanceProgress(0, count);
    for (remittances.first(); !remittances.eof(); remittances.next()) {
        listener_.remittanceProgress(++done, count);
        // The documents' query runs again as the list moves; when it fails
        // there, only the data set knows why.
        if (!documents.active()) {
            listener_.error(documents.lastError());
            return Outcome::kQueryFailed;
        }
        if (documents.recordCount() == 0) {
            continue;
        }
        if (!WriteRemittanceHeading(remittances)) {
            return Outcome::kQueryFailed;
        }
        WriteColumnHeading();
        if (writeDocuments(documents, lines) != Outcome::kWritten) {
            outcome = Outcome::kLineFailed;
        }
        WriteRemittanceFooter();
    }
    listener_.remittanceProgress(count, count);
    return outcome;
}

RemittanceReport::Outcome RemittanceReport::writeDocuments(MySqlDataSet& documents, int& lines) {
    const int count = documents.recordCount();
    int done = 0;
    listener_.progress(0, count);
    for (documents.first(); !documents.eof(); documents.next()) {
        listener_.progress(++done, count);
        if (!WriteRemittanceLine(documents)) {
            // The rest of this remittance is left out.
            listener_.error(kWriteError);
            return Outcome::kLineFailed;
        }
        ++lines;
    }
    return Outcome::kWritten;
}

bool RemittanceReport::WriteRemittanceHeading(MySqlDataSet& remittance) {
    const int batch = static_cast<int>(remittance.fieldByName("Lotto_Pres").asInteger());
    writeLine(Catalog::fill("Rimessa effetti N. %d", batch));
    if (!dbUtils_.run(Catalog::fill(Catalog::kRemittanceTotals, job_.name, jobDate_, batch),
                      KroQueryBase::kOpen, true, kUtility, true)) {
        return false;
    }
    MySqlDataSet& totals = *dbUtils_.utilityDataSet();
    writeLine(Catalog::fill("Importo totale %12.2f", totals.fieldByName("TotImpo").asFloat()));
    writeLine(number("Num. Effetti %10lld", totals.fieldByName("Pzz").asInteger()));
    // A failed write shows at the document lines, or when the file closes.
    writeLine(kThreeEmptyLines);
    return true;
}

void RemittanceReport::WriteColumnHeading() {
    rowNumber_ = 0;
    writeLine(kColumnHeading);
}

bool RemittanceReport::WriteRemittanceLine(MySqlDataSet& document) {
    return writeLine(documentLine(document, ++rowNumber_));
}

std::string RemittanceReport::documentLine(MySqlDataSet& document, int row) {
    std::string line = document.fieldByName("TC").asString() + " ";
    line += number("%3lld)  ", row);
    line += number("%5lld  ", document.fieldByName("Prg1").asInteger());
    line += document.fieldByName("Num_Pratica").asString() + "   ";
    const std::string serial = document.fieldByName("Serial").asString();
    line += serial.empty() ? kNoSerial : serial + "  ";
    line += number("%.7lld  ", document.fieldByName("Num_Effetto").asInteger());
    line += document.fieldByName("Fil_Cod").asString() + "  ";
    line += amount(document.fieldByName("Importo").asFloat()) + "  ";
    line += dueDate(document);
    line += document.fieldByName("Deb_RagSoc").asString() + "  ";
    return line;
}

// "GG/MM/AA  ", or blanks in the same width when the due date is missing
// or cannot be read.
std::string RemittanceReport::dueDate(MySqlDataSet& document) {
    const std::string text = document.fieldByName("Scadenza").asString();
    if (text.empty() || !workDate_.parse(text) || workDate_.isEmpty()) {
        return kNoDueDate;
    }
    const char* shown = workDate_.format("GG/MM/AA  ");
    return shown != nullptr ? shown : kNoDueDate;
}

void RemittanceReport::WriteRemittanceFooter() {
    writeLine(kFooter);
    writeLine(kThreeEmptyLines);
}

bool RemittanceReport::writeLine(const std::string& text) {
    file_->append(text, 0, true);
    return file_->writeLine(false);
}

RemittanceReport::Outcome RemittanceReport::finish(Outcome outcome, int lines) {
    if (outcome != Outcome::kWritten) {
        abandonReport();
        listener_.monitorLine(kAborted);
        return outcome;
    }
    // Closing gives the report its name, or drops it when the last writes
    // fail; a report left empty is removed.
    file_->openOrThrow(false);
    if (file_->status().test(KroFile::kIoErrorBit)) {
        listener_.error(kWriteError);
        listener_.monitorLine(kAborted);
        return Outcome::kLineFailed;
    }
    if (lines == 0) {
        listener_.monitorLine("(E) NON SONO STATI SCARICATI EFFETTI");
        return Outcome::kNothingWritten;
    }
    listener_.monitorLine(Catalog::fill("Sono stati scaricati  %d effetti", lines));
    listener_.monitorLine(Catalog::fill(
        "Sto aggiornando il campo Data_Pres sulla tabella CAVEAU_%s (Non interrompere!)",
        job_.type));
    if (!UpdatePresentation()) {
        listener_.monitorLine("(E) Aggiornamento Data_Pres non eseguito");
        listener_.statusText("Scarico terminato");
        return Outcome::kUpdateFailed;
    }
    listener_.monitorLine("Aggiornamento Data_Pres terminato");
    listener_.statusText("Aggiornamento effettuato");
    listener_.statusText("Scarico terminato");
    return Outcome::kWritten;
}

void RemittanceReport::abandonReport() {
    file_->discard();
}

bool RemittanceReport::UpdatePresentation() {
    // The job date itself rather than its text read back, which a default
    // pattern other than day first would misread.
    workDate_.assign(*job_.date);
    const char* presented = workDate_.format("AAAA-MM-GG");
    return presented != nullptr &&
           dbUtils_.run(Catalog::fill(Catalog::kVaultPresentation, job_.type, job_.name, jobDate_,
                                      dbUtils_.escapeLiteral(presented)),
                        KroQueryBase::kExecute, true, kUtility, true);
}

// The documents' data set follows the list no longer: later statements in
// data set 0 must not run the documents' query again.
void RemittanceReport::unlinkDocuments() {
    KroQueryBase* documents = dbUtils_.query(kDocumentDataSet);
    if (documents != nullptr && documents->component() != nullptr) {
        documents->component()->setMasterSource(nullptr);
    }
}
