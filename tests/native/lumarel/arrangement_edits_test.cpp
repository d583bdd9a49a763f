#include "ui/arrangement_edits.h"

#include <gtest/gtest.h>

using namespace lumarel;

namespace {

using Row = std::array<int32_t, 8>;

BulbArrangement withTop(Row top) {
    BulbArrangement a = defaultArrangement();
    a[0] = top;
    return a;
}

constexpr int kTopEdge = 1, kLeftEdge = 3, kTopLeft = 0, kBottomRight = 7;

}  // namespace

TEST(ArrangementEdits, BoxesMapToRowsAndCorners) {
    EXPECT_EQ(outerBoxPlace(kTopLeft)->row, 0);
    EXPECT_EQ(outerBoxPlace(kTopLeft)->corner, 6);
    EXPECT_EQ(outerBoxPlace(2)->corner, 7);
    EXPECT_EQ(outerBoxPlace(kLeftEdge)->row, 3);
    EXPECT_EQ(outerBoxPlace(4)->row, 1);
    EXPECT_EQ(outerBoxPlace(5)->row, 2);
    EXPECT_EQ(outerBoxPlace(5)->corner, 6);
    EXPECT_FALSE(outerBoxPlace(6)->isCorner());
    EXPECT_EQ(outerBoxPlace(kBottomRight)->corner, 7);
    EXPECT_FALSE(outerBoxPlace(8));
    EXPECT_FALSE(outerBoxPlace(-1));
}

TEST(ArrangementEdits, InsertMovesTheRestBackWhileThereIsRoom) {
    BulbArrangement a = withTop({4, 5, 6, -1, -1, -1, 1, 1});
    insertIntoEdge(a, 0, 1, 9);
    EXPECT_EQ(a[0], (Row{4, 9, 5, 6, -1, -1, 1, 1}));
    insertIntoEdge(a, 0, 4, 8);  // at the end
    EXPECT_EQ(a[0], (Row{4, 9, 5, 6, 8, -1, 1, 1}));
    insertIntoEdge(a, 0, 0, 7);  // fills the sixth slot of a long edge
    EXPECT_EQ(a[0], (Row{7, 4, 9, 5, 6, 8, 1, 1}));
}

TEST(ArrangementEdits, InsertOnAFullEdgeReplaces) {
    BulbArrangement a = withTop({10, 11, 12, 13, 14, 15, 1, 1});
    insertIntoEdge(a, 0, 2, 9);  // the third slot of a full top edge
    EXPECT_EQ(a[0], (Row{10, 11, 9, 13, 14, 15, 1, 1}));

    a[3] = {10, 11, 12, 13, 14, -1, -1, -1};  // the left edge holds five
    insertIntoEdge(a, 3, 5, 9);                 // beyond its fifth slot
    EXPECT_EQ(a[3], (Row{10, 11, 12, 13, 9, -1, -1, -1}));
    insertIntoEdge(a, 3, 0, 8);
    EXPECT_EQ(a[3], (Row{8, 11, 12, 13, 9, -1, -1, -1}));
}

TEST(ArrangementEdits, InsertNeverLeavesAGap) {
    BulbArrangement a = withTop({4, -1, -1, -1, -1, -1, 1, 1});
    insertIntoEdge(a, 0, 4, 9);
    EXPECT_EQ(a[0], (Row{4, 9, -1, -1, -1, -1, 1, 1}));
    insertIntoEdge(a, 0, -3, 8);
    EXPECT_EQ(a[0], (Row{8, 4, 9, -1, -1, -1, 1, 1}));
}

TEST(ArrangementEdits, RemoveSlotPacksTheEdgeAndKeepsCorners) {
    BulbArrangement a = withTop({10, 11, 12, 13, 14, 15, 1, 2});
    removeEdgeSlot(a, 0, 1);
    EXPECT_EQ(a[0], (Row{10, 12, 13, 14, 15, -1, 1, 2}));
    removeEdgeSlot(a, 0, 4);
    EXPECT_EQ(a[0], (Row{10, 12, 13, 14, -1, -1, 1, 2}));
    BulbArrangement before = a;
    removeEdgeSlot(a, 0, 6);  // not an edge slot
    removeEdgeSlot(a, 4, 0);
    EXPECT_EQ(a, before);
}

TEST(ArrangementEdits, CornersOnlyOnTheTopAndBottomRows) {
    BulbArrangement a = defaultArrangement();
    setCorner(a, 2, 7, 5);
    EXPECT_EQ(a[2][7], 5);
    BulbArrangement before = a;
    setCorner(a, 1, 6, 5);
    setCorner(a, 0, 5, 5);
    EXPECT_EQ(a, before);
}

