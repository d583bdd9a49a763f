#include "scene/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace flurrin {

namespace {

// libjpeg's own error exit ends the process; ours jumps back to the caller.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

void error_exit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->escape, 1); }
void no_output(j_common_ptr) {}

// Owns the decompressor so every path (including the longjmp one) frees it.
struct Decoder {
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    Decoder() {
        cinfo.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = error_exit;
        errors.base.output_message = no_output;
    }
    ~Decoder() { jpeg_destroy_decompress(&cinfo); }
};

// Separate functions keep the objects with destructors out of the frame that
// calls setjmp.
bool read_header(Decoder& d, const uint8_t* data, size_t size) {
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    return jpeg_read_header(&d.cinfo, TRUE) == JPEG_HEADER_OK;
}

void store_row(const uint8_t* row, int components, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x, out += 3) {
        const uint8_t* p = row + x * components;
        if (components == 1) {
            out[0] = out[1] = out[2] = p[0];
        } else if (components == 4) {
            // Adobe writes CMYK inverted: the stored values are 255 - ink.
            out[0] = uint8_t(p[2] * p[3] / 255);
            out[1] = uint8_t(p[1] * p[3] / 255);
            out[2] = uint8_t(p[0] * p[3] / 255);
        } else {
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
        }
    }
}

}  // namespace

bool jpeg_read_info(const uint8_t* data, size_t size, JpegInfo& info) {
    if (!data || size == 0) return false;
    Decoder d;
    if (setjmp(d.errors.escape)) return false;
    if (!read_header(d, data, size)) return false;
    info.width = int(d.cinfo.image_width);
    info.height = int(d.cinfo.image_height);
    info.channels = d.cinfo.num_components;
    return info.width > 0 && info.height > 0;
}

bool jpeg_decode_bottom_up(const uint8_t* data, size_t size, uint8_t* bits, size_t bytes_per_line, int width,
                           int height, uint64_t max_pixels, int reduction) {
    if (!data || size == 0 || !bits || width <= 0 || height <= 0) return false;
    if (reduction != 1 && reduction != 2 && reduction != 4 && reduction != 8) return false;
    if (bytes_per_line < size_t(width) * 3 || uint64_t(width) * uint64_t(height) > max_pixels) return false;
    Decoder d;
    if (setjmp(d.errors.escape)) return false;
    if (!read_header(d, data, size)) return false;
    if (jpeg_reduced_size(int(d.cinfo.image_width), reduction) != width ||
        jpeg_reduced_size(int(d.cinfo.image_height), reduction) != height)
        return false;
    d.cinfo.scale_num = 1;
    d.cinfo.scale_denom = unsigned(reduction);
    J_COLOR_SPACE space = d.cinfo.jpeg_color_space;
    if (space == JCS_GRAYSCALE) d.cinfo.out_color_space = JCS_GRAYSCALE;
    else if (space == JCS_CMYK || space == JCS_YCCK) d.cinfo.out_color_space = JCS_CMYK;
    else d.cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.cinfo);
    int components = d.cinfo.output_components;
    if (int(d.cinfo.output_width) != width || int(d.cinfo.output_height) != height ||
        (components != 1 && components != 3 && components != 4))
        return false;
    // The row buffer comes from libjpeg's pool: nothing of ours to free when an
    // error jumps back.
    JSAMPARRAY rows = (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE,
                                                   JDIMENSION(width) * JDIMENSION(components), 1);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        int y = int(d.cinfo.output_scanline);
        if (jpeg_read_scanlines(&d.cinfo, rows, 1) != 1) return false;
        store_row(rows[0], components, width, bits + size_t(height - 1 - y) * bytes_per_line);
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

}  // namespace flurrin
