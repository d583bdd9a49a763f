// Loading pictures from files: JPEG through libjpeg into a DIB section, BMP
// and GIF through the platform's picture loader.
#pragma once
#include <windows.h>

#include <string>

#include "frame/handles.h"
#include "scene/dib_surface.h"

namespace flurrin {

inline constexpr const char* kJpegReadFailed = "Failed to read JPG";
inline constexpr const char* kJpegDataFailed = "Cannot read Image Data from file.";

// Decodes the JPEG file into surface. A missing or broken
// file shows "Failed to read JPG", broken image data "Cannot read Image Data
// from file.", and leaves the surface empty.
bool load_jpeg(DibSurface& surface, const std::string& path);

// True when the upper-cased last three characters of the name are "JPG".
bool is_jpeg_name(const std::string& path);

// Any supported picture file as a bitmap; empty on failure (JPEG failures
// show their messages).
unique_hbitmap load_picture_file(const std::string& path);

// A picture for a preview of area_width x area_height: JPEGs are decoded
// straight to a fraction of their size when that still covers the area.
// Says nothing on failure (a file that went away, a broken or huge one): the
// preview just stays empty.
unique_hbitmap load_preview_picture(const std::string& path, int area_width, int area_height);

}  // namespace flurrin
