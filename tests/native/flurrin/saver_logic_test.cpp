#include <gtest/gtest.h>

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
