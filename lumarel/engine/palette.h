// The palette builder and the program palette every bulb picture is drawn in.
#pragma once
#include <windows.h>

#include "engine/bmp_file.h"
#include "engine/engine_context.h"

namespace lumarel {

class PaletteBuilder {
public:
    // Colours of a header's table (count by the usual rule); the header must
    // be followed in memory by its table.
    void addHeader(const BITMAPINFOHEADER& header);
    // Colours of a bitmap resource; a missing or malformed one adds nothing.
    void addResource(HINSTANCE instance, const char* name);
    // Colours of a BMP file; a missing or malformed one adds nothing.
    void addFile(const char* path);
    // Colours of an existing bitmap of 8 bits or fewer per pixel.
    void addBitmap(HBITMAP bitmap);
    // CreatePalette of the colours gathered, or a copy of the system palette
    // when there are none. The caller owns the palette.
    HPALETTE make() const;
    const PaletteEntries& entries() const { return entries_; }

private:
    PaletteEntries entries_;
};

// The context's program palette (from the bitmap resource "palette"), made
// on first use and kept for the program's life.
HPALETTE programPalette(EngineContext& context);
// A palette copying the 256 entries of the system palette now.
HPALETTE copySystemPalette();

}  // namespace lumarel
