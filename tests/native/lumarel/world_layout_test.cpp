// Measuring and placing the bulbs of one edge world.
#include <gtest/gtest.h>

#include "engine/bulb_table.h"
#include "engine/flash_pattern.h"
#include "engine/world_layout.h"

using namespace lumarel;

namespace {

const BulbTableRow& rowWithId(int32_t id) {
    for (int r = 0; r < kBuiltInKinds; ++r)
        if (builtInRow(r).id == id) return builtInRow(r);
    throw std::runtime_error("no such kind");
}

EdgeKind builtInEdge(int32_t id, int position) {
    const BulbTableRow& row = rowWithId(id);
    return {row.phases, position == 0 || position == 2 ? int32_t(row.gapHorizontal) : int32_t(row.gapVertical),
            [&row, position](int flavor) {
                FrameBox b = frameBox(row, position, flavor, 0, false);
                return LayoutSize{b.width(), b.height()};
            }};
}

CornerKind builtInCorner(int32_t id, int position) {
    const BulbTableRow& row = rowWithId(id);
    FrameBox b = frameBox(row, position, 0, 0, false);
    return {row.phases, int32_t(row.gapHorizontal), {b.width(), b.height()}};
}

EdgeKind fixed(int w, int h, int gap, int phases) {
    return {phases, gap, [w, h](int) { return LayoutSize{w, h}; }};
}

}  // namespace

TEST(WorldLayout, StandardBulbsBetweenJollyHollyCornersFill1024Pixels) {
    // The built-in sizes the case depends on.
    ASSERT_EQ(frameBox(rowWithId(0), 0, 0, 0, false).width() + 2 * rowWithId(0).gapHorizontal, 32);
    CornerKind holly = builtInCorner(1, 4);
    ASSERT_EQ(holly.frame.width + holly.gap, 32);

    WorldInput in;
    in.side = 0;
    in.usable = {0, 0, 1024, 768};
    in.edges = {builtInEdge(0, 0)};
    in.leftCorner = holly;
    in.rightCorner = builtInCorner(1, 5);
    WorldLayout w = layoutWorld(in);
    ASSERT_TRUE(w.usable);
    EXPECT_EQ(w.bulbCount, 30);
    EXPECT_EQ(w.spread, 0.0);
    EXPECT_EQ(w.halfLeftover, 0);
    EXPECT_EQ(w.bulbs.front().along, 32 + rowWithId(0).gapHorizontal);
    EXPECT_EQ(w.bulbs.back().along + w.bulbs.back().frame.width + rowWithId(0).gapHorizontal, 1024 - 32);
    ASSERT_EQ(w.corners.size(), 2u);
    EXPECT_EQ(w.corners[0].along, 0);
    EXPECT_EQ(w.corners[1].along, 1024 - in.rightCorner->frame.width);
    // The corners count towards the thickness and the phase copies.
    EXPECT_EQ(w.thickness, std::max(holly.frame.height, frameBox(rowWithId(0), 0, 0, 0, false).height()));
    EXPECT_EQ(w.phaseCopies, std::max<int>(rowWithId(0).phases, rowWithId(1).phases));
    EXPECT_EQ(w.place, (LayoutRect{0, 0, 1024, w.thickness}));
}

TEST(WorldLayout, LeftoverIsSpreadOverTheBulbs) {
    WorldInput in;
    in.usable = {0, 0, 105, 50};
    in.edges = {fixed(10, 8, 0, 2)};
    WorldLayout w = layoutWorld(in);
    EXPECT_EQ(w.bulbCount, 10);
    EXPECT_DOUBLE_EQ(w.spread, 0.5);
    EXPECT_EQ(w.halfLeftover, 2);
    // x = 10.5 n, truncated
    EXPECT_EQ(w.bulbs[1].along, 10);
    EXPECT_EQ(w.bulbs[2].along, 21);
    EXPECT_EQ(w.bulbs[9].along, 94);
}

