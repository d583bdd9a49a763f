// The object sheet (glowing snow circles, crystals, ornaments on black), its
// mask (black where a shape is, white elsewhere), the frame tiles and the
// small preview picture.
#pragma once
#include <string>

namespace flurrin_art {

bool write_object_sheets(const std::string& sprite_path, const std::string& mask_path);
bool write_border_tiles(const std::string& path);

}  // namespace flurrin_art
