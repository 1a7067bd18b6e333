// KroDate is the system's calendar date, from 1900-01-01 to 2099-12-31. It
// reads dates from the texts the operator, the database and the suite's files
// supply (with or without separators, day first or year first, two-digit or
// four-digit years, Italian month abbreviations), writes them in the bank's
// layouts through a small pattern language ("GG/MM/AAAA", "AAAA-MM-GG",
// "AAMMGG", "GG MMM AAAA" ...) and counts days (day of the year, serial day
// number, next day).
//
//   KroDate date;                       // today, valid
//   if (!date.parse("5/3/24")) ...      // bit 0 of status() tells the same
//   std::string sql = date.format("AAAA-MM-GG");
//
// A date is valid (bit 0 clear), invalid (bit 0 set) or, when allowed, the
// empty date (all zero). Texts handed out by format, formatW and
// formatDefault belong to the date and stay valid until the next call that
// formats. A year below 100 is a two-digit year: below the century pivot (99)
// it is in the 2000s, otherwise in the 1900s.
#pragma once

#include <string>
#include <string_view>

#include "core/KroFastObject.h"
#include "platform/Env.h"

class KroDate : public KroFastObject {
public:
    // Status bits.
    static constexpr int kBadDate = 0;
    static constexpr int kNoHolidayTable = 16;
    // The longest pattern format accepts.
    static constexpr size_t kMaxPatternLength = 20;
    // The serial number of 2099-12-31, the last day of the calendar.
    static constexpr int kLastSerial = 73050;

    // Holds today's date (the clock of env, in UTC).
    explicit KroDate(Env* env = Env::Default());

    const char* errorText(int bit) const override;

    virtual void setAllowEmpty(bool allow);
    // Sets bit 0 unless the fields make a date of the calendar.
    virtual bool validate();
    virtual bool setToday();
    virtual bool set(int day, int month, int year);
    // Reads a date whose layout is detected: separated numbers, day first or
    // year first, or by length "GGMMA", "GGMMAA", "GMMAAAA", "GGMMAAAA".
    virtual bool parse(const char* text);
    virtual bool parse(const std::string& text);
    virtual bool parse(const std::u16string& text);
    // Reads a date laid out by a pattern; an absent or empty pattern detects
    // the layout as parse does.
    virtual bool parseWithPattern(const char* text, const char* pattern);
    virtual bool parseWithPattern(const std::string& text, const std::string& pattern);
    virtual bool parseWithPattern(const std::u16string& text, const std::u16string& pattern);
    // The month by its Italian or English name (first three letters, any
    // case). A name that gives no month returns false and changes nothing.
    virtual bool setWithMonthName(int day, const char* name, int year);
    virtual bool setWithMonthName(int day, const std::string& name, int year);
    virtual bool setWithMonthName(int day, const std::u16string& name, int year);
    // A day out of the year's range returns false and changes nothing.
    virtual bool setFromDayOfYear(int dayOfYear, int year);
    // The inverse of serial(); a number outside 1..kLastSerial is invalid.
    virtual bool setFromSerial(int serial);
    virtual bool isEmpty() const { return empty_; }

    // Copies a valid or empty date (day, month, year, default pattern, the
    // empty date's flags) and clears this date's status. An invalid other
    // date copies nothing and returns false.
    bool assign(const KroDate& other);
    // The following day; an invalid or empty date stays as it is.
    void nextDay();

    int day() const { return day_; }
    int month() const { return month_; }
    int year() const { return year_; }
    bool allowEmpty() const { return allowEmpty_; }
    int centuryPivot() const { return centuryPivot_; }

    // Year 0 means the date's own year. 1900 counts as a leap year, as in
    // spreadsheet serial dates; other years follow the Gregorian rule.
    bool isLeapYear(int year = 0) const;
    // 0 when the month is not 1 to 12.
    int daysInMonth() const;
    // Day of the year, 1 to 366; 0 for an invalid or empty date.
    int julianDay() const;
    // 0 for 1900-01-01; -1 for an invalid or empty date.
    int daysSince1900() const;
    // 1 for 1900-01-01, counting a 29 February 1900; -1 for an invalid or
    // empty date.
    int serial() const;
    // A one-digit year d becomes the year ending in d within the current
    // year - 1 to the current year + 8. Other years are left alone.
    void expandOneDigitYear();

    // "D" becomes "G" and "Y" becomes "A" (upper case only); an absent
    // pattern restores "GG/MM/AAAA".
    void setDefaultPattern(const char* pattern);
    void setDefaultPattern(const std::string& pattern);
    void setDefaultPattern(const std::u16string& pattern);
    const std::string& defaultPattern() const { return defaultPattern_; }

    // Writes the date by the pattern, or, when the pattern is absent, by the
    // text of the buffer. Returns the result text (also copied into the buffer
    // when one is given), or nullptr when the date is invalid (the buffer is
    // then emptied when a pattern is given too), when neither is given or the
    // pattern is longer than kMaxPatternLength.
    const char* format(std::string* buffer, const char* pattern);
    const char* format(const char* pattern) { return format(nullptr, pattern); }
    const char* format(const std::string& pattern) { return format(nullptr, pattern.c_str()); }
    // Makes the pattern (nullptr: "GG/MM/AAAA") the default pattern, formats
    // with it and returns the text widened (also copied into the buffer when
    // one is given); empty for an invalid date.
    const std::u16string& formatW(std::u16string* buffer, const char16_t* pattern);
    const std::u16string& formatW(const std::u16string& pattern);
    // format with the default pattern.
    const char* formatDefault() { return format(nullptr, defaultPattern_.c_str()); }

private:
    bool parseText(std::string_view text);
    bool parseWithPatternText(std::string_view text, std::string_view pattern);
    bool parseSeparated(std::string_view text);
    bool readMonth(std::string_view text, size_t runLength);
    bool setMonthFromName(int day, std::string_view name, int year);
    void storeDefaultPattern(std::string_view pattern);
    bool markInvalid();
    void makeEmpty(bool badDateBit);
    void expandTwoDigitYear();
    bool holdsValidDate() const { return !status_.test(kBadDate) && !empty_ && fieldsMakeADate(); }
    bool fieldsMakeADate() const;
    void storeDayOfYear(int dayOfYear);

    Env* env_;
    bool empty_ = false;
    bool allowEmpty_ = false;
    int day_ = 0;
    int month_ = 0;
    int year_ = 0;
    int centuryPivot_ = 99;
    std::string result_;
    std::u16string resultW_;
    std::string defaultPattern_;
};
