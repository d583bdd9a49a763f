#include "saver/jpeg_to_bmp.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace lumarel {
namespace {

constexpr uint32_t kFileHeaderBytes = 14, kInfoHeaderBytes = 40;

// libjpeg's own error exit ends the process; ours jumps back to the one
// C-style function that set the jump, which has nothing to unwind.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

void errorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->escape, 1); }
void noOutput(j_common_ptr) {}

void put16(uint8_t*& p, uint32_t v) {
    *p++ = uint8_t(v);
    *p++ = uint8_t(v >> 8);
}
void put32(uint8_t*& p, uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p, v >> 16);
}

// What the decode needs between libjpeg's calls, all plain data so that a
// longjmp past it leaks nothing.
struct Conversion {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    BmpSink* sink;
    uint64_t maxPixels;
    uint8_t* row;       // one decoded row (components × width)
    uint8_t* out;       // one BMP row, padded
    uint64_t stride;
    JpegBmpResult result;
};

bool writeHeaders(Conversion& c) {
    const bool grey = c.result.bitsPerPixel == 8;
    const uint32_t tableBytes = grey ? 256 * 4 : 0;
    const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + tableBytes;
    uint8_t header[kFileHeaderBytes + kInfoHeaderBytes + 256 * 4];
    uint8_t* p = header;
    *p++ = 'B';
    *p++ = 'M';
    put32(p, uint32_t(c.result.fileSize));
    put32(p, 0);
    put32(p, offset);
    put32(p, kInfoHeaderBytes);
    put32(p, uint32_t(c.result.width));
    put32(p, uint32_t(c.result.height));  // positive: rows bottom-up
    put16(p, 1);
    put16(p, uint32_t(c.result.bitsPerPixel));
    put32(p, 0);  // BI_RGB
    put32(p, uint32_t(c.stride * uint64_t(c.result.height)));
    put32(p, 2835);  // 72 dots per inch
    put32(p, 2835);
    put32(p, grey ? 256 : 0);
    put32(p, 0);
    for (uint32_t i = 0; i < tableBytes / 4; ++i) {
        *p++ = uint8_t(i);
        *p++ = uint8_t(i);
        *p++ = uint8_t(i);
        *p++ = 0;
    }
    return c.sink->write(0, header, size_t(p - header));
}

// Returns 0 when done, 1 when libjpeg refused the data, 2 when the picture
// is one we do not convert, 3 when the sink failed. Only plain data lives in
// this frame, so the jump back skips no destructor.
int decode(Conversion& c, const uint8_t* data, size_t size, std::vector<uint8_t>* rowBuffer) {
    if (setjmp(c.errors.escape)) return 1;
    jpeg_create_decompress(&c.cinfo);
    jpeg_mem_src(&c.cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    if (jpeg_read_header(&c.cinfo, TRUE) != JPEG_HEADER_OK) return 1;
    const uint32_t w = c.cinfo.image_width, h = c.cinfo.image_height;
    const int components = c.cinfo.num_components;
    if (w == 0 || h == 0 || w > kJpegMaxSide || h > kJpegMaxSide || uint64_t(w) * h > c.maxPixels) return 2;
    if (components == 1) {
        c.cinfo.out_color_space = JCS_GRAYSCALE;
    } else if (components == 3) {
        c.cinfo.out_color_space = JCS_RGB;
    } else {
        return 2;
    }
    c.result.width = int32_t(w);
    c.result.height = int32_t(h);
    c.result.bitsPerPixel = components == 1 ? 8 : 24;
    c.stride = (uint64_t(w) * uint64_t(components) + 3) & ~uint64_t{3};
    const uint64_t pixelStart = kFileHeaderBytes + kInfoHeaderBytes + (components == 1 ? 1024 : 0);
    c.result.fileSize = pixelStart + c.stride * h;
    // The buffers are made before decompression starts: after it, a failure
    // may only jump, and the vector's storage is owned by the caller's frame.
    rowBuffer->resize(size_t(uint64_t(w) * uint64_t(components) + c.stride));
    c.row = rowBuffer->data();
    c.out = c.row + size_t(uint64_t(w) * uint64_t(components));
    if (!writeHeaders(c)) return 3;
    jpeg_start_decompress(&c.cinfo);
    if (c.cinfo.output_components != components || c.cinfo.output_width != w || c.cinfo.output_height != h)
        return 2;
    memset(c.out, 0, size_t(c.stride));
    while (c.cinfo.output_scanline < h) {
        const uint32_t y = c.cinfo.output_scanline;
        JSAMPROW rows[1] = {c.row};
        if (jpeg_read_scanlines(&c.cinfo, rows, 1) != 1) return 1;
        if (components == 1) {
            memcpy(c.out, c.row, w);
        } else {
            for (uint32_t x = 0; x < w; ++x) {  // RGB to the BMP's blue, green, red
                c.out[3 * x] = c.row[3 * x + 2];
                c.out[3 * x + 1] = c.row[3 * x + 1];
                c.out[3 * x + 2] = c.row[3 * x];
            }
        }
        const uint64_t offset = pixelStart + uint64_t(h - 1 - y) * c.stride;
        if (!c.sink->write(offset, c.out, size_t(c.stride))) return 3;
    }
    jpeg_finish_decompress(&c.cinfo);
    return 0;
}

}  // namespace

JpegBmpResult convertJpegToBmp(const uint8_t* data, size_t size, BmpSink& sink, uint64_t maxPixels) {
    if (!data || size == 0) return {};
    std::vector<uint8_t> rowBuffer;
    Conversion c{};
    c.sink = &sink;
    c.maxPixels = maxPixels < kJpegMaxPixels ? maxPixels : kJpegMaxPixels;
    c.cinfo.err = jpeg_std_error(&c.errors.base);
    c.errors.base.error_exit = errorExit;
    c.errors.base.output_message = noOutput;
    const int outcome = decode(c, data, size, &rowBuffer);
    jpeg_destroy_decompress(&c.cinfo);
    if (outcome != 0) return {};
    c.result.ok = true;
    return c.result;
}

bool conversionIsCurrent(const char* storedName, uint32_t storedTime, const char* pictureName, uint64_t writeTime,
                         bool convertedFileExists) {
    return storedName && pictureName && strcmp(storedName, pictureName) == 0 &&
           storedTime == uint32_t(writeTime & 0xFFFFFFFFu) && convertedFileExists;
}

}  // namespace lumarel
