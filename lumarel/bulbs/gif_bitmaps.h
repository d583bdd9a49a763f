// The GIF decoder's Win32 side: decodes into two DIB sections, an 8-bit
// image strip with the GIF's colour table and a one-bit mask strip (black
// opaque, white transparent).
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "engine/bitmap.h"

namespace lumarel {

struct GifBitmaps {
    std::unique_ptr<Bitmap> image;
    std::unique_ptr<Bitmap> mask;
    uint8_t* imageBits = nullptr;  // the DIB sections' bits, rows top-down
    uint8_t* maskBits = nullptr;
    int frameCount = 0;  // 0 when the GIF holds no image (both strips empty)
    int frameWidth = 0;
    int height = 0;
};

// A top-down one-bit DIB section (index 0 black, 1 white) and its bits.
std::unique_ptr<Bitmap> makeMaskDib(int width, int height, uint8_t*& bits);

// Throws the decoder's failures; nothing is left allocated on failure.
GifBitmaps decodeGifBitmaps(const uint8_t* data, size_t size, bool firstFrameOnly = false);

}  // namespace lumarel
