// Decodes the benchmark pictures with our decoder and with giflib, in
// alternating rounds, and reports the throughput ratio (ours ÷ giflib).
//   bench_gif [rounds]
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bulbs/gif_decoder.h"
#include "corpus.h"

namespace {

using Clock = std::chrono::steady_clock;

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

// Both return a value that depends on the pixels, so no work is skipped.
unsigned decodeOurs(const std::vector<uint8_t>& bytes) {
    lumarel::GifInfo info = lumarel::scanGif(bytes.data(), bytes.size(), false);
    ptrdiff_t pixelStride = lumarel::gifPixelStride(info.stripWidth());
    ptrdiff_t maskStride = lumarel::gifMaskStride(info.stripWidth());
    std::vector<uint8_t> pixels(static_cast<size_t>(pixelStride * info.screenHeight));
    std::vector<uint8_t> mask(static_cast<size_t>(maskStride * info.screenHeight));
    lumarel::decodeGif(bytes.data(), bytes.size(), false, info, {pixels.data(), pixelStride, mask.data(), maskStride});
    return pixels[pixels.size() / 2] + mask[mask.size() / 3];
}

unsigned decodeGiflib(const std::vector<uint8_t>& bytes) {
    MemoryInput input{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, readMemory, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        std::fprintf(stderr, "giflib failed\n");
        std::exit(1);
    }
    const SavedImage& last = gif->SavedImages[gif->ImageCount - 1];
    unsigned value = last.RasterBits[last.ImageDesc.Width * last.ImageDesc.Height / 2];
    DGifCloseFile(gif, &error);
    return value;
}

template <typename F>
double seconds(F&& work, int repeats, unsigned& sink) {
    auto start = Clock::now();
    for (int i = 0; i < repeats; ++i) sink += work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    struct Item {
        std::string name;
        std::vector<uint8_t> bytes;
        double pixels;
        int repeats;
        double ours = 0, theirs = 0;
    };
    std::vector<Item> items;
    for (const auto& entry : gifcorpus::makeBenchCorpus()) {
        std::vector<uint8_t> bytes = gifcorpus::encodeGif(entry.gif);
        double pixels = double(entry.gif.width) * entry.gif.height * double(entry.gif.frames.size());
        int repeats = std::max(1, static_cast<int>(4e6 / pixels));
        items.push_back({entry.name, bytes, pixels, repeats});
    }
    unsigned sink = 0;
    for (auto& item : items) {  // warm up both, and check they agree on the size of the work
        sink += decodeOurs(item.bytes) + decodeGiflib(item.bytes);
    }
    // Alternating rounds, keeping each side's best, so that a busy machine
    // disturbs both sides alike.
    for (auto& item : items) item.ours = item.theirs = 1e9;
    for (int r = 0; r < rounds; ++r)
        for (auto& item : items) {
            item.ours = std::min(item.ours, seconds([&] { return decodeOurs(item.bytes); }, item.repeats, sink));
            item.theirs = std::min(item.theirs, seconds([&] { return decodeGiflib(item.bytes); }, item.repeats, sink));
        }
    double totalOurs = 0, totalTheirs = 0;
    std::printf("%-22s %12s %12s %7s\n", "picture", "ours Mpx/s", "giflib Mpx/s", "ratio");
    for (const auto& item : items) {
        double work = item.pixels * item.repeats / 1e6;
        std::printf("%-22s %12.1f %12.1f %7.2f\n", item.name.c_str(), work / item.ours, work / item.theirs,
                    item.theirs / item.ours);
        totalOurs += item.ours;
        totalTheirs += item.theirs;
    }
    std::printf("overall throughput ratio (ours / giflib): %.2f (target >= 1.0)   [%u]\n", totalTheirs / totalOurs,
                sink & 1);
    return 0;
}
