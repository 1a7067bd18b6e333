#include "core/KroDate.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "core/Text.h"
#include "support/TestEnv.h"

namespace {

using Ymd = std::tuple<int, int, int>;

Ymd fieldsOf(const KroDate& date) {
    return {date.day(), date.month(), date.year()};
}

bool badDate(const KroDate& date) {
    return date.status().test(KroDate::kBadDate);
}

TestEnv clockAt(int year, int month, int day) {
    TestEnv env;
    env.now = UtcTime{year, month, day, 10, 30, 0};
    return env;
}

// Every date starts on a fixed clock, 15 June 2024.
class KroDateTest : public ::testing::Test {
protected:
    TestEnv env = clockAt(2024, 6, 15);
    KroDate date{&env};
};

// ---------------------------------------------------------------- status

TEST_F(KroDateTest, ErrorTextsNameBitsZeroAndSixteenAndDefaultTheRest) {
    EXPECT_STREQ(date.errorText(0), "Data Errata");
    EXPECT_STREQ(date.errorText(16), "Tabella festività assente");
    for (int bit : {1, 15, 17, 31, 40}) {
        EXPECT_STREQ(date.errorText(bit), "Errore non definito") << bit;
    }
    const std::u16string holidays = u"Tabella festività assente";
    EXPECT_EQ(date.errorTextW(16), holidays);
    EXPECT_EQ(date.errorTextW(0), u"Data Errata");
    EXPECT_EQ(date.name(), nullptr);
}

TEST_F(KroDateTest, NewDateHoldsTodayOfTheClockAndIsValid) {
    EXPECT_EQ(fieldsOf(date), Ymd(15, 6, 2024));
    EXPECT_EQ(date.status().value(), 0u);
    EXPECT_FALSE(date.isEmpty());
    EXPECT_FALSE(date.allowEmpty());
    EXPECT_EQ(date.defaultPattern(), "GG/MM/AAAA");
    EXPECT_EQ(date.centuryPivot(), 99);
}

TEST(KroDateClock, TodayOutsideTheCalendarIsInvalid) {
    TestEnv env = clockAt(2100, 1, 1);
    KroDate date(&env);
    EXPECT_TRUE(badDate(date));
    EXPECT_FALSE(date.setToday());
}

TEST_F(KroDateTest, SetTodayLeavesAValidDateNotEmpty) {
    date.setAllowEmpty(true);
    ASSERT_TRUE(date.parse("00/00/0000"));
    ASSERT_TRUE(date.isEmpty());
    EXPECT_TRUE(date.setToday());
    EXPECT_FALSE(date.isEmpty());
    EXPECT_EQ(fieldsOf(date), Ymd(15, 6, 2024));
    EXPECT_STREQ(date.formatDefault(), "15/06/2024");
}

// ---------------------------------------------------------------- set

struct SetCase {
    int day, month, year;
    bool valid;
    int expectedYear;
};

TEST_F(KroDateTest, SetAcceptsTheCalendarAndExpandsTwoDigitYears) {
    const SetCase cases[] = {
        {29, 2, 1900, true, 1900},       {29, 2, 2100, false, 2100},
        {29, 2, 2000, true, 2000},       {29, 2, 2023, false, 2023},
        {1, 1, 99, true, 1999},          {1, 1, 98, true, 2098},
        {1, 1, 0, true, 2000},           {1, 1, 100, false, 100},
        {1, 1, 1899, false, 1899},       {1, 1, 1900, true, 1900},
        {31, 12, 2099, true, 2099},      {31, 4, 2024, false, 2024},
        {1, 13, 2024, false, 2024},      {0, 3, 2024, false, 2024},
        {1, 0, 2024, false, 2024},       {-5, 3, 2024, false, 2024},
        {1, 1, -1, false, -1},           {1, 1, INT_MIN, false, INT_MIN},
        {INT_MAX, 1, 2024, false, 2024},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.day << "/" << c.month << "/" << c.year);
        EXPECT_EQ(date.set(c.day, c.month, c.year), c.valid);
        EXPECT_EQ(badDate(date), !c.valid);
        EXPECT_EQ(date.year(), c.expectedYear);
    }
}

