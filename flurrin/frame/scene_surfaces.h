// frmGraphics: the saver's off-screen pictures, and how pictures get into
// them.
#pragma once
#include <windows.h>

#include "scene/dib_surface.h"

namespace flurrin {

struct SceneSurfaces {
    DibSurface main;    // clean copy of the current scene
    DibSurface work;    // composition buffer: each frame is built here
    DibSurface sprite;  // sheet of object pictures
    DibSurface mask;    // the matching masks
    DibSurface border;  // 8 x 8 tiles of the frame round a framed scene

    // main and work at the scene's size, black.
    bool size_scene(int width, int height);
    void reset();
};

// Loads a picture file into a surface at the picture's own size; false (and
// the surface unchanged) when the file is no picture.
bool load_picture_into(const char* path, DibSurface& surface);
// The frame tiles from the program's resources.
bool load_border_tiles(DibSurface& border);
// Paints a picture into staging (which keeps its size) fitted with its
// proportions kept, centred on black.
void paint_fitted(HBITMAP picture, DibSurface& staging);

}  // namespace flurrin
