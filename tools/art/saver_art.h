// The screen saver's art: the flake and balloon strips with their masks, the
// six animated GIF floaters, the background pictures, and a contact sheet.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "program_palette.h"

namespace art {

// One animated floater's frames in program palette indices.
struct FloaterFrames {
    int width = 0, height = 0;
    std::vector<std::vector<uint8_t>> index;   // per frame, rows top-down
    std::vector<std::vector<uint8_t>> opaque;  // per frame, 1 where drawn
};

constexpr int kFirstFloaterGif = 3100, kFloaterGifs = 6;
// By resource number, 3100 "Singing Tree" to 3105 "Santa".
FloaterFrames floaterFrames(int resource, const ProgramPalette& palette);
// The GIF the program carries: the program palette, an index no frame uses
// as the transparent one, each frame replacing the last.
std::vector<uint8_t> encodeFloaterGif(const FloaterFrames& frames, const ProgramPalette& palette);

// Writes every file into `out`, the pictures into `out`/pictures, the
// resource script fragment saver_art.rc and the contact sheet saver.png.
bool writeSaverArt(const std::string& out, const ProgramPalette& palette);

}  // namespace art
