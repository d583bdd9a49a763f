// The GIF strips as GDI bitmaps: what a user sees is each pixel's colour
// through the image strip's colour table.
#include "bulbs/gif_bitmaps.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/handles.h"

using namespace lumarel;

namespace {

// A 1 × 1 frame drawing index 1, with a local table of two colours (r, g, b).
void appendFrame(std::vector<uint8_t>& gif, std::vector<uint8_t> table) {
    std::vector<uint8_t> frame = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x80};
    frame.insert(frame.end(), table.begin(), table.end());
    // minimum code size 2; codes clear, 1, end in three bits each
    frame.insert(frame.end(), {2, 2, 0x4C, 0x01, 0});
    gif.insert(gif.end(), frame.begin(), frame.end());
}

COLORREF colourAt(const Bitmap& strip, int x, int y) {
    unique_hdc dc(CreateCompatibleDC(nullptr));
    SelectObjectScope selected(dc.get(), strip.handle());
    return GetPixel(dc.get(), x, y);
}

TEST(GifBitmaps, FramesWithTablesOfTheirOwnKeepTheirColours) {
    // Index 1 is red in the first frame's table and blue in the second's.
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
    appendFrame(gif, {0, 0, 255, 255, 0, 0});
    appendFrame(gif, {255, 0, 0, 0, 0, 255});
    gif.push_back(0x3B);
    GifBitmaps strips = decodeGifBitmaps(gif.data(), gif.size());
    ASSERT_EQ(strips.frameCount, 2);
    ASSERT_TRUE(strips.image);
    EXPECT_EQ(colourAt(*strips.image, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(colourAt(*strips.image, 1, 0), RGB(0, 0, 255));
}

}  // namespace