TEST_F(KroDateTest, SetOfZeroDayAndMonthGivesTheEmptyDateOnlyWhenAllowed) {
    EXPECT_FALSE(date.set(0, 0, 2024));
    EXPECT_FALSE(date.isEmpty());

    date.setAllowEmpty(true);
    EXPECT_TRUE(date.set(0, 0, 2024));
    EXPECT_TRUE(date.isEmpty());
    EXPECT_TRUE(badDate(date));  // set marks its empty date with bit 0
    EXPECT_EQ(fieldsOf(date), Ymd(0, 0, 0));
    EXPECT_STREQ(date.formatDefault(), "00/00/0000");
    EXPECT_EQ(date.serial(), -1);
    EXPECT_EQ(date.julianDay(), 0);
}

// ---------------------------------------------------------------- parse

struct ParseCase {
    const char* text;
    bool valid;
    Ymd expected;  // checked for the texts that read
};

TEST_F(KroDateTest, ParseDetectsTheLayout) {
    const ParseCase cases[] = {
        {"010203", true, {1, 2, 2003}},
        {"1022024", true, {1, 2, 2024}},  // seven characters: one-digit day
        {"01022003", true, {1, 2, 2003}},
        {"010220031", true, {1, 2, 2003}},  // nine: the last is not read
        {"31122024", true, {31, 12, 2024}},
        {"20030201", false, {}},  // day first: year 201
        {"0102", false, {}},
        {"0102200312", false, {}},
        {"", false, {}},
        {"ab0203", false, {}},
        {"5/3/24", true, {5, 3, 2024}},
        {"2024-3-5", true, {5, 3, 2024}},
        {"05'03'2024", false, {}},  // marked as separated, not split
        {"31/12/2024", true, {31, 12, 2024}},
        {"31-12-24", true, {31, 12, 2024}},
        {"1.2.99", true, {1, 2, 1999}},
        {"2024-12-31", true, {31, 12, 2024}},
        {"2024/1/5", true, {5, 1, 2024}},
        {"5_3_2024", true, {5, 3, 2024}},
        {"5\\3\\2024", true, {5, 3, 2024}},
        {"  5 ,, 3 -- 2024  ", true, {5, 3, 2024}},  // runs of separators count as one
        {"5,3,2024", true, {5, 3, 2024}},
        {"1900-05-03", false, {}},  // 1900 is not above 1900
        {"32/1/2024", false, {}},
        {"5/13/2024", false, {}},
        {"5/3", false, {}},
        {"0/3/2024", false, {}},
        {"31/4/2024", false, {}},
        {"5/3/1850", false, {}},
        {"99999999999999999999/1/2024", false, {}},
        {"1/1/99999999999999999999", false, {}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        date.set(15, 6, 2024);
        EXPECT_EQ(date.parse(c.text), c.valid);
        EXPECT_EQ(badDate(date), !c.valid);
        if (c.valid) {
            EXPECT_EQ(fieldsOf(date), c.expected);
        }
    }
}

TEST_F(KroDateTest, ParseOfFiveCharactersTakesAOneDigitYearNearTheClock) {
    EXPECT_TRUE(date.parse("01024"));
    EXPECT_EQ(fieldsOf(date), Ymd(1, 2, 2024));
    EXPECT_TRUE(date.parse("01022"));
    EXPECT_EQ(fieldsOf(date), Ymd(1, 2, 2032));
}

TEST_F(KroDateTest, ParseReadsZerosAsTheEmptyDateOnlyWhenAllowed) {
    for (const char* text : {"00/00/0000", "000000", "0-0-0"}) {
        SCOPED_TRACE(text);
        date.setAllowEmpty(false);
        EXPECT_FALSE(date.parse(text));
        EXPECT_FALSE(date.isEmpty());

        date.setAllowEmpty(true);
        EXPECT_TRUE(date.parse(text));
        EXPECT_TRUE(date.isEmpty());
        EXPECT_FALSE(badDate(date));  // the readers clear bit 0 for the empty date
        EXPECT_STREQ(date.formatDefault(), "00/00/0000");
    }
}

TEST_F(KroDateTest, EveryTextVariantReadsTheSame) {
    EXPECT_TRUE(date.parse(std::string("5/3/24")));
    EXPECT_EQ(fieldsOf(date), Ymd(5, 3, 2024));
    EXPECT_TRUE(date.parse(std::u16string(u"2024-12-31")));
    EXPECT_EQ(fieldsOf(date), Ymd(31, 12, 2024));
    EXPECT_FALSE(date.parse(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(badDate(date));
}

// ---------------------------------------------------------------- parseWithPattern

struct PatternCase {
    const char* text;
    const char* pattern;
    bool valid;
    Ymd expected;
};

TEST_F(KroDateTest, ParseWithPatternReadsTheFirstRunOfEachLetter) {
    const PatternCase cases[] = {
        {"05 MAR 2024", "GG MMM AAAA", true, {5, 3, 2024}},
        {"05 MAR 2024", "gg mmm aaaa", true, {5, 3, 2024}},
        {"05 mar 2024", "GG MMM AAAA", true, {5, 3, 2024}},
        {"05 ottobre 2024", "GG MMM     AAAA", true, {5, 10, 2024}},
        {"05 DIC 2024", "GG MMMMM AAAA", false, {}},        // five letters: text too short
        {"05 OCT 2024", "GG MMM AAAA", false, {}},          // the readers know Italian names
        {"05 N*F 2024", "GG MMM AAAA", false, {}},          // not a whole name
        {"05 MAR 24", "GG MMM AAAA", false, {99, 99, 99}},  // shorter than the pattern
        {"05/03/2024", "DD/MM/YYYY", true, {5, 3, 2024}},
        {"05/03/2024", "dd/mm/yyyy", true, {5, 3, 2024}},
        {"2024-03-05", "AAAA-MM-GG", true, {5, 3, 2024}},
        {"240305", "AAMMGG", true, {5, 3, 2024}},
        {"050399", "GGMMAA", true, {5, 3, 1999}},
        {"050398", "GGMMAA", true, {5, 3, 2098}},
        {"x5/03/2024", "GG/MM/AAAA", true, {5, 3, 2024}},  // a non-digit first is dropped
        {"5/03/2024 and more", "G/MM/AAAA", true, {5, 3, 2024}},
        {"05/03/20245", "GG/MM/AAAAA", true, {5, 3, 2024}},  // four digits at most
        {"05/03/202", "GG/MM/AAA", false, {}},               // three-digit year
        {"05/03/1899", "GG/MM/AAAA", false, {}},
        {"05/03/-2", "GG/MM/AA", false, {}},  // not a two-digit year
        {"05/03/2024", "XX/MM/AAAA", false, {}},
        {"05/03/2024", "GG/XX/AAAA", false, {}},
        {"05/03/2024", "GG/MM/XXXX", false, {}},
        {"5/3/24", "", true, {5, 3, 2024}},  // no pattern: the layout is detected
        {"5/3/24", nullptr, true, {5, 3, 2024}},
    };
    for (const PatternCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " with " << (c.pattern ? c.pattern : "null"));
        date.set(15, 6, 2024);
        EXPECT_EQ(date.parseWithPattern(c.text, c.pattern), c.valid);
        EXPECT_EQ(badDate(date), !c.valid);
        if (c.valid || std::get<0>(c.expected) != 0) {
            EXPECT_EQ(fieldsOf(date), c.expected);
        }
    }
}

TEST_F(KroDateTest, ParseWithPatternReadsZerosAsTheEmptyDateWhenAllowed) {
    date.setAllowEmpty(true);
    EXPECT_TRUE(date.parseWithPattern("00.00.0000", "GG.MM.AAAA"));
    EXPECT_TRUE(date.isEmpty());
    EXPECT_FALSE(badDate(date));
}

TEST_F(KroDateTest, AFailedReadingAfterTheEmptyDateLeavesItInvalidNotEmpty) {
    date.setAllowEmpty(true);
    const char* failing[][2] = {
        {"05/03/202", "GG/MM/AAA"}, {"05/03/2024", "XX/MM/AAAA"}, {"05 OCT 2024", "GG MMM AAAA"}};
    for (const auto& reading : failing) {
        SCOPED_TRACE(reading[0]);
        ASSERT_TRUE(date.parse("00/00/0000"));
        EXPECT_FALSE(date.parseWithPattern(reading[0], reading[1]));
        EXPECT_FALSE(date.isEmpty());
        EXPECT_EQ(date.formatDefault(), nullptr);
    }
    ASSERT_TRUE(date.parse("00/00/0000"));
    EXPECT_FALSE(date.parse("0102"));
    EXPECT_FALSE(date.isEmpty());
}

TEST_F(KroDateTest, ParseWithPatternTextVariants) {
    EXPECT_TRUE(
        date.parseWithPattern(std::u16string(u"05 MAR 2024"), std::u16string(u"GG MMM AAAA")));
    EXPECT_EQ(fieldsOf(date), Ymd(5, 3, 2024));
    EXPECT_TRUE(date.parseWithPattern(std::string("240101"), std::string("AAMMGG")));
    EXPECT_EQ(fieldsOf(date), Ymd(1, 1, 2024));
}

// ---------------------------------------------------------------- one-digit years

struct OneDigitCase {
    int clockYear;
    const char* digit;
    int expected;
};

TEST(KroDateClock, OneDigitYearLiesFromLastYearToEightYearsAhead) {
    const OneDigitCase cases[] = {
        {2024, "3", 2023}, {2024, "4", 2024}, {2024, "9", 2029}, {2024, "0", 2030},
        {2024, "2", 2032}, {2020, "9", 2019}, {2020, "8", 2028}, {2020, "0", 2020},
        {2021, "0", 2020}, {2021, "9", 2029}, {2099, "8", 2098}, {2099, "7", 2107},
    };
    for (const OneDigitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.clockYear << " " << c.digit);
        TestEnv env = clockAt(c.clockYear, 1, 1);
        KroDate date(&env);
        date.parseWithPattern((std::string("01/01/") + c.digit).c_str(), "GG/MM/A");
        EXPECT_EQ(date.year(), c.expected);
    }
}

TEST_F(KroDateTest, ExpandOneDigitYearLeavesOtherYearsAlone) {
    date.set(1, 1, 2024);
    date.expandOneDigitYear();
    EXPECT_EQ(date.year(), 2024);
    date.parseWithPattern("01/01/0005", "GG/MM/AAAA");  // four digits: the year stands
    EXPECT_EQ(date.year(), 5);
    date.expandOneDigitYear();
    EXPECT_EQ(date.year(), 2025);
}

// ---------------------------------------------------------------- month names

TEST_F(KroDateTest, SetWithMonthNameKnowsItalianAndEnglishNames) {
    const std::pair<const char*, int> names[] = {
        {"ottobre", 10}, {"OCT", 10},   {"oTt", 10},      {"Gen", 1},    {"january", 1},
        {"Mag", 5},      {"May", 5},    {"DICEMBRE", 12}, {"Dec", 12},   {"settembre", 9},
        {"Sep", 9},      {"giugno", 6}, {"Jul", 7},       {"agosto", 8}, {"Aug", 8},
    };
    for (const auto& [name, month] : names) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(date.setWithMonthName(5, name, 2024));
        EXPECT_EQ(fieldsOf(date), Ymd(5, month, 2024));
    }
    EXPECT_TRUE(date.setWithMonthName(5, std::u16string(u"ottobre"), 2024));
    EXPECT_EQ(fieldsOf(date), Ymd(5, 10, 2024));
    EXPECT_TRUE(date.setWithMonthName(5, std::string("Oct"), 24));
    EXPECT_EQ(fieldsOf(date), Ymd(5, 10, 2024));
}

