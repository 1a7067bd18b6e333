// VaultTables prepares, once connected, the tables a job's extraction starts
// from, and proposes the next extraction. The main window's connect step
// uses it:
//
//   VaultTables tables(dbUtils, view);
//   bool ok = tables.open(docTable, patternFolder);   // lists shown in the grids
//   if (ok) blockNumber = tables.proposeNextBlock(docTable, workDate, loadDateFrom);
//
// open() checks the job's document table, lists its load dates in data set 3
// (grid dbgDateCarico), creates the extraction log Orvax from the layout
// file Orvax.TBL of the pattern folder when it is missing, and lists the log
// in data set 4 (grid dbgOrvax). It answers false when the document table is
// missing (or its name is not a plain identifier) or the log could not be
// created; the lists are opened anyway.
//
// proposeNextBlock() reads the log just listed: the next block is numbered
// one more than the rows of the log, and starts the day after the last
// block's final load date; on an empty log it is block 1 starting on the
// earliest load date of the document table, or 01/01/2000 without one.
#pragma once

#include <optional>
#include <string>

class KroDate;
class KroDBUtils;
class OutputView;

class VaultTables {
public:
    static constexpr int kLoadDatesDataSet = 3;
    static constexpr int kExtractionLogDataSet = 4;

    VaultTables(KroDBUtils& dbUtils, OutputView& view);

    bool open(const std::string& docTable, const std::optional<std::string>& patternFolder);
    // The block number; sets loadDateFrom (through workDate for the log's date).
    int proposeNextBlock(const std::string& docTable, KroDate& workDate, KroDate& loadDateFrom);

private:
    bool checkDocumentTable(const std::string& docTable);
    void listLoadDates(const std::string& docTable, bool nameIsUsable);
    bool ensureExtractionLog(const std::optional<std::string>& patternFolder);
    void listExtractionLog();
    void proposeFromLastBlock(KroDate& workDate, KroDate& loadDateFrom);
    void proposeFromDocuments(const std::string& docTable, KroDate& loadDateFrom);

    KroDBUtils& dbUtils_;
    OutputView& view_;
};
