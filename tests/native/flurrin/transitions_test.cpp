#include <gtest/gtest.h>

#include <random>

#include "scene/transitions.h"

namespace flurrin {
namespace {

// Plays an effect on a picture of pixel numbers and checks every copy stays
// inside, and that the target ends up equal to the source.
void expect_effect_covers(int effect, int w, int h, const std::vector<int>& order) {
    std::vector<int> target(size_t(w) * size_t(h), -1);
    auto steps = effect_steps(effect, w, h, order);
    ASSERT_FALSE(steps.empty()) << effect;
    for (const EffectStep& step : steps) {
        for (const PieceCopy& c : step.copies) {
            ASSERT_TRUE(c.width > 0 && c.height > 0);
            ASSERT_TRUE(c.src_x >= 0 && c.src_y >= 0 && c.src_x + c.width <= w && c.src_y + c.height <= h)
                << "effect " << effect << " reads outside " << w << "x" << h;
            ASSERT_TRUE(c.dst_x >= 0 && c.dst_y >= 0 && c.dst_x + c.width <= w && c.dst_y + c.height <= h)
                << "effect " << effect << " writes outside " << w << "x" << h;
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x)
                    target[size_t(c.dst_y + y) * size_t(w) + size_t(c.dst_x + x)] = (c.src_y + y) * w + (c.src_x + x);
        }
    }
    for (int i = 0; i < w * h; ++i) ASSERT_EQ(target[size_t(i)], i) << "effect " << effect << " " << w << "x" << h << " pixel " << i;
}

std::vector<int> test_order() {
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> d(0, 1);
    return shuffle_blocks([&] { return d(gen); });
}

TEST(Transitions, EveryEffectCoversThePictureAndStaysInside) {
    auto order = test_order();
    for (auto [w, h] : std::vector<std::pair<int, int>>{{320, 200}, {641, 97}, {123, 457}, {50, 30}, {1, 1}, {7, 400}}) {
        for (int effect = 1; effect <= kEffectCount; ++effect) expect_effect_covers(effect, w, h, order);
    }
}

TEST(Transitions, FullHdEffectsCoverTooAndKeepTheirStepCounts) {
    auto order = test_order();
    for (int effect = 1; effect <= kEffectCount; ++effect) expect_effect_covers(effect, 1366, 768, order);
    EXPECT_EQ(effect_steps(1, 1920, 1080, order).size(), 102u);  // s = 19, n = floor(1920/19) + 1
    EXPECT_EQ(effect_steps(11, 1920, 1080, order).size(), 2u * 109u);  // s = 10, n = 109
    EXPECT_EQ(effect_steps(15, 1920, 1080, order).size(), 1600u);
    EXPECT_EQ(effect_steps(16, 1920, 1080, order).size(), 10u);
    EXPECT_EQ(effect_steps(20, 1920, 1080, order).size(), 40u);
    EXPECT_EQ(effect_steps(1, 1920, 1080, order)[0].wait_ms, 20);
    EXPECT_EQ(effect_steps(11, 1920, 1080, order)[0].wait_ms, 8);
    EXPECT_EQ(effect_steps(15, 1920, 1080, order)[0].wait_ms, 1);
    EXPECT_EQ(effect_steps(18, 1920, 1080, order)[0].wait_ms, 30);
    EXPECT_EQ(effect_steps(20, 1920, 1080, order)[0].wait_ms, 25);
}

TEST(Transitions, WipeOneCopiesStripsLeftToRightWithOnePixelOverlap) {
    auto steps = effect_steps(1, 800, 600, {});
    ASSERT_EQ(steps.size(), 101u);
    EXPECT_EQ(steps[0].copies[0].dst_x, 0);
    EXPECT_EQ(steps[0].copies[0].width, 9);
    EXPECT_EQ(steps[1].copies[0].dst_x, 8);
    EXPECT_EQ(steps[0].copies[0].height, 600);
    EXPECT_TRUE(steps.back().copies.empty());  // the 101st strip starts at 800
    auto reversed = effect_steps(2, 800, 600, {});
    EXPECT_EQ(reversed[1].copies[0].dst_x, 792);
}

TEST(Transitions, InterlacedFirstPassSkipsEvenBandsButStillWaits) {
    auto steps = effect_steps(11, 400, 300, {});
    ASSERT_EQ(steps.size(), 202u);
    EXPECT_EQ(steps[0].copies.size(), 1u);
    EXPECT_TRUE(steps[1].copies.empty());
    EXPECT_EQ(steps[1].wait_ms, 8);
    EXPECT_EQ(steps[101 + 1].copies.size(), 1u);
}

TEST(Transitions, SlideFromTheTopShowsTheBottomOfThePictureFirst) {
    auto steps = effect_steps(7, 400, 800, {});
    const PieceCopy& first = steps[0].copies[0];
    EXPECT_EQ(first.dst_y, 0);
    EXPECT_EQ(first.src_y, 800 - first.height);
    EXPECT_EQ(first.height, 10);
}

TEST(Transitions, EffectNumbersAreSpreadOverOneToTwenty) {
    std::vector<int> seen(21, 0);
    for (int i = 0; i < 2000; ++i) seen[size_t(random_effect(i / 2000.0))]++;
    for (int e = 1; e <= 20; ++e) EXPECT_EQ(seen[size_t(e)], 100) << e;
    EXPECT_EQ(random_effect(0.99999999), 20);
    EXPECT_TRUE(effect_steps(0, 100, 100, {}).empty());
    EXPECT_TRUE(effect_steps(21, 100, 100, {}).empty());
    EXPECT_TRUE(effect_steps(1, 0, 100, {}).empty());
}

TEST(Transitions, BlockOrderIsAPermutationAndOutOfRangeBlocksAreIgnored) {
    auto order = test_order();
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < kBlockCount; ++i) ASSERT_EQ(sorted[size_t(i)], i + 1);
    EXPECT_NE(order, sorted);
    auto always_last = shuffle_blocks([] { return 0.9999999; });
    EXPECT_EQ(always_last.size(), size_t(kBlockCount));
    EXPECT_EQ(effect_steps(15, 400, 400, {0, 1601, -3, 5}).size(), 1u);
}

