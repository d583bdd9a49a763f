#include "bulbs/gif_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "bulbs/bit_rows.h"

namespace lumarel {
namespace {

constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kCommentLabel = 0xFE;
constexpr uint8_t kApplicationLabel = 0xFF;
constexpr uint8_t kPlainTextLabel = 0x01;

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeSize = 12;
// The code reader takes three bytes at a time; the gathered buffer keeps this
// many zero bytes after the data so that the look-ahead stays inside it.
constexpr size_t kReadSlack = 4;

// Out of line, so the checks in the code loop stay small.
[[noreturn, gnu::cold, gnu::noinline]] void fail(GifFault fault) {
    throw GifFailure{{fault == GifFault::UnknownBlock ? kFailUnknownGifBlock : kFailAsrt}, fault};
}

void check(bool condition, GifFault fault) {
    if (!condition) fail(fault);
}

// A bounds-checked cursor over the input: every read checks what remains.
class Cursor {
public:
    Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ == size_; }
    uint8_t byte() {
        check(pos_ < size_, GifFault::Truncated);
        return data_[pos_++];
    }
    int word() {
        const uint8_t* p = take(2);
        return p[0] | (p[1] << 8);
    }
    const uint8_t* take(size_t count) {
        check(count <= remaining(), GifFault::Truncated);
        const uint8_t* p = data_ + pos_;
        pos_ += count;
        return p;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool signatureMatches(const uint8_t* s) {
    auto is = [](uint8_t c, char upper) { return c == upper || c == upper + ('a' - 'A'); };
    return is(s[0], 'G') && is(s[1], 'I') && is(s[2], 'F') && s[3] == '8' &&
           (s[4] == '7' || s[4] == '9') && is(s[5], 'A');
}

// Where the LZW output goes: the frame's image rectangle inside one frame
// area of the strips, with the row order of interlaced images.
struct FrameTarget {
    uint8_t* pixels;  // row 0 of the frame area (already offset by n × W)
    ptrdiff_t pixelStride;
    uint8_t* mask;    // row 0 of the mask strip
    ptrdiff_t maskStride;
    int maskColumn;   // strip column of the frame area's left edge
    int areaWidth, areaHeight;
    int left, top, width, height;  // image rectangle, frame coordinates
    bool interlaced;
    bool transparent;
    uint8_t transparentIndex;
};

// Writes decoded pixels in image order. Rows run left to right; a finished
// row gets its mask bits in one go, which is much cheaper than per pixel.
class PixelWriter {
public:
    explicit PixelWriter(const FrameTarget& t) : t_(t) {
        right_ = t.left + t.width;
        clipRight_ = std::min(right_, t.areaWidth);
        done_ = t.width <= 0 || t.height <= 0;
        x_ = t.left;
        row_ = 0;
        pass_ = 0;
        if (!done_) enterRow();
    }

    bool done() const { return done_; }
    int roomInRow() const { return right_ - x_; }
    // A row's pixels when the next `count` pixels all land in it, else null.
    uint8_t* directSpan(int count) {
        if (rowPixels_ && x_ + count <= clipRight_) return rowPixels_ + x_;
        return nullptr;
    }
    void advance(int count) {
        x_ += count;
        if (x_ == right_) nextRow();
    }
    // Pixels that may cross rows or the frame area's edge.
    void write(const uint8_t* values, int count) {
        while (count > 0 && !done_) {
            int n = std::min(count, right_ - x_);
            if (rowPixels_ && x_ < clipRight_) {
                int visible = std::min(n, clipRight_ - x_);
                std::memcpy(rowPixels_ + x_, values, static_cast<size_t>(visible));
            }
            values += n;
            count -= n;
            advance(n);
        }
    }
    // Completes the mask of a row left unfinished when the codes ran out.
    void finish() {
        if (!done_) flushMask(x_);
    }

private:
    void enterRow() {
        int y = t_.top + row_;
        bool visible = y < t_.areaHeight && t_.left < t_.areaWidth;
        rowPixels_ = visible ? t_.pixels + y * t_.pixelStride : nullptr;
    }

    void flushMask(int end) {
        if (!rowPixels_) return;
        end = std::min(end, clipRight_);
        if (end <= t_.left) return;
        uint8_t* maskRow = t_.mask + (t_.top + row_) * t_.maskStride;
        size_t start = static_cast<size_t>(t_.maskColumn + t_.left);
        size_t count = static_cast<size_t>(end - t_.left);
        if (!t_.transparent) {
            setBits(maskRow, start, count, false);
            return;
        }
        const uint8_t* pixels = rowPixels_ + t_.left;
        for (size_t i = 0; i < count; ++i) putBit(maskRow, start + i, pixels[i] == t_.transparentIndex);
    }

    void nextRow() {
        flushMask(right_);
        x_ = t_.left;
        if (!t_.interlaced) {
            ++row_;
        } else {
            static constexpr int start[4] = {0, 4, 2, 1};
            static constexpr int step[4] = {8, 8, 4, 2};
            row_ += step[pass_];
            while (row_ >= t_.height) {
                if (++pass_ == 4) break;  // past the last pass nothing more is written
                row_ = start[pass_];
            }
        }
        if (row_ >= t_.height || pass_ == 4) {
            done_ = true;
            rowPixels_ = nullptr;
            return;
        }
        enterRow();
    }

    const FrameTarget& t_;
    int right_, clipRight_;
    int x_, row_, pass_;
    bool done_;
    uint8_t* rowPixels_ = nullptr;
};

// The string table: each code's prefix, last byte, first byte and length, so
// a string can be written straight into its row from its end backwards.
struct StringTable {
    uint16_t prefix[kMaxCodes];
    uint8_t suffix[kMaxCodes];
    uint8_t first[kMaxCodes];
    uint16_t length[kMaxCodes];
    uint8_t stack[kMaxCodes];  // a string never outgrows the table
};

// Decodes one frame's gathered codes. Fails on a minimum code size outside
// 2..11, a table code where only roots are known and a code beyond the next
// free one. Codes before the first clear code use the initial table, and
// when the data runs out the frame keeps what was drawn so far.
void decodeLzw(StringTable& table, const uint8_t* codes, size_t codeBytes, int minCodeSize,
               int pixelMask, PixelWriter& out) {
    check(minCodeSize >= 2 && minCodeSize <= 11, GifFault::BadCodeSize);
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    for (int c = 0; c < clear; ++c) {
        table.suffix[c] = table.first[c] = static_cast<uint8_t>(c & pixelMask);
        table.length[c] = 1;
    }
    const uint64_t bitLimit = uint64_t{codeBytes} * 8;
    uint64_t bitPos = 0;
    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    int previous = -1;

    while (!out.done() && bitPos + static_cast<uint64_t>(codeSize) <= bitLimit) {
        size_t at = static_cast<size_t>(bitPos >> 3);
        uint32_t window = codes[at] | (codes[at + 1] << 8) | (codes[at + 2] << 16);
        int code = static_cast<int>((window >> (bitPos & 7)) & ((1u << codeSize) - 1));
        bitPos += static_cast<uint64_t>(codeSize);

        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) break;
        if (previous < 0) {
            check(code < clear, GifFault::TableCodeAfterClear);  // after a clear only roots are known
        } else {
            check(code <= next, GifFault::CodePastNextFree);
            if (next < kMaxCodes) {
                // The new entry is the previous string plus the first byte of
                // this one (of the previous one when this code is the new entry).
                table.prefix[next] = static_cast<uint16_t>(previous);
                table.suffix[next] = table.first[code == next ? previous : code];
                table.first[next] = table.first[previous];
                table.length[next] = static_cast<uint16_t>(table.length[previous] + 1);
                ++next;
                if (next == (1 << codeSize) && codeSize < kMaxCodeSize) ++codeSize;
            }
        }
        previous = code;

        int length = table.length[code];
        if (uint8_t* direct = length <= out.roomInRow() ? out.directSpan(length) : nullptr) {
            int c = code;
            for (int i = length - 1; i > 0; --i) {
                direct[i] = table.suffix[c];
                c = table.prefix[c];
            }
            direct[0] = table.suffix[c];
            out.advance(length);
        } else {
            int c = code;
            for (int i = length - 1; i > 0; --i) {
                table.stack[i] = table.suffix[c];
                c = table.prefix[c];
            }
            table.stack[0] = table.suffix[c];
            out.write(table.stack, length);
        }
    }
    out.finish();
}

using ColourMap = std::array<uint8_t, 256>;

int distance(GifColour a, GifColour b) {
    int r = a.red - b.red, g = a.green - b.green, bl = a.blue - b.blue;
    return r * r + g * g + bl * bl;
}

// Where each index of the old table goes in the new one: the same index when
// it still holds the colour, else the first entry of that colour, else the
// nearest. Indices past the old table's end name no colour and stay.
// Returns false when every index stays.
bool mapColours(const GifColour* from, int fromCount, const GifColour* to, int toCount, ColourMap& map) {
    bool moved = false;
    for (int i = 0; i < 256; ++i) {
        map[i] = static_cast<uint8_t>(i);
        if (i >= fromCount || (i < toCount && distance(from[i], to[i]) == 0)) continue;
        int best = 0;
        for (int j = 1; j < toCount && distance(from[i], to[best]) > 0; ++j)
            if (distance(from[i], to[j]) < distance(from[i], to[best])) best = j;
        map[i] = static_cast<uint8_t>(best);
        moved = true;
    }
    return moved;
}

void remapRow(uint8_t* row, int width, const ColourMap& map) {
    for (int x = 0; x < width; ++x) row[x] = map[row[x]];
}

// One walk over the blocks. Without strips it only learns the layout; with
// strips it also decodes and composes every frame.
class GifWalker {
public:
    GifWalker(const uint8_t* data, size_t length, bool firstFrameOnly, const GifStrips* strips,
              const GifInfo* plan)
        : in_(data, length), data_(data), length_(length), firstFrameOnly_(firstFrameOnly), strips_(strips),
          plan_(plan) {}