TEST_F(KroDateTest, SetWithMonthNameWithoutAMonthChangesNothing) {
    for (bool invalidBefore : {false, true}) {
        if (invalidBefore) {
            date.set(31, 2, 2024);
        } else {
            date.set(15, 6, 2024);
        }
        const Ymd before = fieldsOf(date);
        for (const char* name :
             {"ot", "", "xyz", "\xE0\xE8\xEC", static_cast<const char*>(nullptr)}) {
            SCOPED_TRACE(name ? name : "null");
            EXPECT_FALSE(date.setWithMonthName(5, name, 2024));
            EXPECT_EQ(badDate(date), invalidBefore);
            EXPECT_EQ(fieldsOf(date), before);
        }
    }
}

TEST_F(KroDateTest, SetWithMonthNameOfAnImpossibleDayFails) {
    EXPECT_FALSE(date.setWithMonthName(31, "novembre", 2024));
    EXPECT_TRUE(badDate(date));
}

// ---------------------------------------------------------------- counting

TEST_F(KroDateTest, LeapYearsCountNineteenHundred) {
    const std::pair<int, bool> years[] = {{1900, true}, {1904, true},  {2000, true},  {2023, false},
                                          {2024, true}, {2100, false}, {1800, false}, {2096, true}};
    for (const auto& [year, leap] : years) {
        EXPECT_EQ(date.isLeapYear(year), leap) << year;
    }
    date.set(1, 1, 2023);
    EXPECT_FALSE(date.isLeapYear());
    date.set(1, 1, 1900);
    EXPECT_TRUE(date.isLeapYear(0));
}

