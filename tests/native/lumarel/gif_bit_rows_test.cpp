// One-bit rows: range fills and copies at every alignment, the combined mask
// of a strip and its opaque runs, checked against bit-by-bit references.
#include "bulbs/bit_rows.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace lumarel;

namespace {

std::vector<bool> bits(const std::vector<uint8_t>& row, size_t count) {
    std::vector<bool> out;
    for (size_t i = 0; i < count; ++i) out.push_back(getBit(row.data(), i));
    return out;
}

TEST(BitRows, SetAndCopyAgreeWithSingleBitsAtEveryAlignment) {
    for (size_t from = 0; from < 20; ++from)
        for (size_t to = 40; to < 60; ++to)
            for (size_t count : {0, 1, 7, 8, 9, 17}) {
                std::vector<uint8_t> row(12);
                for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i * 37 + from * 11 + 5);
                std::vector<bool> expected = bits(row, 96);
                for (size_t i = 0; i < count; ++i) expected[to + i] = expected[from + i];
                copyBits(row.data(), from, to, count);
                ASSERT_EQ(bits(row, 96), expected) << from << " " << to << " " << count;

                std::vector<bool> filled = bits(row, 96);
                for (size_t i = 0; i < count; ++i) filled[from + i] = (count % 2) == 0;
                setBits(row.data(), from, count, (count % 2) == 0);
                ASSERT_EQ(bits(row, 96), filled);
            }
}

TEST(BitRows, CombinedMaskIsOpaqueWhereAnyFrameIs) {
    // Two rows of three frames, 5 pixels each; rows 4 bytes apart.
    std::vector<uint8_t> strip(8, 0xFF);
    putBit(strip.data(), 0 * 5 + 1, false);      // frame 0, x 1
    putBit(strip.data(), 2 * 5 + 4, false);      // frame 2, x 4
    putBit(strip.data() + 4, 1 * 5 + 0, false);  // row 1, frame 1, x 0
    std::vector<uint8_t> combined(8, 0xAA);
    combineMaskFrames(strip.data(), 4, 5, 3, 2, combined.data(), 4);
    EXPECT_EQ(bits({combined.begin(), combined.begin() + 4}, 5), (std::vector<bool>{1, 0, 1, 1, 0}));
    EXPECT_EQ(bits({combined.begin() + 4, combined.end()}, 5), (std::vector<bool>{0, 1, 1, 1, 1}));
}

TEST(BitRows, OpaqueRunsCoverExactlyTheClearBits) {
    std::vector<uint8_t> mask = {0b00111000, 0b11111100, 0xFF, 0xFF, 0b11111111, 0b00000000, 0, 0};
    std::vector<std::tuple<int, int, int>> runs;
    forEachOpaqueRun(mask.data(), 4, 14, 2, [&](int l, int r, int y) { runs.push_back({l, r, y}); });
    using Run = std::tuple<int, int, int>;
    EXPECT_EQ(runs, (std::vector<Run>{{0, 2, 0}, {5, 8, 0}, {8, 14, 1}}));
}

}  // namespace
