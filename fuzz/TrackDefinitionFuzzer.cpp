// Fuzzes the track definition reader (KroTrack::load over TrackDefinitionFile)
// and then composes and reads back one record of every type of a definition
// that loads, in a flow file of 4 KB of blanks.
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
    track.setFileName(flow);
    if (track.open(nullptr, KroFile::kUpdate)) {
        composeEveryType(track);
        track.selectByName("SORTER");
    }
    return 0;
}
