#include "corpus.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace gifcorpus {
namespace {

// A small fixed random sequence, so the corpus is the same on every machine.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }

private:
    uint32_t state_;
};

std::vector<Rgb> palette(int size, uint32_t seed) {
    Lcg rng(seed);
    std::vector<Rgb> colours;
    for (int i = 0; i < size; ++i)
        colours.push_back({static_cast<uint8_t>(rng.below(256)), static_cast<uint8_t>(rng.below(256)),
                           static_cast<uint8_t>(rng.below(256))});
    return colours;
}

enum class Pattern { Noise, Runs, Gradient, Stripes };

std::vector<uint8_t> pixels(int width, int height, int colours, Pattern pattern, uint32_t seed) {
    Lcg rng(seed);
    std::vector<uint8_t> out(static_cast<size_t>(width) * static_cast<size_t>(height));
    int run = 0;
    uint8_t value = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t v = 0;
            switch (pattern) {
            case Pattern::Noise: v = static_cast<uint8_t>(rng.below(colours)); break;
            case Pattern::Runs:
                if (run-- <= 0) {
                    run = rng.below(40);
                    value = static_cast<uint8_t>(rng.below(colours));
                }
                v = value;
                break;
            case Pattern::Gradient: {
                double t = (std::sin(x * 0.05 + seed) + std::cos(y * 0.07)) * 0.25 + 0.5;
                v = static_cast<uint8_t>(std::min(colours - 1, static_cast<int>(t * colours)));
                break;
            }
            case Pattern::Stripes: v = static_cast<uint8_t>(((x + y * 3) / 5) % colours); break;
            }
            out[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = v;
        }
    }
    return out;
}

Frame frame(int left, int top, int width, int height, int colours, Pattern pattern, uint32_t seed) {
    Frame f;
    f.left = left;
    f.top = top;
    f.width = width;
    f.height = height;
    f.pixels = pixels(width, height, colours, pattern, seed);
    return f;
}

Gif still(int width, int height, int colours, Pattern pattern, uint32_t seed) {
    Gif g;
    g.width = width;
    g.height = height;
    g.globalPalette = palette(colours, seed);
    g.frames.push_back(frame(0, 0, width, height, colours, pattern, seed + 1));
    return g;
}

// An animation of partial frames over a full first frame, every frame with a
// graphic control extension of the given disposal.
Gif animation(int disposal, bool transparent, uint32_t seed) {
    Gif g;
    g.width = 24;
    g.height = 18;
    g.globalPalette = palette(16, seed);
    g.background = 5;
    g.application = true;
    Frame first = frame(0, 0, 24, 18, 16, Pattern::Stripes, seed);
    first.control = true;
    first.disposal = disposal;
    first.transparent = transparent;
    first.transparentIndex = 3;
    g.frames.push_back(first);
    for (int i = 1; i < 5; ++i) {
        Frame f = frame(2 * i, i, 9 + i, 7, 16, Pattern::Noise, seed + static_cast<uint32_t>(i));
        f.control = true;
        f.disposal = disposal;
        f.transparent = transparent;
        f.transparentIndex = 3;
        g.frames.push_back(f);
    }
    return g;
}

}  // namespace

