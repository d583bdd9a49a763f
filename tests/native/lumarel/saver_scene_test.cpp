// The screen saver's layout and physics, replayed with a seeded random
// source: where the picture and message go, how snow, balloons and floaters
// move, land and wrap, and which floaters a module makes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "saver/animation_table.h"
#include "saver/balloon_field.h"
#include "saver/floater_motion.h"
#include "saver/scene_layout.h"
#include "saver/snow_field.h"

using namespace lumarel;

namespace {

// --- layout ---------------------------------------------------------------

const SceneRect kScreen{0, 0, 1024, 768};

TEST(SaverLayout, CentredPictureSitsAThirdDownAndATallerOneIsCentred) {
    Point32 c = centredPicture(kScreen, 400, 300);
    EXPECT_EQ(c.x, 312);
    EXPECT_EQ(c.y, (768 - 300) / 3);
    Point32 tall = centredPicture(kScreen, 400, 1000);
    EXPECT_EQ(tall.y, (768 - 1000) / 2);  // negative: centred
    EXPECT_LT(tall.y, 0);
}

TEST(SaverLayout, MessageMovesBelowAPictureOnlyWhenItFits) {
    // Picture bottom at 456: D = 312, so a message under 7 × 312 / 10 fits.
    const int32_t bottom = 456;
    MessageMotion below = layoutMessage(kScreen, 60, &bottom);
    EXPECT_EQ(below.upper, 456 + 31);
    EXPECT_EQ(below.lower, 768 - 31 * 2);
    EXPECT_EQ(below.text.top, below.upper);
    EXPECT_EQ(below.text.bottom, below.upper + 60);
    EXPECT_EQ(below.text.left, 128);
    EXPECT_EQ(below.text.right, 1024 - 128);
    EXPECT_EQ(below.velocity, 1);

    // 10 × 219 = 2190 is not less than 7 × 312 = 2184: the general limits.
    MessageMotion general = layoutMessage(kScreen, 219, &bottom);
    EXPECT_EQ(general.upper, 96);
    EXPECT_EQ(general.lower, 768 - 96);
    // Without a centred picture the general limits too.
    MessageMotion none = layoutMessage(kScreen, 60, nullptr);
    EXPECT_EQ(none.upper, 96);
}

TEST(SaverLayout, TooTallMessageStandsAndEmptyMessageIsNotShown) {
    MessageMotion tall = layoutMessage(kScreen, 700, nullptr);
    EXPECT_TRUE(tall.shown);
    EXPECT_EQ(tall.velocity, 0);
    const SceneRect before = tall.text;
    for (int i = 0; i < 50; ++i) tall.step();
    EXPECT_EQ(tall.text.top, before.top);

    MessageMotion empty = layoutMessage(kScreen, 0, nullptr);
    EXPECT_FALSE(empty.shown);
    empty.step();
    EXPECT_EQ(empty.text.top, 0);
}

TEST(SaverLayout, MessageBouncesBetweenItsLimits) {
    MessageMotion m = layoutMessage(kScreen, 100, nullptr);
    int turns = 0, lastVelocity = m.velocity;
    for (int i = 0; i < 3000; ++i) {
        m.step();
        EXPECT_GE(m.text.top, m.upper - 1);
        EXPECT_LE(m.text.bottom, m.lower + 1);
        if (m.velocity != lastVelocity) ++turns;
        lastVelocity = m.velocity;
    }
    EXPECT_GE(turns, 4);
}

TEST(SaverLayout, PreviewScaleAndGifStripWidth) {
    PreviewScale s = makePreviewScale(true, {0, 0, 152, 112}, 1280, 1024);
    EXPECT_EQ(s.x(1280), 152);
    EXPECT_EQ(s.y(-48), -48 * 112 / 1024);
    // Full screen, an empty area or an empty work area scale nothing.
    EXPECT_EQ(makePreviewScale(false, {0, 0, 152, 112}, 1280, 1024).x(640), 640);
    EXPECT_EQ(makePreviewScale(true, {0, 0, 0, 0}, 1280, 1024).x(640), 640);
    EXPECT_EQ(makePreviewScale(true, {0, 0, 152, 112}, 0, 0).x(640), 640);

    // 12 cells of 40: 480 scales to 57; the next multiple of 12 above is 60.
    StripSize strip = previewStripSize(480, 60, 12, s);
    EXPECT_EQ(strip.width, 60);
    EXPECT_EQ(strip.height, 60 * 60 / 480);
    EXPECT_EQ(previewStripSize(480, 60, 12, makePreviewScale(false, {0, 0, 9, 9}, 1, 1)).width, 480);
    EXPECT_EQ(previewStripSize(480, 60, 0, s).width, 480);
}

// --- snow -----------------------------------------------------------------

// Bulbs as a set of dark pixels; landed flakes counted.
struct FakeCanvas : SnowCanvas {
    std::set<std::pair<int, int>> dark, marked;
    std::vector<Flake> landed;
    int drawn = 0;
    void landFlake(const Flake& f) override { landed.push_back(f); }
    void drawFlake(const Flake&) override { ++drawn; }
    bool hitEmpty(int x, int y) override { return dark.count({x, y}) && !marked.count({x, y}); }
    void markPixel(int x, int y) override { marked.insert({x, y}); }
};

TEST(SaverSnow, FlakesStartAboveTheAreaWithTheirSizes) {
    SeededRandom random(7);
    SnowField full(1024, 768, false, random), preview(152, 112, true, random), wide(4000, 768, false, random);
    EXPECT_EQ(full.flakes().size(), 256u);
    EXPECT_EQ(preview.flakes().size(), 38u);
    EXPECT_EQ(wide.flakes().size(), 500u);  // capped
    for (const Flake& f : full.flakes()) {
        EXPECT_GE(f.size, 2);
        EXPECT_LE(f.size, 5);
        EXPECT_LE(f.y, 0);
        EXPECT_GT(f.y, -768);
    }
    for (const Flake& f : preview.flakes()) EXPECT_TRUE(f.size == 1 || f.size == 2);
    SnowField none(3, 100, false, random);
    EXPECT_TRUE(none.flakes().empty());
}

TEST(SaverSnow, LandingFlakesStopAtARisingGroundAndGoBackUp) {
    SeededRandom random(11);
    SnowField snow(400, 300, false, random);
    FakeCanvas canvas;
    EXPECT_EQ(snow.groundLine(), 300);
    for (int i = 0; i < 1000; ++i) snow.step(random, canvas);
    EXPECT_EQ(snow.groundLine(), 298);  // a pixel every 500 frames
    ASSERT_FALSE(canvas.landed.empty());
    for (const Flake& f : canvas.landed) EXPECT_LT(f.y, 300);
    for (const Flake& f : snow.flakes()) {
        EXPECT_LT(f.y, 300);
        EXPECT_GE(f.x, -10.1f);
        EXPECT_LE(f.x, 410.1f);
    }
    EXPECT_GE(snow.wind(), -4);
    EXPECT_LE(snow.wind(), 4);
    EXPECT_GE(snow.fallSpeed(), 3);
    EXPECT_LE(snow.fallSpeed(), 8);
    // The ground never rises above a third of the height.
    for (int i = 0; i < 100000; ++i) snow.step(random, canvas);
    EXPECT_EQ(snow.groundLine(), 100);
}

TEST(SaverSnow, FlakesSettleOnBulbsOnlyBeforeFrame2000) {
    SeededRandom random(3);
    SnowField snow(200, 200, true, random);
    FakeCanvas canvas;
    for (int x = 0; x < 200; ++x)
        for (int y = 150; y < 160; ++y) canvas.dark.insert({x, y});
    for (int i = 0; i < 1990; ++i) snow.step(random, canvas);
    const size_t early = canvas.marked.size();
    EXPECT_GT(early, 0u);
    for (auto& p : canvas.marked) EXPECT_TRUE(canvas.dark.count(p));
    for (int i = 0; i < 2000; ++i) snow.step(random, canvas);
    // Frames 1991 to 1999 may still mark; none after.
    const size_t atEnd = canvas.marked.size();
    for (int i = 0; i < 2000; ++i) snow.step(random, canvas);
    EXPECT_EQ(canvas.marked.size(), atEnd);
}

// --- balloons -------------------------------------------------------------

TEST(SaverBalloons, RiseWrapAndDriftOnlyInFullScreen) {
    SeededRandom random(5);
    BalloonField full(1000, 600, false, 21, 40, random);
    ASSERT_EQ(full.balloons().size(), 40u);
    for (const Balloon& b : full.balloons()) {
        EXPECT_GE(b.y, 600);
        EXPECT_GE(b.colour, 0);
        EXPECT_LT(b.colour, 6);
    }
    const float y0 = full.balloons()[0].y;
    full.step(random);
    EXPECT_LE(full.balloons()[0].y, y0 - 4.0f);
    EXPECT_GE(full.balloons()[0].y, y0 - 6.0f);
    bool drifted = false;
    for (int i = 0; i < 2000; ++i) {
        full.step(random);
        for (const Balloon& b : full.balloons()) {
            EXPECT_GE(b.y, -40.0f - 6.0f);
            // Balloons come back up to half a cell past either side.
            EXPECT_GE(b.x, -21.0f - 1.0f);
            EXPECT_LE(b.x, 1000.0f + 10.5f + 1.0f);
            EXPECT_LE(std::fabs(b.drift), 0.5f);
            drifted = drifted || b.drift != 0;
        }
    }
    EXPECT_TRUE(drifted);

    BalloonField preview(152, 112, true, 5, 7, random);
    std::vector<float> xs;
    for (const Balloon& b : preview.balloons()) xs.push_back(b.x);
    for (int i = 0; i < 20; ++i) preview.step(random);  // not long enough to come back
    for (size_t i = 0; i < xs.size(); ++i) EXPECT_EQ(preview.balloons()[i].x, xs[i]);
}

// --- floaters -------------------------------------------------------------

FloaterMotion floater(int w, int h) {
    FloaterMotion f;
    f.width = w;
    f.height = h;
    return f;
}

TEST(SaverFloaters, BouncingFloatersStayInside) {
    for (bool preview : {false, true}) {
        SeededRandom random(21);
        FloaterSpace space{preview ? SceneRect{0, 0, 152, 112} : kScreen, preview, kBounceOffSides};
        FloaterMotion f = floater(30, 20);
        startFloater(f, space, random);
        EXPECT_FALSE(f.vx == 0 && f.vy == 0);
        EXPECT_LE(std::fabs(f.vx), preview ? 2 : 4);
        for (int i = 0; i < 5000; ++i) {
            moveFloater(f, space, random);
            EXPECT_GE(f.x, -std::fabs(f.vx) - 1);
            EXPECT_LE(f.x, space.area.right - 30 + std::fabs(f.vx) + 1);
            EXPECT_GE(f.y, -std::fabs(f.vy) - 1);
            EXPECT_LE(f.y, space.area.bottom - 20 + std::fabs(f.vy) + 1);
        }
    }
}

TEST(SaverFloaters, GravityFloatersComeToRestOnTheFloorAndStartAgainAbove) {
    SeededRandom random(9);
    FloaterSpace space{kScreen, false, kGravityWell};
    FloaterMotion f = floater(40, 40);
    startFloater(f, space, random);
    EXPECT_EQ(f.y, -40);
    int rests = 0;
    for (int i = 0; i < 3000; ++i) {
        FloaterStop stop = moveFloater(f, space, random);
        EXPECT_LE(f.y, 768 - 40);
        if (stop.painted) {
            ++rests;
            EXPECT_EQ(stop.y, 768 - 40);
            EXPECT_EQ(f.y, -40);  // started again
        }
    }
    EXPECT_GT(rests, 3);
}

TEST(SaverFloaters, LeavesLandOnARisingGroundAndWrap) {
    SeededRandom random(13);
    FloaterSpace space{kScreen, false, kFallingLeaves};
    FloaterMotion f = floater(20, 20);
    startFloater(f, space, random);
    EXPECT_TRUE(f.third == 0.1f || f.third == -0.1f);
    EXPECT_EQ(f.vy, 0);
    int landings = 0;
    for (int i = 0; i < 20000; ++i) {
        const int32_t ground = std::max(768 - f.framesAlive / 100, 768 / 3);
        FloaterStop stop = moveFloater(f, space, random);
        ++f.framesAlive;
        if (stop.painted) {
            ++landings;
            EXPECT_GE(stop.y + 20, ground);
            EXPECT_EQ(f.y, -20);
        }
        EXPECT_GE(f.x, -20 - 30);
        EXPECT_LE(f.x, 1024 + 30);
    }
    EXPECT_GT(landings, 5);
}

TEST(SaverFloaters, AttractionPullsTogetherWithinItsLimit) {
    FloaterMotion a = floater(10, 10), b = floater(10, 10);
    a.x = 0;
    b.x = 100;
    attractFloaters(a, b, false);
    EXPECT_GT(a.vx, 0);  // a is pulled right, b left
    EXPECT_LT(b.vx, 0);
    EXPECT_FLOAT_EQ(a.vx, -b.vx);
    // Close together the pull is strong, but every velocity stays in the limit.
    for (bool preview : {false, true}) {
        FloaterMotion c = floater(10, 10), d = floater(10, 10);
        c.vx = 100;
        d.vy = -100;
        d.x = 1;
        attractFloaters(c, d, preview);
        const float limit = preview ? 8 : 25;
        for (float v : {c.vx, c.vy, d.vx, d.vy}) EXPECT_LE(std::fabs(v), limit);
    }
}

TEST(SaverFloaters, FloatersLargerThanTheAreaAndEmptyAreasDoNotDivideByZero) {
    SeededRandom random(1);
    for (int type = 0; type < 4; ++type) {
        FloaterSpace space{{0, 0, 152, 112}, true, type};
        FloaterMotion big = floater(300, 300);
        startFloater(big, space, random);
        EXPECT_EQ(big.x, 0);
        for (int i = 0; i < 100; ++i) moveFloater(big, space, random);
        FloaterSpace empty{{0, 0, 0, 0}, false, type};
        FloaterMotion f = floater(1, 1);
        startFloater(f, empty, random);
        moveFloater(f, empty, random);
    }
    EXPECT_EQ(randomMod(random, 0), 0);
    EXPECT_EQ(randomMod(random, -5), 0);
}

TEST(SaverFloaters, CreationStopsWhenEightTimesTheAreasPassTheScreen) {
    EXPECT_FALSE(floatersFillArea(98304, kScreen));  // 8 × = exactly the area
    EXPECT_TRUE(floatersFillArea(98305, kScreen));
    // Sizes whose product passes 32 bits still compare right.
    EXPECT_TRUE(floatersFillArea(uint64_t{70000} * 70000, kScreen));
    EXPECT_TRUE(floatersFillArea(1, SceneRect{}));
}

TEST(SaverFloaters, LeafWindDriftsWithinTwenty) {
    SeededRandom random(17);
    float wind = 0;
    for (int i = 0; i < 100000; ++i) {
        wind = nextLeafWind(wind, random);
        ASSERT_LE(std::fabs(wind), 20);
    }
}

// --- animation table ------------------------------------------------------

TEST(SaverAnimations, TableHoldsTheTwentyEntriesByExactName) {
    std::set<std::string> names;
    int gifs = 0;
    for (int i = 0; i < kAnimationEntries; ++i) {
        const AnimationEntry& e = animationEntry(i);
        names.insert(e.name);
        EXPECT_LT(strlen(e.name), 20u);
        if (e.isGif()) {
            ++gifs;
            EXPECT_GE(e.gifResource(), 3100);
            EXPECT_LE(e.gifResource(), 3105);
            continue;
        }
        EXPECT_LE(e.count, 12);
        for (int r = 0; r < e.count; ++r) {
            EXPECT_GE(e.records[r].frameCount, 1) << e.name << " " << r;
            EXPECT_LE(e.records[r].frameCount, 8);
            for (int k = 0; k < e.records[r].frameCount; ++k) EXPECT_GE(e.records[r].frames[k], 1);
        }
    }
    EXPECT_EQ(names.size(), 20u);
    EXPECT_EQ(gifs, 6);
    ASSERT_NE(findAnimation("Santa"), nullptr);
    EXPECT_EQ(findAnimation("Santa")->gifResource(), 3105);
    EXPECT_EQ(findAnimation("Singing Tree")->gifResource(), 3100);
    EXPECT_EQ(findAnimation("santa"), nullptr);  // exact comparison
    const AnimationEntry* eggs = findAnimation("Easter Eggs");
    ASSERT_NE(eggs, nullptr);
    EXPECT_EQ(eggs->count, 10);
    EXPECT_EQ(eggs->records[3].frames[0], 9);
    EXPECT_EQ(eggs->records[9].kind, 19);
    EXPECT_EQ(eggs->records[9].frames[3], 24);
    const AnimationEntry* flags = findAnimation("Flags");
    EXPECT_EQ(flags->records[9].frameCount, 1);
    EXPECT_EQ(flags->records[6].frames[4], 1);
    EXPECT_EQ(findAnimation("Valentine's Hearts")->records[2].frames[0], 20);
    EXPECT_EQ(findAnimation("Halloween")->records[4].kind, 25);
}

}  // namespace
