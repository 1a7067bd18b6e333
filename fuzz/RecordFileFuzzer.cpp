// Fuzzes the record file's readers (KroFile): the first two bytes pick the
// record length, the line maximum and whether non-printable characters read
// as blanks; the rest is the file, with or without a byte-order mark, 0x1A
// bytes and lines of any length. Every line read must fit the buffer, and
// with blanking hold printable characters and CR only.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "records/KroFile.h"

namespace {

constexpr int kLinesRead = 4096;

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void readLines(KroFile& file, int maxLength, bool blankNonPrintable) {
    for (int i = 0; i < kLinesRead; ++i) {
        const int length = file.readLine(maxLength, blankNonPrintable);
        if (length < 0) {
            return;
        }
        check(static_cast<std::size_t>(length) < file.bufferSize());
        check(std::strlen(file.buffer()) <= static_cast<std::size_t>(length));
        for (int at = 0; blankNonPrintable && at < length; ++at) {
            const char c = file.buffer()[at];
            check(c == '\r' || (c >= 0x20 && c <= 0x7E));
        }
    }
}

void readRecords(KroFile& file) {
    file.rewind();
    for (int i = 0; i < kLinesRead && file.readRecord(-1); ++i) {
    }
    const int count = file.countRecords();
    for (int index : {0, count - 1, count, count + 1}) {
        file.readRecord(index);
    }
    file.seek(-1, KroFile::kFromEnd, true);
    file.seek(-3, KroFile::kFromCurrent, false);
    file.goToEnd();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const int recordLength = 1 + data[0] % 64;
    const int maxLength = (data[1] & 0x7F) - 16;  // some negative, some beyond the record
    const bool blankNonPrintable = (data[1] & 0x80) != 0;
    MemoryEnv env;
    env.addFile("/fuzz/FILE.TXT",
                std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
    KroFile file(blankNonPrintable, &env);
    file.setRecordLength(recordLength);
    if (!file.open("/fuzz/FILE.TXT", KroFile::kReadOnly)) {
        return 0;
    }
    readLines(file, maxLength, blankNonPrintable);
    readRecords(file);
    file.close();
    return 0;
}