    GifInfo run() {
        readHeader();
        while (true) {
            uint8_t introducer = in_.byte();
            if (introducer == kTrailer) break;
            if (introducer == kExtensionIntroducer) {
                if (!readExtension()) break;
            } else if (introducer == kImageSeparator) {
                if (firstFrameOnly_ && info_.frameCount == 1) break;
                readImage();
            } else {
                if (!unknownBlock()) break;
            }
        }
        if (strips_) showEveryFrameInTheLastTable();
        return info_;
    }

private:
    void readHeader() {
        check(data_[length_ - 1] == kTrailer, GifFault::NoTrailer);
        check(signatureMatches(in_.take(6)), GifFault::BadSignature);
        info_.screenWidth = in_.word();
        info_.screenHeight = in_.word();
        check(info_.screenWidth > 0 && info_.screenHeight > 0, GifFault::EmptyScreen);
        // The bytes may have changed since the scan (a mapped file): the
        // strips were made for the scanned screen, so nothing else will do.
        if (plan_)
            check(info_.screenWidth == plan_->screenWidth && info_.screenHeight == plan_->screenHeight,
                  GifFault::ChangedSinceScan);
        check(info_.screenWidth <= kGifMaxStripSide && info_.screenHeight <= kGifMaxStripSide, GifFault::TooLarge);
        uint8_t flags = in_.byte();
        background_ = in_.byte();
        in_.byte();  // aspect ratio
        tableSize_ = 2 << (flags & 7);
        if (flags & 0x80) readColourTable();
    }

