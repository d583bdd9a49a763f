#include "engine/bulb_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "base/failure.h"

using namespace lumarel;

namespace {

const BulbTableRow& rowNamed(const char* name) {
    for (int r = 0; r < kBuiltInKinds; ++r)
        if (strcmp(builtInRow(r).name, name) == 0) return builtInRow(r);
    throw std::runtime_error(name);
}

bool overlaps(const FrameBox& a, const FrameBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

TEST(BulbTable, IdsAreUniqueAndOldGloryIsThe24thKind) {
    std::set<int32_t> ids;
    for (int r = 0; r < kBuiltInKinds; ++r) ids.insert(builtInRow(r).id);
    EXPECT_EQ(ids.size(), 47u);
    EXPECT_EQ(*ids.begin(), 0);
    EXPECT_EQ(*ids.rbegin(), 46);
    EXPECT_STREQ(builtInRow(23).name, "Old Glory Bulbs");
    EXPECT_EQ(builtInRow(23).id, 46);
    EXPECT_EQ(builtInRow(24).id, 23);
    EXPECT_THROW(builtInRow(47), Failure);
    EXPECT_THROW(builtInRow(-1), Failure);
}

TEST(BulbTable, StandardBulbsFollowTheDocumentedFramePattern) {
    const BulbTableRow& s = rowNamed("Standard Bulbs");
    for (int f = 0; f < 5; ++f) {
        EXPECT_EQ(frameNumber(s, kPosTop, f, 0), 1 + f);
        EXPECT_EQ(frameNumber(s, kPosTop, f, 1), 6 + f);
        EXPECT_EQ(frameNumber(s, kPosBottom, f, 0), 11 + f);
        EXPECT_EQ(frameNumber(s, kPosBottom, f, 1), 16 + f);
        EXPECT_EQ(frameNumber(s, kPosLeft, f, 0), 21 + f);
        EXPECT_EQ(frameNumber(s, kPosLeft, f, 1), 26 + f);
        EXPECT_EQ(frameNumber(s, kPosRight, f, 0), 31 + f);
        EXPECT_EQ(frameNumber(s, kPosRight, f, 1), 36 + f);
    }
    EXPECT_EQ(frameNumber(s, kPosTopLeft, 0, 0), 1);
    EXPECT_EQ(frameNumber(s, kPosTopRight, 0, 1), 6);
    EXPECT_EQ(frameNumber(s, kPosBottomRight, 0, 0), 11);
    EXPECT_EQ(frameNumber(s, kPosBottomLeft, 0, 1), 16);
    EXPECT_EQ(frameNumber(s, kPosList, 3, 1), 1);
    EXPECT_EQ(frameNumber(s, 9, 0, 0), 0);
}

TEST(BulbTable, FlavorsAndPhasesWrapAndCornersIgnoreTheFlavor) {
    const BulbTableRow& s = rowNamed("Standard Bulbs");
    EXPECT_EQ(frameNumber(s, kPosTop, 7, 5), frameNumber(s, kPosTop, 2, 1));
    EXPECT_EQ(frameNumber(s, kPosTop, 7, 5), 8);
    for (int f = 0; f < 8; ++f) EXPECT_EQ(frameNumber(s, kPosBottomRight, f, 1), 16);
}

TEST(BulbTable, FrameRectanglesNormalAndPreview) {
    const BulbTableRow& s = rowNamed("Standard Bulbs");
    EXPECT_EQ(frameNumberBox(s, 1, true), (FrameBox{0, 128, 8, 136}));
    EXPECT_EQ(frameNumberBox(s, 1, false), (FrameBox{0, 0, 32, 32}));
    EXPECT_EQ(frameNumberBox(s, 11, false), (FrameBox{0, 32, 32, 64}));
    EXPECT_EQ(frameNumberBox(s, 40, false), (FrameBox{288, 96, 320, 128}));
    EXPECT_EQ(frameBox(s, 9, 0, 0, false), FrameBox{});
    EXPECT_THROW(frameNumberBox(s, 0, false), Failure);
    EXPECT_THROW(frameNumberBox(s, 41, false), Failure);
    EXPECT_THROW(frameNumberBox(s, 41, true), Failure);
    // Rows of different sizes: the running top grows by each row's height.
    const BulbTableRow& chili = rowNamed("Chili Peppers");
    EXPECT_EQ(frameNumberBox(chili, 17, false), (FrameBox{0, 30, 30, 46}));
    EXPECT_EQ(frameNumberBox(chili, 33, false), (FrameBox{0, 62, 20, 91}));
    EXPECT_EQ(frameNumberBox(chili, 17, true), (FrameBox{170, 72, 177, 76}));
}

TEST(BulbTable, SpacersShowOneSquareFrameEverywhere) {
    const int sides[] = {16, 32, 50};
    for (int i = 0; i < 3; ++i) {
        const BulbTableRow& row = builtInRow(44 + i);
        EXPECT_EQ(row.id, 43 + i);
        EXPECT_EQ(frameNumber(row, kPosList, 0, 0), 1);
        for (int position = 0; position < 8; ++position) {
            FrameBox box = frameBox(row, position, 3, 5, false);
            EXPECT_EQ(frameNumber(row, position, 3, 5), 2);
            EXPECT_EQ(box.width(), sides[i]);
            EXPECT_EQ(box.height(), sides[i]);
        }
    }
}

// Every frame a kind can show exists in the full-size rows and in the
// preview rows, has the same proportions in both, and no preview frame
// covers a full-size frame in use.
TEST(BulbTable, EveryShownFrameExistsInBothSizesWithoutOverlap) {
    for (int r = 0; r < kBuiltInKinds; ++r) {
        const BulbTableRow& row = builtInRow(r);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.maskResource, row.stripResource + 1);
        EXPECT_GE(row.flavors, 1);
        EXPECT_LE(row.flavors, 8);
        EXPECT_GE(row.phases, 1);
        EXPECT_LE(row.phases, 8);
        EXPECT_LE(row.listFrame, frameCount(row, false));
        std::set<int> used;
        for (int position = 0; position < 8; ++position)
            for (int f = 0; f < row.flavors; ++f)
                for (int p = 0; p < row.phases; ++p) used.insert(frameNumber(row, position, f, p));
        for (int n : used) {
            ASSERT_GE(n, 1);
            ASSERT_LE(n, frameCount(row, false));
            ASSERT_LE(n, frameCount(row, true)) << "frame " << n << " has no preview size";
            EXPECT_TRUE(frameArt(r, n).used);
        }
        used.insert(row.listFrame);
        // The spacers' preview frames lie over their empty full-size frame;
        // both are fully transparent, so nothing shows through.
        if (row.id >= 43 && row.id <= 45) continue;
        for (int n : used)
            for (int s = 1; s <= frameCount(row, true); ++s)
                EXPECT_FALSE(overlaps(frameNumberBox(row, n, false), frameNumberBox(row, s, true)))
                    << "preview frame " << s << " covers frame " << n;
        FrameBox strip = stripSize(row);
        for (int n = 1; n <= frameCount(row, false); ++n) {
            FrameBox b = frameNumberBox(row, n, false);
            EXPECT_LE(b.right, strip.right);
            EXPECT_LE(b.bottom, strip.bottom);
        }
    }
}

TEST(BulbTable, EveryFrameHasArtWithinItsKindsFlavors) {
    for (int r = 0; r < kBuiltInKinds; ++r) {
        const BulbTableRow& row = builtInRow(r);
        for (int n = 1; n <= frameCount(row, false); ++n) {
            FrameArt art = frameArt(r, n);
            EXPECT_GE(art.block, 0) << row.name << " " << n;
            EXPECT_LT(art.flavor, row.flavors) << row.name << " " << n;
            EXPECT_LT(art.state, row.phases) << row.name << " " << n;
        }
        EXPECT_THROW(frameArt(r, 0), Failure);
        EXPECT_THROW(frameArt(r, frameCount(row, false) + 1), Failure);
    }
}

TEST(BulbTable, TextsFitTheirFieldsAndCategoriesUseBars) {
    EXPECT_STREQ(rowNamed("Old Glory Bulbs").categories, "Flags|Light Bulbs|July 4th");
    EXPECT_STREQ(rowNamed("Candy Canes").categories, "");
    EXPECT_STREQ(rowNamed("Ghosts").description, "Boo!");
    for (int r = 0; r < kBuiltInKinds; ++r) {
        const BulbTableRow& row = builtInRow(r);
        EXPECT_LT(strnlen(row.name, sizeof row.name), sizeof row.name);
        EXPECT_GT(strlen(row.description), 0u);
        EXPECT_GT(strlen(row.copyright), 0u);
        EXPECT_GT(strlen(row.author), 0u);
    }
}
