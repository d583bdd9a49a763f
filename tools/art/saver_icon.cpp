// Two of lumarel's icons, drawn for 16 and 32 pixels: the screen saver's, a
// small monitor whose night-blue screen shows a sagging string of lit bulbs,
// and the bulb file's, a page with a folded corner and one lit bulb on it.
#include <cairo.h>

#include <string>
#include <vector>

#include "image_io.h"
#include "paint.h"

namespace art {

namespace {

void paintSaverIcon(cairo_t* cr, double size) {
    const double s = size / 32.0;
    cairo_scale(cr, s, s);
    // case, light from the top left
    roundRectPath(cr, 1.5, 2.5, 29, 22, 2.5);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 2, 0, 25);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.86, 0.87, 0.90);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.48, 0.50, 0.56);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    outline(cr, 1.0, 0.85);
    // stand
    setColour(cr, {0.42, 0.44, 0.50});
    cairo_rectangle(cr, 13, 24.5, 6, 3);
    cairo_fill(cr);
    roundRectPath(cr, 8, 27, 16, 3.5, 1.2);
    setColour(cr, {0.60, 0.62, 0.68});
    cairo_fill_preserve(cr);
    outline(cr, 0.8, 0.7);
    // screen: a night sky
    cairo_rectangle(cr, 4, 5, 24, 16.5);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 5, 0, 21.5);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.02, 0.04, 0.16);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.10, 0.16, 0.40);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    // the wire and its bulbs
    setColour(cr, col::darkGreen);
    cairo_set_line_width(cr, 0.9);
    cairo_move_to(cr, 4, 8);
    cairo_curve_to(cr, 11, 13, 21, 13, 28, 8);
    cairo_stroke(cr);
    const Colour colours[] = {col::red, col::green, col::yellow, col::blue};
    Frame f{};
    f.lightX = -0.707;
    f.lightY = -0.707;
    f.small = size < 24;
    for (int i = 0; i < 4; ++i) {
        double t = (i + 0.5) / 4, x = 4 + 24 * t, y = 8 + 16 * 0.75 * t * (1 - t) + 4.2;
        glow(cr, colours[i], x, y, 4.5, 0.5);
        ellipsePath(cr, x, y, 1.9, 2.8);
        fillGlass(cr, f, colours[i], true, x, y, 2.4);
    }
}

// A sheet of paper, its top right corner folded over, and a lit red bulb
// hanging from a short wire across it.
void paintBulbFileIcon(cairo_t* cr, double size) {
    const double s = size / 32.0;
    cairo_scale(cr, s, s);
    const double left = 5.5, top = 1.5, right = 26.5, bottom = 30.5, fold = 7;
    cairo_move_to(cr, left, top);
    cairo_line_to(cr, right - fold, top);
    cairo_line_to(cr, right, top + fold);
    cairo_line_to(cr, right, bottom);
    cairo_line_to(cr, left, bottom);
    cairo_close_path(cr);
    cairo_pattern_t* paper = cairo_pattern_create_linear(left, top, right, bottom);
    cairo_pattern_add_color_stop_rgb(paper, 0, 1.0, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgb(paper, 1, 0.78, 0.80, 0.86);
    cairo_set_source(cr, paper);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(paper);
    outline(cr, 1.0, 0.85);
    // the folded corner, darker underneath
    cairo_move_to(cr, right - fold, top);
    cairo_line_to(cr, right - fold, top + fold);
    cairo_line_to(cr, right, top + fold);
    cairo_close_path(cr);
    setColour(cr, {0.66, 0.68, 0.75});
    cairo_fill_preserve(cr);
    outline(cr, 0.8, 0.7);
    // the wire, the socket and the bulb
    setColour(cr, col::darkGreen);
    cairo_set_line_width(cr, 1.2);
    cairo_move_to(cr, left + 1, 8);
    cairo_curve_to(cr, 11, 11, 17, 11, right - 1, 12);
    cairo_stroke(cr);
    roundRectPath(cr, 13.5, 10, 5, 4, 1);
    setColour(cr, col::green);
    cairo_fill_preserve(cr);
    outline(cr, 0.8, 0.7);
    Frame f{};
    f.lightX = -0.707;
    f.lightY = -0.707;
    f.small = size < 24;
    glow(cr, col::red, 16, 20, 9, 0.6);
    eggPath(cr, 16, 20, 4.2, 6.5);
    fillGlass(cr, f, col::red, true, 16, 20, 5.5);
}

using IconPainter = void (*)(cairo_t*, double size);

bool writeDrawnIcon(const std::string& path, IconPainter paint) {
    std::vector<cairo_surface_t*> surfaces;
    std::vector<Argb> images;
    for (int size : {16, 32}) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        paint(cr, size);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        surfaces.push_back(surface);
        images.push_back({size, size, cairo_image_surface_get_stride(surface), cairo_image_surface_get_data(surface)});
    }
    bool ok = writeIcon(path, images);
    for (auto* s : surfaces) cairo_surface_destroy(s);
    return ok;
}

}  // namespace

bool writeSaverIcon(const std::string& path) { return writeDrawnIcon(path, paintSaverIcon); }

bool writeBulbFileIcon(const std::string& path) { return writeDrawnIcon(path, paintBulbFileIcon); }

}  // namespace art
