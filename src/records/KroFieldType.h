// KroFieldType is the type code of a field of a record layout (0 to 14). The
// layouts record it, but it does not change how a value is stored: values are
// text, and the flows format numbers and dates before setting them.
//
//   KroFieldType::Code code = KroFieldType::parse("TYPE text");  // ftUnknown
//   KroFieldType::parse("9");        // ftDate, by number
//   KroFieldType::parse("string");   // ftString, "ft" put in front
//   KroFieldType::parse("ftS");      // ftString, the first name so beginning
#pragma once

#include <cstdint>
#include <string_view>

class KroFieldType {
public:
    enum Code : uint8_t {
        ftUnknown = 0,
        ftString = 1,
        ftSmallint = 2,
        ftInteger = 3,
        ftWord = 4,
        ftBoolean = 5,
        ftFloat = 6,
        ftCurrency = 7,
        ftBCD = 8,
        ftDate = 9,
        ftTime = 10,
        ftDateTime = 11,
        ftBytes = 12,
        ftVarBytes = 13,
        ftAutoInc = 14,
    };
    static constexpr int kCount = 15;

    // A text read as a decimal number from 1 to 14 is that code. Otherwise it
    // is a name: "ft" is put in front unless it begins so (in any case), and
    // the first name of the table that begins with the result (at most 11
    // characters, case ignored) gives the code. No match: ftUnknown. A name
    // followed by other text (a blank and more words) does not match.
    static Code parse(std::string_view text);

    // The name of a code ("ftString"); "ftUnknown" outside the table.
    static const char* name(int code);
};
