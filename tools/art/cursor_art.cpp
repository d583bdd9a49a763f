// The settings window's two drag cursors, "hand" (open, over a bulb that can
// be picked up) and "closedhand" (holding a bulb). Both are 32 x 32
// monochrome cursors, which every Windows version shows the same way: a white
// hand with a black outline, transparent around it.
#include <cairo.h>

#include <cmath>
#include <string>
#include <vector>

#include "image_io.h"

namespace art {
namespace {

constexpr int kSize = 32;

void roundedBar(cairo_t* cr, double x, double top, double width, double bottom) {
    double r = width / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + r, top + r, r, M_PI, 2 * M_PI);
    cairo_line_to(cr, x + width, bottom);
    cairo_line_to(cr, x, bottom);
    cairo_close_path(cr);
}

// Four fingers and a thumb over a rounded palm; `closed` curls the fingers
// down to knuckles and tucks the thumb in.
void handPath(cairo_t* cr, bool closed) {
    const double fingerTops[4] = {6, 3, 4, 7};
    for (int i = 0; i < 4; ++i) {
        double x = 9 + i * 4;
        roundedBar(cr, x, closed ? 11 + (i == 1 || i == 2 ? 0 : 1) : fingerTops[i], 4, 19);
    }
    // The thumb leans out to the left when open, lies along the palm when closed.
    cairo_save(cr);
    cairo_translate(cr, 9, 18);
    cairo_rotate(cr, closed ? -0.5 : -0.9);
    roundedBar(cr, -2, closed ? -6 : -9, 4, 2);
    cairo_restore(cr);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 9, 15);
    cairo_line_to(cr, 25, 15);
    cairo_curve_to(cr, 25.5, 21, 24, 26, 21, 28);
    cairo_line_to(cr, 12, 28);
    cairo_curve_to(cr, 10, 26, 9, 22, 9, 15);
    cairo_close_path(cr);
}

// 1 where the hand is white, 0 where it is black outline, -1 outside: the
// silhouette's edge pixels are the outline, and a dark line parts the fingers.
std::vector<int> drawHand(bool closed) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, kSize, kSize);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    handPath(cr, closed);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kSize && y < kSize && data[y * stride + x] >= 128;
    };
    std::vector<int> pixels(kSize * kSize, -1);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (inside(x, y))
                pixels[y * kSize + x] =
                    inside(x - 1, y) && inside(x + 1, y) && inside(x, y - 1) && inside(x, y + 1) ? 1 : 0;
    cairo_surface_destroy(surface);
    for (int i = 1; i < 4; ++i) {
        int x = 9 + i * 4;
        for (int y = closed ? 12 : 5; y <= 15; ++y)
            if (pixels[y * kSize + x] == 1) pixels[y * kSize + x] = 0;
    }
    return pixels;
}

// A .cur file with one 32 x 32 one-bit image: XOR bits, then AND bits.
bool writeCursor(const std::string& path, const std::vector<int>& pixels, int hotX, int hotY) {
    const int rowBytes = 4;  // 32 bits, already a multiple of four bytes
    std::vector<uint8_t> xorBits(kSize * rowBytes), andBits(kSize * rowBytes);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            int v = pixels[y * kSize + x];
            size_t at = size_t(kSize - 1 - y) * rowBytes + size_t(x / 8);  // bottom-up rows
            uint8_t bit = uint8_t(0x80 >> (x % 8));
            if (v < 0) andBits[at] |= bit;   // screen shows through
            if (v > 0) xorBits[at] |= bit;   // white
        }
    uint32_t imageSize = 40 + 8 + uint32_t(xorBits.size() + andBits.size());
    std::vector<uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 2);  // a cursor
    put16(out, 1);  // one image
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(2);  // colours
    out.push_back(0);
    put16(out, uint32_t(hotX));
    put16(out, uint32_t(hotY));
    put32(out, imageSize);
    put32(out, 6 + 16);
    put32(out, 40);
    put32(out, kSize);
    put32(out, kSize * 2);  // XOR and AND images together
    put16(out, 1);
    put16(out, 1);
    put32(out, 0);
    put32(out, uint32_t(xorBits.size() + andBits.size()));
    put32(out, 0);
    put32(out, 0);
    put32(out, 2);
    put32(out, 0);
    put32(out, 0x000000);  // black
    put32(out, 0xFFFFFF);  // white
    out.insert(out.end(), xorBits.begin(), xorBits.end());
    out.insert(out.end(), andBits.begin(), andBits.end());
    return writeFile(path, out);
}

}  // namespace

bool writeDragCursors(const std::string& out) {
    // The hot spot sits in the palm, where the bulb is held.
    return writeCursor(out + "/hand.cur", drawHand(false), 16, 18) &&
           writeCursor(out + "/closedhand.cur", drawHand(true), 16, 18);
}

}  // namespace art
