// The ten winter pictures of the built-in pack, drawn with cairo in layers:
// sky, lights of the sky, distant mountains, snowy hills, forests, buildings.
#pragma once
#include <cairo.h>

namespace flurrin_art {

inline constexpr int kSceneCount = 10;

// Draws scene index (0..9) filling width x height.
void draw_winter_scene(cairo_t* cr, int index, int width, int height);
// Whether the pack stores scene index as a JPEG (otherwise as a BMP).
bool scene_is_jpeg(int index);

}  // namespace flurrin_art
