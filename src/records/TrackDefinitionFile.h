// TrackDefinitionFile reads a track definition (a "trk" text file of the
// suite) line by line for KroTrack::load: through a read-only KroFile with a
// record of 132 characters, so a line comes in pieces of at most 134
// characters (a longer line continues as the next line); an LF ends a line
// and a CR before it is dropped, a Ctrl-Z ends the file, and characters that
// are not printable read as blanks. Key lines ("KEY=value") are looked up in
// a key text of nine-character slots, the way the suite's programs do:
//
//   TrackDefinitionFile definition(env);
//   if (!definition.open(path)) ...            // cannot be opened
//   std::string line;
//   while (definition.nextLine(&line)) {
//       auto key = TrackDefinitionFile::findKey(line, "REC_NAME=REC_ID=  FIELDS=");
//       ...
//   }
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Env.h"
#include "records/KroFile.h"

class TrackDefinitionFile {
public:
    static constexpr int kRecordLength = 132;

    struct Key {
        int slot;                // position of the key in the key text / 9
        std::string_view value;  // the rest of the line after the first "="
    };

    // A field line: "1) 0002 0010 Key ALIAS=SRT_KEY TYPE=ftString".
    struct FieldLine {
        int64_t start = 0;                 // the second item
        int64_t length = 0;                // the third
        std::string description;           // the fourth
        std::optional<std::string> alias;  // after "ALIAS=", to the end of the line
        std::string typeName;  // after "TYPE=", to the end of the line; "ftString" without
    };

    explicit TrackDefinitionFile(Env* env);

    // Opens the file read only; false when it cannot be opened.
    bool open(const std::string& path);
    // The next line (or piece of a long line); false at the end of the file.
    bool nextLine(std::string* line);
    // Goes back to the start of the line last read, which is read again next.
    void rereadLastLine();
    // Bytes from the reading position to the end of the file (0 when unknown).
    int64_t bytesLeft();

    // The key of a line: the text before its first "=" found anywhere in
    // keyText (case-sensitive); the slot of its first occurrence selects the
    // key. None for a line without "=" or a key not in the text.
    static std::optional<Key> findKey(std::string_view line, std::string_view keyText);
    // A line that begins with a CR, a blank or ";" (a comment) is not read.
    static bool isSkipped(std::string_view line);
    // Field lines begin with a digit.
    static bool isFieldLine(std::string_view line);
    // The parts of a field line, from its first 256 characters split at
    // blanks (a run of blanks is one separator); none when fewer than four
    // items are found.
    static std::optional<FieldLine> parseFieldLine(std::string_view line);

private:
    KroFile file_;
    int64_t lineStart_ = 0;
};
