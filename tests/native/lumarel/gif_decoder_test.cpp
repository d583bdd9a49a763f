// The decoder's own rules (signature, trailer, composition, transparency,
// first-frame mode) and its behaviour on hostile input.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "gif_test_support.h"
#include "gif_writer.h"

namespace lumarel {
// Failed expectations show the fault's number rather than its bytes.
void PrintTo(GifFault fault, std::ostream* out) { *out << "GifFault " << static_cast<int>(fault); }
}  // namespace lumarel

using namespace lumarel;
using giftest::decode;
using gifcorpus::Frame;
using gifcorpus::Gif;

namespace {

// The named check a call failed, or nothing when it returned. Every decoder
// failure is named and carries the code users see: -3 for an unknown block,
// 'asrt' for everything else.
std::optional<GifFault> faultOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const GifFailure& f) {
        EXPECT_EQ(f.code, f.fault == GifFault::UnknownBlock ? kFailUnknownGifBlock : kFailAsrt);
        return f.fault;
    }
    return std::nullopt;
}

Frame solid(int left, int top, int width, int height, uint8_t value) {
    Frame f;
    f.left = left;
    f.top = top;
    f.width = width;
    f.height = height;
    f.pixels.assign(static_cast<size_t>(width * height), value);
    return f;
}

Gif screen(int width, int height, int colours = 4) {
    Gif g;
    g.width = width;
    g.height = height;
    for (int i = 0; i < colours; ++i)
        g.globalPalette.push_back({static_cast<uint8_t>(10 + i), static_cast<uint8_t>(20 + i), static_cast<uint8_t>(30 + i)});
    return g;
}

// A hand-made code stream: codes of explicit sizes, packed least significant
// bit first into sub-blocks, after the minimum code size byte.
std::vector<uint8_t> codeStream(int minCodeSize, const std::vector<std::pair<int, int>>& codes) {
    std::vector<uint8_t> bytes;
    uint32_t acc = 0;
    int bits = 0;
    for (auto [code, size] : codes) {
        acc |= static_cast<uint32_t>(code) << bits;
        bits += size;
        while (bits >= 8) {
            bytes.push_back(static_cast<uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits) bytes.push_back(static_cast<uint8_t>(acc));
    std::vector<uint8_t> out{static_cast<uint8_t>(minCodeSize)};
    for (size_t at = 0; at < bytes.size(); at += 255) {
        size_t n = std::min<size_t>(255, bytes.size() - at);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + n));
    }
    out.push_back(0);
    return out;
}

// A 4-colour screen with one image whose data is the given code stream.
std::vector<uint8_t> gifWithData(int width, int height, const std::vector<uint8_t>& data, bool interlaced = false) {
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', static_cast<uint8_t>(width), 0, static_cast<uint8_t>(height), 0,
                              0x81, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255};
    std::vector<uint8_t> descriptor = {0x2C, 0, 0, 0, 0, static_cast<uint8_t>(width), 0, static_cast<uint8_t>(height), 0,
                                       static_cast<uint8_t>(interlaced ? 0x40 : 0)};
    g.insert(g.end(), descriptor.begin(), descriptor.end());
    g.insert(g.end(), data.begin(), data.end());
    g.push_back(0x3B);
    return g;
}

TEST(GifHeader, SignatureLettersMayBeAnyCaseButTheVersionIsStrict) {
    std::vector<uint8_t> bytes = encodeGif(([] {
        Gif g = screen(3, 2);
        g.frames.push_back(solid(0, 0, 3, 2, 1));
        return g;
    })());
    for (const char* signature : {"gif89a", "GiF87A", "gIf89a"}) {
        std::copy(signature, signature + 6, bytes.begin());
        EXPECT_EQ(decode(bytes).info.frameCount, 1) << signature;
    }
    for (const char* signature : {"GIF88a", "GIF89b", "JIF89a", "GIF 9a"}) {
        std::copy(signature, signature + 6, bytes.begin());
        EXPECT_EQ(faultOf([&] { decode(bytes); }), GifFault::BadSignature) << signature;
    }
}

