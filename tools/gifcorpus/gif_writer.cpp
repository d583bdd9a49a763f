#include "gif_writer.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

namespace gifcorpus {
namespace {

int bitsFor(size_t paletteSize) {
    int bits = 1;
    while ((size_t{1} << bits) < paletteSize) ++bits;
    return bits;
}

void putWord(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void putPalette(std::vector<uint8_t>& out, const std::vector<Rgb>& palette) {
    for (const Rgb& c : palette) {
        out.push_back(c.r);
        out.push_back(c.g);
        out.push_back(c.b);
    }
}

void putSubBlocks(std::vector<uint8_t>& out, const std::vector<uint8_t>& data, int blockSize) {
    for (size_t at = 0; at < data.size(); at += static_cast<size_t>(blockSize)) {
        size_t n = std::min(data.size() - at, static_cast<size_t>(blockSize));
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
    }
    out.push_back(0);
}

// Writes codes least significant bit first, keeping the code size in step
// with what a decoder will use when it reads them.
class CodeWriter {
public:
    explicit CodeWriter(int minCodeSize) : min_(minCodeSize) { reset(); }

    void emit(int code) {
        accumulator_ |= static_cast<uint64_t>(code) << bits_;
        bits_ += size_;
        while (bits_ >= 8) {
            bytes.push_back(static_cast<uint8_t>(accumulator_ & 0xFF));
            accumulator_ >>= 8;
            bits_ -= 8;
        }
        if (code == clearCode()) {
            reset();
            return;
        }
        if (firstAfterClear_) {
            firstAfterClear_ = false;
        } else if (decoderNext_ < 4096) {
            ++decoderNext_;
            if (decoderNext_ == (1 << size_) && size_ < 12) ++size_;
        }
    }
    void flush() {
        if (bits_ > 0) bytes.push_back(static_cast<uint8_t>(accumulator_ & 0xFF));
        bits_ = 0;
        accumulator_ = 0;
    }
    int clearCode() const { return 1 << min_; }

    std::vector<uint8_t> bytes;

private:
    void reset() {
        size_ = min_ + 1;
        decoderNext_ = clearCode() + 2;
        firstAfterClear_ = true;
    }
    int min_;
    int size_ = 0;
    int decoderNext_ = 0;
    bool firstAfterClear_ = true;
    uint64_t accumulator_ = 0;
    int bits_ = 0;
};

}  // namespace

std::vector<int> interlacedRowOrder(int height) {
    std::vector<int> order;
    static constexpr int start[4] = {0, 4, 2, 1};
    static constexpr int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
    return order;
}

std::vector<uint8_t> encodeImageData(const std::vector<uint8_t>& pixels, int paletteBits,
                                     const LzwOptions& options) {
    const int minCodeSize = options.minCodeSize ? options.minCodeSize : std::max(2, paletteBits);
    CodeWriter writer(minCodeSize);
    const int clear = writer.clearCode();
    std::unordered_map<uint32_t, int> dictionary;
    int next = clear + 2;
    auto resetDictionary = [&] {
        dictionary.clear();
        next = clear + 2;
    };

    if (options.leadingClear) writer.emit(clear);
    long dataCodes = 0;
    int prefix = -1;
    size_t count = pixels.size();
    if (options.cutAfter >= 0) count = std::min(count, static_cast<size_t>(options.cutAfter));
    for (uint8_t p : std::vector<uint8_t>(pixels.begin(), pixels.begin() + static_cast<long>(count))) {
        if (prefix < 0) {
            prefix = p;
            continue;
        }
        uint32_t key = static_cast<uint32_t>(prefix) << 8 | p;
        auto found = dictionary.find(key);
        if (found != dictionary.end()) {
            prefix = found->second;
            continue;
        }
        writer.emit(prefix);
        ++dataCodes;
        if (next < 4096) {
            dictionary.emplace(key, next++);
        } else if (!options.deferredClear) {
            writer.emit(clear);
            resetDictionary();
        }
        prefix = p;
        if (options.clearEvery > 0 && dataCodes % options.clearEvery == 0) {
            writer.emit(clear);
            resetDictionary();
        }
    }
    if (prefix >= 0) writer.emit(prefix);
    if (options.endCode && options.cutAfter < 0) writer.emit(clear + 1);
    writer.flush();

    std::vector<uint8_t> out{static_cast<uint8_t>(minCodeSize)};
    putSubBlocks(out, writer.bytes, options.subBlockSize);
    return out;
}

std::vector<uint8_t> encodeGif(const Gif& gif) {
    std::vector<uint8_t> out;
    const char* signature = gif.gif87 ? "GIF87a" : "GIF89a";
    out.insert(out.end(), signature, signature + 6);
    putWord(out, gif.width);
    putWord(out, gif.height);
    int globalBits = gif.globalPalette.empty() ? 0 : bitsFor(gif.globalPalette.size());
    if (globalBits) out.push_back(static_cast<uint8_t>(0x80 | 0x70 | (globalBits - 1)));
    else out.push_back(static_cast<uint8_t>(gif.tableSizeBits < 0 ? 0 : gif.tableSizeBits));
    out.push_back(gif.background);
    out.push_back(0);
    putPalette(out, gif.globalPalette);

    if (gif.comment) {
        out.insert(out.end(), {0x21, 0xFE});
        std::string text = "drawn by gifcorpus";
        putSubBlocks(out, std::vector<uint8_t>(text.begin(), text.end()), 7);
    }
    if (gif.application) {
        out.insert(out.end(), {0x21, 0xFF, 11});
        std::string id = "NETSCAPE2.0";
        out.insert(out.end(), id.begin(), id.end());
        out.insert(out.end(), {3, 1, 0, 0, 0});
    }
    if (gif.plainText) {
        out.insert(out.end(), {0x21, 0x01, 12, 0, 0, 0, 0, 8, 0, 8, 0, 8, 8, 1, 0});
        std::string text = "Hi";
        putSubBlocks(out, std::vector<uint8_t>(text.begin(), text.end()), 255);
    }

    for (const Frame& f : gif.frames) {
        if (f.pixels.size() != static_cast<size_t>(f.width) * static_cast<size_t>(f.height))
            throw std::invalid_argument("frame pixels do not match its size");
        if (f.control) {
            out.insert(out.end(), {0x21, 0xF9, 4});
            out.push_back(static_cast<uint8_t>((f.disposal & 7) << 2 | (f.transparent ? 1 : 0)));
            putWord(out, f.delay);
            out.push_back(f.transparentIndex);
            out.push_back(0);
        }
        out.push_back(0x2C);
        putWord(out, f.left);
        putWord(out, f.top);
        putWord(out, f.width);
        putWord(out, f.height);
        int localBits = f.localPalette.empty() ? 0 : bitsFor(f.localPalette.size());
        out.push_back(static_cast<uint8_t>((localBits ? 0x80 | (localBits - 1) : 0) | (f.interlaced ? 0x40 : 0)));
        putPalette(out, f.localPalette);

        std::vector<uint8_t> stored;
        if (f.interlaced) {
            for (int y : interlacedRowOrder(f.height))
                stored.insert(stored.end(), f.pixels.begin() + static_cast<long>(y) * f.width,
                              f.pixels.begin() + static_cast<long>(y + 1) * f.width);
        } else {
            stored = f.pixels;
        }
        int paletteBits = localBits ? localBits : globalBits ? globalBits : (gif.tableSizeBits < 0 ? 0 : gif.tableSizeBits) + 1;
        std::vector<uint8_t> data = encodeImageData(stored, paletteBits, f.lzw);
        out.insert(out.end(), data.begin(), data.end());
    }
    out.insert(out.end(), gif.tail.begin(), gif.tail.end());
    out.push_back(0x3B);
    return out;
}

}  // namespace gifcorpus
