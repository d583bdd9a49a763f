#include "program_palette.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "image_io.h"
#include "paint.h"

namespace art {

namespace {

// A bottom-up BMP of `bits` per pixel with a colour table.
bool writeBmp(const std::string& path, int width, int height, int bits, const std::vector<Rgb8>& table,
              const std::vector<uint8_t>& values) {
    int rowBytes = ((width * bits + 31) / 32) * 4;
    uint32_t tableBytes = uint32_t(table.size() * 4), imageSize = uint32_t(rowBytes * height);
    std::vector<uint8_t> out{'B', 'M'};
    put32(out, 14 + 40 + tableBytes + imageSize);
    put32(out, 0);
    put32(out, 14 + 40 + tableBytes);
    put32(out, 40);
    put32(out, uint32_t(width));
    put32(out, uint32_t(height));
    put16(out, 1);
    put16(out, uint32_t(bits));
    put32(out, 0);
    put32(out, imageSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, uint32_t(table.size()));
    put32(out, 0);
    for (const Rgb8& c : table) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(rowBytes), 0);
        for (int x = 0; x < width; ++x) {
            uint8_t v = values[size_t(y) * size_t(width) + size_t(x)];
            if (bits == 8) row[size_t(x)] = v;
            else if (v) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return writeFile(path, out);
}

uint8_t to8(double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

}  // namespace

ProgramPalette::ProgramPalette() {
    // 16 greys from black to white, then 15 hue ramps of 16 shades each: from
    // a dark tone of the hue through the hue itself to a pale tint.
    for (int i = 0; i < 16; ++i) {
        double v = std::pow(i / 15.0, 0.9);
        colours_.push_back({to8(v), to8(v), to8(v * 1.0)});
    }
    const Colour hues[15] = {
        {0.90, 0.10, 0.10}, {0.98, 0.50, 0.08}, {0.92, 0.72, 0.15}, {0.98, 0.92, 0.25}, {0.55, 0.80, 0.15},
        {0.10, 0.70, 0.20}, {0.05, 0.42, 0.15}, {0.10, 0.68, 0.65}, {0.35, 0.70, 0.98}, {0.15, 0.30, 0.95},
        {0.55, 0.20, 0.85}, {0.98, 0.40, 0.70}, {0.98, 0.75, 0.60}, {0.55, 0.32, 0.15}, {0.45, 0.50, 0.62}};
    for (const Colour& hue : hues)
        for (int k = 0; k < 16; ++k) {
            double t = k / 15.0;
            Colour c = t < 0.6 ? shade(hue, 0.1 + 0.9 * t / 0.6) : mix(hue, {1, 1, 1}, (t - 0.6) / 0.4 * 0.82);
            colours_.push_back({to8(c.r), to8(c.g), to8(c.b)});
        }
}

uint8_t ProgramPalette::nearest(uint8_t r, uint8_t g, uint8_t b) const {
    uint32_t key = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
    if (auto found = cache_.find(key); found != cache_.end()) return found->second;
    // weighted distance, a little more careful with green and with hue in the darks
    long best = -1;
    uint8_t bestIndex = 0;
    for (size_t i = 0; i < colours_.size(); ++i) {
        long dr = long(r) - colours_[i].r, dg = long(g) - colours_[i].g, db = long(b) - colours_[i].b;
        long mean = (long(r) + colours_[i].r) / 2;
        long d = ((512 + mean) * dr * dr >> 8) + 4 * dg * dg + ((767 - mean) * db * db >> 8);
        if (best < 0 || d < best) {
            best = d;
            bestIndex = uint8_t(i);
        }
    }
    cache_[key] = bestIndex;
    return bestIndex;
}

bool ProgramPalette::write(const std::string& path) const {
    std::vector<uint8_t> swatch(100);
    for (int i = 0; i < 100; ++i) swatch[size_t(i)] = uint8_t(i * 255 / 99);
    return writeBmp(path, 10, 10, 8, colours_, swatch);
}

bool ProgramPalette::writeIndexed(const std::string& path, int width, int height,
                                  const std::vector<uint8_t>& index) const {
    return writeBmp(path, width, height, 8, colours_, index);
}

bool writeMask(const std::string& path, int width, int height, const std::vector<uint8_t>& bits) {
    return writeBmp(path, width, height, 1, {{0, 0, 0}, {255, 255, 255}}, bits);
}

namespace {

// Renders with cairo and quantises: pixels under half cover are black.
std::vector<uint8_t> drawIndexed(int w, int h, const ProgramPalette& palette, void (*paint)(cairo_t*),
                                 std::vector<uint8_t>* opaque = nullptr) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    std::vector<uint8_t> index(size_t(w) * size_t(h));
    if (opaque) opaque->assign(index.size(), 0);
    const uint8_t* d = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = d + y * stride + x * 4;
            bool on = p[3] >= 110;
            index[size_t(y * w + x)] = on ? palette.nearest(p[2], p[1], p[0]) : 0;
            if (opaque) (*opaque)[size_t(y * w + x)] = on;
        }
    cairo_surface_destroy(s);
    return index;
}

// A 3 x 5 pixel font, just for "SLOW".
void pixelWord(cairo_t* cr, const char* word, double x, double y) {
    static const char* glyphs[4][5] = {{"###", "#..", "###", "..#", "###"},   // S
                                       {"#..", "#..", "#..", "#..", "###"},   // L
                                       {"###", "#.#", "#.#", "#.#", "###"},   // O
                                       {"#.#", "#.#", "#.#", "###", "#.#"}};  // W
    const char* order = "SLOW";
    for (int i = 0; word[i]; ++i) {
        int g = int(strchr(order, word[i]) - order);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 3; ++c)
                if (glyphs[g][r][c] == '#') cairo_rectangle(cr, x + i * 4 + c, y + r, 1, 1);
    }
}

