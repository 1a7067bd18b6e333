#include "core/Text.h"

#include <array>

namespace text {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the undefined ones keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t wideOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

char narrowOf(char16_t wide) {
    if (wide < 0x80 || (wide >= 0xA0 && wide <= 0xFF)) {
        return static_cast<char>(wide);
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == wide) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void appendUtf16(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
    } else {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code >> 10));
        out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Decodes one UTF-8 sequence at utf8[i]; advances i; 0xFFFD when malformed.
char32_t decodeUtf8(std::string_view utf8, size_t& i) {
    const auto lead = static_cast<unsigned char>(utf8[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        code = (code << 6) | (static_cast<unsigned char>(utf8[i++]) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return (code < minimum || code > 0x10FFFF || surrogate) ? 0xFFFD : code;
}

}  // namespace

std::u16string toWide(std::string_view narrow) {
    std::u16string wide;
    wide.reserve(narrow.size());
    for (char c : narrow) {
        wide += wideOf(static_cast<unsigned char>(c));
    }
    return wide;
}

std::string toNarrow(std::u16string_view wide) {
    std::string narrow;
    narrow.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        // A surrogate pair is one character outside the code page.
        if (isHighSurrogate(wide[i]) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1])) {
            ++i;
        }
        narrow += narrowOf(wide[i]);
    }
    return narrow;
}

std::string toUtf8(std::u16string_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t code = wide[i];
        if (isHighSurrogate(wide[i]) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00);
        } else if (isHighSurrogate(wide[i]) || isLowSurrogate(wide[i])) {
            code = 0xFFFD;
        }
        appendUtf8(utf8, code);
    }
    return utf8;
}

std::u16string fromUtf8(std::string_view utf8) {
    std::u16string wide;
    wide.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        appendUtf16(wide, decodeUtf8(utf8, i));
    }
    return wide;
}

}  // namespace text
