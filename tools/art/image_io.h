// Writing pictures the Windows resource compiler takes: BMP and ICO files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace art {

// 32-bit premultiplied ARGB pixels, top-down, as cairo's image surfaces hold them.
struct Argb {
    int width = 0, height = 0, stride = 0;
    const uint8_t* data = nullptr;
};

// Little-endian writers and a whole-file write, shared by the BMP writers.
void put16(std::vector<uint8_t>& out, uint32_t v);
void put32(std::vector<uint8_t>& out, uint32_t v);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A 24-bit bottom-up BMP of the picture over a background colour.
bool writeBmp24(const std::string& path, const Argb& picture, uint32_t background);
// An icon with one 32-bit image (alpha plus an AND mask for old shells).
bool writeIcon(const std::string& path, const std::vector<Argb>& images);

}  // namespace art
