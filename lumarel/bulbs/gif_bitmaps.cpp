#include "bulbs/gif_bitmaps.h"

#include "base/failure.h"
#include "bulbs/gif_decoder.h"

namespace lumarel {
namespace {

// A top-down DIB section; its bits are handed back through `bits`.
std::unique_ptr<Bitmap> makeDib(int width, int height, int bitsPerPixel, const RGBQUAD* colours, int colourCount,
                                uint8_t*& bits) {
    void* pixels = nullptr;
    unique_hbitmap bitmap = makeDibSection(width, height, bitsPerPixel, colours, colourCount, pixels);
    bits = static_cast<uint8_t*>(pixels);
    return std::make_unique<Bitmap>(std::move(bitmap), pixels);
}

const RGBQUAD kBlackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};

}  // namespace

std::unique_ptr<Bitmap> makeMaskDib(int width, int height, uint8_t*& bits) {
    return makeDib(width, height, 1, kBlackWhite, 2, bits);
}

GifBitmaps decodeGifBitmaps(const uint8_t* data, size_t size, bool firstFrameOnly) {
    GifInfo info = scanGif(data, size, firstFrameOnly);
    GifBitmaps result;
    if (info.frameCount == 0) return result;

    RGBQUAD colours[256] = {};
    for (int i = 0; i < info.colourCount; ++i)
        colours[i] = {info.colours[i].blue, info.colours[i].green, info.colours[i].red, 0};

    const int width = info.stripWidth();
    uint8_t* pixels = nullptr;
    uint8_t* mask = nullptr;
    result.image = makeDib(width, info.screenHeight, 8, colours, info.colourCount, pixels);
    result.mask = makeMaskDib(width, info.screenHeight, mask);
    GdiFlush();  // no pending drawing may touch the bits while we write them
    decodeGif(data, size, firstFrameOnly, info,
              {pixels, gifPixelStride(width), mask, gifMaskStride(width)});
    result.imageBits = pixels;
    result.maskBits = mask;
    result.frameCount = info.frameCount;
    result.frameWidth = info.screenWidth;
    result.height = info.screenHeight;
    return result;
}

}  // namespace lumarel
