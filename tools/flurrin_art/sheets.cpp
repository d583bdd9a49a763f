#include "sheets.h"

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include <cairo.h>

#include "image_files.h"
#include "scene/picture_table.h"

namespace flurrin_art {

namespace {

using flurrin::kPictureTable;
using flurrin::PictureRect;

void draw_circle(cairo_t* cr, const PictureRect& r) {
    double cx = r.x + r.width / 2.0, cy = r.y + r.height / 2.0, radius = r.width / 2.0;
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - radius * 0.2, cy - radius * 0.2, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(g, 0.35, 0.92, 0.96, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(g, 0.7, 0.55, 0.7, 0.95, 0.45);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.3, 0.45, 0.8, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// A six-armed crystal; larger ones get side branches and a bright centre.
void draw_crystal(cairo_t* cr, const PictureRect& r, int variant) {
    double cx = r.x + r.width / 2.0, cy = r.y + r.height / 2.0, arm = std::min(r.width, r.height) / 2.0 - 0.3;
    if (r.width <= 1) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_rectangle(cr, r.x, r.y, 1, 1);
        cairo_fill(cr);
        return;
    }
    cairo_save(cr);
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    cairo_clip(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    double turn = (variant % 2) * M_PI / 6;
    cairo_set_line_width(cr, arm > 5 ? 1.1 : 0.9);
    for (int k = 0; k < 6; ++k) {
        double a = turn + k * M_PI / 3, dx = std::cos(a), dy = std::sin(a);
        cairo_set_source_rgba(cr, 0.85, 0.93, 1, 1);
        cairo_move_to(cr, cx, cy), cairo_line_to(cr, cx + dx * arm, cy + dy * arm);
        cairo_stroke(cr);
        if (arm >= 4) {
            double at = arm * (variant % 3 == 0 ? 0.55 : 0.65), len = arm * 0.35;
            for (int side : {-1, 1}) {
                double b = a + side * M_PI / 4;
                cairo_move_to(cr, cx + dx * at, cy + dy * at);
                cairo_line_to(cr, cx + dx * at + std::cos(b) * len, cy + dy * at + std::sin(b) * len);
                cairo_stroke(cr);
            }
        }
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_arc(cr, cx, cy, std::max(0.6, arm * 0.18), 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
}

struct Glass {
    double r, g, b;
};
const Glass kOrnamentColours[8] = {{0.82, 0.08, 0.1}, {0.1, 0.55, 0.2},  {0.12, 0.3, 0.85}, {0.9, 0.7, 0.12},
                                   {0.55, 0.15, 0.7}, {0.85, 0.85, 0.9}, {0.95, 0.45, 0.1}, {0.85, 0.3, 0.55}};

// A glass ball with a gold cap and hanging loop; variant picks colour and band.
void draw_ornament(cairo_t* cr, const PictureRect& r, int variant) {
    const Glass& c = kOrnamentColours[variant % 8];
    double cx = r.x + r.width / 2.0, radius = r.width / 2.0 - 1.5, cy = r.y + r.height - radius - 1.5;
    // Loop and cap.
    cairo_set_line_width(cr, 1.4);
    cairo_set_source_rgb(cr, 0.75, 0.62, 0.3);
    cairo_arc(cr, cx, r.y + 4, 2.6, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_pattern_t* cap = cairo_pattern_create_linear(cx - 5, 0, cx + 5, 0);
    cairo_pattern_add_color_stop_rgb(cap, 0, 0.95, 0.85, 0.45);
    cairo_pattern_add_color_stop_rgb(cap, 1, 0.55, 0.42, 0.15);
    cairo_set_source(cr, cap);
    cairo_rectangle(cr, cx - 5, r.y + 7, 10, 6);
    cairo_fill(cr);
    cairo_pattern_destroy(cap);
    // The ball, lit from the top left with a darker rim at the bottom right.
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - radius * 0.35, cy - radius * 0.4, radius * 0.1, cx, cy, radius);
    cairo_pattern_add_color_stop_rgb(g, 0, std::min(1.0, c.r + 0.45), std::min(1.0, c.g + 0.45), std::min(1.0, c.b + 0.45));
    cairo_pattern_add_color_stop_rgb(g, 0.5, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(g, 1, c.r * 0.35, c.g * 0.35, c.b * 0.35);
    cairo_set_source(cr, g);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    if (variant % 2 == 0) {
        cairo_save(cr);
        cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
        cairo_clip(cr);
        cairo_set_source_rgba(cr, 1, 0.92, 0.6, 0.85);
        cairo_rectangle(cr, r.x, cy - 2.5, r.width, 5);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_save(cr);
    cairo_translate(cr, cx - radius * 0.42, cy - radius * 0.45);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, radius * 0.22, radius * 0.12);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_fill(cr);
}

// Every object picture at its place in the sheet, on transparent black.
cairo_surface_t* draw_sheet() {
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, flurrin::kSheetWidth, flurrin::kSheetHeight);
    cairo_t* cr = cairo_create(sheet);
    for (int n = flurrin::kFirstCircle; n <= flurrin::kLastCircle; ++n) draw_circle(cr, kPictureTable[n - 1]);
    for (int n = flurrin::kFirstCrystal; n <= flurrin::kLastCrystal; ++n) draw_crystal(cr, kPictureTable[n - 1], n);
    for (int n = flurrin::kFirstOrnament; n <= flurrin::kLastOrnament; ++n)
        draw_ornament(cr, kPictureTable[n - 1], n - flurrin::kFirstOrnament);
    cairo_destroy(cr);
    cairo_surface_flush(sheet);
    return sheet;
}

// Copies object picture n of the sheet to (x, y), scaled by zoom.
void place(cairo_t* cr, cairo_surface_t* sheet, int n, double x, double y, double zoom) {
    const PictureRect& r = kPictureTable[n - 1];
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, zoom, zoom);
    cairo_rectangle(cr, 0, 0, r.width, r.height);
    cairo_clip(cr);
    cairo_set_source_surface(cr, sheet, -r.x, -r.y);
    cairo_paint(cr);
    cairo_restore(cr);
}

struct Placed {
    int picture;
    double x, y, zoom;
};

}  // namespace

bool write_style_pictures(const std::string& folder) {
    constexpr int kSize = 64;
    // Each style a few of its own objects over a night sky; the last all three.
    const std::vector<Placed> crystals = {{32, 6, 8, 1.6}, {27, 36, 4, 1.4}, {37, 30, 34, 1.8}, {25, 8, 40, 1.3}};
    const std::vector<Placed> circles = {{1, 8, 6, 1.2}, {3, 36, 12, 1.1}, {5, 14, 38, 1.3}, {9, 42, 42, 1.2}};
    const std::vector<Placed> ornaments = {{39, 4, 4, 0.62}, {42, 30, 24, 0.62}};
    const std::vector<Placed> all = {{32, 4, 6, 1.2}, {1, 40, 6, 0.9}, {41, 22, 26, 0.6}, {3, 4, 44, 0.9},
                                     {27, 46, 44, 1.0}};
    const std::pair<const char*, const std::vector<Placed>*> styles[] = {
        {"style_crystals.bmp", &crystals}, {"style_circles.bmp", &circles},
        {"style_ornaments.bmp", &ornaments}, {"style_all.bmp", &all}};
    cairo_surface_t* sheet = draw_sheet();
    bool ok = true;
    for (const auto& [name, objects] : styles) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSize, kSize);
        cairo_t* cr = cairo_create(s);
        cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, kSize);
        cairo_pattern_add_color_stop_rgb(sky, 0, 0.04, 0.07, 0.2);
        cairo_pattern_add_color_stop_rgb(sky, 1, 0.16, 0.24, 0.42);
        cairo_set_source(cr, sky);
        cairo_paint(cr);
        cairo_pattern_destroy(sky);
        for (const Placed& p : *objects) place(cr, sheet, p.picture, p.x, p.y, p.zoom);
        cairo_destroy(cr);
        ok = write_bmp(folder + "/" + name, s) && ok;
        cairo_surface_destroy(s);
    }
    cairo_surface_destroy(sheet);
    return ok;
}

bool write_object_sheets(const std::string& sprite_path, const std::string& mask_path) {
    cairo_surface_t* sheet = draw_sheet();

    // The mask is cut from the drawn shapes: a pixel belongs to a shape when it
    // is more than a quarter covered; the sheet keeps only those pixels, so the
    // masked copy never shows a fringe of the sheet's black.
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_RGB24, flurrin::kSheetWidth, flurrin::kSheetHeight);
    uint8_t* sp = cairo_image_surface_get_data(sheet);
    uint8_t* mp = cairo_image_surface_get_data(mask);
    int sstride = cairo_image_surface_get_stride(sheet), mstride = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < flurrin::kSheetHeight; ++y) {
        auto* srow = reinterpret_cast<uint32_t*>(sp + size_t(y) * size_t(sstride));
        auto* mrow = reinterpret_cast<uint32_t*>(mp + size_t(y) * size_t(mstride));
        for (int x = 0; x < flurrin::kSheetWidth; ++x) {
            bool inside = (srow[x] >> 24) > 64;
            if (!inside) srow[x] = 0;
            mrow[x] = inside ? 0x000000 : 0xFFFFFF;
        }
    }
    cairo_surface_mark_dirty(sheet);
    cairo_surface_mark_dirty(mask);
    bool ok = write_bmp(sprite_path, sheet) && write_bmp(mask_path, mask);
    cairo_surface_destroy(sheet);
    cairo_surface_destroy(mask);
    return ok;
}

bool write_border_tiles(const std::string& path) {
    // An 80 x 80 frame of frosted silver; the saver cuts 8 x 8 tiles from its
    // edges and corners.
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 80, 80);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0.05, 0.07, 0.12);
    cairo_paint(cr);
    const double shades[8] = {0.35, 0.62, 0.85, 0.95, 0.8, 0.6, 0.42, 0.22};
    for (int i = 0; i < 8; ++i) {
        double v = shades[i];
        cairo_set_source_rgb(cr, v * 0.9, v * 0.94, v);
        cairo_rectangle(cr, i + 0.5, i + 0.5, 79 - 2 * i, 79 - 2 * i);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    bool ok = write_bmp(path, s);
    cairo_surface_destroy(s);
    return ok;
}

}  // namespace flurrin_art