TEST(GifHeader, RefusesMissingTrailerEmptyInputAndEmptyScreens) {
    Gif g = screen(4, 4);
    g.frames.push_back(solid(0, 0, 4, 4, 2));
    std::vector<uint8_t> bytes = encodeGif(g);
    std::vector<uint8_t> noTrailer(bytes.begin(), bytes.end() - 1);  // the image data is complete
    EXPECT_EQ(faultOf([&] { decode(noTrailer); }), GifFault::NoTrailer);
    EXPECT_EQ(faultOf([&] { scanGif(bytes.data(), 0, false); }), GifFault::EmptyInput);
    std::vector<uint8_t> justTrailer{0x3B};
    EXPECT_EQ(faultOf([&] { decode(justTrailer); }), GifFault::Truncated);

    for (auto [w, h] : {std::pair{0, 4}, std::pair{4, 0}}) {
        std::vector<uint8_t> empty = bytes;
        empty[6] = static_cast<uint8_t>(w);
        empty[8] = static_cast<uint8_t>(h);
        EXPECT_EQ(faultOf([&] { decode(empty); }), GifFault::EmptyScreen);
    }
    Gif none = screen(4, 4);
    EXPECT_EQ(decode(encodeGif(none)).info.frameCount, 0);
}

TEST(GifHeader, EveryTruncationFailsCleanly) {
    // Each prefix of a valid file, given a trailer byte, must fail or decode
    // without reading past its end (the sanitizers watch the reads).
    Gif g = screen(9, 7, 16);
    g.comment = g.application = g.plainText = true;
    Frame f = solid(1, 1, 6, 5, 3);
    f.control = true;
    f.transparent = true;
    f.transparentIndex = 3;
    g.frames.push_back(f);
    std::vector<uint8_t> bytes = encodeGif(g);
    for (size_t n = 1; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        cut.back() = 0x3B;
        // The trailer byte put in at the cut is read as whatever stands there.
        std::optional<GifFault> fault = faultOf([&] { decode(cut); });
        if (fault) {
            EXPECT_TRUE(*fault == GifFault::Truncated || *fault == GifFault::BadSignature ||
                        *fault == GifFault::UnknownBlock || *fault == GifFault::BadCodeSize)
                << n << ": " << static_cast<int>(*fault);
        }
    }
}

TEST(GifFrames, AnimationOfFiveFramesMakesStripsFiveScreensWide) {
    Gif g = screen(20, 10);
    for (int i = 0; i < 5; ++i) g.frames.push_back(solid(0, 0, 20, 10, static_cast<uint8_t>(i % 4)));
    giftest::Decoded d = decode(encodeGif(g));
    EXPECT_EQ(d.info.frameCount, 5);
    EXPECT_EQ(d.width(), 100);
    EXPECT_EQ(d.height(), 10);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(d.pixel(i * 20 + 7, 5), i % 4);
    EXPECT_EQ(decode(encodeGif(g), true).width(), 20);
}

TEST(GifFrames, FirstFrameSmallerThanTheScreenIsTransparentOutside) {
    Gif g = screen(10, 8);
    g.frames.push_back(solid(2, 3, 4, 2, 1));
    giftest::Decoded d = decode(encodeGif(g));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
            EXPECT_EQ(d.transparent(x, y), !inside) << x << "," << y;
            EXPECT_EQ(d.pixel(x, y), inside ? 1 : 0);  // the transparent index, 0 without a control block
        }
}

// Two frames: a full one of colour 1, then a 2×2 one of colour 2 at (1, 1),
// the first frame disposed as given.
giftest::Decoded twoFrames(int disposal, bool transparent) {
    Gif g = screen(4, 4);
    g.background = 3;
    Frame first = solid(0, 0, 4, 4, 1);
    first.control = true;
    first.disposal = disposal;
    first.transparent = transparent;
    first.transparentIndex = 0;
    Frame second = solid(1, 1, 2, 2, 2);
    second.control = true;
    second.disposal = disposal;
    second.transparent = transparent;
    second.transparentIndex = 0;
    g.frames = {first, second};
    return decode(encodeGif(g));
}

