#include "core/SuiteText.h"

#include <cstdio>

namespace suitetext {

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

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string withoutTrailingBlanks(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(last == std::string_view::npos ? std::string_view()
                                                      : text.substr(0, last + 1));
}

std::string_view fieldAt(std::string_view text, std::size_t offset, std::size_t length) {
    return offset < text.size() ? text.substr(offset, length) : std::string_view();
}

std::string fieldText(std::string_view text, std::size_t offset, std::size_t length) {
    const std::string_view field = fieldAt(text, offset, length);
    return withoutTrailingBlanks(field.substr(0, field.find('\0')));
}

std::string trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    return std::string(text.substr(first, last - first));
}

std::string twoDigits(int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2lld", static_cast<long long>(value));
    return text;
}

}  // namespace suitetext