std::vector<Entry> makeCorpus() {
    std::vector<Entry> corpus;
    auto add = [&](std::string name, Gif gif) { corpus.push_back({std::move(name), std::move(gif)}); };

    add("tiny_1x1", still(1, 1, 2, Pattern::Noise, 1));
    const int sizes[][2] = {{7, 5}, {33, 17}, {64, 64}, {100, 37}, {1, 60}, {250, 3}};
    const int paletteSizes[] = {2, 4, 16, 256};
    uint32_t seed = 10;
    for (auto& s : sizes)
        for (int colours : paletteSizes)
            for (Pattern p : {Pattern::Noise, Pattern::Runs, Pattern::Gradient})
                add("still_" + std::to_string(s[0]) + "x" + std::to_string(s[1]) + "_c" + std::to_string(colours) +
                        "_p" + std::to_string(static_cast<int>(p)),
                    still(s[0], s[1], colours, p, seed++));

    for (int h : {1, 2, 3, 4, 5, 7, 8, 9, 16, 37}) {
        Gif plain = still(13, h, 16, Pattern::Noise, 100 + static_cast<uint32_t>(h));
        Gif twin = plain;
        twin.frames[0].interlaced = true;
        add("interlace_plain_h" + std::to_string(h), plain);
        add("interlace_twin_h" + std::to_string(h), twin);
    }

    Gif full = still(200, 200, 256, Pattern::Noise, 300);  // fills the table many times over
    add("lzw_table_full_clear", full);
    Gif deferred = full;
    deferred.frames[0].lzw.deferredClear = true;
    add("lzw_table_full_deferred", deferred);
    for (int every : {1, 2, 7, 100}) {
        Gif g = still(40, 30, 16, Pattern::Runs, 310 + static_cast<uint32_t>(every));
        g.frames[0].lzw.clearEvery = every;
        add("lzw_clear_every_" + std::to_string(every), g);
    }
    Gif wide = still(30, 20, 4, Pattern::Runs, 320);
    wide.frames[0].lzw.minCodeSize = 8;
    add("lzw_min_code_size_8", wide);
    Gif widest = still(30, 20, 4, Pattern::Noise, 321);
    widest.frames[0].lzw.minCodeSize = 11;
    add("lzw_min_code_size_11", widest);
    Gif noEnd = still(30, 20, 16, Pattern::Runs, 322);
    noEnd.frames[0].lzw.endCode = false;
    add("lzw_no_end_code", noEnd);
    Gif tinyBlocks = still(30, 20, 16, Pattern::Noise, 323);
    tinyBlocks.frames[0].lzw.subBlockSize = 1;
    add("lzw_sub_blocks_of_1", tinyBlocks);
    Gif flat = still(300, 100, 2, Pattern::Stripes, 324);
    for (auto& v : flat.frames[0].pixels) v = 1;  // longest strings the table can hold
    add("lzw_long_strings", flat);

    for (int disposal = 0; disposal <= 3; ++disposal)
        for (bool transparent : {false, true})
            add("anim_disposal" + std::to_string(disposal) + (transparent ? "_transparent" : "_opaque"),
                animation(disposal, transparent, 400 + static_cast<uint32_t>(disposal)));

    Gif partial = still(40, 30, 16, Pattern::Noise, 500);
    partial.frames[0] = frame(5, 4, 20, 10, 16, Pattern::Runs, 501);
    add("partial_first_frame", partial);
    Gif overhang = still(40, 30, 16, Pattern::Noise, 502);
    overhang.frames[0] = frame(30, 20, 25, 15, 16, Pattern::Noise, 503);
    add("partial_beyond_screen", overhang);
    Gif outside = still(20, 20, 16, Pattern::Noise, 504);
    outside.frames.push_back(frame(25, 25, 5, 5, 16, Pattern::Noise, 505));
    outside.frames[1].control = true;
    add("partial_outside_screen", outside);

    Gif locals = animation(1, false, 600);
    for (size_t i = 1; i < locals.frames.size(); ++i) locals.frames[i].localPalette = palette(16, 601 + static_cast<uint32_t>(i));
    add("anim_local_palettes", locals);
    // The same colours in other orders: every frame must keep its colours.
    Gif reordered = animation(1, true, 620);
    for (size_t i = 1; i < reordered.frames.size(); ++i) {
        std::vector<Rgb> shuffled = reordered.globalPalette;
        Lcg rng(621 + static_cast<uint32_t>(i));
        for (size_t j = shuffled.size() - 1; j > 0; --j) std::swap(shuffled[j], shuffled[static_cast<size_t>(rng.below(static_cast<int>(j) + 1))]);
        reordered.frames[i].localPalette = shuffled;
    }
    add("anim_reordered_palettes", reordered);
    // The last table lacks some of the first frame's colours.
    Gif lacking = animation(0, false, 630);
    lacking.frames.back().localPalette = lacking.globalPalette;
    for (size_t j = 0; j < 16; j += 3) lacking.frames.back().localPalette[j] = {static_cast<uint8_t>(j * 16), 0, 255};
    add("anim_last_palette_lacks_colours", lacking);
    Gif interlacedAnim = animation(2, true, 610);
    for (auto& f : interlacedAnim.frames) f.interlaced = true;
    add("anim_interlaced", interlacedAnim);

    // Sloppy files that readers accept: codes before the first clear code,
    // and frames whose codes stop before the image is full.
    Gif noClear = still(30, 20, 16, Pattern::Runs, 800);
    noClear.frames[0].lzw.leadingClear = false;
    add("lenient_no_leading_clear", noClear);
    Gif noClearAnim = animation(1, true, 801);
    for (auto& f : noClearAnim.frames) f.lzw.leadingClear = false;
    add("lenient_no_leading_clear_anim", noClearAnim);
    Gif cutStill = still(30, 20, 16, Pattern::Noise, 802);
    cutStill.frames[0].lzw.cutAfter = 30 * 7 + 13;
    add("lenient_cut_short_still", cutStill);
    Gif cutAnim = animation(1, true, 803);
    cutAnim.frames[2].lzw.cutAfter = static_cast<int>(cutAnim.frames[2].pixels.size() / 2);
    add("lenient_cut_short_anim", cutAnim);

    Gif extensions = still(16, 16, 4, Pattern::Runs, 700);
    extensions.comment = extensions.application = extensions.plainText = true;
    add("extensions", extensions);
    Gif old = still(16, 16, 4, Pattern::Gradient, 701);
    old.gif87 = true;
    add("gif87a", old);
    Gif noGlobal = still(12, 12, 4, Pattern::Noise, 702);
    noGlobal.frames[0].localPalette = noGlobal.globalPalette;
    noGlobal.globalPalette.clear();
    add("local_palette_only", noGlobal);
    Gif unknownTail = animation(1, false, 703);
    unknownTail.frames.resize(2);
    unknownTail.tail = {0x99, 0x00};
    add("unknown_block_after_two_frames", unknownTail);
    return corpus;
}

std::vector<Entry> makeBenchCorpus() {
    std::vector<Entry> corpus;
    corpus.push_back({"photo_640x480", still(640, 480, 256, Pattern::Gradient, 900)});
    corpus.push_back({"noise_512x512", still(512, 512, 256, Pattern::Noise, 901)});
    corpus.push_back({"runs_800x600", still(800, 600, 64, Pattern::Runs, 902)});
    Gif interlaced = still(800, 600, 16, Pattern::Gradient, 903);
    interlaced.frames[0].interlaced = true;
    corpus.push_back({"interlaced_800x600", interlaced});
    Gif anim;
    anim.width = 160;
    anim.height = 120;
    anim.globalPalette = palette(64, 904);
    for (int i = 0; i < 20; ++i) {
        Frame f = frame(0, 0, 160, 120, 64, i % 2 ? Pattern::Runs : Pattern::Gradient, 905 + static_cast<uint32_t>(i));
        f.control = true;
        f.disposal = 1;
        anim.frames.push_back(f);
    }
    corpus.push_back({"anim_20x160x120", anim});
    Gif small = still(32, 32, 16, Pattern::Runs, 930);
    corpus.push_back({"bulb_32x32", small});
    return corpus;
}

}  // namespace gifcorpus
