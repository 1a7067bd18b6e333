// SelectionFlowWriter is the data side of the selection flow, the file that
// drives the document sorter for the job's selection guide: one "SORTER"
// record per guide document that has a pocket (T1 not 0, in the order
// Data_Carico, Num_Effetto), then the recalled items of CAVEAU_RR_VER whose
// due date falls within the guide's due dates and whose type code is the job
// type, in a pocket of their own (the returns pocket). The controller opens
// the flow's layout and output file (OpenFlowTrack) and hands them over:
//
//   SelectionFlowWriter::Job job{jobName, jobDate /* AAMMGG */, jobType, 24, 2};
//   SelectionFlowWriter writer(dbUtils, listener, job);
//   writer.verify();                                   // monitor lines only
//   auto result = writer.write(*flowTrack);            // file closed
//   if (result.ok() && copyWanted) CopyToSorterFolder(path);
//
// Each record: SRT_KEY the serial with its blanks trimmed; SRT_T1 the pocket
// as "%.2d" (cut to the field's width), SRT_T2 to SRT_T4 "00". A guide
// document also gets a stamp number in SRT_STAMP_NO when the layout has that
// field and the default stamp is not 0: its own FRZ_Z1 when above 0,
// otherwise the default stamp. Recalled items get no stamp.
//
// When the guide's due dates cannot be read (an empty guide, NULL dates) the
// operator is asked whether to append every recalled item with a serial,
// whatever its due date or type (listener's question).
//
// A run that fails leaves no file behind: the guide or due-date query
// failing, the operator answering No, a record that cannot be built (the
// layout lacks a field: the same for every record) or written, or a file
// that cannot be flushed all drop what was written (abandonFile: with the
// staged writing the controller opens the file with, an earlier file of
// the same name stays whole), tell the monitor "(E)CREAZIONE FLUSSO GUIDA
// ABORTITA!" and answer false. A sorter
// fed a partial file would select a partial job. The recalled items'
// query failing (CAVEAU_RR_VER missing) appends none and the run still
// succeeds: the gateway has shown why.
//
// A date that cannot be read shows as "n.d." in the monitor lines. The
// database is only read, and no transaction is left open by a statement
// that failed; the names built into statements pass
// KroDBUtils::checkIdentifier first and the job type is escaped.
#pragma once

#include <string>

#include "core/KroDate.h"

class FlowListener;
class KroDBUtils;
class KroTrack;
class MySqlDataSet;

class SelectionFlowWriter {
public:
    static constexpr int kRowsDataSet = 1;
    static constexpr int kProgressStep = 512;
    static constexpr const char* kRecordName = "SORTER";
    static constexpr const char* kAborted = "(E)CREAZIONE FLUSSO GUIDA ABORTITA!";
    static constexpr const char* kUnreadableDate = "n.d.";

    // What the flow needs of the job and the settings page.
    struct Job {
        std::string name;        // the witness's job name
        std::string date;        // the witness's job date, "AAMMGG"
        std::string type;        // the job type (TC of the recalled items)
        int returnsPocket = 24;  // udResi
        int defaultStamp = 2;    // udDefStamp; 0 writes no stamp
    };

    struct Result {
        bool written = false;  // the file is complete (or empty and removed)
        int guideRecords = 0;
        int recalledRecords = 0;
        bool ok() const { return written; }
    };

    SelectionFlowWriter(KroDBUtils& dbUtils, FlowListener& listener, Job job);

    // The verification: the guide's due dates and the returns pocket on the
    // monitor, or the warning that CAVEAU_RR_VER is missing. Always passes:
    // nothing it finds stops the writing.
    bool verify();

    // track: the flow's layout, loaded, its output file open for writing.
    // Closes the file in every case; removes it when the run fails.
    Result write(KroTrack& track);

    // Builds and appends the "SORTER" record of the current row of rows.
    // pocket 0 takes the row's T1; recalled rows get no stamp. False when
    // the record cannot be built (the layout's text goes to problem) or
    // cannot be written.
    bool writeRecord(KroTrack& track, MySqlDataSet& rows, int pocket, bool recalled,
                     std::string& problem);

private:
    // The guide's lowest and highest due date.
    struct DueDates {
        bool queried = false;  // the statement ran
        bool fromRead = false;
        bool toRead = false;
        KroDate from;
        KroDate to;
        bool complete() const { return fromRead && toRead; }
        // A date in pattern (nullptr: the date's default pattern), or "n.d."
        // when it could not be read.
        std::string shown(bool lowest, const char* pattern);
    };

    void checkGuide();
    Result writeFile(KroTrack& track);
    bool writeGuide(KroTrack& track, int& records);
    bool writeRecalled(KroTrack& track, DueDates& dates, int& records);
    // Walks the open rows of the data set; false on the first record that
    // cannot be built or written (told to the operator).
    bool writeRows(KroTrack& track, MySqlDataSet& rows, int pocket, bool recalled, int& records);
    DueDates readDueDates(const char* format, const char* fromColumn, const char* toColumn);
    // Closes and removes the output file of a run that failed.
    void abandonFile(KroTrack& track);
    // The run's end after a failure: the file abandoned, the monitor told.
    Result fail(KroTrack& track, Result result);
    void endOpenTransaction();
    bool guideTableChecked();
    std::string guideSql(const char* format) const;

    KroDBUtils& dbUtils_;
    FlowListener& listener_;
    Job job_;
};
