// The built-in bulb kinds with the real pictures: they are taken from
// lumarel.exe beside the test program, loaded as a data file.
#include <gtest/gtest.h>

#include <string>

#include "engine/animation.h"
#include "engine/bulb_categories.h"
#include "engine/engine_context.h"
#include "engine/flash_state.h"
#include "engine/included_bulb.h"
#include "built_in_kinds.h"

using namespace lumarel;

namespace {

struct BuiltInBulbs : BuiltInKindsTest {
    IncludedBulbObject& kind(int id) { return *static_cast<IncludedBulbObject*>(findBulbById(id)); }
};

bool maskOpaque(HDC mask, int x, int y) { return GetPixel(mask, x, y) == 0; }

}  // namespace

TEST_F(BuiltInBulbs, AllKindsInTableOrderWithOldGlory24th) {
    ASSERT_EQ(bulbCount(), 47);
    EXPECT_STREQ(findBulbByIndex(23)->name(), "Old Glory Bulbs");
    EXPECT_EQ(findBulbByIndex(23)->id(), 46);
    EXPECT_EQ(findBulbById(46)->listIndex(), 23);
    EXPECT_TRUE(bulbKindExists(45));
    EXPECT_FALSE(bulbKindExists(47));
    EXPECT_FALSE(bulbKindExists(-1));
    EXPECT_TRUE(findBulbById(0)->viewable());
    EXPECT_FALSE(findBulbById(0)->editable());
    // categories: named ones sorted, the hidden one last with every kind
    ASSERT_NE(findCategory("_0"), nullptr);
    EXPECT_EQ(findCategory("_0")->memberCount(), 47u);
    EXPECT_EQ(categoryAt(0)->name(), "Autumn");
    EXPECT_EQ(categoryAt(categoryCount() - 1)->name(), "_0");
    EXPECT_TRUE(findCategory("Light Bulbs")->isMember(46));
}

TEST_F(BuiltInBulbs, FrameRectanglesInNormalAndPreviewMode) {
    RECT r = kind(0).frameRect(kPosTop, 0, 0);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 32);
    r = kind(0).frameRect(kPosBottom, 0, 0);
    EXPECT_EQ(r.top, 32);
    context.runMode = kRunPreview;
    r = kind(0).frameRect(kPosTop, 0, 0);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 128);
    EXPECT_EQ(r.right, 8);
    EXPECT_EQ(r.bottom, 136);
    r = kind(0).frameRect(BulbPosition(9), 0, 0);
    EXPECT_EQ(r.right - r.left, 0);
}

// The region of a frame holds exactly the opaque pixels of its mask.
TEST_F(BuiltInBulbs, FrameRegionEqualsTheOpaquePixelsOfItsMask) {
    HDC screen = GetDC(nullptr);
    for (int id : {0, 2, 31, 42}) {
        IncludedBulbObject& k = kind(id);
        RECT frame = k.frameRect(kPosTop, 1, 0);
        int w = frame.right - frame.left, h = frame.bottom - frame.top;
        unique_hrgn region(CreateRectRgn(0, 0, 0, 0));
        // Added at two places: the second showing of a frame reuses what
        // the first one cut and must land just as exactly.
        k.addFrameRegion(kPosTop, 1, 0, 100, 50, region.get());
        k.addFrameRegion(kPosTop, 1, 0, 100 + w + 7, 50, region.get());
        unique_hbitmap maskBits(CreateBitmap(w, h, 1, 1, nullptr));
        unique_hdc mask(CreateCompatibleDC(screen));
        SelectObjectScope select(mask.get(), maskBits.get());
        k.drawFrameMask(kPosTop, 1, 1, 0, 0, mask.get(), kMaskOwn);
        int opaque = 0, mismatches = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool inMask = maskOpaque(mask.get(), x, y);
                opaque += inMask;
                mismatches += inMask != bool(PtInRegion(region.get(), 100 + x, 50 + y));
                mismatches += inMask != bool(PtInRegion(region.get(), 100 + w + 7 + x, 50 + y));
            }
        EXPECT_EQ(mismatches, 0) << k.name();
        EXPECT_GT(opaque, w * h / 10) << k.name() << " draws almost nothing";
        EXPECT_LT(opaque, w * h) << k.name() << " fills its whole frame";
    }
    ReleaseDC(nullptr, screen);
}

