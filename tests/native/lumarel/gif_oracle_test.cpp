// Our decoder against giflib over the generated corpus. giflib decodes each
// image's raster on its own; the composition of frames into the strip (the
// disposal rules, the transparent fill of the first frame) is done here and
// follows the rules our decoder is meant to follow.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "corpus.h"
#include "gif_test_support.h"

namespace {

struct MemoryInput {
    const std::vector<uint8_t>* bytes;
    size_t at = 0;
};

int readMemory(GifFileType* gif, GifByteType* out, int count) {
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    size_t n = std::min(static_cast<size_t>(count), in->bytes->size() - in->at);
    std::memcpy(out, in->bytes->data() + in->at, n);
    in->at += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// Strips built from giflib's rasters.
giftest::Decoded oracle(const std::vector<uint8_t>& bytes) {
    MemoryInput input{&bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&input, readMemory, &error));
    if (!gif) throw std::runtime_error("giflib cannot open it");
    if (DGifSlurp(gif.get()) != GIF_OK)
        throw std::runtime_error("giflib cannot read it: error " + std::to_string(gif->Error));

    giftest::Decoded d;
    const int W = gif->SWidth, H = gif->SHeight, frames = gif->ImageCount;
    d.info.screenWidth = W;
    d.info.screenHeight = H;
    d.info.frameCount = frames;
    d.pixelStride = lumarel::gifPixelStride(W * frames);
    d.maskStride = lumarel::gifMaskStride(W * frames);
    d.pixels.assign(static_cast<size_t>(d.pixelStride * H), 0);
    d.mask.assign(static_cast<size_t>(d.maskStride * H), 0);

    lumarel::GifColour colours[256] = {};
    int tableSize = 2;  // the corpus writes size field 0 when there is no global table
    if (gif->SColorMap) {
        tableSize = gif->SColorMap->ColorCount;
        for (int i = 0; i < tableSize; ++i)
            colours[i] = {gif->SColorMap->Colors[i].Red, gif->SColorMap->Colors[i].Green, gif->SColorMap->Colors[i].Blue};
    }
    int disposal = 0, previousDisposal = 0, transparentIndex = 0;
    bool transparent = false;
    auto setMask = [&](int x, int y, bool value) {
        lumarel::putBit(d.mask.data() + y * d.maskStride, static_cast<size_t>(x), value);
    };
    for (int n = 0; n < frames; ++n) {
        const SavedImage& image = gif->SavedImages[n];
        // The raw control block: its index byte counts even without the flag.
        for (int e = 0; e < image.ExtensionBlockCount; ++e) {
            const ExtensionBlock& block = image.ExtensionBlocks[e];
            if (block.Function != GRAPHICS_EXT_FUNC_CODE || block.ByteCount < 4) continue;
            previousDisposal = disposal;
            disposal = (block.Bytes[0] >> 2) & 7;
            transparent = block.Bytes[0] & 1;
            transparentIndex = block.Bytes[3];
        }
        if (image.ImageDesc.ColorMap) {
            tableSize = image.ImageDesc.ColorMap->ColorCount;
            for (int i = 0; i < tableSize; ++i)
                colours[i] = {image.ImageDesc.ColorMap->Colors[i].Red, image.ImageDesc.ColorMap->Colors[i].Green,
                              image.ImageDesc.ColorMap->Colors[i].Blue};
        }
        if (transparent) colours[transparentIndex] = {0, 0, 0};
        const int x0 = n * W;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                uint8_t& px = d.pixels[static_cast<size_t>(y * d.pixelStride + x0 + x)];
                if (n == 0) {
                    px = static_cast<uint8_t>(transparentIndex);
                    setMask(x0 + x, y, true);
                } else if (previousDisposal <= 1) {
                    px = d.pixel(x0 - W + x, y);
                    setMask(x0 + x, y, d.transparent(x0 - W + x, y));
                } else if (previousDisposal <= 3) {
                    bool clear = transparent || previousDisposal == 3;
                    px = static_cast<uint8_t>(clear ? transparentIndex : gif->SBackGroundColor);
                    setMask(x0 + x, y, clear);
                } else {
                    px = 0;
                    setMask(x0 + x, y, false);
                }
            }
        const GifImageDesc& r = image.ImageDesc;
        for (int y = 0; y < r.Height; ++y)
            for (int x = 0; x < r.Width; ++x) {
                int fx = r.Left + x, fy = r.Top + y;
                if (fx >= W || fy >= H) continue;
                uint8_t v = image.RasterBits[static_cast<size_t>(y) * static_cast<size_t>(r.Width) + static_cast<size_t>(x)];
                d.pixels[static_cast<size_t>(fy * d.pixelStride + x0 + fx)] = v;
                setMask(x0 + fx, fy, transparent && v == transparentIndex);
            }
        d.info.colourCount = tableSize;
        std::memcpy(d.info.colours, colours, sizeof colours);
    }
    return d;
}

