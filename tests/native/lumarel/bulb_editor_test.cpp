// The Bulb Factory's rules: controls per place, flavor and cells; the drag
// rule and the preview layout; the category text; the New Category name; the
// reference counts; the working copy's header checks.
#include "ui/bulb_editor.h"

#include <gtest/gtest.h>

#include <optional>

using namespace lumarel;

namespace {

constexpr int kTopSide = 1, kLeftSide = 2, kTopLeftCorner = 5, kBottomRightCorner = 8;

BulbHeader newHeader() { return newBulbHeader(7, "Star", "a", "c"); }

TEST(BulbEditorPlaces, EachPlaceEditsItsOwnCell) {
    BulbHeader h = newHeader();
    h.listPicture = 1;
    h.cornerPictures[0] = 2;  // position 4, top-left
    h.cornerPictures[2] = 3;  // position 6, bottom-right
    h.flavors[3][5] = 4;      // left side, flavor 6
    EXPECT_EQ(1, cellOf(h, kListPreviewPlace, 3));
    EXPECT_EQ(2, cellOf(h, kTopLeftCorner, 0));
    EXPECT_EQ(3, cellOf(h, kBottomRightCorner, 0));  // listed last, position 6
    EXPECT_EQ(4, cellOf(h, kLeftSide, 5));
    EXPECT_EQ(kNoPicture, cellOf(h, kTopSide, 5));
    EXPECT_STREQ("Bulb List Preview", editorPlace(kListPreviewPlace).text);
    EXPECT_STREQ("Bottom-Right Corner", editorPlace(kBottomRightCorner).text);
    EXPECT_EQ(7, editorPlace(7).position);
}

TEST(BulbEditorControls, FollowPlaceFlavorAndCells) {
    BulbHeader h = newHeader();
    h.flavors[0][1] = 0;  // top side: flavors 1 and 2 set

    EditorControls list = editorControls(h, kListPreviewPlace, 0);
    EXPECT_FALSE(list.removeEnabled);
    EXPECT_FALSE(list.flavorListEnabled);
    EXPECT_STREQ("Press Change to choose a new animation for the bulb list preview.", list.hint);

    EditorControls first = editorControls(h, kTopSide, 0);
    EXPECT_FALSE(first.removeEnabled);
    EXPECT_TRUE(first.flavorListEnabled);
    EXPECT_STREQ("Press Change to choose a new animation.\r\n(The first flavor cannot be removed.)", first.hint);
    EXPECT_EQ("Flavor 1 *", first.flavorItems[0]);
    EXPECT_EQ("Flavor 2 *", first.flavorItems[1]);
    EXPECT_EQ("Flavor 3", first.flavorItems[2]);
    EXPECT_EQ("Flavor 8", first.flavorItems[7]);

    EditorControls second = editorControls(h, kTopSide, 1);
    EXPECT_TRUE(second.removeEnabled);
    EXPECT_STREQ("Press Change to choose a new animation.\r\nPress Remove Flavor to delete this flavor.", second.hint);
    EXPECT_STREQ(first.explanation, second.explanation);

    EditorControls empty = editorControls(h, kTopSide, 2);
    EXPECT_FALSE(empty.removeEnabled);
    EXPECT_STREQ("Press Change to choose a new animation.", empty.hint);

    // The left side has only its first flavor: the stars follow the side shown.
    EXPECT_EQ("Flavor 2", editorControls(h, kLeftSide, 0).flavorItems[1]);

    EditorControls corner = editorControls(h, kTopLeftCorner, 0);
    EXPECT_FALSE(corner.flavorListEnabled);
    EXPECT_FALSE(corner.removeEnabled);
    EXPECT_STREQ("This animation appears in the corner of the screen. It has only one flavor.", corner.explanation);
}

TEST(BulbEditorDrag, CentresTheSquareOnThePointAndKeepsItInTheFrame) {
    // A 64 × 48 frame centred in a 100 × 80 control starts at (18, 16).
    EXPECT_EQ(16, squareForPoint(50, 40, 64, 48, 100, 80).left);   // 50 - 16 - 18
    EXPECT_EQ(8, squareForPoint(50, 40, 64, 48, 100, 80).top);     // 40 - 16 - 16
    // Past the frame's right and bottom edges: the square stops at the edge.
    EXPECT_EQ(32, squareForPoint(95, 79, 64, 48, 100, 80).left);
    EXPECT_EQ(16, squareForPoint(95, 79, 64, 48, 100, 80).top);
    // Left of and above the control (signed points): the edge, not a wrap.
    EXPECT_EQ(0, squareForPoint(-30, -5, 64, 48, 100, 80).left);
    EXPECT_EQ(0, squareForPoint(-30, -5, 64, 48, 100, 80).top);
    // A frame wider than the control: (100 - 103) / 2 is -1 (toward zero).
    EXPECT_EQ(35, squareForPoint(50, 40, 103, 20, 100, 80).left);  // 50 - 16 + 1
}

TEST(BulbEditorDrag, ASmallFrameMakesASquareThatCannotMove) {
    for (int x : {-10, 0, 40, 50, 60, 200})
        for (int y : {-10, 30, 40, 100}) {
            SquareSpot spot = squareForPoint(x, y, 20, 20, 100, 80);
            EXPECT_EQ(0, spot.left) << x << "," << y;
            EXPECT_EQ(0, spot.top) << x << "," << y;
        }
}

TEST(BulbEditorPreview, SquareAndBandsCoverTheControlWithoutOverlap) {
    PreviewLayout p = previewLayout(100, 80, 64, 48, 10, 4);
    EXPECT_EQ((Box{18, 16, 82, 64}), p.frame);
    EXPECT_EQ((Box{28, 20, 60, 52}), p.square);
    EXPECT_EQ((Box{0, 0, 100, 20}), p.bands[0]);
    EXPECT_EQ((Box{0, 52, 100, 80}), p.bands[1]);
    EXPECT_EQ((Box{0, 20, 28, 52}), p.bands[2]);
    EXPECT_EQ((Box{60, 20, 100, 52}), p.bands[3]);
    // Every pixel lies in exactly one of the square and the four bands.
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) {
            int covering = 0;
            auto in = [&](const Box& b) { return x >= b.left && x < b.right && y >= b.top && y < b.bottom; };
            covering += in(p.square);
            for (const Box& band : p.bands) covering += in(band);
            ASSERT_EQ(1, covering) << x << "," << y;
        }
    // A frame smaller than the square: the square is the frame's size.
    EXPECT_EQ((Box{40, 30, 60, 50}), previewLayout(100, 80, 20, 20, 0, 0).square);
}