TEST(WorldLayout, BulbsAreTakenCyclicallyWithGrowingFlavor) {
    WorldInput in;
    in.usable = {0, 0, 100, 50};
    in.edges = {fixed(10, 8, 0, 2), fixed(20, 12, 0, 2)};
    // the second kind's frame size depends on the flavor
    in.edges[1].frame = [](int flavor) { return LayoutSize{20 + flavor, 12}; };
    WorldLayout w = layoutWorld(in);
    // A 10, B 20, A 10, B 21, A 10, B 22 = 93; the next A would end at 103
    ASSERT_EQ(w.bulbCount, 6);
    ASSERT_EQ(w.bulbs.size(), 6u);
    EXPECT_EQ(w.bulbs[5].frame.width, 22);
    EXPECT_EQ(w.bulbs[5].along, 76);  // 71 + 5 x spread 7/6, truncated
    EXPECT_EQ(w.bulbs[0].slot, 0);
    EXPECT_EQ(w.bulbs[1].slot, 1);
    EXPECT_EQ(w.bulbs[2].slot, 0);
    EXPECT_EQ(w.bulbs[2].flavor, 1);
    EXPECT_EQ(w.bulbs[3].flavor, 1);
    EXPECT_EQ(w.bulbs[3].frame.width, 21);
    EXPECT_EQ(w.thickness, 12);
}

TEST(WorldLayout, NothingPlacedWhenTheFirstStepIsTooLong) {
    WorldInput in;
    in.usable = {0, 0, 100, 50};
    in.edges = {fixed(90, 8, 10, 2)};  // 110 > 100
    WorldLayout w = layoutWorld(in);
    EXPECT_EQ(w.bulbCount, 0);
    EXPECT_TRUE(w.bulbs.empty());
    EXPECT_EQ(w.spread, 0.0);
    EXPECT_FALSE(w.usable);  // no corners either: the world draws nothing
}

TEST(WorldLayout, EmptySideKeepsItsCorners) {
    WorldInput in;
    in.side = 2;
    in.usable = {0, 0, 640, 480};
    in.leftCorner = CornerKind{2, 0, {30, 40}};
    in.rightCorner = CornerKind{2, 0, {20, 10}};
    WorldLayout w = layoutWorld(in);
    ASSERT_TRUE(w.usable);
    EXPECT_EQ(w.bulbCount, 0);
    EXPECT_EQ(w.thickness, 40);
    EXPECT_EQ(w.place, (LayoutRect{0, 440, 640, 480}));
    ASSERT_EQ(w.corners.size(), 2u);
    EXPECT_EQ(w.corners[1].along, 620);
    EXPECT_EQ(w.corners[1].across, 30);  // on the outer (bottom) edge
}

TEST(WorldLayout, RightAndBottomWorldsAlignFramesToTheOuterEdge) {
    WorldInput in;
    in.usable = {10, 20, 210, 420};
    in.edges = {fixed(16, 30, 0, 2), fixed(24, 20, 0, 2)};
    for (int side : {0, 1, 2, 3}) {
        in.side = side;
        WorldLayout w = layoutWorld(in);
        ASSERT_TRUE(w.usable) << side;
        bool horizontal = side == 0 || side == 2;
        int32_t thick = horizontal ? 30 : 24;
        EXPECT_EQ(w.thickness, thick) << side;
        for (const PlacedBulb& b : w.bulbs) {
            int32_t across = horizontal ? b.frame.height : b.frame.width;
            if (side == 1 || side == 2)
                EXPECT_EQ(b.across + across, thick) << side;
            else
                EXPECT_EQ(b.across, 0) << side;
        }
    }
    in.side = 1;
    EXPECT_EQ(layoutWorld(in).place, (LayoutRect{186, 20, 210, 420}));
    in.side = 3;
    EXPECT_EQ(layoutWorld(in).place, (LayoutRect{10, 20, 34, 420}));
    // vertical worlds measure along y: heights 30 and 20 into 400 pixels
    EXPECT_EQ(layoutWorld(in).bulbCount, 16);
    EXPECT_EQ(layoutWorld(in).pictureSize().width, 24 * 2);
    EXPECT_EQ(layoutWorld(in).pictureSize().height, 400);
}

TEST(WorldLayout, ZeroPixelStepEndsTheRun) {
    WorldInput in;
    in.usable = {0, 0, 1024, 768};
    in.edges = {fixed(0, 0, 0, 1)};
    WorldLayout w = layoutWorld(in);  // must return
    EXPECT_EQ(w.bulbCount, 0);
    in.edges = {fixed(10, 10, 0, 1), fixed(0, 0, 0, 1)};
    w = layoutWorld(in);
    EXPECT_EQ(w.bulbCount, 1);
    in.edges = {fixed(4, 10, -3, 1)};  // negative gaps from an add-on kind
    EXPECT_EQ(layoutWorld(in).bulbCount, 0);
}

