// Helpers shared by the record-file tests: byte fixtures and an Env that
// records and changes the stream modes a KroFile asks for.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/TestEnv.h"

// Each record followed by CR LF.
inline std::string crlfRecords(std::initializer_list<std::string_view> records) {
    std::string bytes;
    for (std::string_view record : records) {
        bytes.append(record);
        bytes.append("\r\n");
    }
    return bytes;
}

// count records of length characters, record i made of the letter 'A' + i.
inline std::string letterRecords(int count, int length, bool lineEnds) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        bytes.append(static_cast<std::size_t>(length), static_cast<char>('A' + i));
        if (lineEnds) {
            bytes.append("\r\n");
        }
    }
    return bytes;
}

// The real Env, but a stream can be opened with another mode than asked
// (to make reads or writes fail), sent to another path (/dev/full), and the
// size of a closed file can be made up.
class StreamEnv : public TestEnv {
public:
    std::FILE* openStream(const std::string& path, const char* mode) override {
        requestedModes.push_back(mode);
        const auto replaced = replacedModes.find(mode);
        const char* used = replaced != replacedModes.end() ? replaced->second.c_str() : mode;
        return TestEnv::openStream(redirectTo.empty() ? path : redirectTo, used);
    }
    int64_t fileSize(const std::string& path) override {
        return reportedSize ? *reportedSize : TestEnv::fileSize(path);
    }

    std::vector<std::string> requestedModes;
    std::map<std::string, std::string> replacedModes;
    std::string redirectTo;
    std::optional<int64_t> reportedSize;
};
