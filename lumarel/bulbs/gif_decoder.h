// Lumarel's own GIF decoder. It turns a whole GIF held in memory into one
// horizontal strip of animation frames (8-bit colour indices) and a matching
// one-bit mask strip, composing the frames by their disposal methods. It
// writes only into buffers the caller hands it (the Win32 side passes
// DIB-section bits), so it needs no Windows header.
//
// Decoding is two walks over the file: scanGif learns the logical screen,
// the frame count and the final colour table, so the caller can make strips
// of the right size; decodeGif then fills them. The whole strip is shown
// with the final table, so frames decoded under another table are mapped to
// it: each colour to the same colour where the final table holds it, and to
// the nearest one otherwise (what copying the earlier frames into each new
// strip would do).
//
// Like most GIF readers it is lenient where real files are sloppy: codes
// before the first clear code use the initial table, and a frame whose codes
// run out early keeps what they drew.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/failure.h"

namespace lumarel {

struct GifColour {
    uint8_t red, green, blue;
};

struct GifInfo {
    int screenWidth = 0;  // the width of one frame
    int screenHeight = 0;
    int frameCount = 0;   // 0 when the GIF holds no image (callers refuse it)
    // The colour table in force when the last frame was decoded, with each
    // transparent index made black. Always 2 to 256 entries.
    int colourCount = 0;
    GifColour colours[256] = {};

    int stripWidth() const { return screenWidth * frameCount; }
};

// Caller-provided strips, rows top-down, stripWidth() × screenHeight. Mask
// bits run from the most significant bit of each byte; a set bit (white in
// a two-colour black/white DIB) is transparent, a clear bit opaque.
struct GifStrips {
    uint8_t* pixels = nullptr;
    ptrdiff_t pixelStride = 0;
    uint8_t* mask = nullptr;
    ptrdiff_t maskStride = 0;
};

// Limits that keep a hostile file from exhausting memory or breaking blits.
constexpr int kGifMaxStripSide = 32767;
constexpr size_t kGifMaxStripBytes = size_t{64} << 20;

// Row sizes of DIB sections (rows padded to four bytes).
constexpr ptrdiff_t gifPixelStride(int width) { return (ptrdiff_t{width} + 3) & ~ptrdiff_t{3}; }
constexpr ptrdiff_t gifMaskStride(int width) { return ((ptrdiff_t{width} + 31) / 32) * 4; }

// Which check refused a GIF. Every one carries 'asrt' as its code except
// UnknownBlock, which carries kFailUnknownGifBlock (-3).
enum class GifFault {
    EmptyInput,           // no bytes at all
    NoTrailer,            // the last byte is not ';'
    Truncated,            // a header, block or sub-block runs past the end
    BadSignature,         // not "GIF87a" or "GIF89a" (letters in any case)
    EmptyScreen,          // a logical screen 0 pixels wide or high
    TooLarge,             // the strips would pass kGifMaxStripSide or kGifMaxStripBytes
    UnknownBlock,         // an unknown block or extension before the first frame
    BadCodeSize,          // an LZW minimum code size outside 2..11
    GatherOverflow,       // image data larger than its gathering buffer
    TableCodeAfterClear,  // a table code where only the roots are known (first or after a clear)
    CodePastNextFree,     // a code beyond the next free table entry
    ChangedSinceScan,     // the bytes no longer match scanGif's answer
    BadStrips,            // strips missing or smaller than the scan asks for
};

// What the decoder throws; catch it as a Failure for the code alone.
using GifFailure = NamedFailure<GifFault>;

// Both throw GifFailure. In first-frame-only mode decoding stops at the
// second image.
GifInfo scanGif(const uint8_t* data, size_t length, bool firstFrameOnly);
// `info` must be scanGif's answer for the same bytes and mode.
void decodeGif(const uint8_t* data, size_t length, bool firstFrameOnly, const GifInfo& info,
               const GifStrips& strips);

}  // namespace lumarel