TEST_F(KroDateTest, DaysInMonthAndDayOfYear) {
    date.set(1, 2, 2024);
    EXPECT_EQ(date.daysInMonth(), 29);
    date.set(1, 2, 2023);
    EXPECT_EQ(date.daysInMonth(), 28);
    date.set(1, 13, 2023);
    EXPECT_EQ(date.daysInMonth(), 0);
    EXPECT_EQ(date.julianDay(), 0);
    EXPECT_EQ(date.daysSince1900(), -1);
    EXPECT_EQ(date.serial(), -1);

    const std::pair<Ymd, int> days[] = {{{1, 1, 2024}, 1},     {{1, 3, 2023}, 60},
                                        {{1, 3, 2024}, 61},    {{31, 12, 2024}, 366},
                                        {{31, 12, 2023}, 365}, {{1, 3, 1900}, 61}};
    for (const auto& [ymd, julian] : days) {
        date.set(std::get<0>(ymd), std::get<1>(ymd), std::get<2>(ymd));
        EXPECT_EQ(date.julianDay(), julian) << std::get<2>(ymd);
    }
}

TEST_F(KroDateTest, SerialCountsLikeSpreadsheets) {
    date.set(1, 1, 1900);
    EXPECT_EQ(date.daysSince1900(), 0);
    EXPECT_EQ(date.serial(), 1);
    date.set(1, 3, 1900);
    EXPECT_EQ(date.serial(), 61);
    date.set(1, 1, 2000);
    EXPECT_EQ(date.daysSince1900(), 36525);
    EXPECT_EQ(date.serial(), 36526);
    date.set(31, 12, 2099);
    EXPECT_EQ(date.serial(), KroDate::kLastSerial);

    EXPECT_TRUE(date.setFromSerial(60));
    EXPECT_EQ(fieldsOf(date), Ymd(29, 2, 1900));
    EXPECT_TRUE(date.setFromSerial(61));
    EXPECT_EQ(fieldsOf(date), Ymd(1, 3, 1900));
}

