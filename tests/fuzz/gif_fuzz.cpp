// Feeds arbitrary bytes to the GIF decoder in both modes, into strips of
// exactly the size it asks for, so any write or read outside them trips ASan.
// Every refusal must name its check and carry the code users see; any other
// exception ends the run as a finding.
#include <cstdint>
#include <vector>

#include "bulbs/gif_decoder.h"

using namespace lumarel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (bool firstFrameOnly : {false, true}) {
        try {
            // A copy of exactly `size` bytes, so a read past the end is caught.
            std::vector<uint8_t> input(data, data + size);
            GifInfo info = scanGif(input.data(), input.size(), firstFrameOnly);
            if (info.frameCount == 0) continue;
            ptrdiff_t pixelStride = gifPixelStride(info.stripWidth());
            ptrdiff_t maskStride = gifMaskStride(info.stripWidth());
            std::vector<uint8_t> pixels(static_cast<size_t>(pixelStride * info.screenHeight));
            std::vector<uint8_t> mask(static_cast<size_t>(maskStride * info.screenHeight));
            decodeGif(input.data(), input.size(), firstFrameOnly, info,
                      {pixels.data(), pixelStride, mask.data(), maskStride});
            for (int i = 0; i < info.colourCount; ++i) (void)info.colours[i];
        } catch (const GifFailure& failure) {
            int32_t expected = failure.fault == GifFault::UnknownBlock ? kFailUnknownGifBlock : kFailAsrt;
            if (failure.code != expected) __builtin_trap();
        }
    }
    return 0;
}