TEST(ArrangementEdits, RemovingAKindClearsCornersAndEdges) {
    BulbArrangement a = {{{3, 4, 3, 3, -1, -1, 3, 1},
                          {3, -1, -1, -1, -1, -1, -1, -1},
                          {1, 2, -1, -1, -1, -1, 1, 3},
                          {4, 3, 4, 3, 4, -1, -1, -1}}};
    EXPECT_TRUE(removeKindEverywhere(a, 3));
    EXPECT_EQ(a[0], (Row{4, -1, -1, -1, -1, -1, -1, 1}));
    EXPECT_EQ(a[1], (Row{-1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(a[2], (Row{1, 2, -1, -1, -1, -1, 1, -1}));
    EXPECT_EQ(a[3], (Row{4, 4, 4, -1, -1, -1, -1, -1}));
    EXPECT_FALSE(removeKindEverywhere(a, 3));
}

TEST(EdgeBox, CellsAreCentredInEqualParts) {
    // A wide box 300 x 40 with three kinds: parts of 100, cells at 34, 134, 234.
    auto cells = edgeBoxCells(300, 40, 3);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].left, 34);
    EXPECT_EQ(cells[1].left, 134);
    EXPECT_EQ(cells[2].left, 234);
    EXPECT_EQ(cells[0].top, 4);
    // A tall box lays them out downwards.
    cells = edgeBoxCells(40, 200, 2);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].top, 34);
    EXPECT_EQ(cells[1].top, 134);
    EXPECT_EQ(cells[1].left, 4);
    EXPECT_TRUE(edgeBoxCells(300, 40, 0).empty());
}

TEST(EdgeBox, DropIndexFollowsTheSixteenPixelRule) {
    // Cells start at 34, 134, 234: a drop inserts before a cell until 16
    // pixels into it.
    EXPECT_EQ(edgeDropIndex(300, 40, 3, 0, 20), 0);
    EXPECT_EQ(edgeDropIndex(300, 40, 3, 49, 20), 0);
    EXPECT_EQ(edgeDropIndex(300, 40, 3, 50, 20), 1);
    EXPECT_EQ(edgeDropIndex(300, 40, 3, 149, 20), 1);
    EXPECT_EQ(edgeDropIndex(300, 40, 3, 250, 20), 3);
    EXPECT_EQ(edgeDropIndex(300, 40, 0, 10, 10), 0);
    // Only the longer side counts.
    EXPECT_EQ(edgeDropIndex(40, 200, 2, 39, 49), 0);
    EXPECT_EQ(edgeDropIndex(40, 200, 2, 0, 50), 1);
    EXPECT_EQ(edgeDropIndex(40, 200, 2, 0, 199), 2);
}

TEST(EdgeBox, PressesFindTheBulbUnderThem) {
    // Cells of a 300 x 40 box with three kinds at x 34, 134, 234, y 4, 32 wide.
    EXPECT_EQ(edgeSlotAt(300, 40, 3, 34, 4), 0);
    EXPECT_EQ(edgeSlotAt(300, 40, 3, 65, 35), 0);
    EXPECT_EQ(edgeSlotAt(300, 40, 3, 66, 20), -1);  // between two cells
    EXPECT_EQ(edgeSlotAt(300, 40, 3, 33, 20), -1);
    EXPECT_EQ(edgeSlotAt(300, 40, 3, 150, 20), 1);
    EXPECT_EQ(edgeSlotAt(300, 40, 3, 240, 3), -1);  // above the cell
    EXPECT_EQ(edgeSlotAt(300, 40, 0, 150, 20), -1);  // an empty edge
    // Downwards in a tall box.
    EXPECT_EQ(edgeSlotAt(40, 200, 2, 20, 140), 1);
    EXPECT_EQ(edgeSlotAt(40, 200, 2, 20, 100), -1);
    // A corner's one cell is centred, also in an odd-sized box.
    EXPECT_EQ(cornerBoxCell(48, 46).left, 8);
    EXPECT_EQ(cornerBoxCell(48, 46).top, 7);
    EXPECT_EQ(cornerBoxCell(33, 32).left, 0);
}

TEST(Drop, BoxToBoxCopiesAndTheCentreListRemoves) {
    BulbArrangement a = defaultArrangement();  // top {0}, left {0, 2}
    // From the top edge to the left edge at its end: on both afterwards.
    EXPECT_TRUE(applyDrop(a, 0, {kTopEdge, 0}, {kLeftEdge, 0}, 2));
    EXPECT_EQ(a[0][0], 0);
    EXPECT_EQ(a[3], (Row{0, 2, 0, -1, -1, -1, -1, -1}));
    // A corner bulb dropped on the centre list clears the corner.
    EXPECT_TRUE(applyDrop(a, 1, {kTopLeft, 0}, {-1, 0}, 0));
    EXPECT_EQ(a[0][6], -1);
    EXPECT_EQ(a[0][7], 1);
    // An edge bulb dropped on the centre list leaves its slot.
    EXPECT_TRUE(applyDrop(a, 2, {kLeftEdge, 1}, {-1, 0}, 0));
    EXPECT_EQ(a[3], (Row{0, 0, -1, -1, -1, -1, -1, -1}));
    // From the centre list to a corner.
    EXPECT_TRUE(applyDrop(a, 7, {-1, 0}, {kBottomRight, 0}, 0));
    EXPECT_EQ(a[2][7], 7);
    // The same bulb onto the same corner changes nothing.
    EXPECT_FALSE(applyDrop(a, 7, {-1, 0}, {kBottomRight, 0}, 0));
}