TEST_F(KroDateTest, SerialsOutsideTheCalendarAreInvalid) {
    // -680000 would otherwise pass through a year below 100, read as two digits.
    for (int serial : {0, -1, -365, -680000, INT_MIN, KroDate::kLastSerial + 1, INT_MAX}) {
        date.set(15, 6, 2024);
        EXPECT_FALSE(date.setFromSerial(serial)) << serial;
        EXPECT_TRUE(badDate(date)) << serial;
    }
}

TEST_F(KroDateTest, EveryDayOfTheCalendarRoundTripsThroughItsSerial) {
    KroDate walker(&env);
    walker.set(1, 1, 1900);
    KroDate fromSerial(&env);
    int expectedSerial = 1;
    for (int year = 1900; year <= 2099; ++year) {
        for (int month = 1; month <= 12; ++month) {
            date.set(1, month, year);
            const int days = date.daysInMonth();
            for (int day = 1; day <= days; ++day, ++expectedSerial) {
                ASSERT_TRUE(date.set(day, month, year));
                ASSERT_EQ(date.serial(), expectedSerial) << day << "/" << month << "/" << year;
                ASSERT_TRUE(fromSerial.setFromSerial(expectedSerial)) << expectedSerial;
                ASSERT_EQ(fieldsOf(fromSerial), Ymd(day, month, year)) << expectedSerial;
                ASSERT_EQ(fieldsOf(walker), Ymd(day, month, year));
                walker.nextDay();
            }
        }
    }
    EXPECT_EQ(expectedSerial - 1, KroDate::kLastSerial);
    EXPECT_TRUE(badDate(walker));  // the day after 31/12/2099
}

