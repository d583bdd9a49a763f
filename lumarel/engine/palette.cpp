#include "engine/palette.h"

#include <vector>

#include "base/failure.h"
#include "base/handles.h"
#include "engine/resource_bytes.h"

namespace lumarel {

namespace {

HPALETTE createPalette(const std::vector<PALETTEENTRY>& colours) {
    std::vector<uint8_t> block(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) logical->palPalEntry[i] = colours[i];
    return CreatePalette(logical);
}

}  // namespace

void PaletteBuilder::addHeader(const BITMAPINFOHEADER& header) {
    size_t count = dibColourCount(header.biBitCount, header.biClrUsed, header.biClrImportant);
    if (count > 256) return;
    entries_.addTable(reinterpret_cast<const uint8_t*>(&header) + header.biSize, count);
}

void PaletteBuilder::addResource(HINSTANCE instance, const char* name) {
    ResourceBytes bytes(instance, name, RT_BITMAP);
    if (!bytes) return;
    auto layout = checkDibResource(bytes.data(), bytes.size());
    if (layout) entries_.addTable(bytes.data() + layout->pixels - layout->colourCount * 4, layout->colourCount);
}

void PaletteBuilder::addFile(const char* path) {
    MappedFile file(path);
    if (!file) return;
    auto layout = checkBmpFile(file.data(), file.size());
    if (!layout) return;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(file.data() + layout->header);
    entries_.addTable(file.data() + layout->header + header->biSize, layout->colourCount);
}

void PaletteBuilder::addBitmap(HBITMAP bitmap) {
    unique_hdc dc(CreateCompatibleDC(nullptr));
    if (!dc || !bitmap) return;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof info.header;
    if (!GetDIBits(dc.get(), bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
        return;
    if (info.header.biBitCount > 8) return;
    SelectObjectScope select(dc.get(), bitmap);
    UINT count = GetDIBColorTable(dc.get(), 0, 256, info.colours);
    entries_.addTable(reinterpret_cast<const uint8_t*>(info.colours), count);
}

HPALETTE PaletteBuilder::make() const {
    if (entries_.entries().empty()) return copySystemPalette();
    std::vector<PALETTEENTRY> colours;
    for (const auto& c : entries_.entries()) colours.push_back({c.r, c.g, c.b, 0});
    return createPalette(colours);
}

HPALETTE copySystemPalette() {
    std::vector<PALETTEENTRY> colours(256);
    UINT got = GetSystemPaletteEntries(WindowDc(nullptr).get(), 0, 256, colours.data());
    // A true-colour screen has no system palette: keep the 20 static colours
    // GDI always offers, so the copy is still a valid palette.
    if (got == 0) {
        HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
        got = GetPaletteEntries(stock, 0, 256, colours.data());
    }
    colours.resize(got ? got : 1);
    return createPalette(colours);
}

HPALETTE programPalette(EngineContext& context) {
    if (!context.palette) {
        PaletteBuilder builder;
        builder.addResource(context.resources(), "palette");
        context.palette = builder.make();
    }
    return context.palette;
}

}  // namespace lumarel
