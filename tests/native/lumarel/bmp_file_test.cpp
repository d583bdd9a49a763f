#include "engine/bmp_file.h"

#include <gtest/gtest.h>

#include <vector>

using namespace lumarel;

namespace {

void put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}
void set32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + size_t(i)] = uint8_t(x >> (8 * i));
}

// A BMP file: 14-byte file header, 40-byte info header, `colours` table
// entries, `gap` spare bytes, then the pixel rows.
std::vector<uint8_t> bmp(int width, int height, int bits, uint32_t colours, uint32_t gap = 0,
                         uint32_t clrImportant = 0) {
    uint32_t rowBytes = ((uint32_t(width) * uint32_t(bits) + 31) / 32) * 4;
    uint32_t offBits = 14 + 40 + colours * 4 + gap, size = offBits + rowBytes * uint32_t(std::abs(height));
    std::vector<uint8_t> v{'B', 'M'};
    put32(v, size);
    put32(v, 0);
    put32(v, offBits);
    put32(v, 40);
    put32(v, uint32_t(width));
    put32(v, uint32_t(height));
    put16(v, 1);
    put16(v, uint32_t(bits));
    put32(v, 0);
    put32(v, 0);
    put32(v, 0);
    put32(v, 0);
    put32(v, colours == (1u << bits) && bits <= 8 ? 0 : colours);
    put32(v, clrImportant);
    v.resize(size, 0x11);
    return v;
}

}  // namespace

TEST(BmpFile, ColourTableCountRule) {
    EXPECT_EQ(dibColourCount(8, 0, 0), 256u);
    EXPECT_EQ(dibColourCount(4, 0, 0), 16u);
    EXPECT_EQ(dibColourCount(1, 0, 7), 2u);
    EXPECT_EQ(dibColourCount(8, 20, 0), 20u);
    EXPECT_EQ(dibColourCount(24, 0, 0), 0u);
    EXPECT_EQ(dibColourCount(24, 0, 12), 12u);
}

TEST(BmpFile, AGoodFileIsReadAtItsPixelOffset) {
    auto file = bmp(10, 10, 8, 256, 6);  // six spare bytes between table and pixels
    auto layout = checkBmpFile(file.data(), file.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->header, 14u);
    EXPECT_EQ(layout->colourCount, 256u);
    EXPECT_EQ(layout->pixels, 14u + 40 + 1024 + 6);
    EXPECT_EQ(layout->pixelBytes, 120u);
    EXPECT_EQ(layout->bitCount, 8);
}

TEST(BmpFile, SizeFieldLargerThanTheFileIsRefused) {
    auto file = bmp(4, 4, 24, 0);
    set32(file, 2, uint32_t(file.size() + 1));
    EXPECT_FALSE(checkBmpFile(file.data(), file.size()));
    file.push_back(0);
    EXPECT_TRUE(checkBmpFile(file.data(), file.size()));
}

TEST(BmpFile, TwoFilesBackToBackYieldTheSecondUnlessItsSizeIsOff) {
    auto first = bmp(4, 4, 24, 0), second = bmp(7, 3, 8, 16);
    std::vector<uint8_t> both = first;
    both.insert(both.end(), second.begin(), second.end());
    auto layout = checkBmpFile(both.data(), both.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 7);
    EXPECT_EQ(layout->header, first.size() + 14);
    EXPECT_EQ(layout->pixels, first.size() + 14 + 40 + 64);
    // one off in the second size field: the first picture counts
    set32(both, first.size() + 2, uint32_t(second.size() + 1));
    layout = checkBmpFile(both.data(), both.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 4);
    // no more than 6 bytes of tail: never looked at as a second picture
    std::vector<uint8_t> tail = first;
    tail.insert(tail.end(), {'B', 'M', 6, 0, 0, 0});
    layout = checkBmpFile(tail.data(), tail.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 4);
}

TEST(BmpFile, HeadersThatLieAboutSizesAreRefused) {
    auto good = bmp(8, 8, 8, 256);
    ASSERT_TRUE(checkBmpFile(good.data(), good.size()));
    auto tooManyColours = bmp(8, 8, 8, 300);
    EXPECT_FALSE(checkBmpFile(tooManyColours.data(), tooManyColours.size()));
    auto tableOverPixels = good;
    set32(tableOverPixels, 10, 14 + 40 + 100);  // pixels said to start inside the table
    EXPECT_FALSE(checkBmpFile(tableOverPixels.data(), tableOverPixels.size()));
    auto tallerThanFile = good;
    set32(tallerThanFile, 22, 9);
    EXPECT_FALSE(checkBmpFile(tallerThanFile.data(), tallerThanFile.size()));
    auto hugeWidth = good;
    set32(hugeWidth, 18, 0x7FFFFFFF);
    EXPECT_FALSE(checkBmpFile(hugeWidth.data(), hugeWidth.size()));
    auto badBits = good;
    badBits[28] = 7;
    EXPECT_FALSE(checkBmpFile(badBits.data(), badBits.size()));
    auto compressed = good;
    compressed[30] = 1;  // run-length: its size cannot be checked
    EXPECT_FALSE(checkBmpFile(compressed.data(), compressed.size()));
    auto headerPastEnd = good;
    set32(headerPastEnd, 14, 4000);
    EXPECT_FALSE(checkBmpFile(headerPastEnd.data(), headerPastEnd.size()));
    EXPECT_FALSE(checkBmpFile(good.data(), 13));
    const uint8_t notBmp[20] = {'B', 'N'};
    EXPECT_FALSE(checkBmpFile(notBmp, sizeof notBmp));
    // a top-down picture counts its rows the same way
    auto topDown = good;
    set32(topDown, 22, uint32_t(-8));
    EXPECT_TRUE(checkBmpFile(topDown.data(), topDown.size()));
}

TEST(BmpFile, EveryTruncationIsRefusedWithoutReadingPastTheEnd) {
    auto file = bmp(5, 3, 4, 16);
    for (size_t n = 0; n < file.size(); ++n) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + long(n));  // exact size: ASan sees over-reads
        EXPECT_FALSE(checkBmpFile(cut.data(), cut.size())) << n;
    }
}

TEST(BmpFile, ResourcePixelsFollowTheTable) {
    auto file = bmp(3, 2, 24, 0, 0, 2);  // 24 bits with two important colours
    std::vector<uint8_t> resource(file.begin() + 14, file.end());
    resource.resize(40 + 8 + 24);
    auto layout = checkDibResource(resource.data(), resource.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->colourCount, 2u);
    EXPECT_EQ(layout->pixels, 48u);
    resource.pop_back();
    EXPECT_FALSE(checkDibResource(resource.data(), resource.size()));
}

TEST(PaletteEntries, KeepsTheFirst256DistinctColoursInOrder) {
    PaletteEntries p;
    std::vector<uint8_t> table;
    for (int i = 0; i < 300; ++i) table.insert(table.end(), {uint8_t(i), uint8_t(i >> 8), 7, 0});
    table.insert(table.begin(), {0, 0, 7, 0});  // a repeat of the first colour
    p.addTable(table.data(), 301);
    ASSERT_EQ(p.entries().size(), 256u);
    EXPECT_EQ(p.entries()[0], (PaletteEntries::Rgb{7, 0, 0}));
    EXPECT_EQ(p.entries()[1], (PaletteEntries::Rgb{7, 0, 1}));
    EXPECT_EQ(p.entries()[255], (PaletteEntries::Rgb{7, 0, 255}));
}