TEST_F(KroDateTest, NextDay) {
    date.set(28, 2, 2024);
    date.nextDay();
    EXPECT_EQ(fieldsOf(date), Ymd(29, 2, 2024));
    date.set(31, 12, 2023);
    date.nextDay();
    EXPECT_EQ(fieldsOf(date), Ymd(1, 1, 2024));
    date.set(31, 12, 2099);
    date.nextDay();
    EXPECT_TRUE(badDate(date));

    date.set(31, 2, 2024);
    date.nextDay();
    EXPECT_EQ(fieldsOf(date), Ymd(31, 2, 2024));  // an invalid date stays
    date.setAllowEmpty(true);
    date.parse("00/00/0000");
    date.nextDay();
    EXPECT_TRUE(date.isEmpty());
}

TEST_F(KroDateTest, SetFromDayOfYear) {
    const std::tuple<int, int, Ymd> cases[] = {
        {60, 2024, {29, 2, 2024}}, {60, 2023, {1, 3, 2023}},  {366, 2024, {31, 12, 2024}},
        {1, 24, {1, 1, 2024}},     {60, 1900, {29, 2, 1900}}, {365, 99, {31, 12, 1999}},
        {32, 2024, {1, 2, 2024}},
    };
    for (const auto& [dayOfYear, year, expected] : cases) {
        EXPECT_TRUE(date.setFromDayOfYear(dayOfYear, year)) << dayOfYear << " " << year;
        EXPECT_EQ(fieldsOf(date), expected);
    }
    EXPECT_FALSE(date.setFromDayOfYear(10, 1850));
    EXPECT_TRUE(badDate(date));
}

TEST_F(KroDateTest, SetFromDayOfYearOutOfTheYearChangesNothing) {
    date.set(29, 2, 2024);
    for (int dayOfYear : {366, 0, -1, INT_MAX, INT_MIN}) {
        EXPECT_FALSE(date.setFromDayOfYear(dayOfYear, 2023)) << dayOfYear;
        EXPECT_EQ(fieldsOf(date), Ymd(29, 2, 2024));
        EXPECT_FALSE(badDate(date));
    }
}

// ---------------------------------------------------------------- format

struct FormatCase {
    const char* pattern;
    const char* expected;
};

TEST_F(KroDateTest, FormatOverwritesTheFirstRunOfEachLetter) {
    date.set(5, 3, 2024);
    const FormatCase cases[] = {
        {"GG/MM/AAAA", "05/03/2024"},
        {"AAAA-MM-GG", "2024-03-05"},
        {"AAMMGG", "240305"},
        {"GGMMAA", "050324"},
        {"gg.mm.aa", "05.03.24"},
        {"GG-MM-AAAA", "05-03-2024"},
        {"GGG", "065"},
        {"GG MMM AAAA", "05 Mar 2024"},
        {"GG/MM/AA  ", "05/03/24  "},
        {"DD/MM/YYYY", "05/03/2024"},
        {"dd/mm/yyyy", "05/03/2024"},
        {"AAAAA", "2024A"},
        {"GG/MM/A", "05/03/4"},
        {"MMMM", "03MM"},
        {"GGGG", "05GG"},
        {"G/M/A", "05034"},  // a lone letter writes two digits over its neighbour
        {"MM/G", "03/0"},    // never past the end of the pattern
        {"GG/MM/AAAA GG", "05/03/2024 GG"},
        {"", ""},
        {"GG/MM/AAAA 123456789", "05/03/2024 123456789"},  // twenty characters
        {"GG/MM/AAAA 1234567890", nullptr},                // twenty-one
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.pattern);
        const char* result = date.format(c.pattern);
        if (c.expected == nullptr) {
            EXPECT_EQ(result, nullptr);
        } else {
            ASSERT_NE(result, nullptr);
            EXPECT_STREQ(result, c.expected);
        }
    }
}

TEST_F(KroDateTest, FormatWritesEveryEnglishMonthName) {
    const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int month = 1; month <= 12; ++month) {
        date.set(1, month, 2024);
        EXPECT_EQ(std::string(date.format("MMM")), names[month - 1]);
    }
}

TEST_F(KroDateTest, FormatOfTheEmptyDateWritesZeros) {
    date.setAllowEmpty(true);
    date.parse("000000");
    EXPECT_STREQ(date.format("GG/MM/AAAA"), "00/00/0000");
    EXPECT_STREQ(date.format("GG MMM AAAA"), "00 000 0000");
    EXPECT_STREQ(date.format("GGG"), "000");
}

