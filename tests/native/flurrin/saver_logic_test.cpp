#include <gtest/gtest.h>

#include <cmath>

#include "frame/saver_logic.h"

namespace flurrin {
namespace {

TEST(FramePacing, TwentyFramesPerSecondWaitsUntil48Ms) {
    EXPECT_FALSE(frame_wait_over(47, 20));
    EXPECT_TRUE(frame_wait_over(48, 20));
    EXPECT_FALSE(frame_wait_over(0, 20));
    EXPECT_FALSE(frame_wait_over(1, 60));
    EXPECT_TRUE(frame_wait_over(17, 60));
    EXPECT_TRUE(frame_wait_over(1001, 0));
}

TEST(FramePacing, TheFrameDurationIsTheFirstElapsedTimeTheWaitAccepts) {
    EXPECT_EQ(frame_duration_ms(20), 48u);
    EXPECT_EQ(frame_duration_ms(60), 17u);
    EXPECT_EQ(frame_duration_ms(10), 91u);
    EXPECT_EQ(frame_duration_ms(0), 1001u);
    for (int rate = 10; rate <= 60; ++rate) {
        uint32_t d = frame_duration_ms(rate);
        EXPECT_TRUE(frame_wait_over(d, rate)) << rate;
        EXPECT_FALSE(frame_wait_over(d - 1, rate)) << rate;
    }
}

// The saver's loop against a clock like Windows' default one: time moves in
// ticks of 15.625 ms, the counter reads the last tick, and a wait of w ms
// ends at the first tick at or after w ms from now. A frame costs 2 ms.
uint32_t frames_in(double seconds, int frame_rate, double tick_ms, uint32_t start = 0) {
    double t = 0;
    auto now = [&] { return start + uint32_t(std::floor(t / tick_ms) * tick_ms); };
    FramePacer pacer;
    pacer.start(now());
    uint32_t frames = 0;
    while (t < seconds * 1000) {
        if (pacer.due(now())) {
            pacer.frame_started(now(), frame_rate);
            ++frames;
            t += 2;
        } else {
            t = std::ceil((t + pacer.wait(now())) / tick_ms) * tick_ms;
        }
    }
    return frames;
}

TEST(FramePacing, ACoarseSystemTimerStillGivesTheFrameRate) {
    for (int rate : {20, 30, 60}) {
        // What the frame rule gives on a precise clock: 208 frames in ten
        // seconds at 20 (48 ms each), 303 at 30, 588 at 60.
        double target = 10000.0 / frame_duration_ms(rate);
        for (double tick : {15.625, 1.0}) {
            uint32_t frames = frames_in(10, rate, tick);
            EXPECT_NEAR(frames, target, target * 0.02) << rate << " frames a second, ticks of " << tick << " ms";
        }
        // The same across the counter's wrap.
        EXPECT_NEAR(frames_in(10, rate, 15.625, 0xFFFFF000u), target, target * 0.02) << rate;
    }
}

TEST(FramePacing, AfterAStallTheFramesDoNotRushToCatchUp) {
    FramePacer pacer;
    pacer.start(1000);
    pacer.frame_started(1000, 20);
    EXPECT_EQ(pacer.wait(1010), 38u);
    pacer.frame_started(1062, 20);  // woken late: the next is still due at 1096
    EXPECT_EQ(pacer.wait(1062), 34u);
    pacer.start(2000);
    pacer.frame_started(2000, 60);
    pacer.frame_started(2032, 60);  // 15 ms late at 17 ms a frame: still on schedule
    EXPECT_EQ(pacer.wait(2032), 2u);
    pacer.frame_started(4000, 20);  // a password prompt held the loop for seconds
    EXPECT_EQ(pacer.wait(4000), 48u);
}

TEST(Deadlines, ElapsedTimesSurviveTheTickCounterWrapping) {
    EXPECT_EQ(ticks_since(100, 100), 1u);
    EXPECT_EQ(ticks_since(0x00000010u, 0xFFFFFFF0u), 0x20u);
    EXPECT_FALSE(scene_due(0x00000010u, 0xFFFFFFF0u, 20));
    EXPECT_TRUE(scene_due(20001, 0, 20));
    EXPECT_FALSE(scene_due(20000, 0, 20));
    EXPECT_TRUE(scene_due(5000, 0xFFFFF000u, 2));
    EXPECT_TRUE(scene_due(1001, 0, 0)) << "a zero duration counts as one second, not as always";
    EXPECT_FALSE(scene_due(999, 0, 0));
    EXPECT_TRUE(music_check_due(2001, 0));
    EXPECT_FALSE(music_check_due(1000, 0xFFFFFF00u));
}

TEST(MouseMoves, TheEighthMoveWithinTenSecondsStopsAtSensitivitySeven) {
    MouseMoves moves;
    for (int i = 1; i <= 7; ++i) EXPECT_FALSE(moves.on_move(1000, 7)) << i;
    EXPECT_TRUE(moves.on_move(1001, 7));
}

TEST(MouseMoves, MovesSpreadOverMoreThanTenSecondsNeverStop) {
    MouseMoves moves;
    for (int i = 0; i < 200; ++i) ASSERT_FALSE(moves.on_move(1000 + i * 6, 7)) << i;
    MouseMoves midnight;
    for (int i = 0; i < 5; ++i) midnight.on_move(86395, 7);
    EXPECT_FALSE(midnight.on_move(2, 7));
    EXPECT_EQ(midnight.move_count, 0);
}

TEST(NextEntry, InOrderWrapsAndRandomStaysInRange) {
    std::vector<std::string> list = {"a", "b", "c"};
    EXPECT_EQ(next_entry(list, 1, false, 0), 2);
    EXPECT_EQ(next_entry(list, 3, false, 0), 1);
    EXPECT_EQ(next_entry(list, 0, false, 0), 1);
    EXPECT_EQ(next_entry(list, 77, false, 0), 1);
    EXPECT_EQ(next_entry(list, 1, true, 0.0), 1);
    EXPECT_EQ(next_entry(list, 1, true, 0.9999), 3);
    EXPECT_EQ(next_builtin(10, 10, false, 0), 1);
    EXPECT_EQ(next_builtin(4, 10, false, 0), 5);
    EXPECT_EQ(next_builtin(4, 10, true, 0.95), 10);
    EXPECT_EQ(next_builtin(4, 4, true, 1.0), 4);
}

TEST(NextEntry, MissingEntriesAreSkippedAndAnEmptyListGivesNothing) {
    std::vector<std::string> list = {"a", "", ""};
    EXPECT_EQ(next_entry(list, 1, false, 0), 1);
    EXPECT_EQ(next_entry(list, 0, true, 0.5), 1);
    EXPECT_EQ(next_entry({}, 0, false, 0), std::nullopt);
    EXPECT_EQ(next_entry({"", ""}, 1, true, 0.2), std::nullopt);
}

TEST(TimeOfDay, TwelveHourClockWithDesignators) {
    EXPECT_EQ(format_time_of_day(0, 5, 9, "AM", "PM"), "12:05:09 AM");
    EXPECT_EQ(format_time_of_day(13, 45, 0, "AM", "PM"), "01:45:00 PM");
    EXPECT_EQ(format_time_of_day(12, 0, 0, "AM", "PM"), "12:00:00 PM");
    EXPECT_EQ(format_time_of_day(23, 59, 59, "", ""), "11:59:59 ");
}

}  // namespace
}  // namespace flurrin
