// Bit rows of one-bit-per-pixel DIBs: the leftmost pixel is the most
// significant bit of each byte.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lumarel {

inline bool getBit(const uint8_t* row, size_t column) {
    return (row[column >> 3] >> (7 - (column & 7))) & 1;
}

inline void putBit(uint8_t* row, size_t column, bool value) {
    uint8_t bit = static_cast<uint8_t>(0x80u >> (column & 7));
    if (value) row[column >> 3] |= bit;
    else row[column >> 3] &= static_cast<uint8_t>(~bit);
}

// Sets `count` bits from `start` to `value`.
void setBits(uint8_t* row, size_t start, size_t count, bool value);
// Copies `count` bits of a row from column `from` to column `to`; the two
// ranges must not overlap.
void copyBits(uint8_t* row, size_t from, size_t to, size_t count);

}  // namespace lumarel

namespace lumarel {

// ANDs every frame of a mask strip into one frame (`out`, rows `outStride`
// bytes apart): a pixel is opaque (0) there when any frame has it opaque.
void combineMaskFrames(const uint8_t* mask, ptrdiff_t stride, int frameWidth, int frames, int height, uint8_t* out,
                       ptrdiff_t outStride);

// Calls visit(left, right, y) for each run of opaque (0) bits of each row,
// `right` exclusive.
template <typename Visit>
void forEachOpaqueRun(const uint8_t* mask, ptrdiff_t stride, int width, int height, Visit&& visit) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = mask + y * stride;
        int x = 0;
        while (x < width) {
            while (x < width && getBit(row, static_cast<size_t>(x))) ++x;
            int start = x;
            while (x < width && !getBit(row, static_cast<size_t>(x))) ++x;
            if (x > start) visit(start, x, y);
        }
    }
}

}  // namespace lumarel
