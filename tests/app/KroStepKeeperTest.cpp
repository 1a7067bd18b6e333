#include "app/KroStepKeeper.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct MoveCase {
    std::string name;
    int count;
    std::vector<int> disabled;
    bool wrap;
    std::function<void(KroStepKeeper&)> moves;
    int expected;
};

void PrintTo(const MoveCase& c, std::ostream* out) {
    *out << c.name;
}

class KroStepKeeperMoveTest : public testing::TestWithParam<MoveCase> {};

TEST_P(KroStepKeeperMoveTest, SettlesOnTheExpectedStep) {
    const MoveCase& c = GetParam();
    KroStepKeeper keeper(c.count);
    keeper.setWrap(c.wrap);
    for (int step : c.disabled) {
        keeper.disable(step);
    }
    c.moves(keeper);
    EXPECT_EQ(keeper.current(), c.expected);
    EXPECT_EQ(keeper.status().value(), 0u);
}

const MoveCase kMoveCases[] = {
    {"GoToThenAdvanceSkipsDisabledSteps",
     7,
     {2, 3},
     false,
     [](KroStepKeeper& k) {
         k.goTo(1);
         k.advance(-1);
     },
     4},
    {"AdvancePastTheLastStepTurnsBackToItself",
     7,
     {6},
     false,
     [](KroStepKeeper& k) {
         k.goTo(5);
         k.advance(-1);
     },
     5},
    {"AdvancePastTheLastStepsTurnsBackToTheStart",
     7,
     {5, 6},
     false,
     [](KroStepKeeper& k) {
         k.goTo(4);
         k.advance(-1);
     },
     4},
    {"TurningBackSkipsDisabledStepsBelow",
     7,
     {4, 5, 6},
     false,
     [](KroStepKeeper& k) {
         k.goTo(3);
         k.disable(3);
         k.advance(-1);
     },
     2},
    {"AdvanceFromTheLastStepStaysWithoutWrap",
     7,
     {},
     false,
     [](KroStepKeeper& k) {
         k.goTo(6);
         k.advance(-1);
     },
     6},
    {"AdvanceWrapsToStepZero",
     7,
     {},
     true,
     [](KroStepKeeper& k) {
         k.goTo(6);
         k.advance(-1);
     },
     0},
    {"WrapSkipsDisabledStepsAfterZero",
     7,
     {0, 1},
     true,
     [](KroStepKeeper& k) {
         k.goTo(6);
         k.advance(-1);
     },
     2},
    {"AdvanceFromAnotherStepGoesThereFirst",
     7,
     {},
     false,
     [](KroStepKeeper& k) { k.advance(3); },
     4},
    {"AdvanceFromADisabledStepMovesTwice",
     7,
     {3},
     false,
     [](KroStepKeeper& k) { k.advance(3); },
     5},
    {"GoToOutOfRangeKeepsTheStep",
     7,
     {},
     false,
     [](KroStepKeeper& k) {
         k.goTo(2);
         k.goTo(7);
         k.goTo(-1);
     },
     2},
    {"GoToOutOfRangeStillLeavesADisabledStep",
     7,
     {},
     false,
     [](KroStepKeeper& k) {
         k.goTo(2);
         k.disable(2);
         k.goTo(9);
     },
     3},
    {"GoToADisabledStepMovesOn", 7, {4, 5}, false, [](KroStepKeeper& k) { k.goTo(4); }, 6},
    {"BackSkipsDisabledSteps",
     7,
     {3, 4},
     false,
     [](KroStepKeeper& k) {
         k.goTo(5);
         k.back();
     },
     2},
    {"BackFromTheFirstEnabledStepTurnsForward",
     7,
     {0},
     false,
     [](KroStepKeeper& k) {
         k.goTo(1);
         k.back();
     },
     1},
    {"RestartGoesToStepZero",
     7,
     {},
     false,
     [](KroStepKeeper& k) {
         k.goTo(5);
         k.restart();
     },
     0},
    {"RestartSkipsADisabledStepZero",
     7,
     {0, 1},
     false,
     [](KroStepKeeper& k) {
         k.goTo(5);
         k.restart();
     },
     2},
    {"EveryStepDisabledLeavesMinusOne",
     7,
     {0, 1, 2, 3, 4, 5, 6},
     false,
     [](KroStepKeeper& k) { k.advance(-1); },
     -1},
    {"EveryStepDisabledWithWrapAlsoEnds",
     7,
     {0, 1, 2, 3, 4, 5, 6},
     true,
     [](KroStepKeeper& k) { k.advance(-1); },
     -1},
    {"EveryStepDisabledBackEnds",
     7,
     {0, 1, 2, 3, 4, 5, 6},
     false,
     [](KroStepKeeper& k) { k.back(); },
     -1},
    {"ThirtyTwoStepsReachTheLast", -1, {}, false, [](KroStepKeeper& k) { k.goTo(31); }, 31},
    {"AShrunkCountBringsTheStepBack",
     7,
     {},
     false,
     [](KroStepKeeper& k) {
         k.goTo(6);
         k.setStepCount(3);
         k.advance(-1);
     },
     2},
};

