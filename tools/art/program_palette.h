// The program palette: 256 colours chosen for the bulbs (a grey ramp and
// ramps of the key hues), the nearest-colour quantiser, and writers of
// 8-bit and 1-bit BMP files.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace art {

struct Rgb8 {
    uint8_t r, g, b;
};

class ProgramPalette {
public:
    ProgramPalette();
    uint8_t nearest(uint8_t r, uint8_t g, uint8_t b) const;
    Rgb8 colour(uint8_t index) const { return colours_[index]; }
    // The 10 x 10 "palette" picture whose colour table is the palette.
    bool write(const std::string& path) const;
    // An 8-bit picture (rows top first in `index`) with the palette as table.
    bool writeIndexed(const std::string& path, int width, int height, const std::vector<uint8_t>& index) const;

private:
    std::vector<Rgb8> colours_;
    mutable std::unordered_map<uint32_t, uint8_t> cache_;
};

// A 1-bit picture: 0 black, 1 white.
bool writeMask(const std::string& path, int width, int height, const std::vector<uint8_t>& bits);

// "SLOW", "WHITE", "DITHER", "WARNING" and "WARNINGMASK".
bool writeSmallPictures(const std::string& out, const ProgramPalette& palette);

}  // namespace art
