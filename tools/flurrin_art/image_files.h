// Writing the generated pictures: 24-bit BMP and baseline JPEG.
#pragma once
#include <cstdint>
#include <string>

#include <cairo.h>

namespace flurrin_art {

// The surface (ARGB32 or RGB24) flattened onto black.
bool write_bmp(const std::string& path, cairo_surface_t* surface);
bool write_jpeg(const std::string& path, cairo_surface_t* surface, int quality);

}  // namespace flurrin_art
