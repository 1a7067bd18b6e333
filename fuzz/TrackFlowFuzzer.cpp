// Fuzzes the reading of a flow file through a loaded track: the first byte
// picks one of three layouts (one fixed type; two types told apart by their
// identifier; variable-length lines), the rest is the flow file, read record
// by record, then by index and line by line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "records/KroTrack.h"

namespace {

constexpr std::string_view kFixedSorter =
    "[TRACK]\r\nTRK_NAME=SORTER\r\nTYPES=1\r\nID_POS=1\r\nREC_LEN=30\r\nVAR_LEN=0\r\n"
    "[REC_01]\r\nREC_NAME=SORTER\r\nREC_ID=S\r\nFIELDS=3\r\n"
    "1) 0002 0010 Key ALIAS=SRT_KEY TYPE=ftString\r\n"
    "2) 0012 0002 Pocket ALIAS=SRT_T1 TYPE=ftString\r\n"
    "3) 0020 0002 Stamp ALIAS=SRT_STAMP_NO\r\n";

constexpr std::string_view kTwoTypes =
    "TRK_NAME=GUIDE\r\nREC_LEN=40\r\nTYPES=2\r\nID_POS=2\r\n"
    "[REC_01]\r\nREC_NAME=HEAD\r\nREC_ID=HD\r\nFIELDS=2\r\n"
    "1) 0004 0008 Date ALIAS=HD_DATE\r\n2) 0001 0001 \"X\" ALIAS=HD_CONST\r\n"
    "[REC_02]\r\nREC_NAME=BODY\r\nREC_ID=\\b\r\nFIELDS=2\r\n"
    "1) 0004 0020 Text ALIAS=BD_TEXT\r\n2) 0030 0011 Amount ALIAS=BD_AMOUNT TYPE=ftFloat\r\n";

constexpr std::string_view kVariableLines =
    "TRK_NAME=REPORT\nREC_LEN=60\nTYPES=1\nID_POS=0\nVAR_LEN=1\n"
    "[REC_01]\nREC_NAME=LINE\nREC_ID=\nFIELDS=2\n"
    "1) 0001 0030 Left\n2) 0031 0030 Right\n";

constexpr int kRecordsRead = 512;

void readAll(KroTrack& track) {
    for (int i = 0; i < kRecordsRead && (track.readRecord(-1) || !track.atEof()); ++i) {
        if (track.activeType() >= 0) {
            KroRecord& record = track.activeRecord();
            for (int f = 0; f < record.count(); ++f) {
                // A value is its slice of the record read, never more.
                const KroField* field = record.definedField(f);
                if (field != nullptr &&
                    field->narrowValue().size() >
                        static_cast<std::size_t>(std::max(field->length(), 0))) {
                    __builtin_trap();
                }
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view layouts[] = {kFixedSorter, kTwoTypes, kVariableLines};
    MemoryEnv env;
    env.addFile("/fuzz/PAT/LAYOUT.trk", layouts[data[0] % 3]);
    env.addFile("/fuzz/LAV/FLOW.NST",
                std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    KroTrack track(nullptr, &env);
    if (!track.load("/fuzz/PAT/LAYOUT.trk")) {
        __builtin_trap();  // the fixed layouts always load
    }
    if (!track.open("/fuzz/LAV/FLOW.NST", KroFile::kReadOnly)) {
        return 0;
    }
    readAll(track);
    track.rewind();
    for (int index : {0, 1, 2, track.recordCount() - 1, track.recordCount()}) {
        track.readRecord(index);
    }
    track.seek(0, KroFile::kFromEnd, false);
    track.close();
    return 0;
}