TEST(GifFrames, DisposalDecidesWhatSurroundsAPartialFrame) {
    for (int disposal : {0, 1}) {
        giftest::Decoded d = twoFrames(disposal, false);
        EXPECT_EQ(d.pixel(4 + 0, 0), 1) << "keeps the previous frame";
        EXPECT_FALSE(d.transparent(4 + 0, 0));
        EXPECT_EQ(d.pixel(4 + 1, 1), 2);
    }
    giftest::Decoded background = twoFrames(2, false);
    EXPECT_EQ(background.pixel(4 + 3, 3), 3) << "background colour";
    EXPECT_FALSE(background.transparent(4 + 3, 3));
    EXPECT_EQ(background.pixel(4 + 2, 2), 2);

    for (auto [disposal, transparent] : {std::pair{2, true}, std::pair{3, false}, std::pair{3, true}}) {
        giftest::Decoded d = twoFrames(disposal, transparent);
        EXPECT_TRUE(d.transparent(4 + 0, 3)) << disposal;
        EXPECT_EQ(d.pixel(4 + 0, 3), 0) << "the transparent index";
        EXPECT_FALSE(d.transparent(4 + 1, 1));
    }
    giftest::Decoded undefined = twoFrames(5, false);
    EXPECT_EQ(undefined.pixel(4 + 0, 0), 0);
    EXPECT_FALSE(undefined.transparent(4 + 0, 0));
}

TEST(GifFrames, TransparentColourBecomesBlackAndStaysSo) {
    Gif g = screen(3, 1);
    Frame f;
    f.width = 3;
    f.height = 1;
    f.pixels = {0, 1, 2};
    f.control = true;
    f.transparent = true;
    f.transparentIndex = 1;
    g.frames.push_back(f);
    Frame later = f;
    later.transparent = false;
    g.frames.push_back(later);
    giftest::Decoded d = decode(encodeGif(g));
    EXPECT_EQ(d.info.colourCount, 4);
    EXPECT_EQ(d.info.colours[1].red + d.info.colours[1].green + d.info.colours[1].blue, 0);
    EXPECT_EQ(d.info.colours[2].red, 12);
    EXPECT_FALSE(d.transparent(0, 0));
    EXPECT_TRUE(d.transparent(1, 0));
    EXPECT_FALSE(d.transparent(3 + 1, 0)) << "the second frame has no transparency";
}

// Frames with tables of their own. The strip is shown with the last table,
// so what counts is each pixel's colour through it.
GifColour colourAt(const giftest::Decoded& d, int x, int y) { return d.info.colours[d.pixel(x, y)]; }
bool same(GifColour a, GifColour b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

TEST(GifColourTables, RedFrameThenBlueFrameStayRedAndBlue) {
    Gif g = screen(3, 2);
    g.globalPalette.clear();
    // Both draw index 1, which is red in the first table and blue in the last.
    Frame red = solid(0, 0, 3, 2, 1), blue = solid(0, 0, 3, 2, 1);
    red.localPalette = {{0, 0, 255}, {255, 0, 0}};
    blue.localPalette = {{255, 0, 0}, {0, 0, 255}};
    g.frames = {red, blue};
    giftest::Decoded d = decode(encodeGif(g));
    ASSERT_EQ(d.info.frameCount, 2);
    EXPECT_TRUE(same(colourAt(d, 1, 1), {255, 0, 0})) << int(d.pixel(1, 1));
    EXPECT_TRUE(same(colourAt(d, 4, 1), {0, 0, 255}));
}

TEST(GifColourTables, TheSameColoursInOtherOrdersLookAsTheyDid) {
    const std::vector<gifcorpus::Rgb> colours = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {90, 90, 90}};
    const int orders[3][4] = {{0, 1, 2, 3}, {3, 2, 1, 0}, {2, 0, 3, 1}};
    Gif g = screen(4, 3);
    g.globalPalette = colours;
    for (int n = 0; n < 3; ++n) {
        // Every frame shows colours 0..3 (by value) in a pattern of its own;
        // frames 1 and 2 cover only the top rows, so the bottom row is the
        // previous frame copied into the new table.
        Frame f = solid(0, 0, 4, n == 0 ? 3 : 2, 0);
        for (size_t i = 0; i < f.pixels.size(); ++i) {
            int colour = static_cast<int>((i + static_cast<size_t>(n)) % 4);
            f.pixels[i] = static_cast<uint8_t>(std::find(orders[n], orders[n] + 4, colour) - orders[n]);
        }
        if (n > 0)
            for (int slot = 0; slot < 4; ++slot) f.localPalette.push_back(colours[static_cast<size_t>(orders[n][slot])]);
        f.control = true;
        f.disposal = 1;
        g.frames.push_back(f);
    }
    giftest::Decoded d = decode(encodeGif(g));
    ASSERT_EQ(d.info.frameCount, 3);
    for (int n = 0; n < 3; ++n)
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                // The bottom row of frames 1 and 2 is frame 0's.
                int source = y == 2 ? 0 : n;
                const auto& want = colours[static_cast<size_t>((y * 4 + x + source) % 4)];
                EXPECT_TRUE(same(colourAt(d, n * 4 + x, y), {want.r, want.g, want.b})) << n << " " << x << "," << y;
            }
}

