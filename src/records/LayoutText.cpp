#include "records/LayoutText.h"

namespace layouttext {

namespace {

bool isWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

int64_t readDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isWhiteSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    int64_t value = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        if (value < kDecimalLimit) {
            value = value * 10 + (text[at] - '0');
        }
    }
    if (value > kDecimalLimit) {
        value = kDecimalLimit;
    }
    return negative ? -value : value;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace layouttext
