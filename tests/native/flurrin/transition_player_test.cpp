#include <gtest/gtest.h>

#include <cmath>

#include "scene/transition_player.h"

namespace flurrin {
namespace {

std::vector<EffectStep> three_steps() {
    std::vector<EffectStep> steps(3);
    for (int i = 0; i < 3; ++i) {
        steps[size_t(i)].wait_ms = 20;
        steps[size_t(i)].copies.push_back({i, 0, i, 0, 1, 1});
    }
    return steps;
}

TEST(TransitionPlayer, OneStepPerTickEachAfterTheWaitOfTheOneBefore) {
    TransitionPlayer player;
    player.start(three_steps(), 1000);
    EXPECT_TRUE(player.playing());
    EXPECT_EQ(player.wait(1000), 0u);
    const EffectStep* first = player.advance(1000);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->copies[0].src_x, 0);
    EXPECT_EQ(player.wait(1005), 15u);
    EXPECT_EQ(player.advance(1019), nullptr) << "not due yet";
    EXPECT_EQ(player.steps_done(), 1u);
    ASSERT_NE(player.advance(1020), nullptr);
    ASSERT_NE(player.advance(1040), nullptr);
    EXPECT_TRUE(player.playing()) << "the last step still waits before the end";
    EXPECT_EQ(player.advance(1059), nullptr);
    EXPECT_TRUE(player.playing());
    EXPECT_EQ(player.advance(1060), nullptr);
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(player.steps_done(), 3u);
}

TEST(TransitionPlayer, BehindScheduleTheNextStepsAreDueAtOnce) {
    TransitionPlayer player;
    player.start(three_steps(), 0xFFFFFFF0u);  // across the counter's wrap
    ASSERT_NE(player.advance(0xFFFFFFF0u), nullptr);
    // A slow timer woke us 50 ms late: the schedule keeps the effect's length.
    EXPECT_EQ(player.wait(0x00000030u), 0u);
    ASSERT_NE(player.advance(0x00000030u), nullptr);
    EXPECT_EQ(player.wait(0x00000030u), 0u);
    ASSERT_NE(player.advance(0x00000030u), nullptr);
    EXPECT_EQ(player.wait(0x00000030u), 0u);
    EXPECT_EQ(player.advance(0x00000030u), nullptr);
    EXPECT_FALSE(player.playing());
}

TEST(TransitionPlayer, AStoppedOrEmptyEffectHasNothingDue) {
    TransitionPlayer player;
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(player.advance(0), nullptr);
    player.start(three_steps(), 0);
    ASSERT_NE(player.advance(0), nullptr);
    player.stop();
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(player.wait(5), 0u);
    EXPECT_EQ(player.advance(100), nullptr);
    EXPECT_EQ(player.steps_done(), 1u);
    player.start({}, 7);
    EXPECT_EQ(player.advance(7), nullptr);
    EXPECT_FALSE(player.playing());
}

TEST(TransitionPlayer, EveryEffectPlaysToTheEndInItsNominalTime) {
    std::vector<int> order(kBlockCount);
    for (int i = 0; i < kBlockCount; ++i) order[size_t(i)] = i + 1;
    for (int effect = 1; effect <= kEffectCount; ++effect) {
        auto steps = effect_steps(effect, 320, 200, order);
        uint32_t nominal = 0;
        for (const EffectStep& s : steps) nominal += uint32_t(s.wait_ms);
        TransitionPlayer player;
        player.start(steps, 0);
        uint32_t now = 0;
        size_t copied = 0;
        while (player.playing()) {
            now += player.wait(now);
            if (player.advance(now)) ++copied;
        }
        EXPECT_EQ(copied, steps.size()) << "effect " << effect;
        EXPECT_EQ(now, nominal) << "effect " << effect;
    }
}

TEST(TransitionPlayer, ACoarseSystemTimerDoesNotStretchAnEffect) {
    // Windows' default timer: time moves in ticks of 15.625 ms and a wait
    // ends at the first tick at or after its length. Each step costs 0.2 ms.
    std::vector<int> order(kBlockCount);
    for (int i = 0; i < kBlockCount; ++i) order[size_t(i)] = i + 1;
    const double tick = 15.625;
    for (int effect : {1, 11, 15, 16, 20}) {
        auto steps = effect_steps(effect, 800, 600, order);
        double nominal = 0;
        for (const EffectStep& s : steps) nominal += s.wait_ms;
        TransitionPlayer player;
        double t = 0;
        auto now = [&] { return uint32_t(std::floor(t / tick) * tick); };
        player.start(steps, now());
        while (player.playing()) {
            if (player.wait(now()) == 0) {
                player.advance(now());
                t += 0.2;
            } else {
                t = std::ceil((t + player.wait(now())) / tick) * tick;
            }
        }
        EXPECT_NEAR(t, nominal, nominal * 0.02 + tick) << "effect " << effect;
    }
}

}  // namespace
}  // namespace flurrin