TEST(GifColourTables, ColoursTheLastTableLacksBecomeTheNearestOnes) {
    Gif g = screen(4, 1);
    g.globalPalette = {{250, 0, 0}, {0, 250, 0}, {0, 0, 250}, {250, 250, 250}};
    Frame first = solid(0, 0, 4, 1, 0);
    first.pixels = {0, 1, 2, 3};
    Frame last = solid(0, 0, 1, 1, 3);
    // Pure green and white stay; red and blue are gone, with near ones left.
    last.localPalette = {{0, 0, 120}, {0, 250, 0}, {200, 30, 30}, {250, 250, 250}};
    last.control = true;
    g.frames = {first, last};
    g.frames[0].control = true;
    g.frames[0].disposal = 1;
    giftest::Decoded d = decode(encodeGif(g));
    ASSERT_EQ(d.info.frameCount, 2);
    for (int n = 0; n < 2; ++n) {
        EXPECT_EQ(d.pixel(n * 4 + 0, 0), n == 0 ? 2 : 3) << n;  // frame 1 draws white over its first pixel
        EXPECT_EQ(d.pixel(n * 4 + 1, 0), 1);
        EXPECT_EQ(d.pixel(n * 4 + 2, 0), 0);
        EXPECT_EQ(d.pixel(n * 4 + 3, 0), 3);
    }
}

TEST(GifFrames, InterlacedImageEqualsItsPlainTwin) {
    for (int h : {1, 3, 6, 11, 29}) {
        Gif plain = screen(5, h);
        Frame f = solid(0, 0, 5, h, 0);
        for (size_t i = 0; i < f.pixels.size(); ++i) f.pixels[i] = static_cast<uint8_t>((i * 7 / 5) % 4);
        plain.frames.push_back(f);
        Gif twin = plain;
        twin.frames[0].interlaced = true;
        EXPECT_EQ(decode(encodeGif(plain)).pixels, decode(encodeGif(twin)).pixels) << h;
    }
}

TEST(GifFrames, UnknownBlocksEndAnAnimationOrFailBeforeIt) {
    Gif g = screen(4, 4);
    g.frames = {solid(0, 0, 4, 4, 1), solid(0, 0, 4, 4, 2)};
    g.tail = {0x21, 0x77, 0x00, 0x2C};
    EXPECT_EQ(decode(encodeGif(g)).info.frameCount, 2);
    g.tail = {0x42};
    EXPECT_EQ(decode(encodeGif(g)).info.frameCount, 2);

    Gif before = screen(4, 4);
    before.frames = {solid(0, 0, 4, 4, 1)};
    std::vector<uint8_t> bytes = encodeGif(before);
    std::vector<uint8_t> unknown = {0x21, 0x77, 0x00};
    bytes.insert(bytes.begin() + 13 + 12, unknown.begin(), unknown.end());  // after the global table
    EXPECT_EQ(faultOf([&] { decode(bytes); }), GifFault::UnknownBlock);
}

TEST(GifFrames, PlainTextSkipStopsAtTheEndOfTheFile) {
    std::vector<uint8_t> bytes = encodeGif(screen(2, 2));
    bytes.pop_back();
    std::vector<uint8_t> text = {0x21, 0x01, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 5, 'a', 'b', 'c', 0x3B};
    bytes.insert(bytes.end(), text.begin(), text.end());
    EXPECT_EQ(faultOf([&] { decode(bytes); }), GifFault::Truncated);
}

TEST(GifLzw, CodeStreamWithoutEndCodeStopsAtTheLastPixel) {
    // clear, 1, 2, 3, 0 then garbage that must not be read as codes
    std::vector<uint8_t> data = codeStream(2, {{4, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 3}});
    giftest::Decoded d = decode(gifWithData(2, 2, data));
    EXPECT_EQ(d.pixel(0, 0), 1);
    EXPECT_EQ(d.pixel(1, 0), 2);
    EXPECT_EQ(d.pixel(0, 1), 3);
    EXPECT_EQ(d.pixel(1, 1), 0);
}

