#include "core/FormatThousands.h"

#include <algorithm>

std::string FormatThousands(int64_t value, int width) {
    // The digits of the magnitude, built from the right; unsigned so that
    // the smallest int64_t has one too.
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string text;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0) {
            text += '.';
        }
        text += static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++digits;
    } while (magnitude != 0);
    if (value < 0) {
        text += '-';
    }
    std::reverse(text.begin(), text.end());
    if (static_cast<int64_t>(text.size()) > width) {
        return std::string(static_cast<size_t>(std::max(width, 0)), '*');
    }
    return text;
}