TEST_F(KroDateTest, FormatFillsTheBuffer) {
    date.set(5, 3, 2024);
    std::string buffer = "old";
    EXPECT_STREQ(date.format(&buffer, "AAAA-MM-GG"), "2024-03-05");
    EXPECT_EQ(buffer, "2024-03-05");

    buffer = "GG.MM.AAAA";  // no pattern: the buffer's text is the pattern
    EXPECT_STREQ(date.format(&buffer, nullptr), "05.03.2024");
    EXPECT_EQ(buffer, "05.03.2024");

    buffer = "GG/MM/AAAA";
    EXPECT_STREQ(date.format(&buffer, buffer.c_str()), "05/03/2024");
    EXPECT_EQ(buffer, "05/03/2024");

    buffer = "keep";
    EXPECT_EQ(date.format(&buffer, "GG/MM/AAAA 1234567890"), nullptr);
    EXPECT_EQ(buffer, "keep");
    buffer = "GG/MM/AAAA 1234567890";
    EXPECT_EQ(date.format(&buffer, nullptr), nullptr);
    EXPECT_EQ(buffer, "GG/MM/AAAA 1234567890");

    EXPECT_EQ(date.format(nullptr, nullptr), nullptr);
}

TEST_F(KroDateTest, FormatOfAnInvalidDateIsAbsent) {
    date.set(31, 2, 2024);
    std::string buffer = "05/03/2024";
    EXPECT_EQ(date.format(&buffer, "GG/MM/AAAA"), nullptr);
    EXPECT_EQ(buffer, "");
    buffer = "GG/MM/AAAA";
    EXPECT_EQ(date.format(&buffer, nullptr), nullptr);
    EXPECT_EQ(buffer, "GG/MM/AAAA");  // it was the pattern, not a result
    EXPECT_EQ(date.formatDefault(), nullptr);
}

TEST_F(KroDateTest, FormatWMakesItsPatternTheDefault) {
    date.set(5, 3, 2024);
    EXPECT_EQ(date.formatW(u"GG-MM-AAAA"), u"05-03-2024");
    EXPECT_EQ(date.defaultPattern(), "GG-MM-AAAA");
    EXPECT_STREQ(date.formatDefault(), "05-03-2024");

    std::u16string buffer;
    EXPECT_EQ(date.formatW(&buffer, u"yyyy/mm/dd"), u"2024/03/05");
    EXPECT_EQ(buffer, u"2024/03/05");

    EXPECT_EQ(date.formatW(&buffer, nullptr), u"05/03/2024");
    EXPECT_EQ(date.defaultPattern(), "GG/MM/AAAA");

    date.set(31, 2, 2024);
    EXPECT_EQ(date.formatW(&buffer, u"GG.MM.AAAA"), u"");
    EXPECT_EQ(buffer, u"");
    EXPECT_EQ(date.defaultPattern(), "GG.MM.AAAA");
}

TEST_F(KroDateTest, SetDefaultPatternTurnsUpperCaseDAndYIntoGAndA) {
    date.set(5, 3, 2024);
    date.setDefaultPattern("DD/MM/YYYY");
    EXPECT_EQ(date.defaultPattern(), "GG/MM/AAAA");
    date.setDefaultPattern(std::string("dd.mm.yyyy"));
    EXPECT_EQ(date.defaultPattern(), "dd.mm.yyyy");
    EXPECT_STREQ(date.formatDefault(), "05.03.2024");
    date.setDefaultPattern(std::u16string(u"YYMMDD"));
    EXPECT_EQ(date.defaultPattern(), "AAMMGG");
    date.setDefaultPattern(nullptr);
    EXPECT_EQ(date.defaultPattern(), "GG/MM/AAAA");
}

// ---------------------------------------------------------------- assign

TEST_F(KroDateTest, AssignCopiesAValidDate) {
    KroDate other(&env);
    other.set(5, 3, 2024);
    other.setDefaultPattern("AAAA-MM-GG");
    date.set(31, 2, 2024);
    EXPECT_TRUE(date.assign(other));
    EXPECT_EQ(fieldsOf(date), Ymd(5, 3, 2024));
    EXPECT_EQ(date.status().value(), 0u);
    EXPECT_STREQ(date.formatDefault(), "2024-03-05");
    EXPECT_FALSE(date.allowEmpty());

    other.setAllowEmpty(true);
    EXPECT_TRUE(date.assign(other));
    EXPECT_TRUE(date.allowEmpty());
    EXPECT_FALSE(date.isEmpty());
}

