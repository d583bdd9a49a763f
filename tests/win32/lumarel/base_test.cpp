// The base layer's owners and helpers: registry bytes, the region builder's
// batches, and the message sink.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/message.h"
#include "base/reg_key.h"
#include "engine/region_builder.h"

using namespace lumarel;

namespace {

constexpr const char* kScratchKey = "Software\\Quorvane\\Lumarel Base Test";

struct ScratchKey : ::testing::Test {
    RegKey key{HKEY_CURRENT_USER, kScratchKey};
    ~ScratchKey() override {
        key.close();
        deleteKeyTree(HKEY_CURRENT_USER, kScratchKey);
    }
};

}  // namespace

TEST_F(ScratchKey, ReadBytesGivesTheStoredValueOrNothing) {
    ASSERT_TRUE(key);
    const uint8_t stored[] = {1, 0, 255, 7, 0};
    ASSERT_TRUE(key.writeBinary("Block", stored, sizeof stored));
    auto bytes = key.readBytes("Block");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, std::vector<uint8_t>(stored, stored + sizeof stored));

    ASSERT_TRUE(key.writeString("Text", "abc"));
    EXPECT_EQ(key.readBytes("Text"), (std::vector<uint8_t>{'a', 'b', 'c', 0}));  // any type, terminator kept

    EXPECT_FALSE(key.readBytes("Missing"));
    ASSERT_TRUE(key.writeBinary("Empty", stored, 0));
    EXPECT_FALSE(key.readBytes("Empty")) << "an empty value reads as absent";
    EXPECT_FALSE(RegKey().readBytes("Block")) << "a key that did not open reads nothing";
}

// More runs than one batch holds: every run must land, also those on either
// side of a batch boundary, and nothing else.
TEST(RegionBuilder, JoinsRunsAcrossBatches) {
    RegionBuilder builder;
    constexpr int kRows = 2500;
    for (int y = 0; y < kRows; ++y) {
        builder.addRun(10, 20, y);   // a column, one run a row
        builder.addRun(30 + y % 7, 31 + y % 7, y);  // a single pixel wandering right
    }
    unique_hrgn region = builder.finish();
    ASSERT_TRUE(region);
    RECT box;
    ASSERT_EQ(GetRgnBox(region.get(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 37);
    EXPECT_EQ(box.bottom, kRows);
    for (int y : {0, 999, 1000, 1001, 1999, 2000, kRows - 1}) {
        EXPECT_TRUE(PtInRegion(region.get(), 10, y)) << y;
        EXPECT_TRUE(PtInRegion(region.get(), 19, y)) << y;
        EXPECT_FALSE(PtInRegion(region.get(), 20, y)) << y;
        EXPECT_TRUE(PtInRegion(region.get(), 30 + y % 7, y)) << y;
        EXPECT_FALSE(PtInRegion(region.get(), 31 + y % 7, y)) << y;
    }
    EXPECT_FALSE(PtInRegion(region.get(), 10, kRows));
}

TEST(RegionBuilder, NoRunsIsTheEmptyRegion) {
    RegionBuilder builder;
    unique_hrgn region = builder.finish();
    ASSERT_TRUE(region);
    RECT box;
    EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
}

// A strip of two 10 x 10 frames: the left one a 4 x 4 square at (2, 3), the
// right one a single column. Each piece is cut once and reused; reusing one
// must not leave it moved, and two frames of one size stay apart.
TEST(FrameRegionCache, AddsEachFrameExactlyWhereAskedHoweverOftenReused) {
    unique_hrgn strip(CreateRectRgn(2, 3, 6, 7));
    unique_hrgn column(CreateRectRgn(15, 0, 16, 10));
    CombineRgn(strip.get(), strip.get(), column.get(), RGN_OR);
    const RECT left{0, 0, 10, 10}, right{10, 0, 20, 10};
    FrameRegionCache cache;
    unique_hrgn target(CreateRectRgn(0, 0, 0, 0));
    const POINT squares[] = {{100, 50}, {300, 50}, {100, 200}};
    for (POINT at : squares) cache.add(strip.get(), left, at.x, at.y, target.get());
    cache.add(strip.get(), right, 500, 0, target.get());

    unique_hrgn expected(CreateRectRgn(0, 0, 0, 0));
    for (POINT at : squares) {
        unique_hrgn square(CreateRectRgn(at.x + 2, at.y + 3, at.x + 6, at.y + 7));
        CombineRgn(expected.get(), expected.get(), square.get(), RGN_OR);
    }
    unique_hrgn line(CreateRectRgn(505, 0, 506, 10));
    CombineRgn(expected.get(), expected.get(), line.get(), RGN_OR);
    EXPECT_TRUE(EqualRgn(target.get(), expected.get()));

    // After clearing, a changed strip is cut again rather than served stale.
    cache.clear();
    unique_hrgn other(CreateRectRgn(0, 0, 1, 1));
    unique_hrgn fresh(CreateRectRgn(0, 0, 0, 0));
    cache.add(other.get(), left, 10, 10, fresh.get());
    RECT box;
    ASSERT_EQ(GetRgnBox(fresh.get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, 11);
}

TEST(MessageSink, TakesTheBoxesWhileItLivesAndPutsTheOldOneBack) {
    std::vector<std::string> outer, inner;
    {
        ScopedMessageSink first([&](HWND, const char* text, const char*, UINT) {
            outer.push_back(text);
            return IDNO;
        });
        EXPECT_EQ(showMessage(nullptr, "one", "Title", MB_YESNO), IDNO);
        {
            ScopedMessageSink second([&](HWND, const char* text, const char* title, UINT flags) {
                inner.push_back(std::string(title) + ":" + text + ":" + std::to_string(flags));
                return IDYES;
            });
            EXPECT_EQ(showMessage(nullptr, "two", "Title", MB_YESNO), IDYES);
        }
        EXPECT_EQ(showMessage(nullptr, "three", "Title", MB_OK), IDNO);
    }
    EXPECT_EQ(outer, (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(inner, (std::vector<std::string>{"Title:two:" + std::to_string(MB_YESNO)}));
}
