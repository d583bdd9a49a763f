// JPEG decoding into the layout of a 24-bit bottom-up DIB (B, G, R per pixel,
// rows padded to four bytes, last row first). libjpeg does the work; its
// errors come back as false instead of ending the process.
#pragma once
#include <cstddef>
#include <cstdint>

namespace flurrin {

// Pictures larger than this are refused before any pixel memory is taken.
inline constexpr uint64_t kMaxJpegPixels = 40'000'000;

struct JpegInfo {
    int width = 0;
    int height = 0;
    int channels = 0;  // 1 grey, 3 colour, 4 CMYK
};

bool jpeg_read_info(const uint8_t* data, size_t size, JpegInfo& info);

// bytes_per_line >= width * 3; bits holds bytes_per_line * height bytes.
// Grey and CMYK pictures are expanded to the same 24-bit layout. With a
// reduction of 2, 4 or 8 libjpeg decodes straight to that fraction of the
// size (width and height are then jpeg_reduced_size of the picture's).
bool jpeg_decode_bottom_up(const uint8_t* data, size_t size, uint8_t* bits, size_t bytes_per_line, int width,
                           int height, uint64_t max_pixels = kMaxJpegPixels, int reduction = 1);

// A side of the picture decoded with a reduction (libjpeg rounds up).
inline int jpeg_reduced_size(int size, int reduction) { return (size + reduction - 1) / reduction; }

// width * 3 rounded up to a multiple of four.
inline size_t dib_bytes_per_line(int width) { return (size_t(width) * 3 + 3) & ~size_t(3); }

}  // namespace flurrin
