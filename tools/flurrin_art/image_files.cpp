#include "image_files.h"

#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace flurrin_art {

namespace {

// One row as R, G, B bytes (premultiplied ARGB over black is just the colour).
void row_rgb(cairo_surface_t* surface, int y, std::vector<uint8_t>& out) {
    int width = cairo_image_surface_get_width(surface);
    const uint8_t* row = cairo_image_surface_get_data(surface) + size_t(y) * size_t(cairo_image_surface_get_stride(surface));
    out.resize(size_t(width) * 3);
    for (int x = 0; x < width; ++x) {
        uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
        out[size_t(x) * 3 + 0] = uint8_t(p >> 16);
        out[size_t(x) * 3 + 1] = uint8_t(p >> 8);
        out[size_t(x) * 3 + 2] = uint8_t(p);
    }
}

void put16(std::FILE* f, uint32_t v) { std::fputc(int(v & 0xFF), f), std::fputc(int(v >> 8 & 0xFF), f); }
void put32(std::FILE* f, uint32_t v) { put16(f, v & 0xFFFF), put16(f, v >> 16); }

}  // namespace

bool write_bmp(const std::string& path, cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    uint32_t line = (uint32_t(width) * 3 + 3) & ~3u, image = line * uint32_t(height);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    put16(f, 0x4D42), put32(f, 54 + image), put32(f, 0), put32(f, 54);
    put32(f, 40), put32(f, uint32_t(width)), put32(f, uint32_t(height)), put16(f, 1), put16(f, 24);
    put32(f, 0), put32(f, image), put32(f, 2835), put32(f, 2835), put32(f, 0), put32(f, 0);
    std::vector<uint8_t> rgb, bgr(line, 0);
    for (int y = height - 1; y >= 0; --y) {
        row_rgb(surface, y, rgb);
        for (int x = 0; x < width; ++x) {
            bgr[size_t(x) * 3 + 0] = rgb[size_t(x) * 3 + 2];
            bgr[size_t(x) * 3 + 1] = rgb[size_t(x) * 3 + 1];
            bgr[size_t(x) * 3 + 2] = rgb[size_t(x) * 3 + 0];
        }
        std::fwrite(bgr.data(), 1, line, f);
    }
    return std::fclose(f) == 0;
}

bool write_jpeg(const std::string& path, cairo_surface_t* surface, int quality) {
    cairo_surface_flush(surface);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = JDIMENSION(cairo_image_surface_get_width(surface));
    cinfo.image_height = JDIMENSION(cairo_image_surface_get_height(surface));
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> rgb;
    while (cinfo.next_scanline < cinfo.image_height) {
        row_rgb(surface, int(cinfo.next_scanline), rgb);
        JSAMPROW rows[1] = {rgb.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(f) == 0;
}

}  // namespace flurrin_art
