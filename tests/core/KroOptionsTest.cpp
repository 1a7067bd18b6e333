#include "core/KroOptions.h"

#include <gtest/gtest.h>

TEST(KroOptions, SetResetAndTestSingleBits) {
    KroOptions options;
    EXPECT_FALSE(options.any());
    options.set(0);
    options.set(31);
    EXPECT_EQ(options.value(), 0x80000001u);
    options.reset(0);
    EXPECT_FALSE(options.test(0));
    EXPECT_TRUE(options.test(31));
    options.clear();
    EXPECT_EQ(options.value(), 0u);
}

TEST(KroOptions, BitNumbersOutsideTheWordTestFalseAndChangeNothing) {
    KroOptions options(0xFFFFFFFFu);
    for (int bit : {32, 33, 64, -1}) {
        EXPECT_FALSE(options.test(bit)) << bit;
    }
    options.reset(40);
    options.set(-3);
    EXPECT_EQ(options.value(), 0xFFFFFFFFu);
}

TEST(KroOptions, AnyLowLooksOnlyAtTheLowHalf) {
    KroOptions high(1u << 16);
    EXPECT_TRUE(high.any());
    EXPECT_FALSE(high.anyLow());
    KroOptions low(1u << 15);
    EXPECT_TRUE(low.anyLow());
}
