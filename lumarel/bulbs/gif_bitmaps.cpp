#include "bulbs/gif_bitmaps.h"

#include "bulbs/gif_decoder.h"
#include "frame/failure.h"

namespace lumarel {
namespace {

struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// A top-down DIB section; its bits are handed back through `bits`.
std::unique_ptr<Bitmap> makeDib(int width, int height, int bitsPerPixel, const RGBQUAD* colours, int colourCount,
                                uint8_t*& bits) {
    DibInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = static_cast<DWORD>(colourCount);
    for (int i = 0; i < colourCount; ++i) info.colours[i] = colours[i];
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels,
                                      nullptr, 0);
    if (!bitmap || !pixels) {
        if (bitmap) DeleteObject(bitmap);
        fail();
    }
    auto owner = std::make_unique<Bitmap>(bitmap);
    bits = static_cast<uint8_t*>(pixels);
    return owner;
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