TEST_F(KroDateTest, AssignOfAnInvalidDateCopiesNothing) {
    KroDate other(&env);
    other.set(31, 2, 2024);
    date.set(5, 3, 2024);
    EXPECT_FALSE(date.assign(other));
    EXPECT_EQ(fieldsOf(date), Ymd(5, 3, 2024));
    EXPECT_FALSE(badDate(date));

    // Left over from a failed reading, the fields of other still make a date.
    other.set(1, 1, 2024);
    other.parseWithPattern("01/01/2024", "XX/MM/AAAA");
    EXPECT_FALSE(date.assign(other));
    EXPECT_EQ(fieldsOf(date), Ymd(5, 3, 2024));
}

TEST_F(KroDateTest, AssignCopiesTheEmptyDateAndLeavesTheOtherAsItWas) {
    KroDate other(&env);
    other.setAllowEmpty(true);
    ASSERT_TRUE(other.parse("00/00/0000"));
    EXPECT_TRUE(date.assign(other));
    EXPECT_TRUE(date.isEmpty());
    EXPECT_TRUE(date.allowEmpty());
    EXPECT_STREQ(date.formatDefault(), "00/00/0000");
    EXPECT_TRUE(other.isEmpty());
    EXPECT_FALSE(badDate(other));

    // An empty date assigned a date becomes that date.
    KroDate plain(&env);
    plain.set(5, 3, 2024);
    EXPECT_TRUE(date.assign(plain));
    EXPECT_FALSE(date.isEmpty());
    EXPECT_EQ(date.serial(), plain.serial());
}

// ---------------------------------------------------------------- garbage

std::vector<std::string> garbageTexts() {
    std::string allBytes;
    for (int b = 255; b >= 0; --b) {
        allBytes.push_back(static_cast<char>(b));
    }
    return {"",
            std::string(1000, '9'),
            std::string(1000, '/'),
            std::string(1000, 'M'),
            "-99999999999999999999/-99999999999999999999/-99999999999999999999",
            "+2147483648/2147483648/2147483648",
            "9999999999",
            allBytes,
            std::string("05\0/03/2024", 11),
            std::string("\0\0\0\0\0\0", 6),
            "\xFF\xFE\xFD\xFC\xFB",
            "\xE0\xE8\xEC\xF2\xF9\x80",
            "GG/MM/AAAA",
            "-",
            "*"};
}

// A reading that succeeds leaves a valid or an empty date; one that fails
// leaves bit 0 set. Either way the date can be counted and formatted.
void expectConsistent(KroDate& date, bool result) {
    if (result) {
        EXPECT_TRUE(date.isEmpty() || (!date.status().test(0) && date.serial() >= 1));
    } else {
        EXPECT_TRUE(date.status().test(0));
        EXPECT_EQ(date.serial(), -1);
    }
    date.formatDefault();
    date.nextDay();
}

TEST_F(KroDateTest, GarbageNeverBreaksADate) {
    const std::vector<std::string> texts = garbageTexts();
    for (bool allowEmpty : {false, true}) {
        date.setAllowEmpty(allowEmpty);
        for (const std::string& text : texts) {
            expectConsistent(date, date.parse(text));
            expectConsistent(date, date.parse(text.c_str()));
            for (const std::string& pattern : texts) {
                expectConsistent(date, date.parseWithPattern(text, pattern));
            }
            date.setWithMonthName(1, text, 2024);
            date.setDefaultPattern(text);
            date.formatDefault();
            std::string buffer = text;
            date.format(&buffer, nullptr);
            date.format(&buffer, text.c_str());
            date.formatW(text::toWide(text));
        }
    }
    const std::u16string wide[] = {u"", u"\xD800", u"\xFFFF\x20AC/1/2024",
                                   std::u16string(500, u'9')};
    for (const std::u16string& text : wide) {
        expectConsistent(date, date.parse(text));
        expectConsistent(date, date.parseWithPattern(text, text));
        date.setWithMonthName(1, text, 2024);
        date.formatW(text);
    }
}

}  // namespace
