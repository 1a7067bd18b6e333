#include "core/FormatThousands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(FormatThousands, GroupsDigitsByThreeAndStarsWhatDoesNotFit) {
    struct Case {
        int64_t value;
        int width;
        const char* expected;
    };
    const Case cases[] = {
        {1234567, 11, "1.234.567"},
        {1000, 11, "1.000"},
        {999, 11, "999"},
        {0, 11, "0"},
        {100000, 11, "100.000"},
        {-1234, 11, "-1.234"},
        {-123, 11, "-123"},
        {123456789012, 11, "***********"},    // 15 characters
        {12345678901, 14, "12.345.678.901"},  // exactly the width
        {12345678901, 13, "*************"},
        {5, 0, ""},
        {5, -3, ""},
        {std::numeric_limits<int64_t>::min(), 30, "-9.223.372.036.854.775.808"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatThousands(c.value, c.width), c.expected) << c.value << " in " << c.width;
    }
}
