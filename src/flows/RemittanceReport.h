// RemittanceReport is the data side of the remittance production (flow 2):
// the plain-text report of the paper lists of the job's remittances and the
// presentation copied into the vault's document table. The guide's list
// table "<job>_<AAMMGG>_GUI_DIST" gives the remittances (by Lotto_Pres),
// its document table "<job>_<AAMMGG>_GUI_DOC" their documents (those with
// Prg1 > 0, in the order Prg2, Prg1). For each remittance with at least one
// such document the report holds a heading (number, total, count), a column
// heading, one line per document and a closing line of asterisks; then
// every guide document's Lotto_Pres, Prg1, Prg2 and the job date as
// Data_Pres go into "CAVEAU_<jobType>_DOC" (matched by Serial).
//
//   RemittanceReport report(dbUtils, listener, reportFile, workDate);
//   RemittanceReport::Result result = report.WriteRemittances(job, tbDstFileText);
//   if (result.outcome == RemittanceReport::Outcome::kFileFailed) ... tell the operator
//
// The remittances are read in data set 0 and the documents in data set 1,
// linked to it as a detail (its :Lotto_Pres follows the current remittance).
// The report is a KroFile with CR LF line ends, created or emptied, lines of
// at most 512 characters; "_GGG" in its name becomes the job date's day of
// the year.
//
// All or nothing. The vault table is changed only after a complete report
// with at least one document line was closed. A query that fails (the
// list, a remittance's documents, its totals) or a line that cannot be
// written leaves no report behind (abandonReport: the report is written
// under a staging name and takes its own only when complete, so an earlier
// report of the same name stays whole) and no change in the database; a
// vault update that fails leaves the report but is no success.
// Names that are not plain identifiers are refused before anything runs.
#pragma once

#include <memory>
#include <string>

#include "flows/FlowListener.h"
#include "platform/Env.h"

class KroDate;
class KroDBUtils;
class KroFile;
class MySqlDataSet;

class RemittanceReport {
public:
    static constexpr int kRemittanceDataSet = 0;
    static constexpr int kDocumentDataSet = 1;
    static constexpr int kLineLength = 512;
    static constexpr const char* kAborted = "(E)CREAZIONE FILE DI SCARICO ABORTITA!";
    static constexpr const char* kWriteError = "ERRORE DURANTE LA SCRITTURA DELL'USCITA";

    // A FlowListener that is also told the progress over the remittances
    // (progress() counts the documents of the current remittance). Both
    // come for every remittance and every document.
    class Listener : public FlowListener {
    public:
        virtual void remittanceProgress(int position, int maximum) {
            (void)position;
            (void)maximum;
        }
    };

    // The job the report is made for: its name and date (which name the
    // guide tables) and its type (which names the vault table).
    struct Job {
        std::string name;
        KroDate* date = nullptr;
        std::string type;
    };

    enum class Outcome {
        kWritten,         // report complete, vault table updated
        kRefused,         // a table name refused; nothing done
        kFileFailed,      // the report could not be created
        kQueryFailed,     // a query failed; no report, no update
        kLineFailed,      // a line could not be written; no report, no update
        kNothingWritten,  // no remittance had a listed document; no report
        kUpdateFailed,    // report complete, the vault table not updated
    };

    struct Result {
        Outcome outcome = Outcome::kRefused;
        int lines = 0;  // document lines written
        bool ok() const { return outcome == Outcome::kWritten; }
    };

    // file: the report file, made on first use and kept by the caller;
    // workDate: the date the due dates are read into and the presentation
    // date is taken from; env: where a report file made here finds files.
    RemittanceReport(KroDBUtils& dbUtils, Listener& listener, std::unique_ptr<KroFile>& file,
                     KroDate& workDate, Env* env = Env::Default());

    // The whole flow into the file named name.
    Result WriteRemittances(const Job& job, const std::string& name);

    // The steps, in the order WriteRemittances runs them.
    // Opens the report (made when missing); the file's own text goes to
    // the monitor and to the box when it cannot be opened.
    bool OpenReportFile(const std::string& name);
    // The remittances in data set 0, their documents linked in data set 1.
    bool SelectRemittances();
    // The six heading lines; false when the totals cannot be read.
    bool WriteRemittanceHeading(MySqlDataSet& remittance);
    void WriteColumnHeading();
    bool WriteRemittanceLine(MySqlDataSet& document);
    void WriteRemittanceFooter();
    bool UpdatePresentation();

    // The file name with its first "_GGG" made the job date's day of the
    // year ("%.3d"); unchanged without one.
    static std::string reportName(const std::string& name, const KroDate& jobDate);

    // The number of the last document line under the current column heading.
    int rowNumber() const { return rowNumber_; }

private:
    bool acceptJob(const Job& job);
    Outcome writeRemittanceList(MySqlDataSet& remittances, MySqlDataSet& documents, int& lines);
    Outcome writeDocuments(MySqlDataSet& documents, int& lines);
    Outcome finish(Outcome outcome, int lines);
    // Closes the report and removes it: no half-written report stays.
    void abandonReport();
    void endOpenTransaction();
    bool writeLine(const std::string& text);
    // The line of the current document under line number row.
    std::string documentLine(MySqlDataSet& document, int row);
    std::string dueDate(MySqlDataSet& document);
    void unlinkDocuments();

    KroDBUtils& dbUtils_;
    Listener& listener_;
    std::unique_ptr<KroFile>& file_;
    KroDate& workDate_;
    Env* env_;
    Job job_;
    std::string jobDate_;  // "AAMMGG"
    int rowNumber_ = 0;
};
