// Fuzzes date reading (KroDate): the input is "text", or "text\0pattern" for
// the reading by a pattern; the first byte picks also the wide readers, the
// empty date and the month name. A date read is written back by a pattern.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "core/KroDate.h"
#include "core/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t choice = data[0];
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t zero = input.find('\0');
    const std::string text(input.substr(0, zero));
    const std::string pattern(zero == std::string_view::npos ? "" : input.substr(zero + 1));
    MemoryEnv env;
    KroDate date(&env);
    date.setAllowEmpty((choice & 1) != 0);
    const bool wide = (choice & 2) != 0;
    if (zero == std::string_view::npos) {
        wide ? date.parse(text::toWide(text)) : date.parse(text);
    } else if (wide) {
        date.parseWithPattern(text::toWide(text), text::toWide(pattern));
    } else {
        date.parseWithPattern(text, pattern);
    }
    if ((choice & 4) != 0) {
        date.setWithMonthName(choice >> 3, text, 2024);
    }
    (void)date.format("GG/MM/AAAA");
    (void)date.format(pattern);
    (void)date.formatW(text::toWide(pattern));
    (void)date.serial();
    (void)date.julianDay();
    date.nextDay();
    return 0;
}
