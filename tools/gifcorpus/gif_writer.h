// A small GIF writer for our test corpus: it can write every kind of GIF the
// decoder has to read, including the odd but legal (and some illegal) code
// streams that real encoders produce.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace gifcorpus {

struct Rgb {
    uint8_t r, g, b;
};

struct LzwOptions {
    int minCodeSize = 0;        // 0: the smallest that holds the palette (at least 2)
    int clearEvery = 0;         // >0: a clear code after that many data codes
    bool deferredClear = false; // keep going with a full table instead of clearing
    bool endCode = true;        // false: stop after the last pixel without an end code
    bool leadingClear = true;   // false: the stream does not start with a clear code
    int cutAfter = -1;          // >=0: the codes stop after that many pixels, without an end code
    int subBlockSize = 255;     // 1..255
};

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<Rgb> localPalette;  // empty: none (size must be a power of two, 2..256)
    std::vector<uint8_t> pixels;    // width × height indices, rows top-down
    bool control = false;           // write a graphic control extension before it
    int disposal = 0;
    bool transparent = false;
    uint8_t transparentIndex = 0;
    int delay = 10;
    LzwOptions lzw;
};

struct Gif {
    bool gif87 = false;
    int width = 0, height = 0;
    std::vector<Rgb> globalPalette;  // empty: none; else a power of two, 2..256
    int tableSizeBits = -1;          // the header's size field without a global table
    uint8_t background = 0;
    bool comment = false, application = false, plainText = false;  // extensions before the frames
    std::vector<Frame> frames;
    std::vector<uint8_t> tail;  // bytes between the last frame and the trailer
};

std::vector<uint8_t> encodeGif(const Gif& gif);
// The LZW code stream alone, packed into sub-blocks with the terminator.
std::vector<uint8_t> encodeImageData(const std::vector<uint8_t>& pixels, int paletteBits, const LzwOptions& options);

// The order in which an interlaced image stores its rows.
std::vector<int> interlacedRowOrder(int height);

}  // namespace gifcorpus
