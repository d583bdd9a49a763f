// The object sheet (glowing snow circles, crystals, ornaments on black), its
// mask (black where a shape is, white elsewhere), the frame tiles, the
// snow-style pictures and the small preview picture.
#pragma once
#include <string>

namespace flurrin_art {

bool write_object_sheets(const std::string& sprite_path, const std::string& mask_path);
bool write_border_tiles(const std::string& path);
// The four snow-style pictures of the configuration form (crystals, circles,
// ornaments, all three), made from the object sheet, into folder.
bool write_style_pictures(const std::string& folder);

}  // namespace flurrin_art
