#include "core/KroDate.h"

#include "core/SuiteText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "core/Text.h"

namespace {

constexpr const char* kStandardPattern = "GG/MM/AAAA";
// Characters that make parse read the text as separated numbers, and the
// characters that actually split it (the apostrophe marks but does not split).
constexpr std::string_view kSeparatedMarks = ".-/\\,' _";
constexpr std::string_view kSeparators = "/-., _\\";

constexpr std::array<const char*, 12> kItalianMonths = {"GEN", "FEB", "MAR", "APR", "MAG", "GIU",
                                                        "LUG", "AGO", "SET", "OTT", "NOV", "DIC"};
constexpr std::array<const char*, 12> kEnglishMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Days at the end of each month in a common year and in a leap year.
constexpr std::array<int, 12> kCumulativeDays = {31,  59,  90,  120, 151, 181,
                                                 212, 243, 273, 304, 334, 365};
constexpr std::array<int, 12> kCumulativeLeapDays = {31,  60,  91,  121, 152, 182,
                                                     213, 244, 274, 305, 335, 366};

// Digit runs longer than this are held at it, so reading never overflows.
constexpr int64_t kLargestNumber = 999'999'999;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

using suitetext::upperAscii;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return suitetext::sameIgnoringCase(a, b);
}

// Leading blanks and a sign allowed, reading stops at the first non-digit,
// nothing gives 0; held at kLargestNumber either way, so it fits an int.
int readDecimal(std::string_view text) {
    const int64_t value = suitetext::readDecimal(text);
    return static_cast<int>(std::clamp(value, -kLargestNumber, kLargestNumber));
}

// "D" and "Y" stand for "G" and "A".
std::string withDayAndYearLetters(std::string_view pattern) {
    std::string result(pattern);
    std::replace(result.begin(), result.end(), 'D', 'G');
    std::replace(result.begin(), result.end(), 'Y', 'A');
    return result;
}

// The pattern as the readers and the writer look at it: upper case, with
// "D" and "Y" standing for "G" and "A".
std::string workingPattern(std::string_view pattern) {
    std::string upper(pattern);
    std::transform(upper.begin(), upper.end(), upper.begin(), upperAscii);
    return withDayAndYearLetters(upper);
}

// The first run of a letter in a working pattern; length 0 when absent.
struct Run {
    size_t position = 0;
    size_t length = 0;
};

Run firstRun(const std::string& pattern, char letter) {
    Run run;
    run.position = pattern.find(letter);
    if (run.position == std::string::npos) {
        return Run{};
    }
    while (run.position + run.length < pattern.size() &&
           pattern[run.position + run.length] == letter) {
        ++run.length;
    }
    return run;
}

std::string_view field(std::string_view text, size_t position, size_t length) {
    return position < text.size() ? text.substr(position, length) : std::string_view();
}

// Overwrites in place; what would fall past the end of the text is dropped.
void overwrite(std::string& text, size_t position, std::string_view with) {
    for (size_t i = 0; i < with.size() && position + i < text.size(); ++i) {
        text[position + i] = with[i];
    }
}

std::string zeroPadded(int value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.*d", digits, value);
    return buffer;
}

// A product of non-zero integers is positive when an even number of them
// are negative; this avoids multiplying numbers that may be large.
bool productBelowOne(const std::array<int, 3>& numbers) {
    int negatives = 0;
    for (int n : numbers) {
        if (n == 0) {
            return true;
        }
        negatives += n < 0 ? 1 : 0;
    }
    return negatives % 2 != 0;
}

// The first three numbers of the text; a missing one is -1.
std::array<int, 3> separatedNumbers(std::string_view text) {
    std::array<int, 3> numbers = {-1, -1, -1};
    size_t count = 0;
    size_t start = text.find_first_not_of(kSeparators);
    while (start != std::string_view::npos && count < numbers.size()) {
        size_t end = std::min(text.find_first_of(kSeparators, start), text.size());
        numbers[count++] = readDecimal(text.substr(start, end - start));
        start = text.find_first_not_of(kSeparators, end);
    }
    return numbers;
}

std::string_view viewOf(const char* text) {
    return text ? std::string_view(text) : "";
}

}  // namespace

