#include "bulbs/bit_rows.h"

#include <cstring>

namespace lumarel {

void setBits(uint8_t* row, size_t start, size_t count, bool value) {
    size_t end = start + count;
    while (start < end && (start & 7)) putBit(row, start++, value);
    size_t wholeBytes = (end - start) / 8;
    std::memset(row + start / 8, value ? 0xFF : 0x00, wholeBytes);
    start += wholeBytes * 8;
    while (start < end) putBit(row, start++, value);
}

void copyBits(uint8_t* row, size_t from, size_t to, size_t count) {
    size_t end = to + count;
    while (to < end && (to & 7)) putBit(row, to++, getBit(row, from++));
    // Whole destination bytes, each gathered from two source bytes.
    const unsigned shift = from & 7;
    while (end - to >= 8) {
        size_t at = from >> 3;
        unsigned bits = row[at] << 8;
        if (shift) bits |= row[at + 1];
        row[to >> 3] = static_cast<uint8_t>(bits >> (8 - shift));
        to += 8;
        from += 8;
    }
    while (to < end) putBit(row, to++, getBit(row, from++));
}

}  // namespace lumarel

namespace lumarel {

void combineMaskFrames(const uint8_t* mask, ptrdiff_t stride, int frameWidth, int frames, int height, uint8_t* out,
                       ptrdiff_t outStride) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = mask + y * stride;
        uint8_t* target = out + y * outStride;
        for (int x = 0; x < frameWidth; ++x) {
            bool transparent = true;
            for (int f = 0; f < frames && transparent; ++f)
                transparent = getBit(row, static_cast<size_t>(f) * static_cast<size_t>(frameWidth) + static_cast<size_t>(x));
            putBit(target, static_cast<size_t>(x), transparent);
        }
    }
}

}  // namespace lumarel