    void readColourTable() {
        const uint8_t* rgb = in_.take(static_cast<size_t>(tableSize_) * 3);
        for (int i = 0; i < tableSize_; ++i) colours_[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
    }

    // Extensions are skipped by their sub-block structure, which keeps the
    // walk in step with the file whatever bytes the blocks hold.
    bool readExtension() {
        uint8_t label = in_.byte();
        switch (label) {
        case kGraphicControlLabel: {
            size_t size = in_.byte();
            const uint8_t* block = in_.take(size);
            if (size >= 4) {
                previousDisposal_ = disposal_;
                disposal_ = (block[0] >> 2) & 7;
                transparent_ = (block[0] & 1) != 0;
                transparentIndex_ = block[3];
            }
            skipSubBlocks();
            return true;
        }
        case kCommentLabel:
        case kApplicationLabel:
        case kPlainTextLabel:
            skipSubBlocks();
            return true;
        default:
            return unknownBlock();
        }
    }

    bool unknownBlock() {
        if (info_.frameCount == 0) fail(GifFault::UnknownBlock);
        return false;
    }

    void skipSubBlocks() {
        while (size_t size = in_.byte()) in_.take(size);
    }

    void readImage() {
        const int n = info_.frameCount;
        const int W = info_.screenWidth;
        const int H = info_.screenHeight;
        // The strip grows by one frame; refuse it before it is too big.
        check(int64_t{W} * (n + 1) <= kGifMaxStripSide, GifFault::TooLarge);
        check(static_cast<size_t>(gifPixelStride(W * (n + 1))) * static_cast<size_t>(H) <= kGifMaxStripBytes,
              GifFault::TooLarge);

        FrameTarget target{};
        target.left = in_.word();
        target.top = in_.word();
        target.width = in_.word();
        target.height = in_.word();
        uint8_t flags = in_.byte();
        target.interlaced = (flags & 0x40) != 0;
        if (flags & 0x80) {
            tableSize_ = 2 << (flags & 7);
            readColourTable();
        }
        // The transparent colour shows black wherever the mask is ignored.
        if (transparent_) colours_[transparentIndex_] = {0, 0, 0};
        const ColourMap* newTable = nullptr;
        if (strips_ && n > 0) {
            ColourMap map;
            if (mapColours(stripColours_, stripColourCount_, colours_, tableSize_, map)) {
                tableChanges_.push_back({n, map});
                newTable = &tableChanges_.back().second;
            }
        }

        int minCodeSize = in_.byte();
        check(minCodeSize >= 2 && minCodeSize <= 11, GifFault::BadCodeSize);

        if (strips_) {
            check(plan_ && n < plan_->frameCount, GifFault::ChangedSinceScan);
            target.pixels = strips_->pixels + ptrdiff_t{n} * W;
            target.pixelStride = strips_->pixelStride;
            target.mask = strips_->mask;
            target.maskStride = strips_->maskStride;
            target.maskColumn = n * W;
            target.areaWidth = W;
            target.areaHeight = H;
            target.transparent = transparent_;
            target.transparentIndex = transparentIndex_;
            prepareFrameArea(n, newTable);
            size_t gathered = gatherSubBlocks();
            PixelWriter writer(target);
            if (!writer.done())
                decodeLzw(*table_, codes_.get(), gathered, minCodeSize, tableSize_ - 1, writer);
        } else {
            skipSubBlocks();
        }

        info_.frameCount = n + 1;
        info_.colourCount = tableSize_;
        std::copy(colours_, colours_ + 256, info_.colours);
        std::copy(colours_, colours_ + 256, stripColours_);
        stripColourCount_ = tableSize_;
    }

    // Each frame's indices are in the table that was in force for it; map
    // them to the last table through every change that came after it. Done
    // once at the end, so a file of many tables costs one pass, not one per
    // frame.
    void showEveryFrameInTheLastTable() {
        const int W = info_.screenWidth;
        ColourMap later;
        for (int i = 0; i < 256; ++i) later[i] = static_cast<uint8_t>(i);
        bool identity = true;
        auto change = tableChanges_.rbegin();
        for (int k = info_.frameCount - 1; k >= 0; --k) {
            if (!identity)
                for (int y = 0; y < info_.screenHeight; ++y)
                    remapRow(strips_->pixels + y * strips_->pixelStride + ptrdiff_t{k} * W, W, later);
            if (change != tableChanges_.rend() && change->first == k) {
                // Frames before k were drawn in the table before k's.
                ColourMap composed;
                for (int i = 0; i < 256; ++i) composed[i] = later[change->second[i]];
                later = composed;
                identity = false;
                ++change;
            }
        }
    }

    // Fills frame n's area before its image is drawn over it: the first
    // frame starts transparent; later ones follow the previous disposal. A
    // copy of the previous frame takes the new table's colours.
    void prepareFrameArea(int n, const ColourMap* newTable) {
        const int W = info_.screenWidth;
        const int H = info_.screenHeight;
        uint8_t* pixels = strips_->pixels + ptrdiff_t{n} * W;
        const size_t column = static_cast<size_t>(n) * static_cast<size_t>(W);
        for (int y = 0; y < H; ++y) {
            uint8_t* row = pixels + y * strips_->pixelStride;
            uint8_t* maskRow = strips_->mask + y * strips_->maskStride;
            if (n == 0) {
                std::memset(row, transparentIndex_, static_cast<size_t>(W));
                setBits(maskRow, column, static_cast<size_t>(W), true);
                continue;
            }
            switch (previousDisposal_) {
            case 0:
            case 1:
                std::memcpy(row, row - W, static_cast<size_t>(W));
                if (newTable) remapRow(row, W, *newTable);
                copyBits(maskRow, column - static_cast<size_t>(W), column, static_cast<size_t>(W));
                break;
            case 2:
            case 3: {
                bool clear = transparent_ || previousDisposal_ == 3;
                std::memset(row, clear ? transparentIndex_ : background_, static_cast<size_t>(W));
                setBits(maskRow, column, static_cast<size_t>(W), clear);
                break;
            }
            default:
                std::memset(row, 0, static_cast<size_t>(W));
                setBits(maskRow, column, static_cast<size_t>(W), false);
                break;
            }
        }
    }

    // Collects the image's data sub-blocks into one buffer with zeroed slack.
    size_t gatherSubBlocks() {
        if (!codes_) {
            codes_ = std::make_unique<uint8_t[]>(length_ + kReadSlack);
            table_ = std::make_unique<StringTable>();
        }
        size_t used = 0;
        while (size_t size = in_.byte()) {
            const uint8_t* block = in_.take(size);
            check(size <= length_ - used, GifFault::GatherOverflow);
            std::memcpy(codes_.get() + used, block, size);
            used += size;
        }
        std::memset(codes_.get() + used, 0, kReadSlack);
        return used;
    }

    Cursor in_;
    const uint8_t* data_;
    size_t length_;
    bool firstFrameOnly_;
    const GifStrips* strips_;
    const GifInfo* plan_;
    GifInfo info_;

    GifColour colours_[256] = {};
    int tableSize_ = 2;
    uint8_t background_ = 0;
    bool transparent_ = false;
    uint8_t transparentIndex_ = 0;
    int disposal_ = 0;
    int previousDisposal_ = 0;
    // The table the frames so far were drawn in, and where it changed since.
    GifColour stripColours_[256] = {};
    int stripColourCount_ = 0;
    std::vector<std::pair<int, ColourMap>> tableChanges_;

    std::unique_ptr<uint8_t[]> codes_;
    std::unique_ptr<StringTable> table_;
};

}  // namespace

GifInfo scanGif(const uint8_t* data, size_t length, bool firstFrameOnly) {
    check(data != nullptr && length > 0, GifFault::EmptyInput);
    return GifWalker(data, length, firstFrameOnly, nullptr, nullptr).run();
}

void decodeGif(const uint8_t* data, size_t length, bool firstFrameOnly, const GifInfo& info,
               const GifStrips& strips) {
    check(data != nullptr && length > 0, GifFault::EmptyInput);
    check(strips.pixels && strips.mask, GifFault::BadStrips);
    check(strips.pixelStride >= info.stripWidth() && strips.maskStride >= (info.stripWidth() + 7) / 8,
          GifFault::BadStrips);
    GifInfo decoded = GifWalker(data, length, firstFrameOnly, &strips, &info).run();
    check(decoded.frameCount == info.frameCount, GifFault::ChangedSinceScan);
}

}  // namespace lumarel
