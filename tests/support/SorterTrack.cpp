#include "support/SorterTrack.h"

#include <cstdio>
#include <fstream>

namespace {

std::string keyLine(const std::string& key, const std::string& value, const std::string& end) {
    return key + "=" + value + end;
}

// text blank-padded (or cut) to width characters.
std::string fixed(const std::string& text, std::size_t width) {
    std::string result = text.substr(0, width);
    result.resize(width, ' ');
    return result;
}

}  // namespace

std::string trackFieldLine(int ordinal, const TrackFieldLine& field) {
    char head[64];
    std::snprintf(head, sizeof head, "%d) %.4d %.4d ", ordinal, field.start, field.length);
    std::string line = head + field.description;
    if (!field.alias.empty()) {
        line += " ALIAS=" + field.alias;
    }
    if (!field.type.empty()) {
        line += " TYPE=" + field.type;
    }
    return line;
}

std::string sorterTrackDefinition(const SorterTrackFields& f) {
    const std::string& end = f.lineEnd;
    std::string text = "[TRACK]" + end;
    text += keyLine("TRK_NAME", f.trackName, end);
    text += keyLine("TYPES", std::to_string(f.types), end);
    text += keyLine("ID_POS", std::to_string(f.idPos), end);
    text += keyLine("REC_LEN", std::to_string(f.recordLength), end);
    if (f.withVariableKey) {
        text += keyLine("VAR_LEN", "0", end);
    }
    text += "[REC_01]" + end;
    text += keyLine("REC_NAME", f.recordName, end);
    text += keyLine("REC_ID", f.recordId, end);
    text += keyLine("FIELDS", std::to_string(f.fields.size()), end);
    text += ";  START LEN DESCRIPTION & ALIAS" + end;
    for (std::size_t i = 0; i < f.fields.size(); ++i) {
        text += trackFieldLine(static_cast<int>(i + 1), f.fields[i]) + end;
    }
    return text;
}

std::string writeSorterTrack(const std::string& folder, const SorterTrackFields& fields) {
    const std::string path = folder + "/" + kSorterTrackFileName;
    const std::string bytes = sorterTrackDefinition(fields);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string sorterFlowRecord(const std::string& key, const std::string& t1, const std::string& t2,
                             const std::string& t3, const std::string& t4,
                             const std::string& stamp) {
    std::string record = "S" + fixed(key, 10) + fixed(t1, 2) + fixed(t2, 2) + fixed(t3, 2) +
                         fixed(t4, 2) + fixed(stamp, 2);
    return fixed(record, 30) + "\r\n";
}