KroDate::KroDate(Env* env) : env_(env), defaultPattern_(kStandardPattern) {
    setToday();
}

const char* KroDate::errorText(int bit) const {
    switch (bit) {
        case kBadDate:
            return "Data Errata";
        case kNoHolidayTable:
            return "Tabella festività assente";
        default:
            return "Errore non definito";
    }
}

void KroDate::setAllowEmpty(bool allow) {
    allowEmpty_ = allow;
}

bool KroDate::validate() {
    empty_ = false;
    if (!fieldsMakeADate()) {
        status_.set(kBadDate);
        return false;
    }
    status_.reset(kBadDate);
    return true;
}

bool KroDate::fieldsMakeADate() const {
    return year_ >= 1900 && year_ <= 2099 && day_ >= 1 && day_ <= daysInMonth();
}

// A failed reading leaves an invalid date, never a stale empty one.
bool KroDate::markInvalid() {
    empty_ = false;
    status_.set(kBadDate);
    return false;
}

void KroDate::makeEmpty(bool badDateBit) {
    day_ = month_ = year_ = 0;
    empty_ = true;
    if (badDateBit) {
        status_.set(kBadDate);
    } else {
        status_.reset(kBadDate);
    }
}

// Negative numbers are not two-digit years.
void KroDate::expandTwoDigitYear() {
    if (year_ >= 0 && year_ < 100) {
        year_ += year_ < centuryPivot_ ? 2000 : 1900;
    }
}

bool KroDate::setToday() {
    const UtcTime now = env_->nowUtc();
    day_ = now.day;
    month_ = now.month;
    year_ = now.year;
    return validate();
}

bool KroDate::set(int day, int month, int year) {
    day_ = day;
    month_ = month;
    year_ = year;
    if (year > 100 && year < 1900) {
        return markInvalid();
    }
    if (day == 0 && month == 0 && allowEmpty_) {
        makeEmpty(true);
        return true;
    }
    expandTwoDigitYear();
    return validate();
}

bool KroDate::parse(const char* text) {
    return parseText(viewOf(text));
}
bool KroDate::parse(const std::string& text) {
    return parseText(text);
}
bool KroDate::parse(const std::u16string& text) {
    return parseText(text::toNarrow(text));
}

bool KroDate::parseText(std::string_view text) {
    if (text.find_first_of(kSeparatedMarks) != std::string_view::npos) {
        return parseSeparated(text);
    }
    switch (text.size()) {
        case 5:
            return parseWithPatternText(text, "GGMMA");
        case 6:
            return parseWithPatternText(text, "GGMMAA");
        case 7:
            return parseWithPatternText(text, "GMMAAAA");
        case 8:
        case 9:
            return parseWithPatternText(text, "GGMMAAAA");
        default:
            return markInvalid();
    }
}

bool KroDate::parseSeparated(std::string_view text) {
    const std::array<int, 3> n = separatedNumbers(text);
    if (allowEmpty_ && n[0] == 0 && n[1] == 0 && n[2] == 0) {
        makeEmpty(false);
        return true;
    }
    if (productBelowOne(n)) {
        return markInvalid();
    }
    bool accepted = false;
    if (n[0] < 32 && n[1] < 13) {
        accepted = set(n[0], n[1], n[2]);
    } else if (n[0] > 1900 && n[1] < 13) {
        accepted = set(n[2], n[1], n[0]);  // year first
    }
    return accepted ? true : markInvalid();
}

bool KroDate::parseWithPattern(const char* text, const char* pattern) {
    return parseWithPatternText(viewOf(text), viewOf(pattern));
}

bool KroDate::parseWithPattern(const std::string& text, const std::string& pattern) {
    return parseWithPatternText(text, pattern);
}

bool KroDate::parseWithPattern(const std::u16string& text, const std::u16string& pattern) {
    return parseWithPatternText(text::toNarrow(text), text::toNarrow(pattern));
}

