#include "paint.h"

#include <algorithm>

namespace art {

Colour mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour shade(Colour c, double factor) {
    if (factor <= 1) return {c.r * factor, c.g * factor, c.b * factor};
    return mix(c, {1, 1, 1}, std::min(1.0, factor - 1));
}

Colour grey(Colour c, double amount) {
    double l = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
    return mix(c, {l, l, l}, amount);
}

void setColour(cairo_t* cr, Colour c, double alpha) {
    cairo_set_source_rgba(cr, std::clamp(c.r, 0.0, 1.0), std::clamp(c.g, 0.0, 1.0), std::clamp(c.b, 0.0, 1.0),
                          alpha);
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, std::max(rx, 0.01), std::max(ry, 0.01));
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void roundRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void heartPath(cairo_t* cr, double cx, double cy, double size) {
    double s = size / 2;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy + s * 0.95);
    cairo_curve_to(cr, cx - s * 0.35, cy + s * 0.55, cx - s * 1.0, cy + s * 0.15, cx - s * 0.98, cy - s * 0.35);
    cairo_curve_to(cr, cx - s * 0.95, cy - s * 0.85, cx - s * 0.25, cy - s * 0.95, cx, cy - s * 0.45);
    cairo_curve_to(cr, cx + s * 0.25, cy - s * 0.95, cx + s * 0.95, cy - s * 0.85, cx + s * 0.98, cy - s * 0.35);
    cairo_curve_to(cr, cx + s * 1.0, cy + s * 0.15, cx + s * 0.35, cy + s * 0.55, cx, cy + s * 0.95);
    cairo_close_path(cr);
}

void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        double a = turn - M_PI / 2 + i * M_PI / points, r = i % 2 ? inner : outer;
        if (i == 0) cairo_move_to(cr, cx + r * cos(a), cy + r * sin(a));
        else cairo_line_to(cr, cx + r * cos(a), cy + r * sin(a));
    }
    cairo_close_path(cr);
}

void eggPath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    // Narrower at the top: two half ellipses of different heights.
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - rx, cy + ry * 0.1);
    cairo_curve_to(cr, cx - rx, cy - ry * 0.6, cx - rx * 0.55, cy - ry, cx, cy - ry);
    cairo_curve_to(cr, cx + rx * 0.55, cy - ry, cx + rx, cy - ry * 0.6, cx + rx, cy + ry * 0.1);
    cairo_curve_to(cr, cx + rx, cy + ry * 0.65, cx + rx * 0.55, cy + ry, cx, cy + ry);
    cairo_curve_to(cr, cx - rx * 0.55, cy + ry, cx - rx, cy + ry * 0.65, cx - rx, cy + ry * 0.1);
    cairo_close_path(cr);
}

void fillShaded(cairo_t* cr, const Frame& f, Colour c, double cx, double cy, double radius, double line) {
    double hx = cx + f.lightX * radius * 0.45, hy = cy + f.lightY * radius * 0.45;
    cairo_pattern_t* p = cairo_pattern_create_radial(hx, hy, radius * 0.05, cx, cy, radius * 1.25);
    Colour light = shade(c, 1.35), dark = shade(c, 0.55);
    cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(p, 0.45, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    if (line > 0 && !f.small) {
        Colour edge = shade(c, 0.3);
        setColour(cr, edge, 0.85);
        cairo_set_line_width(cr, line);
        cairo_stroke_preserve(cr);
    }
}

void fillGlass(cairo_t* cr, const Frame& f, Colour c, bool lit, double cx, double cy, double radius) {
    double hx = cx + f.lightX * radius * 0.35, hy = cy + f.lightY * radius * 0.35;
    cairo_pattern_t* p = cairo_pattern_create_radial(hx, hy, 0, cx, cy, radius * 1.15);
    if (lit) {
        Colour core = shade(c, 1.75), rim = shade(c, 0.7);
        cairo_pattern_add_color_stop_rgb(p, 0, core.r, core.g, core.b);
        cairo_pattern_add_color_stop_rgb(p, 0.35, c.r, c.g, c.b);
        cairo_pattern_add_color_stop_rgb(p, 1, rim.r, rim.g, rim.b);
    } else {
        Colour body = shade(grey(c, 0.45), 0.42), rim = shade(body, 0.45);
        cairo_pattern_add_color_stop_rgb(p, 0, body.r * 1.3, body.g * 1.3, body.b * 1.3);
        cairo_pattern_add_color_stop_rgb(p, 1, rim.r, rim.g, rim.b);
    }
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    if (!f.small) {
        setColour(cr, shade(c, lit ? 0.35 : 0.18), 0.9);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    } else {
        cairo_new_path(cr);
    }
    // the reflection that keeps it reading as glass
    glint(cr, cx + f.lightX * radius * 0.45, cy + f.lightY * radius * 0.45, std::max(0.6, radius * 0.18),
          lit ? 0.9 : 0.45);
}

void glow(cairo_t* cr, Colour c, double cx, double cy, double radius, double strength) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, strength);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void glint(cairo_t* cr, double x, double y, double r, double alpha) {
    cairo_set_source_rgba(cr, 1, 1, 1, alpha);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
}

void outline(cairo_t* cr, double width, double alpha) {
    cairo_set_source_rgba(cr, 0.04, 0.04, 0.05, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void text(cairo_t* cr, const char* s, double cx, double cy, double size, Colour c, bool bold) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s, &e);
    cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
    setColour(cr, c);
    cairo_show_text(cr, s);
}

}  // namespace art