// How a 2×2 image with the given code stream fails, if it does.
std::optional<GifFault> lzwFault(const std::vector<uint8_t>& data) {
    return faultOf([&] { decode(gifWithData(2, 2, data)); });
}

TEST(GifLzw, HostileCodeStreamsFail) {
    auto fault = lzwFault;
    EXPECT_EQ(fault(codeStream(1, {{2, 2}, {1, 2}, {3, 2}})), GifFault::BadCodeSize);             // below 2
    EXPECT_EQ(fault(codeStream(12, {{4096, 13}, {1, 13}, {4097, 13}})), GifFault::BadCodeSize);  // above 11
    EXPECT_EQ(fault(codeStream(2, {{6, 3}, {1, 3}})), GifFault::TableCodeAfterClear);  // no table yet at the start
    EXPECT_EQ(fault(codeStream(2, {{4, 3}, {1, 3}, {7, 3}})), GifFault::CodePastNextFree);  // next free is 6
    EXPECT_EQ(fault(codeStream(2, {{4, 3}, {6, 3}, {5, 3}})), GifFault::TableCodeAfterClear);
    // clear, 1, 1, 1, then 1 in four bits: the third code grew the code size.
    std::vector<uint8_t> overlong = codeStream(2, {{4, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 4}, {5, 4}});
    ASSERT_EQ(fault(overlong), std::nullopt);
    overlong[1] = 200;  // a sub-block longer than the rest of the file
    EXPECT_EQ(fault(overlong), GifFault::Truncated);
    // The code after the table's own newest entry (the K-w-K-w-K case) is fine.
    EXPECT_EQ(fault(codeStream(2, {{4, 3}, {1, 3}, {6, 3}, {5, 3}})), std::nullopt);
}

TEST(GifLzw, CodesBeforeTheFirstClearCodeUseTheInitialTable) {
    // 1, 2, then the first new entry [1 2]; a clear code later starts over.
    giftest::Decoded d = decode(gifWithData(2, 2, codeStream(2, {{1, 3}, {2, 3}, {6, 3}, {5, 3}})));
    EXPECT_EQ(d.pixel(0, 0), 1);
    EXPECT_EQ(d.pixel(1, 0), 2);
    EXPECT_EQ(d.pixel(0, 1), 1);
    EXPECT_EQ(d.pixel(1, 1), 2);
    d = decode(gifWithData(2, 2, codeStream(2, {{3, 3}, {4, 3}, {1, 3}, {6, 3}, {2, 3}, {5, 3}})));
    EXPECT_EQ(d.pixel(0, 0), 3);
    EXPECT_EQ(d.pixel(1, 0), 1);
    EXPECT_EQ(d.pixel(0, 1), 1);  // [1 1]: the clear code dropped the entry [3 1]
    EXPECT_EQ(d.pixel(1, 1), 1);
}

TEST(GifLzw, FrameWhoseCodesStopEarlyKeepsWhatTheyDrew) {
    // A first frame: one pixel drawn, the rest stays as the frame began
    // (transparent index 0, transparent).
    for (bool interlaced : {false, true}) {
        giftest::Decoded d = decode(gifWithData(2, 2, codeStream(2, {{4, 3}, {1, 3}}), interlaced));
        ASSERT_EQ(d.info.frameCount, 1);
        EXPECT_EQ(d.pixel(0, 0), 1);
        EXPECT_FALSE(d.transparent(0, 0));
        for (auto [x, y] : {std::pair{1, 0}, std::pair{0, 1}, std::pair{1, 1}}) {
            EXPECT_EQ(d.pixel(x, y), 0);
            EXPECT_TRUE(d.transparent(x, y));
        }
        EXPECT_EQ(d.pixels[2], 0xEE) << "row padding";
    }
    // No codes at all still makes a frame.
    EXPECT_EQ(decode(gifWithData(2, 2, {2, 0})).info.frameCount, 1);

    // A later frame cut short halfway: its lower rows show the frame before
    // (disposal 1), and the frames after it are whole.
    Gif g = screen(4, 4);
    g.frames.push_back(solid(0, 0, 4, 4, 1));
    g.frames.push_back(solid(0, 0, 4, 4, 2));
    g.frames.push_back(solid(0, 0, 4, 4, 3));
    for (auto& f : g.frames) {
        f.control = true;
        f.disposal = 1;
    }
    g.frames[1].lzw.cutAfter = 8;
    giftest::Decoded d = decode(encodeGif(g));
    ASSERT_EQ(d.info.frameCount, 3);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(d.pixel(4 + x, 1), 2);
        EXPECT_EQ(d.pixel(4 + x, 2), 1);
        EXPECT_EQ(d.pixel(8 + x, 3), 3);
        EXPECT_FALSE(d.transparent(4 + x, 3));
    }
}

