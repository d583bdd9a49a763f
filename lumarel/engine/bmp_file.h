// Checks of BMP files and bitmap resources before GDI sees them: every size a
// header states is checked against the bytes really there. Portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumarel {

// Where the parts of one device-independent bitmap lie in a block of bytes.
struct DibLayout {
    size_t header = 0;       // offset of the BITMAPINFOHEADER
    size_t colourCount = 0;  // entries of the colour table, which follows the header
    size_t pixels = 0;       // offset of the first pixel row
    size_t pixelBytes = 0;   // all rows, each padded to 4 bytes
    int32_t width = 0, height = 0;  // height < 0: rows run top-down
    uint16_t bitCount = 0;
};

// Colours in the table: biClrUsed, or when 0, 2^bits for 8 bits or fewer per
// pixel and biClrImportant otherwise.
size_t dibColourCount(uint16_t bitCount, uint32_t clrUsed, uint32_t clrImportant);

// A BITMAPINFOHEADER at `header`, its colour table and the pixels at
// `pixels` (the caller's place: bfOffBits for files, right after the table
// for resources, pass 0 for that). Nothing when a size is out of bounds, the
// table has more than 256 colours, or the format is one we do not draw.
std::optional<DibLayout> checkDib(const uint8_t* data, size_t size, size_t header,
                                  size_t pixels);

// A resource: the header at 0, the pixels right after the colour table.
std::optional<DibLayout> checkDibResource(const uint8_t* data, size_t size);

// A BMP file: "BM", bfSize within the file, the pixels at bfOffBits. When the
// file goes on for more than 6 bytes past bfSize and a second "BM" there
// states exactly the rest of the file as its size, the second picture counts.
std::optional<DibLayout> checkBmpFile(const uint8_t* data, size_t size);

// Colours of a table (4 bytes each: blue, green, red, unused) gathered into
// a palette of at most 256 distinct entries in the order met.
class PaletteEntries {
public:
    struct Rgb {
        uint8_t r, g, b;
        bool operator==(const Rgb&) const = default;
    };
    void add(Rgb colour);
    void addTable(const uint8_t* bgrx, size_t count);
    const std::vector<Rgb>& entries() const { return entries_; }

private:
    std::vector<Rgb> entries_;
};

}  // namespace lumarel