INSTANTIATE_TEST_SUITE_P(Moves, KroStepKeeperMoveTest, testing::ValuesIn(kMoveCases),
                         [](const testing::TestParamInfo<MoveCase>& info) {
                             return info.param.name;
                         });

TEST(KroStepKeeperTest, StartsOnStepZeroWithNothingDisabledOrMarked) {
    KroStepKeeper keeper(7);
    EXPECT_EQ(keeper.current(), 0);
    EXPECT_EQ(keeper.count(), 7);
    EXPECT_TRUE(keeper.active());
    EXPECT_FALSE(keeper.wrap());
    EXPECT_EQ(keeper.disabledMask(), 0u);
    EXPECT_EQ(keeper.markedMask(), 0u);
}

TEST(KroStepKeeperTest, StepCountStaysWithinOneToThirtyTwo) {
    EXPECT_EQ(KroStepKeeper(-1).count(), 32);
    EXPECT_EQ(KroStepKeeper(-7).count(), 32);
    KroStepKeeper keeper(7);
    keeper.setStepCount(0);
    EXPECT_EQ(keeper.count(), 7);
    keeper.setStepCount(33);
    EXPECT_EQ(keeper.count(), 7);
    keeper.setStepCount(32);
    EXPECT_EQ(keeper.count(), 32);
    keeper.setStepCount(1);
    EXPECT_EQ(keeper.count(), 1);
}

TEST(KroStepKeeperTest, DisablingAndMarkingExcludeEachOther) {
    KroStepKeeper keeper(7);
    keeper.mark(3);
    EXPECT_TRUE(keeper.isMarked(3));
    keeper.disable(3);
    EXPECT_FALSE(keeper.isMarked(3));
    EXPECT_TRUE(keeper.isDisabled(3));
    EXPECT_FALSE(keeper.isEnabled(3));
    keeper.mark(3);
    EXPECT_TRUE(keeper.isMarked(3));
    EXPECT_TRUE(keeper.isEnabled(3));
    keeper.disable(4);
    keeper.clear(3);
    keeper.clear(4);
    EXPECT_EQ(keeper.disabledMask(), 0u);
    EXPECT_EQ(keeper.markedMask(), 0u);
}

TEST(KroStepKeeperTest, MasksCoverThirtyTwoStepsAndIgnoreOthers) {
    KroStepKeeper keeper(7);
    keeper.disable(31);
    keeper.mark(30);
    EXPECT_EQ(keeper.disabledMask(), 0x80000000u);
    EXPECT_EQ(keeper.markedMask(), 0x40000000u);
    // Outside 0 to 31 nothing changes.
    keeper.disable(32);
    keeper.disable(-1);
    keeper.mark(40);
    keeper.clear(-3);
    EXPECT_EQ(keeper.disabledMask(), 0x80000000u);
    EXPECT_EQ(keeper.markedMask(), 0x40000000u);
    // The tests take the step modulo 32.
    EXPECT_TRUE(keeper.isMarked(62));
    EXPECT_TRUE(keeper.isDisabled(63));
}

TEST(KroStepKeeperTest, AnInactiveKeeperMovesNotAndEnablesNot) {
    KroStepKeeper keeper(7);
    keeper.goTo(3);
    keeper.disable(5);
    keeper.setActive(false);
    keeper.goTo(1);
    keeper.advance(-1);
    keeper.back();
    keeper.restart();
    EXPECT_EQ(keeper.current(), 3);
    keeper.enable(5);
    EXPECT_TRUE(keeper.isDisabled(5));
    keeper.disable(6);  // disable works anyway
    keeper.mark(2);
    EXPECT_TRUE(keeper.isDisabled(6));
    EXPECT_TRUE(keeper.isMarked(2));
    keeper.setActive(true);
    keeper.enable(5);
    EXPECT_TRUE(keeper.isEnabled(5));
}

}  // namespace
