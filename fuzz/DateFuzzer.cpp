// Fuzzes date reading (KroDate): the input is "text", or "text\0pattern" for
// the reading by a pattern; the first byte picks also the wide readers, the
// empty date and the month name. A date read is written back by a pattern.
// A valid date is a day of the calendar, and it comes back the same when its
// text is read again and from its serial number.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "core/KroDate.h"
#include "core/Text.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool sameDay(const KroDate& a, const KroDate& b) {
    return a.day() == b.day() && a.month() == b.month() && a.year() == b.year();
}

void checkValidDate(KroDate& date, MemoryEnv& env) {
    if (date.status().test(KroDate::kBadDate) || date.isEmpty()) {
        return;
    }
    check(date.year() >= 1900 && date.year() <= 2099 && date.month() >= 1 && date.month() <= 12 &&
          date.day() >= 1 && date.day() <= date.daysInMonth());
    const char* text = date.format("GG/MM/AAAA");
    check(text != nullptr);
    KroDate again(&env);
    check(again.parse(std::string(text)) && sameDay(again, date));
    KroDate fromSerial(&env);
    check(fromSerial.setFromSerial(date.serial()) && sameDay(fromSerial, date));
}

}  // namespace

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
    checkValidDate(date, env);
    (void)date.format(pattern);
    (void)date.formatW(text::toWide(pattern));
    (void)date.serial();
    (void)date.julianDay();
    date.nextDay();
    return 0;
}