TEST(GifLzw, CodePastTheNextFreeOneFailsEvenWhenValidCodesFollow) {
    // clear, 1, 1, 1, then 1 and 1 in four bits: four pixels of 1.
    const std::vector<std::pair<int, int>> valid = {{4, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 4}, {1, 4}};
    giftest::Decoded d = decode(gifWithData(2, 2, codeStream(2, valid)));
    EXPECT_EQ(d.pixel(0, 0) + d.pixel(1, 0) + d.pixel(0, 1) + d.pixel(1, 1), 4);
    // One code just past the next free entry: 7 while 6 is next, then 9
    // while 8 is next (after the code size grew). The valid codes after it
    // would complete the image, so only the code's own check can refuse it.
    for (auto [at, code] : {std::pair{2, 7}, std::pair{4, 9}}) {
        std::vector<std::pair<int, int>> codes = valid;
        codes[static_cast<size_t>(at)].first = code;
        EXPECT_EQ(lzwFault(codeStream(2, codes)), GifFault::CodePastNextFree) << code;
    }
}

TEST(GifLzw, PixelsPastTheImageAreDropped) {
    // clear, 1, 2, [1 2], then the new entry [1 2 1]: seven pixels for a 2×3
    // image. The last one is dropped, and nothing outside the rows changes.
    std::vector<uint8_t> data = codeStream(2, {{4, 3}, {1, 3}, {2, 3}, {6, 3}, {8, 4}, {5, 4}});
    for (bool interlaced : {false, true}) {
        giftest::Decoded d = decode(gifWithData(2, 3, data, interlaced));
        ASSERT_EQ(d.info.frameCount, 1);
        for (int y = 0; y < 3; ++y) {
            // interlaced rows arrive as 0, 2, 1, but every row holds 1 2 here
            EXPECT_EQ(d.pixel(0, y), 1) << y;
            EXPECT_EQ(d.pixel(1, y), 2) << y;
            EXPECT_FALSE(d.transparent(0, y));
            EXPECT_EQ(d.pixels[static_cast<size_t>(y * d.pixelStride + 2)], 0xEE) << "row padding";
            EXPECT_EQ(d.mask[static_cast<size_t>(y * d.maskStride)] & 0x3F, 0xEE & 0x3F) << "unused mask bits";
        }
    }
}

TEST(GifLimits, HugeStripsAreRefusedBeforeAnyAllocation) {
    Gif wide = screen(10000, 1);
    for (int i = 0; i < 4; ++i) wide.frames.push_back(solid(0, 0, 1, 1, 1));
    EXPECT_EQ(faultOf([&] { decode(encodeGif(wide)); }), GifFault::TooLarge) << "40000 pixels wide";
    Gif three = wide;
    three.frames.resize(3);
    EXPECT_EQ(decode(encodeGif(three)).width(), 30000);

    Gif big = screen(8200, 8200);  // 64 MB and a bit
    big.frames.push_back(solid(0, 0, 1, 1, 1));
    std::vector<uint8_t> bytes = encodeGif(big);
    EXPECT_EQ(faultOf([&] { scanGif(bytes.data(), bytes.size(), false); }), GifFault::TooLarge);
    bytes[7] = 0x80;  // 32768 wide
    bytes[8] = 1;
    bytes[9] = 0;
    EXPECT_EQ(faultOf([&] { scanGif(bytes.data(), bytes.size(), false); }), GifFault::TooLarge);
}

TEST(GifLimits, DecodeRefusesStripsSmallerThanTheScan) {
    Gif g = screen(16, 2);
    g.frames.push_back(solid(0, 0, 16, 2, 1));
    std::vector<uint8_t> bytes = encodeGif(g);
    GifInfo info = scanGif(bytes.data(), bytes.size(), false);
    std::vector<uint8_t> pixels(64), mask(8);
    EXPECT_EQ(faultOf([&] { decodeGif(bytes.data(), bytes.size(), false, info, {pixels.data(), 8, mask.data(), 4}); }),
              GifFault::BadStrips);
}

}  // namespace
