// The small text rules of the suite's layout files, shared by the record
// classes: numbers read the way the suite's programs read them, and names
// (record types, aliases, field types) compared with the case ignored.
//
//   int64_t length = layouttext::readDecimal(" 30 chars");  // 30
//   layouttext::sameIgnoringCase("sorter", "SORTER");        // true
//
// readDecimal takes leading white space, an optional sign, then digits up to
// the first character that is not one; no digit at all reads as 0. A number
// with more digits than any real value stops growing at kDecimalLimit, so an
// absurd number in a file stays absurd instead of wrapping round into a
// plausible one; callers check the range they accept.
//
// Case is folded for the ASCII letters only: names and aliases of layouts are
// written in ASCII.
#pragma once

#include <cstdint>
#include <string_view>

namespace layouttext {

constexpr int64_t kDecimalLimit = 999'999'999'999;

int64_t readDecimal(std::string_view text);
bool sameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace layouttext
