// JPEG header and pixels: any bytes. Decoding is capped at a few megapixels
// so each run stays quick; bigger pictures must be refused, not decoded.
#include <cstdlib>
#include <vector>

#include "scene/jpeg_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    flurrin::JpegInfo info;
    if (!flurrin::jpeg_read_info(data, size, info)) return 0;
    if (info.width <= 0 || info.height <= 0) std::abort();
    constexpr uint64_t kCap = 4'000'000;
    size_t line = flurrin::dib_bytes_per_line(info.width);
    if (uint64_t(info.width) * uint64_t(info.height) > kCap) {
        uint8_t dummy[64];
        if (flurrin::jpeg_decode_bottom_up(data, size, dummy, line, info.width, info.height, kCap)) std::abort();
        return 0;
    }
    std::vector<uint8_t> bits(line * size_t(info.height));
    flurrin::jpeg_decode_bottom_up(data, size, bits.data(), line, info.width, info.height, kCap);
    return 0;
}