TEST(FitPicture, KeepsProportionsAndCentres) {
    FitRect wide = fit_picture(0, 0, 800, 600, 1024, 512, 100, 1);
    EXPECT_DOUBLE_EQ(wide.width, 800);
    EXPECT_DOUBLE_EQ(wide.height, 400);
    EXPECT_DOUBLE_EQ(wide.x, 0);
    EXPECT_DOUBLE_EQ(wide.y, 100);
    FitRect tall = fit_picture(0, 0, 800, 600, 300, 600, 100, 1);
    EXPECT_DOUBLE_EQ(tall.width, 300);
    EXPECT_DOUBLE_EQ(tall.height, 600);
    EXPECT_DOUBLE_EQ(tall.x, 250);
    EXPECT_DOUBLE_EQ(tall.y, 0);
    FitRect small = fit_picture(0, 0, 800, 600, 100, 50, 100, 0);
    EXPECT_DOUBLE_EQ(small.width, 100);
    EXPECT_DOUBLE_EQ(small.x, 350);
    FitRect scaled_up = fit_picture(0, 0, 800, 600, 100, 50, 100, 1);
    EXPECT_DOUBLE_EQ(scaled_up.width, 800);
    FitRect squareish = fit_picture(0, 0, 1920, 1080, 1024, 768, 100, 1);
    EXPECT_DOUBLE_EQ(squareish.height, 1080);
    EXPECT_DOUBLE_EQ(squareish.width, 1440);
    EXPECT_DOUBLE_EQ(squareish.x, 240);
    FitRect empty = fit_picture(0, 0, 800, 600, 0, 50, 100, 1);
    EXPECT_DOUBLE_EQ(empty.width, 0);
}

}  // namespace
}  // namespace flurrin