// Only the first run of each letter is read; the rest of the text is not
// looked at.
bool KroDate::parseWithPatternText(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) {
        return parseText(text);
    }
    const std::string p = workingPattern(pattern);
    if (text.size() < p.size()) {
        day_ = month_ = year_ = 99;
        return validate();
    }
    const Run dayRun = firstRun(p, 'G');
    if (dayRun.length == 0) {
        return markInvalid();
    }
    std::string_view dayText = field(text, dayRun.position, dayRun.length >= 2 ? 2 : 1);
    if (!dayText.empty() && !isDigit(dayText.front())) {
        dayText.remove_prefix(1);
    }
    day_ = readDecimal(dayText);

    const Run monthRun = firstRun(p, 'M');
    if (monthRun.length == 0 || !readMonth(field(text, monthRun.position, 3), monthRun.length)) {
        return markInvalid();
    }

    const Run yearRun = firstRun(p, 'A');
    if (yearRun.length == 0) {
        return markInvalid();
    }
    year_ = readDecimal(field(text, yearRun.position, std::min<size_t>(yearRun.length, 4)));

    if (day_ == 0 && month_ == 0 && allowEmpty_) {
        makeEmpty(false);
        return true;
    }
    switch (yearRun.length) {
        case 1:
            expandOneDigitYear();
            break;
        case 2:
            expandTwoDigitYear();
            break;
        case 3:
            return markInvalid();
        default:
            break;  // four digits: the year stands
    }
    return validate();
}

// Up to two letters give the month's number; three or more its Italian
// abbreviation.
bool KroDate::readMonth(std::string_view text, size_t runLength) {
    if (runLength < 3) {
        month_ = readDecimal(text.substr(0, runLength));
        return true;
    }
    for (size_t i = 0; i < kItalianMonths.size(); ++i) {
        if (equalsIgnoringCase(text, kItalianMonths[i])) {
            month_ = static_cast<int>(i) + 1;
            return true;
        }
    }
    return false;
}

bool KroDate::setWithMonthName(int day, const char* name, int year) {
    return name != nullptr && setMonthFromName(day, name, year);
}

bool KroDate::setWithMonthName(int day, const std::string& name, int year) {
    return setMonthFromName(day, name, year);
}

bool KroDate::setWithMonthName(int day, const std::u16string& name, int year) {
    return setMonthFromName(day, text::toNarrow(name), year);
}

bool KroDate::setMonthFromName(int day, std::string_view name, int year) {
    if (name.size() < 3) {
        return false;
    }
    const std::string_view prefix = name.substr(0, 3);
    for (size_t i = 0; i < kItalianMonths.size(); ++i) {
        if (equalsIgnoringCase(prefix, kItalianMonths[i]) ||
            equalsIgnoringCase(prefix, kEnglishMonths[i])) {
            return set(day, static_cast<int>(i) + 1, year);
        }
    }
    return false;
}

bool KroDate::setFromDayOfYear(int dayOfYear, int year) {
    if (year >= 0 && year < 100) {
        year += year < centuryPivot_ ? 2000 : 1900;
    }
    const int length = isLeapYear(year) ? 366 : 365;
    if (dayOfYear <= 0 || dayOfYear > length) {
        return false;
    }
    year_ = year;
    storeDayOfYear(dayOfYear);
    return validate();
}

void KroDate::storeDayOfYear(int dayOfYear) {
    const std::array<int, 12>& ends = isLeapYear() ? kCumulativeLeapDays : kCumulativeDays;
    size_t month = 0;
    while (ends[month] < dayOfYear) {
        ++month;
    }
    month_ = static_cast<int>(month) + 1;
    day_ = month == 0 ? dayOfYear : dayOfYear - ends[month - 1];
}

bool KroDate::setFromSerial(int serial) {
    if (serial < 1 || serial > kLastSerial) {
        return markInvalid();
    }
    const int y = serial / 365;
    const int d = serial % 365 - (y + 3) / 4;
    if (d > 0) {
        return setFromDayOfYear(d, 1900 + y);
    }
    const int year = 1899 + y;
    return setFromDayOfYear(d + 365 + (isLeapYear(year) ? 1 : 0), year);
}

bool KroDate::assign(const KroDate& other) {
    const bool otherIsEmpty = other.empty_ && other.allowEmpty_;
    if (!otherIsEmpty && !other.holdsValidDate()) {
        return false;
    }
    day_ = other.day_;
    month_ = other.month_;
    year_ = other.year_;
    status_.clear();
    defaultPattern_ = other.defaultPattern_;
    empty_ = otherIsEmpty;
    if (other.allowEmpty_) {
        allowEmpty_ = true;
    }
    if (otherIsEmpty && other.status_.test(kBadDate)) {
        status_.set(kBadDate);  // an empty date made by set carries bit 0
    }
    return true;
}