void paintSlow(cairo_t* cr) {
    cairo_set_source_rgb(cr, 0.70, 0.08, 0.08);
    cairo_rectangle(cr, 0, 0, 21, 9);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.98, 0.92, 0.25);
    pixelWord(cr, "SLOW", 3, 2);
    cairo_fill(cr);
}

void paintDither(cairo_t* cr) {
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            double v = (x + y) % 2 ? 0.75 : 0.45;
            cairo_set_source_rgb(cr, v, v, v);
            cairo_rectangle(cr, x, y, 1, 1);
            cairo_fill(cr);
        }
}

void paintWarning(cairo_t* cr) {
    cairo_move_to(cr, 16, 2);
    cairo_line_to(cr, 30.5, 29);
    cairo_line_to(cr, 1.5, 29);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 2, 0, 29);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.92, 0.35);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.90, 0.65, 0.05);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.35, 0.2, 0.0);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    roundRectPath(cr, 14.5, 10, 3, 11, 1.2);
    cairo_fill(cr);
    cairo_arc(cr, 16, 25, 1.8, 0, 2 * M_PI);
    cairo_fill(cr);
}

}  // namespace

bool writeSmallPictures(const std::string& out, const ProgramPalette& palette) {
    std::vector<uint8_t> white(30 * 30, 1), warningOpaque;
    std::vector<uint8_t> warning = drawIndexed(32, 32, palette, paintWarning, &warningOpaque);
    std::vector<uint8_t> warningMask(warningOpaque.size());
    for (size_t i = 0; i < warningMask.size(); ++i) warningMask[i] = warningOpaque[i] ? 0 : 1;
    return palette.writeIndexed(out + "/SLOW.bmp", 21, 9, drawIndexed(21, 9, palette, paintSlow)) &&
           writeMask(out + "/WHITE.bmp", 30, 30, white) &&
           palette.writeIndexed(out + "/DITHER.bmp", 8, 8, drawIndexed(8, 8, palette, paintDither)) &&
           palette.writeIndexed(out + "/WARNING.bmp", 32, 32, warning) &&
           writeMask(out + "/WARNINGMASK.bmp", 32, 32, warningMask);
}

}  // namespace art
