// Fuzzes the track definition reader (KroTrack::load over TrackDefinitionFile)
// and then composes and reads back one record of every type of a definition
// that loads, in a flow file of 4 KB of blanks. A definition that loads has
// every defined field and the identifier within the record.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "records/KroTrack.h"

namespace {

constexpr int kTypesTried = 32;
constexpr int kFieldsFilled = 64;

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void checkSlices(KroTrack& track) {
    const int64_t length = track.recordLength();
    check(length >= 1 && length <= KroTrack::kMaxRecordLength);
    check(track.idPos() >= 0 && (track.idPos() == 0 || track.idLen() == 0 ||
                                 int64_t{track.idPos()} - 1 + track.idLen() <= length));
    for (int type = 0; type < std::min(track.typeCount(), kTypesTried); ++type) {
        const KroRecord* record = track.recordType(type);
        for (int i = 0; record != nullptr && i < record->count(); ++i) {
            if (const KroField* field = record->definedField(i)) {
                check(field->start() >= 1 && field->length() >= 0 &&
                      int64_t{field->start()} - 1 + field->length() <= length);
            }
        }
    }
}

void composeEveryType(KroTrack& track) {
    for (int type = 0; type < std::min(track.typeCount(), kTypesTried); ++type) {
        if (!track.prepareRecord(type)) {
            continue;
        }
        KroRecord& record = track.activeRecord();
        for (int i = 0; i < std::min(record.count(), kFieldsFilled); ++i) {
            if (record.definedField(i) != nullptr) {
                record.field(i)->setValue(std::string_view("0123456789ABCDEFGHIJ"));
            }
        }
        if (track.writeActive(0)) {
            track.readRecord(0);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemoryEnv env;
    const std::string definition = "/fuzz/PAT/SORTER.trk";
    const std::string flow = "/fuzz/LAV/FLOW.NST";
    env.addFile(definition, std::string_view(reinterpret_cast<const char*>(data), size));
    env.addFile(flow, std::string(4096, ' '));
    KroTrack track(nullptr, &env);
    if (!track.load(definition)) {
        return 0;
    }
    checkSlices(track);
    track.setFileName(flow);
    if (track.open(nullptr, KroFile::kUpdate)) {
        composeEveryType(track);
        track.selectByName("SORTER");
    }
    return 0;
}
