// The last scene as the desktop wallpaper, when the saver ends.
#pragma once
#include <windows.h>

#include "scene/dib_surface.h"

namespace flurrin {

// Saves the picture stretched as "<program>_wallpaper.bmp" in the Windows
// folder or, where users may not write there, in their local application
// data, and makes it the wallpaper.
void save_scene_wallpaper(const DibSurface& scene);

}  // namespace flurrin
