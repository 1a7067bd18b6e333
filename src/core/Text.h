// Conversions between the program's two kinds of text: narrow texts in the
// suite's single-byte code page (Windows-1252) and wide UTF-16 texts, plus
// UTF-8 for the boundaries that need it (file names, the window).
//
// Windows-1252 leaves five bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) without a
// character; they map to the control characters of the same value, so every
// narrow text survives a round trip. A wide character the code page cannot
// show becomes '?'.
#pragma once

#include <string>
#include <string_view>

namespace text {

std::u16string toWide(std::string_view narrow);
std::string toNarrow(std::u16string_view wide);

std::string toUtf8(std::u16string_view wide);
// Malformed UTF-8 sequences become U+FFFD.
std::u16string fromUtf8(std::string_view utf8);

}  // namespace text
