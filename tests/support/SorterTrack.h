// The sorter's record layout as the suite installs it: a track definition
// with one record type "SORTER" (identifier S at position 1, 30 characters)
// holding the document's key and its four pockets and, optionally, a stamp
// number. The text is written byte for byte from the fields below, in the
// form the suite's layout editor writes ("%d) %.4d %.4d %s" field lines, CR
// LF line ends), never through the code that reads it.
//
//   TempDir dir;
//   std::string path = writeSorterTrack(dir.path());    // dir/SORTER.trk
//   SorterTrackFields noStamp;
//   noStamp.fields.pop_back();                           // no SRT_STAMP_NO
//   std::string text = sorterTrackDefinition(noStamp);
#pragma once

#include <string>
#include <vector>

struct TrackFieldLine {
    int start = 0;  // 1-based
    int length = 0;
    std::string description;
    std::string alias;  // no ALIAS= when empty
    std::string type;   // no TYPE= when empty
};

struct SorterTrackFields {
    std::string trackName = "SORTER";
    int types = 1;
    int idPos = 1;
    int recordLength = 30;
    bool withVariableKey = true;  // the VAR_LEN=0 line
    std::string recordName = "SORTER";
    std::string recordId = "S";
    // Key 2-11, pockets 12-13, 14-15, 16-17, 18-19, stamp 20-21.
    std::vector<TrackFieldLine> fields = {
        {2, 10, "Key", "SRT_KEY", "ftString"},    {12, 2, "Pocket", "SRT_T1", "ftString"},
        {14, 2, "Pocket2", "SRT_T2", "ftString"}, {16, 2, "Pocket3", "SRT_T3", "ftString"},
        {18, 2, "Pocket4", "SRT_T4", "ftString"}, {20, 2, "Stamp", "SRT_STAMP_NO", "ftString"},
    };
    std::string lineEnd = "\r\n";
};

// "SORTER.trk", the file the work mode's layout name SORTER stands for.
constexpr const char* kSorterTrackFileName = "SORTER.trk";

// One field line: "%d) %.4d %.4d %s" then " ALIAS=..." and " TYPE=...".
std::string trackFieldLine(int ordinal, const TrackFieldLine& field);
// The whole definition.
std::string sorterTrackDefinition(const SorterTrackFields& fields = SorterTrackFields());
// Writes the definition as SORTER.trk in folder; returns its path.
std::string writeSorterTrack(const std::string& folder,
                             const SorterTrackFields& fields = SorterTrackFields());
// One record of a sorter flow as the sorter expects it: S, key, pockets and
// stamp at their places, blank-padded to 30 characters, then CR LF.
std::string sorterFlowRecord(const std::string& key, const std::string& t1, const std::string& t2,
                             const std::string& t3, const std::string& t4,
                             const std::string& stamp = "");
