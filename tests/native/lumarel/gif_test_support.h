// Shared by the GIF tests: decoding into exactly sized buffers (so the
// sanitizers catch any write outside them) and reading pixels back.
#pragma once
#include <cstdint>
#include <vector>

#include "bulbs/bit_rows.h"
#include "bulbs/gif_decoder.h"

namespace giftest {

struct Decoded {
    lumarel::GifInfo info;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> mask;
    ptrdiff_t pixelStride = 0, maskStride = 0;

    int width() const { return info.stripWidth(); }
    int height() const { return info.screenHeight; }
    uint8_t pixel(int x, int y) const { return pixels[static_cast<size_t>(y * pixelStride + x)]; }
    bool transparent(int x, int y) const {
        return lumarel::getBit(mask.data() + y * maskStride, static_cast<size_t>(x));
    }
};

inline Decoded decode(const std::vector<uint8_t>& bytes, bool firstFrameOnly = false) {
    Decoded d;
    d.info = lumarel::scanGif(bytes.data(), bytes.size(), firstFrameOnly);
    d.pixelStride = lumarel::gifPixelStride(d.width());
    d.maskStride = lumarel::gifMaskStride(d.width());
    d.pixels.assign(static_cast<size_t>(d.pixelStride * d.height()), 0xEE);
    d.mask.assign(static_cast<size_t>(d.maskStride * d.height()), 0xEE);
    if (d.info.frameCount > 0)
        lumarel::decodeGif(bytes.data(), bytes.size(), firstFrameOnly, d.info,
                           {d.pixels.data(), d.pixelStride, d.mask.data(), d.maskStride});
    return d;
}

}  // namespace giftest