TEST(WorldLayout, PictureCappedAtWhatABlitAddresses) {
    WorldInput in;
    in.usable = {0, 0, 800, 600};
    in.edges = {fixed(20, 100, 0, 500)};  // an add-on kind with 500 phases
    WorldLayout w = layoutWorld(in);
    ASSERT_TRUE(w.usable);
    EXPECT_EQ(w.largestPhaseCount, 500);
    EXPECT_EQ(w.phaseCopies, 327);
    EXPECT_LE(w.pictureSize().height, kMaxPictureExtent);
    in.edges = {fixed(20, 40000, 0, 2)};  // thicker than a blit can reach
    EXPECT_FALSE(layoutWorld(in).usable);
}

TEST(WorldLayout, PhaseCopiesFollowThePattern) {
    WorldInput in;
    in.usable = {0, 0, 800, 600};
    in.edges = {fixed(20, 10, 0, 3), fixed(20, 10, 0, 5)};
    in.pattern = kDontFlash;
    EXPECT_EQ(layoutWorld(in).phaseCopies, 1);
    in.pattern = kFlashTogether;
    EXPECT_EQ(layoutWorld(in).phaseCopies, 5);
    in.pattern = kRandomFlashing;
    EXPECT_EQ(layoutWorld(in).phaseCopies, 8);
    // left and right worlds ignore corners
    in.side = 3;
    in.pattern = kBulbChase;
    in.leftCorner = CornerKind{7, 0, {30, 30}};
    EXPECT_EQ(layoutWorld(in).phaseCopies, 5);
    EXPECT_EQ(layoutWorld(in).thickness, 20);
    in.side = 0;
    EXPECT_EQ(layoutWorld(in).phaseCopies, 7);
}

TEST(WorldLayout, SequenceNumbersSkipSinglePhaseBulbs) {
    WorldInput in;
    in.usable = {0, 0, 50, 50};
    in.edges = {fixed(10, 10, 0, 2), fixed(10, 10, 0, 1)};  // bulb, spacer
    WorldLayout w = layoutWorld(in);
    ASSERT_EQ(w.bulbCount, 5);
    int expected[] = {1, 2, 2, 3, 3};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(w.bulbs[size_t(i)].sequence, expected[i]) << i;
}

TEST(RebuildGate, RetriesOnlyWhenAnInputChanges) {
    RebuildGate gate;
    WorldSetInputs a{{0, 0, 800, 600}, {0, 1, 2}, 1, 0, 0};
    EXPECT_TRUE(gate.shouldTry(a));
    gate.failed(a);
    EXPECT_FALSE(gate.shouldTry(a));
    for (int field = 0; field < 6; ++field) {
        WorldSetInputs b = a;
        switch (field) {
        case 0: b.rectangle.right = 801; break;
        case 1: b.arrangement[1] = -1; break;
        case 2: b.pattern = 2; break;
        case 3: b.location = 1; break;
        case 4: b.displayGeneration = 1; break;
        case 5: b.bulbWindowOnDesktop = true; break;
        }
        EXPECT_TRUE(gate.shouldTry(b)) << field;
    }
    gate.succeeded();
    EXPECT_TRUE(gate.shouldTry(a));
}

TEST(SharedCopies, IdenticalPhaseRowsShareOneStoredCopy) {
    // Four copies of a string whose bulbs have 2 and 4 phases: none repeat.
    EXPECT_EQ(shareIdenticalCopies({{0, 0}, {1, 1}, {0, 2}, {1, 3}}), (std::vector<int>{0, 1, 2, 3}));
    // Single-phase bulbs beside a two-phase corner over four copies: copies
    // 2 and 3 repeat 0 and 1.
    EXPECT_EQ(shareIdenticalCopies({{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {1, 0, 0}}), (std::vector<int>{0, 1, 0, 1}));
    // A world of single-phase bulbs stores one copy whatever the count.
    EXPECT_EQ(shareIdenticalCopies(std::vector<std::vector<int>>(8, {0, 0, 0})), std::vector<int>(8, 0));
    // Slots are numbered by first use, so they can be stored densely.
    EXPECT_EQ(shareIdenticalCopies({{3}, {1}, {3}, {2}, {1}}), (std::vector<int>{0, 1, 0, 2, 1}));
    EXPECT_TRUE(shareIdenticalCopies({}).empty());
    // An empty row (a world with nothing placed) is one picture too.
    EXPECT_EQ(shareIdenticalCopies({{}, {}}), (std::vector<int>{0, 0}));
}