// The first difference between two decodings, or "" when they agree.
std::string firstDifference(const giftest::Decoded& ours, const giftest::Decoded& theirs) {
    if (ours.info.frameCount != theirs.info.frameCount)
        return "frame count " + std::to_string(ours.info.frameCount) + " vs " + std::to_string(theirs.info.frameCount);
    if (ours.width() != theirs.width() || ours.height() != theirs.height()) return "strip size";
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            std::string at = " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            if (ours.pixel(x, y) != theirs.pixel(x, y))
                return "pixel " + std::to_string(ours.pixel(x, y)) + " vs " + std::to_string(theirs.pixel(x, y)) + at;
            if (ours.transparent(x, y) != theirs.transparent(x, y)) return "mask" + at;
        }
    if (ours.info.colourCount != theirs.info.colourCount) return "colour count";
    for (int i = 0; i < ours.info.colourCount; ++i) {
        const auto &a = ours.info.colours[i], &b = theirs.info.colours[i];
        if (a.red != b.red || a.green != b.green || a.blue != b.blue) return "colour " + std::to_string(i);
    }
    return "";
}

TEST(GifOracle, EveryCorpusPictureMatchesGiflib) {
    int compared = 0;
    for (const auto& entry : gifcorpus::makeCorpus()) {
        SCOPED_TRACE(entry.name);
        std::vector<uint8_t> bytes = gifcorpus::encodeGif(entry.gif);
        giftest::Decoded ours = giftest::decode(bytes);
        if (entry.name.find("unknown_block") != std::string::npos) continue;  // giflib refuses it
        if (entry.name == "lzw_min_code_size_11") {
            // giflib stops at code size 8; the writer's own pixels are the reference.
            const auto& source = entry.gif.frames[0];
            for (int y = 0; y < source.height; ++y)
                for (int x = 0; x < source.width; ++x)
                    ASSERT_EQ(ours.pixel(x, y), source.pixels[static_cast<size_t>(y * source.width + x)]);
            continue;
        }
        giftest::Decoded theirs;
        try {
            theirs = oracle(bytes);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        EXPECT_EQ(firstDifference(ours, theirs), "");
        ++compared;
    }
    EXPECT_GT(compared, 90);
}

TEST(GifOracle, FirstFrameOnlyMatchesTheFirstFrameOfTheFullDecode) {
    for (const auto& entry : gifcorpus::makeCorpus()) {
        if (entry.gif.frames.size() < 2) continue;
        SCOPED_TRACE(entry.name);
        std::vector<uint8_t> bytes = gifcorpus::encodeGif(entry.gif);
        giftest::Decoded all = giftest::decode(bytes);
        giftest::Decoded first = giftest::decode(bytes, true);
        ASSERT_EQ(first.info.frameCount, 1);
        for (int y = 0; y < first.height(); ++y)
            for (int x = 0; x < first.width(); ++x) {
                ASSERT_EQ(first.pixel(x, y), all.pixel(x, y));
                ASSERT_EQ(first.transparent(x, y), all.transparent(x, y));
            }
    }
}

}  // namespace