// Pictures are black wherever the mask is transparent, so an OR onto the
// masked background keeps the background there.
TEST_F(BuiltInBulbs, PicturesAreBlackOutsideTheirMasks) {
    HDC screen = GetDC(nullptr);
    for (int row = 0; row < kBuiltInKinds; ++row) {
        BulbObject* k = findBulbByIndex(row);
        for (BulbPosition position : {kPosTop, kPosRight, kPosBottomLeft}) {
            RECT frame = k->frameRect(position, 0, 1);
            int w = frame.right - frame.left, h = frame.bottom - frame.top;
            unique_hbitmap pictureBits(CreateCompatibleBitmap(screen, w, h)), maskBits(CreateBitmap(w, h, 1, 1, nullptr));
            unique_hdc picture(CreateCompatibleDC(screen)), mask(CreateCompatibleDC(screen));
            SelectObjectScope a(picture.get(), pictureBits.get()), b(mask.get(), maskBits.get());
            EXPECT_FALSE(k->drawFrame(position, 0, 1, 0, 0, picture.get(), false));
            k->drawFrameMask(position, 0, 1, 0, 0, mask.get(), kMaskOutline);
            int stray = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (!maskOpaque(mask.get(), x, y) && GetPixel(picture.get(), x, y) != 0) ++stray;
            EXPECT_EQ(stray, 0) << k->name() << " position " << position;
        }
    }
    ReleaseDC(nullptr, screen);
}

TEST_F(BuiltInBulbs, ListPictureDrawsThroughItsMaskAndDragPictureMatches) {
    HDC screen = GetDC(nullptr);
    unique_hbitmap canvasBits(CreateCompatibleBitmap(screen, 40, 40));
    unique_hdc canvas(CreateCompatibleDC(screen));
    SelectObjectScope select(canvas.get(), canvasBits.get());
    unique_hbrush grey(CreateSolidBrush(RGB(77, 88, 99)));
    RECT all{0, 0, 40, 40};
    FillRect(canvas.get(), &all, grey.get());
    IncludedBulbObject& holly = kind(1);
    holly.drawListPicture(4, 4, canvas.get());
    EXPECT_EQ(GetPixel(canvas.get(), 0, 0), RGB(77, 88, 99));
    EXPECT_EQ(GetPixel(canvas.get(), 37, 37), RGB(77, 88, 99));
    int changed = 0;
    for (int y = 4; y < 36; ++y)
        for (int x = 4; x < 36; ++x) changed += GetPixel(canvas.get(), x, y) != RGB(77, 88, 99);
    EXPECT_GT(changed, 100);
    auto drag = holly.makeDragPicture(screen);
    ASSERT_TRUE(drag);
    EXPECT_EQ(drag->size().right, 32);
    ReleaseDC(nullptr, screen);
}

TEST_F(BuiltInBulbs, DroppedCachesReloadAndTheBackgroundMaskIsWhite) {
    HDC screen = GetDC(nullptr);
    IncludedBulbObject& k = kind(5);
    unique_hbitmap maskBits(CreateBitmap(40, 40, 1, 1, nullptr));
    unique_hdc mask(CreateCompatibleDC(screen));
    SelectObjectScope select(mask.get(), maskBits.get());
    PatBlt(mask.get(), 0, 0, 40, 40, BLACKNESS);
    k.drawFrameMask(kPosLeft, 2, 1, 0, 0, mask.get(), kMaskBackground);
    RECT frame = k.frameRect(kPosLeft, 2, 1);
    EXPECT_EQ(GetPixel(mask.get(), frame.right - frame.left - 1, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mask.get(), frame.right - frame.left, 0), 0u);
    dropBulbCaches();
    PatBlt(mask.get(), 0, 0, 40, 40, WHITENESS);
    k.drawFrameMask(kPosLeft, 2, 1, 0, 0, mask.get(), kMaskOutline);
    int opaque = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) opaque += maskOpaque(mask.get(), x, y);
    EXPECT_GT(opaque, 100);
    ReleaseDC(nullptr, screen);
}
