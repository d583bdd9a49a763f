#include "engine/bmp_file.h"

#include <algorithm>

namespace lumarel {

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;
constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;
// Larger pictures than this are refused before any size is multiplied.
constexpr int64_t kMaxSide = 32767;

uint16_t u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

}  // namespace

size_t dibColourCount(uint16_t bitCount, uint32_t clrUsed, uint32_t clrImportant) {
    if (clrUsed) return clrUsed;
    if (bitCount <= 8) return size_t(1) << bitCount;
    return clrImportant;
}

std::optional<DibLayout> checkDib(const uint8_t* data, size_t size, size_t header, size_t pixels) {
    if (!data || header > size || size - header < kInfoHeader) return std::nullopt;
    const uint8_t* h = data + header;
    uint32_t headerSize = u32(h);
    if (headerSize < kInfoHeader || headerSize > size - header) return std::nullopt;
    DibLayout layout;
    layout.header = header;
    layout.width = int32_t(u32(h + 4));
    layout.height = int32_t(u32(h + 8));
    uint16_t planes = u16(h + 12);
    layout.bitCount = u16(h + 14);
    uint32_t compression = u32(h + 16);
    if (planes != 1 || layout.width <= 0 || layout.width > kMaxSide || layout.height == 0 ||
        layout.height < -kMaxSide || layout.height > kMaxSide)
        return std::nullopt;
    switch (layout.bitCount) {
    case 1: case 4: case 8: case 24:
        if (compression != kBiRgb) return std::nullopt;
        break;
    case 16: case 32:
        if (compression != kBiRgb && compression != kBiBitfields) return std::nullopt;
        break;
    default:
        return std::nullopt;
    }
    layout.colourCount = dibColourCount(layout.bitCount, u32(h + 32), u32(h + 36));
    if (layout.colourCount > 256) return std::nullopt;
    // Three colour masks follow a plain 40-byte header in the bit-field form.
    size_t masks = compression == kBiBitfields && headerSize == kInfoHeader ? 12 : 0;
    size_t tableEnd = header + headerSize + masks + layout.colourCount * 4;
    if (tableEnd > size) return std::nullopt;
    if (pixels == 0) pixels = tableEnd;
    if (pixels < tableEnd || pixels > size) return std::nullopt;
    int64_t rowBytes = ((int64_t(layout.width) * layout.bitCount + 31) / 32) * 4;
    int64_t rows = layout.height < 0 ? -int64_t(layout.height) : layout.height;
    int64_t need = rowBytes * rows;
    if (need > int64_t(size - pixels)) return std::nullopt;
    layout.pixels = pixels;
    layout.pixelBytes = size_t(need);
    return layout;
}

std::optional<DibLayout> checkDibResource(const uint8_t* data, size_t size) {
    return checkDib(data, size, 0, 0);
}

std::optional<DibLayout> checkBmpFile(const uint8_t* data, size_t size) {
    if (!data || size < kFileHeader || data[0] != 'B' || data[1] != 'M') return std::nullopt;
    size_t start = 0;
    size_t fileSize = u32(data + 2);
    if (fileSize > size || fileSize < kFileHeader) return std::nullopt;
    if (size > fileSize + 6 && data[fileSize] == 'B' && data[fileSize + 1] == 'M' &&
        u32(data + fileSize + 2) == size - fileSize)
        start = fileSize;
    const uint8_t* file = data + start;
    size_t length = start ? size - start : fileSize;
    size_t offBits = u32(file + 10);
    if (offBits < kFileHeader + kInfoHeader) return std::nullopt;
    auto layout = checkDib(file, length, kFileHeader, offBits);
    if (!layout) return std::nullopt;
    layout->header += start;
    layout->pixels += start;
    return layout;
}

void PaletteEntries::add(Rgb colour) {
    if (entries_.size() >= 256) return;
    if (std::find(entries_.begin(), entries_.end(), colour) != entries_.end()) return;
    entries_.push_back(colour);
}

void PaletteEntries::addTable(const uint8_t* bgrx, size_t count) {
    for (size_t i = 0; i < count; ++i) add({bgrx[i * 4 + 2], bgrx[i * 4 + 1], bgrx[i * 4]});
}

}  // namespace lumarel
