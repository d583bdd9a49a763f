// The animated floaters the art generator encodes, decoded by our own GIF
// decoder: every frame comes back as drawn, transparent where nothing was.
#include <gtest/gtest.h>

#include <vector>

#include "bulbs/gif_decoder.h"
#include "saver_art.h"

using namespace lumarel;

TEST(SaverFloaterArt, EachGifDecodesToTheGeneratorsFrames) {
    art::ProgramPalette palette;
    for (int resource = art::kFirstFloaterGif; resource < art::kFirstFloaterGif + art::kFloaterGifs; ++resource) {
        SCOPED_TRACE(resource);
        const art::FloaterFrames drawn = art::floaterFrames(resource, palette);
        const int frames = int(drawn.index.size());
        EXPECT_GE(frames, 8);
        EXPECT_LE(frames, 16);
        const std::vector<uint8_t> gif = art::encodeFloaterGif(drawn, palette);
        const GifInfo info = scanGif(gif.data(), gif.size(), false);
        ASSERT_EQ(info.frameCount, frames);
        ASSERT_EQ(info.screenWidth, drawn.width);
        ASSERT_EQ(info.screenHeight, drawn.height);
        const ptrdiff_t pixelStride = gifPixelStride(info.stripWidth()), maskStride = gifMaskStride(info.stripWidth());
        std::vector<uint8_t> pixels(size_t(pixelStride * info.screenHeight)), mask(size_t(maskStride * info.screenHeight));
        decodeGif(gif.data(), gif.size(), false, info, {pixels.data(), pixelStride, mask.data(), maskStride});
        int mismatches = 0, opaque = 0;
        for (int f = 0; f < frames; ++f)
            for (int y = 0; y < drawn.height; ++y)
                for (int x = 0; x < drawn.width; ++x) {
                    const size_t i = size_t(y * drawn.width + x);
                    const int sx = f * drawn.width + x;
                    const bool transparent = (mask[size_t(y * maskStride + sx / 8)] >> (7 - sx % 8)) & 1;
                    const bool wanted = drawn.opaque[size_t(f)][i] != 0;
                    opaque += wanted;
                    if (transparent == wanted) {
                        ++mismatches;
                        continue;
                    }
                    if (!wanted) continue;
                    const GifColour got = info.colours[pixels[size_t(y * pixelStride + sx)]];
                    const art::Rgb8 want = palette.colour(drawn.index[size_t(f)][i]);
                    mismatches += got.red != want.r || got.green != want.g || got.blue != want.b;
                }
        EXPECT_EQ(mismatches, 0);
        // Each frame shows a character, not an empty or full box.
        EXPECT_GT(opaque, frames * drawn.width * drawn.height / 10);
        EXPECT_LT(opaque, frames * drawn.width * drawn.height * 9 / 10);
    }
}