void KroDate::nextDay() {
    if (holdsValidDate()) {
        setFromSerial(serial() + 1);
    }
}

bool KroDate::isLeapYear(int year) const {
    const int y = year == 0 ? year_ : year;
    return y == 1900 || (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int KroDate::daysInMonth() const {
    switch (month_) {
        case 2:
            return isLeapYear() ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        default:
            return month_ >= 1 && month_ <= 12 ? 31 : 0;
    }
}

int KroDate::julianDay() const {
    if (!holdsValidDate()) {
        return 0;
    }
    const int before = month_ == 1 ? 0 : kCumulativeDays[month_ - 2];
    return before + day_ + (isLeapYear() && month_ > 2 ? 1 : 0);
}

int KroDate::daysSince1900() const {
    if (!holdsValidDate()) {
        return -1;
    }
    return julianDay() + 365 * year_ + (year_ - 1897) / 4 - 693501;
}

int KroDate::serial() const {
    const int days = daysSince1900();
    return days < 0 ? -1 : days + 1;
}

void KroDate::expandOneDigitYear() {
    if (year_ < 0 || year_ > 9) {
        return;
    }
    const int current = env_->nowUtc().year;
    int expanded = ((current - 1) / 10) * 10 + year_;
    if (expanded < current - 1) {
        expanded += 10;
    }
    year_ = expanded;
}

void KroDate::setDefaultPattern(const char* pattern) {
    storeDefaultPattern(pattern ? std::string_view(pattern) : kStandardPattern);
}

void KroDate::setDefaultPattern(const std::string& pattern) {
    storeDefaultPattern(pattern);
}

void KroDate::setDefaultPattern(const std::u16string& pattern) {
    storeDefaultPattern(text::toNarrow(pattern));
}

void KroDate::storeDefaultPattern(std::string_view pattern) {
    defaultPattern_ = withDayAndYearLetters(pattern);
}

const char* KroDate::format(std::string* buffer, const char* pattern) {
    if (status_.test(kBadDate) && !(empty_ && allowEmpty_)) {
        if (buffer && pattern) {
            buffer->clear();
        }
        return nullptr;
    }
    if (!pattern && !buffer) {
        return nullptr;
    }
    // Copied first: the pattern may be the buffer's own text.
    std::string text = pattern ? std::string(pattern) : *buffer;
    if (text.size() > kMaxPatternLength) {
        return nullptr;
    }
    const std::string p = workingPattern(text);

    // Day, year, month in this order: a later field overwrites an earlier one.
    if (const Run run = firstRun(p, 'G'); run.length > 0) {
        overwrite(text, run.position,
                  run.length == 3 ? zeroPadded(julianDay(), 3) : zeroPadded(day_, 2));
    }
    if (const Run run = firstRun(p, 'A'); run.length > 0) {
        const std::string year = zeroPadded(year_, 4);
        const size_t digits = std::min<size_t>(run.length, 4);
        overwrite(text, run.position, std::string_view(year).substr(year.size() - digits));
    }
    if (const Run run = firstRun(p, 'M'); run.length > 0) {
        const bool named = run.length == 3;
        if (named && month_ >= 1 && month_ <= 12) {
            overwrite(text, run.position, kEnglishMonths[month_ - 1]);
        } else {
            overwrite(text, run.position, zeroPadded(month_, named ? 3 : 2));
        }
    }
    result_ = std::move(text);
    if (buffer) {
        *buffer = result_;
    }
    return result_.c_str();
}

const std::u16string& KroDate::formatW(std::u16string* buffer, const char16_t* pattern) {
    if (pattern) {
        setDefaultPattern(text::toNarrow(pattern));
    } else {
        setDefaultPattern(nullptr);
    }
    const char* narrow = formatDefault();
    resultW_ = narrow ? text::toWide(narrow) : std::u16string();
    if (buffer) {
        *buffer = resultW_;
    }
    return resultW_;
}

const std::u16string& KroDate::formatW(const std::u16string& pattern) {
    return formatW(nullptr, pattern.c_str());
}
