// RecalledItemsWriter is the data side of writing the recalled-items flow:
// one "SORTER" record per document of a load-date range, the block logged in
// the extraction log Orvax, and the range's documents stamped with the block
// number as their presentation batch (Lotto_Pres). The controller opens the
// flow's layout and output file (OpenFlowTrack) and hands them over:
//
//   RecalledItemsWriter writer(dbUtils, listener);
//   auto result = writer.write(*flowTrack, range, counts, blockNumber);
//   if (result.ok()) MonitorLine("Flusso Selez. Resi scaricato regolarmente");
//
// The documents are read from the server one at a time in data set 1 (in
// the order Condizione, Data_carico, Prg, Doc_Prg), so memory does not grow
// with the range. Each record: SRT_KEY the Serial with its blanks trimmed,
// SRT_T1 to SRT_T4 the pockets as "%.2d".
//
// Order and recovery. A block is identified by its first load date, and the
// log row is found again by it, so running the same range again rewrites the
// same block (the same Progr, NumPraticaIn and NumPraticaFin kept) instead of
// adding one. The steps run in this order:
//   1. every record is written and the file closed (flushed to the system);
//   2. only then, in one transaction: the batch stamped, the log row
//      inserted or updated, its first and last dossier numbers filled when
//      empty.
// So the database never records a block whose file is missing or cut
// short: a document query that fails (at once or mid-way), a record that
// cannot be built or written, or a file that cannot be flushed records
// nothing, and the file written so far is discarded (with staged writing,
// as FlowChoice opens it, an earlier file of the same name stays as it was). A
// failure in step 2 undoes all of step 2 and is reported as kLogFailed with a
// message telling the operator that the file is written but the block is not
// logged; running the flow again writes the same file and completes the same
// block. A commit whose answer is lost may have logged the block after all:
// the run again then finds it by its date and updates it, never doubles it.
//
// The log's Progr comes from the server (the insert leaves it out). An
// insert undone still uses its number up, which is why the insert comes
// last but for the dossier numbers; when the Progr given differs from the
// block number of the file and the batch, a monitor line says so (choosing
// the flow again for that first load date then takes the logged number).
//
// The file is closed at the end of every run: kept when complete (a file
// left empty is removed by the record file), discarded otherwise. Progress comes every
// kProgressStep documents.
#pragma once

#include <string>
#include <vector>

#include "flows/DocumentCounts.h"

class DocumentRange;
class FlowListener;
class KroDBUtils;
class KroTrack;
class MySqlDataSet;

class RecalledItemsWriter {
public:
    static constexpr int kDocumentDataSet = 1;
    static constexpr int kProgressStep = 512;
    static constexpr const char* kRecordName = "SORTER";

    enum class Outcome {
        kWritten,       // file complete, block logged, batch stamped
        kRefused,       // a name or date refused before any statement
        kQueryFailed,   // the documents could not be read (all or some)
        kRecordFailed,  // a record could not be built or written
        kFileFailed,    // the file could not be completed on disk
        kLogFailed,     // the file is complete, the block is not logged
    };

    struct Result {
        Outcome outcome = Outcome::kRefused;
        int records = 0;      // records written to the file
        int loggedBlock = 0;  // Progr of the block's log row; 0 when not logged
        bool ok() const { return outcome == Outcome::kWritten; }
    };

    RecalledItemsWriter(KroDBUtils& dbUtils, FlowListener& listener);

    // track: the flow's layout, loaded, its output file open for writing.
    // counts: the range's figures (PocketAssignment::countDocuments);
    // blockNumber: the block the file is named after and the batch stamped.
    Result write(KroTrack& track, const DocumentRange& range, const DocumentCounts& counts,
                 int blockNumber);

    // Builds and appends the "SORTER" record of the current row of rows.
    // False when the record cannot be built (a field missing from the
    // layout, no active record: the layout's text goes to the listener) or
    // cannot be written.
    bool writeRecord(KroTrack& track, MySqlDataSet& rows);

private:
    // The document query and the records; the file closed. kWritten when
    // it is complete.
    Outcome writeFile(KroTrack& track, MySqlDataSet& rows, const DocumentRange& range,
                      const DocumentCounts& counts, int& records);
    // The log, the batch, and what the operator is told of them.
    void recordBlock(const DocumentRange& range, const DocumentCounts& counts, int blockNumber,
                     Result& result);
    // The records of the rows; what went wrong goes to problems, told once
    // the reading is over.
    Outcome writeRecords(KroTrack& track, MySqlDataSet& rows, int expected, int& records,
                         std::vector<std::string>& problems);
    bool buildAndWrite(KroTrack& track, MySqlDataSet& rows, std::vector<std::string>& problems);
    bool logBlock(const DocumentRange& range, const DocumentCounts& counts, int blockNumber,
                  int& loggedBlock);
    bool findBlock(const DocumentRange& range, bool& found, int& progr);
    bool runCommand(const std::string& sql);

    KroDBUtils& dbUtils_;
    FlowListener& listener_;
};
