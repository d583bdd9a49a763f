// The screen saver's background picture, from the "Lumarel Pictures" folders
// (the user's copy of a name first, base/data_folders.h): a shortcut is
// followed; a JPEG is converted once to a BMP file in the temporary folder; a
// GIF gives its first frame; anything else is read as a BMP file.
#pragma once
#include <windows.h>

#include <memory>

#include "base/handles.h"
#include "engine/bitmap.h"

namespace lumarel {

struct BackgroundPicture {
    std::unique_ptr<Bitmap> bitmap;  // null: no picture
    unique_hpalette palette;
    int width = 0, height = 0;
};

// Never throws: a name that names no readable picture, "(None)" among them,
// gives no picture.
BackgroundPicture loadBackgroundPicture(const char* name);

// The converted JPEG's path ("Lumarel Bitmap.bmp" in the temporary folder).
void convertedPicturePath(char (&path)[MAX_PATH]);

// Converts the JPEG unless the last conversion still stands; true when the
// converted file holds the picture now. A failed conversion leaves neither
// the file nor a half-written one behind.
bool convertJpegPicture(const char* jpegPath, const char* pictureName);

}  // namespace lumarel
