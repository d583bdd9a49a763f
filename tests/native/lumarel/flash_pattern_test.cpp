// Which phase each bulb shows in each pre-rendered copy, and the tick clock.
#include <gtest/gtest.h>

#include <vector>

#include "engine/flash_pattern.h"

using namespace lumarel;

namespace {

// The phases a string of bulbs shows in copy `copy`.
std::vector<int> row(int32_t pattern, int copy, int copies, const std::vector<int>& kindPhases) {
    SequenceCounter sequence;
    std::vector<int> shown;
    for (int phases : kindPhases)
        shown.push_back(edgeBulbPhase(pattern, copy, copies, sequence.place(phases), phases, 0));
    return shown;
}

}  // namespace

TEST(FlashPattern, AlternatingTwoPhaseBulbsSwapEachStep) {
    std::vector<int> kinds = {2, 2, 2, 2};
    EXPECT_EQ(row(kAlternating, 0, 2, kinds), (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(row(kAlternating, 1, 2, kinds), (std::vector<int>{0, 1, 0, 1}));
}

TEST(FlashPattern, AlternatingSpacerDoesNotChangeItsNeighbours) {
    // A, spacer, B: A is 1 (odd), B is 2 (even), as without the spacer.
    EXPECT_EQ(row(kAlternating, 0, 2, {2, 1, 2}), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(row(kAlternating, 0, 2, {2, 2}), (std::vector<int>{1, 0}));
}

TEST(FlashPattern, BulbChaseMovesOneBulbPerStep) {
    std::vector<int> two = {2, 2, 2, 2};
    EXPECT_EQ(row(kBulbChase, 0, 2, two), row(kAlternating, 0, 2, two));
    EXPECT_EQ(row(kBulbChase, 1, 2, two), row(kAlternating, 1, 2, two));
    std::vector<int> eight(8, 8);
    std::vector<int> step0 = row(kBulbChase, 0, 8, eight);
    std::vector<int> step1 = row(kBulbChase, 1, 8, eight);
    for (size_t i = 0; i + 1 < eight.size(); ++i) EXPECT_EQ(step1[i], step0[i + 1]) << i;
}

TEST(FlashPattern, TogetherAndDontFlashAndCorners) {
    EXPECT_EQ(row(kFlashTogether, 3, 4, {4, 2, 4}), (std::vector<int>{3, 1, 3}));
    EXPECT_EQ(phaseCopies(kDontFlash, 6), 1);
    EXPECT_EQ(row(kDontFlash, 0, 1, {4, 4}), (std::vector<int>{0, 0}));
    EXPECT_EQ(phaseCopies(kFlashTogether, 0), 1);
    EXPECT_EQ(cornerBulbPhase(5, 2), 1);
    EXPECT_EQ(cornerBulbPhase(5, 0), 0);
}

TEST(FlashPattern, RandomFlashingUsesTheDrawnNumberModuloPhases) {
    EXPECT_EQ(phaseCopies(kRandomFlashing, 2), 8);
    EXPECT_EQ(edgeBulbPhase(kRandomFlashing, 0, 8, 1, 3, 32767), 32767 % 3);
    EXPECT_EQ(edgeBulbPhase(kRandomFlashing, 5, 8, 9, 2, 4), 0);
    EXPECT_EQ(edgeBulbPhase(kRandomFlashing, 5, 8, 9, 1, 4), 0);
}

TEST(AnimationClock, AdvancesEveryIntervalTicks) {
    AnimationClock clock;
    int advances = 0;
    for (int t = 1; t <= 30; ++t)
        if (clock.tick(5, kFlashTogether)) {
            EXPECT_EQ(t % 5, 0) << t;
            clock.advanced();
            ++advances;
        }
    EXPECT_EQ(advances, 6);
    EXPECT_EQ(clock.step(), 6);
}

TEST(AnimationClock, DontFlashRedrawsEveryTenTicks) {
    AnimationClock clock;
    for (int t = 1; t < 10; ++t) EXPECT_FALSE(clock.tick(1, kDontFlash)) << t;
    EXPECT_TRUE(clock.tick(1, kDontFlash));
}

TEST(AnimationClock, HeldAdvanceHappensOnTheFirstTickAfter) {
    AnimationClock clock;
    for (int t = 0; t < 4; ++t) clock.tick(3, kFlashTogether);  // not drawn (button held)
    EXPECT_TRUE(clock.tick(3, kFlashTogether));
    EXPECT_EQ(clock.step(), 0);
    clock.advanced();
    EXPECT_EQ(clock.ticks(), 0);
    EXPECT_FALSE(clock.tick(3, kFlashTogether));
}

TEST(AnimationClock, SliderFourToEightGoesFrom300To60Ms) {
    EXPECT_EQ(intervalForSlider(4) * 60, 300);
    EXPECT_EQ(intervalForSlider(8) * 60, 60);
    AnimationClock fast;
    EXPECT_TRUE(fast.tick(intervalForSlider(8), kFlashTogether));
    AnimationClock bad;  // a garbage interval never stops the clock
    EXPECT_TRUE(bad.tick(0, kFlashTogether));
    AnimationClock slow;
    for (int t = 1; t < 9; ++t) EXPECT_FALSE(slow.tick(1000, kFlashTogether));
    EXPECT_TRUE(slow.tick(1000, kFlashTogether));
}
