// The About window's pictures and the program icon: a string of
// Christmas lights over a snowy night hill. Deterministic: the same files
// every run.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "image_io.h"
#include "paint.h"

namespace {

using art::Colour;

const Colour kBulbColours[] = {
    {0.92, 0.12, 0.12}, {0.10, 0.75, 0.22}, {0.15, 0.35, 0.95}, {0.98, 0.80, 0.10}, {0.98, 0.50, 0.08}};

// A C9-style glass bulb hanging from (x, y), pointing down, lit or not.
void drawBulb(cairo_t* cr, double x, double y, double size, Colour c, bool lit) {
    double w = size * 0.55, h = size;
    if (lit) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(x, y + h * 0.6, 0, x, y + h * 0.6, size * 1.1);
        cairo_pattern_add_color_stop_rgba(glow, 0, c.r, c.g, c.b, 0.55);
        cairo_pattern_add_color_stop_rgba(glow, 1, c.r, c.g, c.b, 0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, x, y + h * 0.6, size * 1.1, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    // socket
    cairo_set_source_rgb(cr, 0.10, 0.40, 0.15);
    cairo_rectangle(cr, x - w * 0.3, y, w * 0.6, h * 0.25);
    cairo_fill(cr);
    // glass
    double k = lit ? 1.0 : 0.35;
    cairo_save(cr);
    cairo_translate(cr, x, y + h * 0.62);
    cairo_scale(cr, w / 2, h * 0.42);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* glass = cairo_pattern_create_radial(x - w * 0.15, y + h * 0.5, 0, x, y + h * 0.62, h * 0.45);
    cairo_pattern_add_color_stop_rgb(glass, 0, std::fmin(1, c.r * k + 0.5 * k), std::fmin(1, c.g * k + 0.5 * k),
                                     std::fmin(1, c.b * k + 0.5 * k));
    cairo_pattern_add_color_stop_rgb(glass, 1, c.r * k * 0.6, c.g * k * 0.6, c.b * k * 0.6);
    cairo_set_source(cr, glass);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(glass);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    // reflection
    cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.8 : 0.35);
    cairo_arc(cr, x - w * 0.18, y + h * 0.48, w * 0.1, 0, 2 * M_PI);
    cairo_fill(cr);
}

void drawScene(cairo_t* cr, int width, int height, int phase) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, height);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.02, 0.04, 0.16);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.12, 0.18, 0.42);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    // stars, placed by a fixed little generator
    unsigned seed = 7;
    for (int i = 0; i < 40; ++i) {
        seed = seed * 1103515245u + 12345u;
        double sx = (seed >> 8) % unsigned(width);
        seed = seed * 1103515245u + 12345u;
        double sy = (seed >> 8) % unsigned(height / 2);
        cairo_set_source_rgba(cr, 1, 1, 0.9, 0.5 + (i % 3) * 0.2);
        cairo_arc(cr, sx, sy, 0.7 + (i % 2) * 0.4, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    // snowy hill
    cairo_move_to(cr, 0, height * 0.78);
    cairo_curve_to(cr, width * 0.3, height * 0.62, width * 0.7, height * 0.70, width, height * 0.74);
    cairo_line_to(cr, width, height);
    cairo_line_to(cr, 0, height);
    cairo_close_path(cr);
    cairo_pattern_t* snow = cairo_pattern_create_linear(0, height * 0.6, 0, height);
    cairo_pattern_add_color_stop_rgb(snow, 0, 0.93, 0.96, 1.0);
    cairo_pattern_add_color_stop_rgb(snow, 1, 0.62, 0.70, 0.86);
    cairo_set_source(cr, snow);
    cairo_fill(cr);
    cairo_pattern_destroy(snow);
    // the string of lights: a sagging wire with bulbs
    const int bulbs = 9;
    double top = height * 0.22;
    cairo_set_source_rgb(cr, 0.05, 0.22, 0.08);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 0, top);
    cairo_curve_to(cr, width * 0.33, top + 30, width * 0.66, top + 30, width, top);
    cairo_stroke(cr);
    for (int i = 0; i < bulbs; ++i) {
        double t = (i + 0.5) / bulbs;
        double x = t * width;
        double y = top + 4 * 30 * 0.75 * t * (1 - t);  // follows the wire's sag
        drawBulb(cr, x, y, 26, kBulbColours[i % 5], (i + phase) % 2 == 0);
    }
}

bool savePicture(const std::string& path, int width, int height, int phase) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    drawScene(cr, width, height, phase);
    cairo_surface_flush(surface);
    art::Argb p{width, height, cairo_image_surface_get_stride(surface), cairo_image_surface_get_data(surface)};
    bool ok = art::writeBmp24(path, p, 0);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return ok;
}

// A row of bulbs of every colour on black: the logo band under the picture.
bool saveLogo(const std::string& path) {
    const int width = 300, height = 40;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.10, 0.45, 0.18);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 10, 8);
    cairo_line_to(cr, width - 10, 8);
    cairo_stroke(cr);
    for (int i = 0; i < 14; ++i) drawBulb(cr, 20 + i * 20.0, 6, 24, kBulbColours[i % 5], true);
    cairo_surface_flush(surface);
    art::Argb p{width, height, cairo_image_surface_get_stride(surface), cairo_image_surface_get_data(surface)};
    bool ok = art::writeBmp24(path, p, 0);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return ok;
}

bool saveIcon(const std::string& path) {
    std::vector<cairo_surface_t*> surfaces;
    std::vector<art::Argb> images;
    for (int size : {16, 32}) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        drawBulb(cr, size / 2.0, 0.5, size * 0.95, kBulbColours[0], true);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        surfaces.push_back(surface);
        images.push_back({size, size, cairo_image_surface_get_stride(surface), cairo_image_surface_get_data(surface)});
    }
    bool ok = art::writeIcon(path, images);
    for (auto* s : surfaces) cairo_surface_destroy(s);
    return ok;
}

}  // namespace

namespace art {

bool writeAboutArt(const std::string& out) {
    return savePicture(out + "/About.bmp", 300, 140, 0) && savePicture(out + "/AboutFlash1.bmp", 300, 140, 0) &&
           savePicture(out + "/AboutFlash2.bmp", 300, 140, 1) && saveLogo(out + "/LOGO.bmp") &&
           saveIcon(out + "/lumarel.ico");
}

}  // namespace art
