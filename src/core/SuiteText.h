// The small text rules of the suite's files, shared by every class that
// reads them: fields cut out of fixed-position records, trailing blanks
// removed, numbers read the way the suite's programs read them, and names
// compared with the case ignored.
//
//   suitetext::fieldAt(line, 193, 4)            // "ABC " (empty beyond the line)
//   suitetext::fieldText(line, 23, 50)          // up to a byte 0, blanks trimmed
//   suitetext::readDecimal(" 30 chars")         // 30
//   suitetext::sameIgnoringCase("sorter", "SORTER")
//   suitetext::twoDigits(5)                     // "05"
//
// readDecimal takes leading white space, an optional sign, then digits up to
// the first character that is not one; no digit at all reads as 0. A number
// with more digits than any real value stops growing at kDecimalLimit, so an
// absurd number in a file stays absurd instead of wrapping round into a
// plausible one; callers check the range they accept.
//
// Case is folded for the ASCII letters only: bytes of the code page above
// 0x7F stay as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace suitetext {

constexpr int64_t kDecimalLimit = 999'999'999'999;

int64_t readDecimal(std::string_view text);
bool sameIgnoringCase(std::string_view a, std::string_view b);
char upperAscii(char c);

// The text without its trailing blanks.
std::string withoutTrailingBlanks(std::string_view text);
// length characters from offset, fewer at the end of the text, none beyond it.
std::string_view fieldAt(std::string_view text, std::size_t offset, std::size_t length);
// The field up to its first byte 0, trailing blanks removed.
std::string fieldText(std::string_view text, std::size_t offset, std::size_t length);
// The text without the blanks and control characters at both ends (a key
// read from a database column).
std::string trimmed(std::string_view text);
// The number with at least two digits, leading zeros ("%.2d": a pocket).
std::string twoDigits(int64_t value);

}  // namespace suitetext