TEST(BulbEditorCategories, CheckedNamesJoinedInListOrderBelow260) {
    EXPECT_EQ("", categoryListText({}));
    EXPECT_EQ("Red|Blue", categoryListText({{"Red", true}, {"Green", false}, {"Blue", true}}));
    // 200 + 1 + 58 = 259 fits; one more character would reach 260 and ends the list.
    std::string a(200, 'a'), b(58, 'b'), c(59, 'c');
    EXPECT_EQ(a + "|" + b, categoryListText({{a, true}, {b, true}, {"x", true}}));
    EXPECT_EQ(a, categoryListText({{a, true}, {c, true}, {"x", true}}));
    // A name too long on its own (from another bulb file) ends the list at once.
    EXPECT_EQ("", categoryListText({{std::string(300, 'z'), true}, {"x", true}}));
}

TEST(BulbEditorCategories, NewCategoryNames) {
    EXPECT_EQ("Red Green", newCategoryName("Red|Green"));
    EXPECT_EQ("Winter", newCategoryName("  Winter  "));
    EXPECT_EQ("Big  Lights", newCategoryName(" |Big||Lights| "));
    EXPECT_EQ("", newCategoryName(""));
    EXPECT_EQ("", newCategoryName("   "));
    EXPECT_EQ("", newCategoryName("|"));
    EXPECT_EQ("", newCategoryName("_0"));     // would make the bulb look built in
    EXPECT_EQ("", newCategoryName("  _x"));   // hidden after trimming too
    EXPECT_EQ("a_b", newCategoryName("a_b"));
}

TEST(BulbEditorCounts, CellsKeepTheCountsTheyUse) {
    BulbHeader h = newHeader();
    h.pictures[0] = {10, 1404, 1, 9, 1};
    h.pictures[1] = {10, 1414, 2, 0, 1};
    // The same picture in two places: two references; removing one keeps it.
    setCell(h, kTopSide, 1, 1);
    setCell(h, kLeftSide, 1, 1);
    EXPECT_EQ(2u, h.pictures[1].references);
    setCell(h, kTopSide, 1, kNoPicture);
    EXPECT_EQ(1u, h.pictures[1].references);
    // Replacing a cell moves its reference.
    setCell(h, kTopLeftCorner, 0, 1);
    EXPECT_EQ(8u, h.pictures[0].references);
    EXPECT_EQ(2u, h.pictures[1].references);
    // Putting the same picture again changes nothing.
    setCell(h, kTopLeftCorner, 0, 1);
    EXPECT_EQ(2u, h.pictures[1].references);
}

TEST(BulbEditorCounts, NeverBelowZeroAndRecountedFromCells) {
    BulbHeader h = newHeader();
    h.pictures[3].references = 0;
    releasePicture(h, 3);
    EXPECT_EQ(0u, h.pictures[3].references);
    releasePicture(h, 99);  // out of range: ignored
    usePicture(h, -1);
    // Counts gone wrong in a file are put right from the cells.
    h.pictures[0].references = 1;
    h.pictures[5].references = 4;
    h.flavors[2][3] = 5;
    recountReferences(h);
    EXPECT_EQ(9u, h.pictures[0].references);
    EXPECT_EQ(1u, h.pictures[5].references);
    EXPECT_EQ(0u, h.pictures[3].references);
}

std::optional<BulbFileFault> workingCopyFault(const std::vector<uint8_t>& bytes) {
    try {
        workingCopyHeader(bytes.data(), bytes.size());
    } catch (const BulbFileFailure& f) {
        return f.fault;
    }
    return std::nullopt;
}

TEST(BulbEditorWorkingCopy, GetsEveryCheckOfALoadedHeader) {
    BulbHeader h = newHeader();
    EXPECT_EQ(std::nullopt, workingCopyFault(serializeBulbHeader(h)));
    EXPECT_EQ(BulbFileFault::ShortFile, workingCopyFault(std::vector<uint8_t>(1403, 0)));
    BulbHeader bad = h;
    bad.magic2 = 0;
    EXPECT_EQ(BulbFileFault::BadMagic, workingCopyFault(serializeBulbHeader(bad)));
    bad = h;
    bad.flavors[1][4] = 37;
    EXPECT_EQ(BulbFileFault::BadPictureIndex, workingCopyFault(serializeBulbHeader(bad)));
    bad = h;
    bad.cornerPictures[3] = kNoPicture;
    EXPECT_EQ(BulbFileFault::MissingPicture, workingCopyFault(serializeBulbHeader(bad)));
}

}  // namespace
