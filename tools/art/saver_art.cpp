#include "saver_art.h"

#include <cairo.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gif_writer.h"
#include "image_io.h"
#include "paint.h"

namespace art {
namespace {

// --- drawing helpers ------------------------------------------------------

// A lit ball: bright towards the top left, darker at the bottom right.
void litEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, Colour c) {
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - rx * 0.4, cy - ry * 0.4, 0, cx, cy, std::max(rx, ry) * 1.1);
    Colour hi = shade(c, 1.5), lo = shade(c, 0.55);
    cairo_pattern_add_color_stop_rgb(g, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(g, 0.55, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(g, 1, lo.r, lo.g, lo.b);
    ellipsePath(cr, cx, cy, rx, ry);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    setColour(cr, shade(c, 0.3), 0.8);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

void line(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Colour c) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

// A limb from (x, y) at `angle` (radians from straight down), with an outline.
void limb(cairo_t* cr, double x, double y, double length, double angle, double width, Colour c) {
    const double ex = x + std::sin(angle) * length, ey = y + std::cos(angle) * length;
    line(cr, x, y, ex, ey, width + 1.2, shade(c, 0.3));
    line(cr, x, y, ex, ey, width, c);
}

void dot(cairo_t* cr, double x, double y, double r, Colour c) {
    ellipsePath(cr, x, y, r, r);
    setColour(cr, c);
    cairo_fill(cr);
}

// --- the six floaters -----------------------------------------------------

using FloaterPainter = void (*)(cairo_t*, double w, double h, int frame, int frames);

void paintSingingTree(cairo_t* cr, double w, double h, int frame, int frames) {
    const double t = 2 * M_PI * frame / frames, sway = std::sin(t) * 1.5;
    cairo_rectangle(cr, w / 2 - 4, h - 10, 8, 8);
    setColour(cr, col::brown);
    cairo_fill(cr);
    for (int tier = 0; tier < 3; ++tier) {
        const double top = 6 + tier * 11, bottom = top + 18, half = 9 + tier * 5;
        cairo_move_to(cr, w / 2 + sway * (3 - tier) / 3, top);
        cairo_line_to(cr, w / 2 + half, bottom);
        cairo_line_to(cr, w / 2 - half, bottom);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(w / 2 - half, top, w / 2 + half, bottom);
        cairo_pattern_add_color_stop_rgb(g, 0, 0.25, 0.78, 0.32);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.03, 0.34, 0.10);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        outline(cr, 0.9, 0.8);
    }
    starPath(cr, w / 2 + sway, 6, 5, 2.2, 5, -M_PI / 2);
    setColour(cr, col::gold);
    cairo_fill(cr);
    // Eyes and a singing mouth that opens and closes.
    dot(cr, w / 2 - 5, 24, 2.2, col::white);
    dot(cr, w / 2 + 5, 24, 2.2, col::white);
    dot(cr, w / 2 - 5 + sway * 0.3, 24.5, 1.1, col::coal);
    dot(cr, w / 2 + 5 + sway * 0.3, 24.5, 1.1, col::coal);
    const double open = 1 + 3.5 * (0.5 + 0.5 * std::sin(t * 2));
    ellipsePath(cr, w / 2, 32, 4, open);
    setColour(cr, {0.35, 0.02, 0.05});
    cairo_fill(cr);
    const Colour baubles[4] = {col::red, col::blue, col::yellow, col::pink};
    for (int i = 0; i < 4; ++i) {
        const bool lit = (frame + i) % 2 == 0;
        dot(cr, w / 2 + (i % 2 ? 8 : -9) + i, 19 + i * 7, 1.8, lit ? baubles[i] : shade(baubles[i], 0.5));
    }
}

void paintDancingDemon(cairo_t* cr, double w, double, int frame, int frames) {
    const double t = 2 * M_PI * frame / frames, hop = std::fabs(std::sin(t)) * 4;
    const Colour red{0.85, 0.12, 0.08};
    const double cx = w / 2, body = 28 - hop;
    // Tail swishing.
    cairo_move_to(cr, cx + 5, body + 8);
    cairo_curve_to(cr, cx + 16, body + 10, cx + 14 + std::sin(t) * 4, body - 4, cx + 19, body - 6);
    setColour(cr, shade(red, 0.6));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    limb(cr, cx - 4, body + 9, 11, 0.35 * std::sin(t), 3, red);
    limb(cr, cx + 4, body + 9, 11, -0.35 * std::sin(t), 3, red);
    litEllipse(cr, cx, body + 2, 8, 10, red);
    limb(cr, cx - 6, body - 3, 10, 2.3 + 0.8 * std::sin(t), 2.6, red);
    limb(cr, cx + 6, body - 3, 10, -2.3 - 0.8 * std::sin(t + M_PI), 2.6, red);
    litEllipse(cr, cx, body - 13, 7.5, 7, red);
    for (int s : {-1, 1}) {
        cairo_move_to(cr, cx + s * 4, body - 18);
        cairo_line_to(cr, cx + s * 8, body - 26);
        cairo_line_to(cr, cx + s * 7, body - 17);
        cairo_close_path(cr);
        setColour(cr, {0.95, 0.88, 0.6});
        cairo_fill(cr);
    }
    dot(cr, cx - 3, body - 14, 1.5, col::yellow);
    dot(cr, cx + 3, body - 14, 1.5, col::yellow);
    cairo_arc(cr, cx, body - 11, 3.2, 0.2, M_PI - 0.2);
    setColour(cr, col::coal);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void paintSkeleton(cairo_t* cr, double w, double, int frame, int frames) {
    const double t = 2 * M_PI * frame / frames, swing = std::sin(t);
    const Colour bone{0.94, 0.92, 0.84};
    const double cx = w / 2 + swing * 1.5;
    limb(cr, cx - 3, 30, 15, 0.4 * swing, 2, bone);
    limb(cr, cx + 3, 30, 15, -0.4 * swing, 2, bone);
    line(cr, cx, 14, cx, 30, 2, bone);
    for (int r = 0; r < 4; ++r) {
        cairo_arc(cr, cx, 17 + r * 3, 5 - r * 0.6, M_PI * 0.15, M_PI * 0.85);
        setColour(cr, bone);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
    limb(cr, cx - 5, 16, 12, 2.0 + 0.9 * swing, 1.8, bone);
    limb(cr, cx + 5, 16, 12, -2.0 + 0.9 * swing, 1.8, bone);
    litEllipse(cr, cx, 8, 6.5, 6.5, bone);
    dot(cr, cx - 2.5, 8, 1.8, col::coal);
    dot(cr, cx + 2.5, 8, 1.8, col::coal);
    line(cr, cx - 2, 12.5, cx + 2, 12.5, 0.8, col::coal);
}

void paintGingerbreadMan(cairo_t* cr, double w, double, int frame, int frames) {
    const double t = 2 * M_PI * frame / frames, wave = std::sin(t);
    const Colour dough{0.72, 0.42, 0.18};
    const double cx = w / 2;
    limb(cr, cx - 4, 30, 13, 0.3, 5, dough);
    limb(cr, cx + 4, 30, 13, -0.3, 5, dough);
    limb(cr, cx - 6, 20, 11, 1.9, 5, dough);
    limb(cr, cx + 6, 20, 12, -2.2 - 0.6 * wave, 5, dough);  // the waving arm
    litEllipse(cr, cx, 25, 8, 10, dough);
    litEllipse(cr, cx, 10, 7.5, 7.5, dough);
    for (int b = 0; b < 3; ++b) dot(cr, cx, 21 + b * 4, 1.3, b == 1 ? col::green : col::red);
    dot(cr, cx - 2.5, 9, 1.2, col::white);
    dot(cr, cx + 2.5, 9, 1.2, col::white);
    cairo_arc(cr, cx, 11, 3, 0.3, M_PI - 0.3);
    setColour(cr, col::white);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Icing zigzags on the wrists and ankles.
    line(cr, cx - 15, 14, cx - 12, 16, 1, col::white);
    line(cr, cx - 8, 41, cx - 4, 41, 1, col::white);
    line(cr, cx + 4, 41, cx + 8, 41, 1, col::white);
}

void paintAngel(cairo_t* cr, double w, double, int frame, int frames) {
    const double t = 2 * M_PI * frame / frames, flap = std::sin(t);
    const double cx = w / 2, float_ = std::sin(t) * 1.5;
    for (int s : {-1, 1}) {
        cairo_save(cr);
        cairo_translate(cr, cx + s * 3, 18 + float_);
        cairo_rotate(cr, s * (0.5 + 0.35 * flap));
        ellipsePath(cr, s * 9, -2, 10, 5);
        cairo_restore(cr);
        setColour(cr, {0.86, 0.9, 1.0});
        cairo_fill_preserve(cr);
        outline(cr, 0.8, 0.6);
    }
    cairo_move_to(cr, cx, 14 + float_);
    cairo_line_to(cr, cx + 11, 42 + float_);
    cairo_line_to(cr, cx - 11, 42 + float_);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(cx - 11, 14, cx + 11, 42);
    cairo_pattern_add_color_stop_rgb(g, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.62, 0.7, 0.85);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    outline(cr, 0.8, 0.6);
    litEllipse(cr, cx, 10 + float_, 5.5, 5.5, col::skin);
    ellipsePath(cr, cx, 3 + float_, 6, 1.8);
    setColour(cr, col::gold);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    setColour(cr, {0.95, 0.8, 0.3});
    cairo_arc(cr, cx, 9 + float_, 6, M_PI * 1.05, M_PI * 1.95);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    dot(cr, cx - 2, 10 + float_, 0.8, col::coal);
    dot(cr, cx + 2, 10 + float_, 0.8, col::coal);
}

void paintSanta(cairo_t* cr, double w, double, int frame, int frames) {
    const double t = 2 * M_PI * frame / frames, wave = std::sin(t);
    const double cx = w / 2;
    const Colour suit{0.85, 0.08, 0.08};
    limb(cr, cx - 5, 36, 10, 0.1, 5, col::coal);
    limb(cr, cx + 5, 36, 10, -0.1, 5, col::coal);
    litEllipse(cr, cx, 30, 12, 11, suit);
    cairo_rectangle(cr, cx - 12, 30, 24, 3);
    setColour(cr, col::coal);
    cairo_fill(cr);
    cairo_rectangle(cr, cx - 2.5, 29.5, 5, 4);
    setColour(cr, col::gold);
    cairo_fill(cr);
    limb(cr, cx - 10, 24, 10, 0.9, 4, suit);
    limb(cr, cx + 10, 24, 11, -2.3 - 0.7 * wave, 4, suit);  // waving
    const double hx = cx + 10 + std::sin(-2.3 - 0.7 * wave) * 11, hy = 24 + std::cos(-2.3 - 0.7 * wave) * 11;
    dot(cr, hx, hy, 2.5, col::white);
    litEllipse(cr, cx, 13, 7, 7, col::skin);
    // Beard, hat and bobble.
    cairo_move_to(cr, cx - 7, 13);
    cairo_curve_to(cr, cx - 7, 25, cx + 7, 25, cx + 7, 13);
    cairo_curve_to(cr, cx + 3, 17, cx - 3, 17, cx - 7, 13);
    setColour(cr, col::snow);
    cairo_fill(cr);
    cairo_move_to(cr, cx - 8, 8);
    cairo_line_to(cr, cx + 2, -0.5);
    cairo_line_to(cr, cx + 8, 8);
    cairo_close_path(cr);
    setColour(cr, suit);
    cairo_fill(cr);
    roundRectPath(cr, cx - 8.5, 6.5, 17, 3.5, 1.5);
    setColour(cr, col::snow);
    cairo_fill(cr);
    dot(cr, cx + 2, 1, 2, col::snow);
    const bool blink = frame % 8 == 5;
    if (blink) {
        line(cr, cx - 4, 12, cx - 1.5, 12, 0.8, col::coal);
        line(cr, cx + 1.5, 12, cx + 4, 12, 0.8, col::coal);
    } else {
        dot(cr, cx - 2.7, 12, 1, col::coal);
        dot(cr, cx + 2.7, 12, 1, col::coal);
    }
    dot(cr, cx, 14, 1.3, {0.95, 0.5, 0.45});
}

struct FloaterArt {
    FloaterPainter paint;
    int frames, width, height;
};

const FloaterArt kFloaters[kFloaterGifs] = {
    {paintSingingTree, 8, 48, 48},  {paintDancingDemon, 12, 48, 48}, {paintSkeleton, 8, 40, 48},
    {paintGingerbreadMan, 10, 40, 48}, {paintAngel, 12, 48, 48},    {paintSanta, 16, 48, 48},
};

// Renders with cairo and quantises: pixels under half cover are left out.
void quantise(cairo_surface_t* s, const ProgramPalette& palette, std::vector<uint8_t>& index,
              std::vector<uint8_t>& opaque, int threshold = 110) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const uint8_t* d = cairo_image_surface_get_data(s);
    index.assign(size_t(w * h), 0);
    opaque.assign(size_t(w * h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = d + y * stride + x * 4;
            if (p[3] < threshold) continue;
            opaque[size_t(y * w + x)] = 1;
            // Premultiplied: the colour over black, so edges fade dark.
            index[size_t(y * w + x)] = palette.nearest(p[2], p[1], p[0]);
        }
}

template <typename Paint>
void drawInto(int w, int h, const ProgramPalette& palette, std::vector<uint8_t>& index,
              std::vector<uint8_t>& opaque, Paint paint, int threshold = 110) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    paint(cr);
    cairo_destroy(cr);
    quantise(s, palette, index, opaque, threshold);
    cairo_surface_destroy(s);
}

// --- flakes and balloons --------------------------------------------------

void crystal(cairo_t* cr, double cx, double cy, double r) {
    setColour(cr, col::white);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, r < 2.5 ? 0.9 : 1.1);
    for (int arm = 0; arm < 6; ++arm) {
        const double a = arm * M_PI / 3 + M_PI / 2;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
        if (r >= 3.5) {  // the larger crystals have side branches
            const double bx = cx + std::cos(a) * r * 0.6, by = cy + std::sin(a) * r * 0.6;
            for (int s : {-1, 1}) {
                cairo_move_to(cr, bx, by);
                cairo_line_to(cr, bx + std::cos(a + s * 0.9) * r * 0.35, by + std::sin(a + s * 0.9) * r * 0.35);
            }
        }
    }
    cairo_stroke(cr);
    dot(cr, cx, cy, 0.8, col::white);
}

const Colour kBalloonColours[6] = {col::red, col::blue, col::yellow, col::green, col::purple, col::orange};

void bigBalloon(cairo_t* cr, double x0, Colour c) {
    const double cx = x0 + 10.5;
    cairo_move_to(cr, cx, 27);
    cairo_curve_to(cr, cx - 3, 33, cx + 3, 39, cx - 1, 49);
    setColour(cr, {0.82, 0.82, 0.84});
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - 2, 28);
    cairo_line_to(cr, cx + 2, 28);
    cairo_line_to(cr, cx, 25);
    cairo_close_path(cr);
    setColour(cr, shade(c, 0.7));
    cairo_fill(cr);
    eggPath(cr, cx, 13.5, 9.5, 12.5);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - 3.5, 8, 0.5, cx, 13.5, 13);
    Colour hi = shade(c, 1.7), lo = shade(c, 0.5);
    cairo_pattern_add_color_stop_rgb(g, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(g, 0.5, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(g, 1, lo.r, lo.g, lo.b);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    outline(cr, 0.8, 0.7);
    glint(cr, cx - 4, 7, 1.6);
}

// The 5 × 7 preview balloons, set pixel by pixel: a round body with a
// highlight, a darker rim and a one-pixel string.
void smallBalloons(std::vector<uint8_t>& index, std::vector<uint8_t>& opaque, const ProgramPalette& palette) {
    static const char* shape[7] = {".###.", "#o###", "#####", "#####", ".###.", "..#..", "..|.."};
    index.assign(30 * 7, 0);
    opaque.assign(30 * 7, 0);
    for (int c = 0; c < 6; ++c) {
        const Colour base = kBalloonColours[c];
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x) {
                const char k = shape[y][x];
                if (k == '.') continue;
                Colour pixel = k == 'o' ? shade(base, 1.8) : k == '|' ? Colour{0.75, 0.75, 0.78}
                               : (y >= 3 || x == 4) ? shade(base, 0.7) : base;
                const size_t i = size_t(y * 30 + c * 5 + x);
                opaque[i] = 1;
                index[i] = palette.nearest(uint8_t(pixel.r * 255), uint8_t(pixel.g * 255), uint8_t(pixel.b * 255));
            }
    }
}

// --- background pictures --------------------------------------------------

// A lit candle with holly at its foot, glowing on a dark ground.
void paintSantaCandle(cairo_t* cr, double w, double h) {
    cairo_pattern_t* bg = cairo_pattern_create_radial(w / 2, h * 0.35, 10, w / 2, h / 2, w * 0.7);
    cairo_pattern_add_color_stop_rgb(bg, 0, 0.35, 0.18, 0.06);
    cairo_pattern_add_color_stop_rgb(bg, 0.5, 0.12, 0.05, 0.04);
    cairo_pattern_add_color_stop_rgb(bg, 1, 0.02, 0.02, 0.05);
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);
    const double cx = w / 2, top = h * 0.38, bottom = h * 0.86, half = w * 0.09;
    cairo_pattern_t* wax = cairo_pattern_create_linear(cx - half, 0, cx + half, 0);
    cairo_pattern_add_color_stop_rgb(wax, 0, 0.95, 0.9, 0.8);
    cairo_pattern_add_color_stop_rgb(wax, 0.4, 1, 0.98, 0.92);
    cairo_pattern_add_color_stop_rgb(wax, 1, 0.62, 0.55, 0.46);
    roundRectPath(cr, cx - half, top, 2 * half, bottom - top, 6);
    cairo_set_source(cr, wax);
    cairo_fill(cr);
    cairo_pattern_destroy(wax);
    // The glow and the flame.
    glow(cr, {1, 0.75, 0.3}, cx, top - h * 0.08, w * 0.22, 0.6);
    cairo_move_to(cr, cx, top - h * 0.16);
    cairo_curve_to(cr, cx + w * 0.04, top - h * 0.08, cx + w * 0.03, top - h * 0.01, cx, top - h * 0.01);
    cairo_curve_to(cr, cx - w * 0.03, top - h * 0.01, cx - w * 0.04, top - h * 0.08, cx, top - h * 0.16);
    cairo_pattern_t* flame = cairo_pattern_create_linear(0, top - h * 0.16, 0, top);
    cairo_pattern_add_color_stop_rgb(flame, 0, 1, 0.95, 0.6);
    cairo_pattern_add_color_stop_rgb(flame, 0.6, 1, 0.65, 0.1);
    cairo_pattern_add_color_stop_rgb(flame, 1, 0.9, 0.3, 0.05);
    cairo_set_source(cr, flame);
    cairo_fill(cr);
    cairo_pattern_destroy(flame);
    line(cr, cx, top - h * 0.012, cx, top + 2, 2, col::coal);
    // Holly at the foot, a berry cluster each side.
    for (int s : {-1, 1}) {
        for (int leaf = 0; leaf < 3; ++leaf) {
            cairo_save(cr);
            cairo_translate(cr, cx + s * (half + w * 0.05 + leaf * w * 0.045), bottom - h * 0.02 - leaf * 3);
            cairo_rotate(cr, s * (0.3 + leaf * 0.35));
            ellipsePath(cr, 0, 0, w * 0.06, h * 0.03);
            cairo_restore(cr);
            cairo_pattern_t* g = cairo_pattern_create_linear(cx - w * 0.2, bottom - 20, cx + w * 0.2, bottom + 10);
            cairo_pattern_add_color_stop_rgb(g, 0, 0.2, 0.65, 0.25);
            cairo_pattern_add_color_stop_rgb(g, 1, 0.03, 0.3, 0.1);
            cairo_set_source(cr, g);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(g);
            outline(cr, 1, 0.6);
        }
        for (int b = 0; b < 3; ++b)
            litEllipse(cr, cx + s * (half + 4 + b * 5), bottom - 6 - (b % 2) * 5, 4, 4, col::red);
    }
    cairo_rectangle(cr, 0, bottom + 2, w, h - bottom - 2);
    setColour(cr, {0.1, 0.05, 0.03});
    cairo_fill(cr);
}

// A winter night over snowy hills, for the JPEG beside the default picture.
void paintWinterNight(cairo_t* cr, double w, double h) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.02, 0.04, 0.16);
    cairo_pattern_add_color_stop_rgb(sky, 0.7, 0.14, 0.2, 0.42);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    glow(cr, {0.95, 0.95, 0.8}, w * 0.78, h * 0.2, w * 0.1, 0.5);
    dot(cr, w * 0.78, h * 0.2, w * 0.035, {0.98, 0.97, 0.88});
    for (int i = 0; i < 40; ++i) dot(cr, std::fmod(i * 97.3, w), std::fmod(i * 53.9, h * 0.5), 0.8, col::white);
    for (int layer = 0; layer < 2; ++layer) {
        const double base = h * (0.62 + layer * 0.14);
        cairo_move_to(cr, 0, h);
        for (int x = 0; x <= 40; ++x)
            cairo_line_to(cr, w * x / 40, base - std::sin(x * 0.35 + layer * 2) * h * 0.05);
        cairo_line_to(cr, w, h);
        cairo_close_path(cr);
        const double v = layer ? 0.95 : 0.72;
        cairo_set_source_rgb(cr, v * 0.9, v * 0.93, v);
        cairo_fill(cr);
    }
    for (int t = 0; t < 5; ++t) {
        const double x = w * (0.1 + t * 0.09), y = h * 0.8 - t % 2 * 6;
        cairo_move_to(cr, x, y - 40);
        cairo_line_to(cr, x + 13, y);
        cairo_line_to(cr, x - 13, y);
        cairo_close_path(cr);
        setColour(cr, {0.05, 0.25, 0.15});
        cairo_fill(cr);
    }
}

cairo_surface_t* paintPicture(int w, int h, void (*paint)(cairo_t*, double, double)) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    paint(cr, w, h);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

Argb argbOf(cairo_surface_t* s) {
    return {cairo_image_surface_get_width(s), cairo_image_surface_get_height(s), cairo_image_surface_get_stride(s),
            cairo_image_surface_get_data(s)};
}

bool writeJpeg(const std::string& path, cairo_surface_t* s) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, file);
    const Argb p = argbOf(s);
    c.image_width = JDIMENSION(p.width);
    c.image_height = JDIMENSION(p.height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 88, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(size_t(p.width) * 3);
    while (c.next_scanline < c.image_height) {
        const uint8_t* src = p.data + size_t(c.next_scanline) * size_t(p.stride);
        for (int x = 0; x < p.width; ++x) {
            row[size_t(x * 3)] = src[x * 4 + 2];
            row[size_t(x * 3 + 1)] = src[x * 4 + 1];
            row[size_t(x * 3 + 2)] = src[x * 4];
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return fclose(file) == 0;
}

// --- contact sheet --------------------------------------------------------

void blitIndexed(cairo_t* cr, const ProgramPalette& palette, const std::vector<uint8_t>& index,
                 const std::vector<uint8_t>& opaque, int w, int h, double x0, double y0, double scale) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y * w + x);
            if (!opaque[i]) continue;
            const Rgb8 c = palette.colour(index[i]);
            cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
            cairo_rectangle(cr, x0 + x * scale, y0 + y * scale, scale, scale);
            cairo_fill(cr);
        }
}

}  // namespace

FloaterFrames floaterFrames(int resource, const ProgramPalette& palette) {
    FloaterFrames result;
    const int n = resource - kFirstFloaterGif;
    if (n < 0 || n >= kFloaterGifs) return result;
    const FloaterArt& art = kFloaters[n];
    result.width = art.width;
    result.height = art.height;
    for (int f = 0; f < art.frames; ++f) {
        std::vector<uint8_t> index, opaque;
        drawInto(art.width, art.height, palette, index, opaque,
                 [&](cairo_t* cr) { art.paint(cr, art.width, art.height, f, art.frames); });
        result.index.push_back(std::move(index));
        result.opaque.push_back(std::move(opaque));
    }
    return result;
}

std::vector<uint8_t> encodeFloaterGif(const FloaterFrames& frames, const ProgramPalette& palette) {
    bool used[256] = {};
    for (size_t f = 0; f < frames.index.size(); ++f)
        for (size_t i = 0; i < frames.index[f].size(); ++i)
            if (frames.opaque[f][i]) used[frames.index[f][i]] = true;
    int transparent = 255;
    while (transparent > 0 && used[transparent]) --transparent;
    gifcorpus::Gif gif;
    gif.width = frames.width;
    gif.height = frames.height;
    for (int i = 0; i < 256; ++i) {
        const Rgb8 c = palette.colour(uint8_t(i));
        gif.globalPalette.push_back({c.r, c.g, c.b});
    }
    gif.application = false;
    for (size_t f = 0; f < frames.index.size(); ++f) {
        gifcorpus::Frame frame;
        frame.width = frames.width;
        frame.height = frames.height;
        frame.control = true;
        frame.disposal = 2;  // each frame replaces the last
        frame.transparent = true;
        frame.transparentIndex = uint8_t(transparent);
        frame.delay = 10;
        frame.pixels = frames.index[f];
        for (size_t i = 0; i < frame.pixels.size(); ++i)
            if (!frames.opaque[f][i]) frame.pixels[i] = uint8_t(transparent);
        gif.frames.push_back(std::move(frame));
    }
    return gifcorpus::encodeGif(gif);
}

bool writeSaverArt(const std::string& out, const ProgramPalette& palette) {
    bool ok = true;
    std::string rc = "// Made by tools/art: the screen saver's strips and floaters.\n";

    std::vector<uint8_t> flakeIndex, flakeOpaque;
    drawInto(45, 9, palette, flakeIndex, flakeOpaque, [](cairo_t* cr) {
        const double radii[3] = {2.2, 3.4, 4.4};
        for (int cell = 0; cell < 3; ++cell) crystal(cr, cell * 9 + 4.5, 4.5, radii[cell]);
    }, 70);
    std::vector<uint8_t> balloonIndex, balloonOpaque;
    drawInto(126, 50, palette, balloonIndex, balloonOpaque, [](cairo_t* cr) {
        for (int c = 0; c < 6; ++c) bigBalloon(cr, c * 21, kBalloonColours[c]);
    });
    std::vector<uint8_t> smallIndex, smallOpaque;
    smallBalloons(smallIndex, smallOpaque, palette);

    const struct {
        const char* name;
        int w, h;
        const std::vector<uint8_t>& index;
        const std::vector<uint8_t>& opaque;
        const char* mask;
    } strips[] = {{"flake", 45, 9, flakeIndex, flakeOpaque, "flakemask"},
                  {"balloon", 126, 50, balloonIndex, balloonOpaque, "balloonmask"},
                  {"balloonsmall", 30, 7, smallIndex, smallOpaque, "balloonmasksmall"}};
    for (const auto& s : strips) {
        std::vector<uint8_t> mask(s.opaque.size());
        for (size_t i = 0; i < mask.size(); ++i) mask[i] = s.opaque[i] ? 0 : 1;  // black = opaque
        ok = ok && palette.writeIndexed(out + "/" + s.name + ".bmp", s.w, s.h, s.index) &&
             writeMask(out + "/" + s.mask + ".bmp", s.w, s.h, mask);
        rc += std::string(s.name) + " BITMAP \"" + s.name + ".bmp\"\n";
        rc += std::string(s.mask) + " BITMAP \"" + s.mask + ".bmp\"\n";
    }

    std::vector<FloaterFrames> floaters;
    for (int r = kFirstFloaterGif; r < kFirstFloaterGif + kFloaterGifs && ok; ++r) {
        floaters.push_back(floaterFrames(r, palette));
        const std::string name = "floater" + std::to_string(r) + ".gif";
        ok = writeFile(out + "/" + name, encodeFloaterGif(floaters.back(), palette));
        rc += std::to_string(r) + " RCDATA \"" + name + "\"\n";
    }
    FILE* f = fopen((out + "/saver_art.rc").c_str(), "w");
    ok = ok && f && fputs(rc.c_str(), f) >= 0;
    if (f) ok = fclose(f) == 0 && ok;

    // The pictures shipped in "Lumarel Pictures".
    const std::string pictures = out + "/pictures";
    cairo_surface_t* candle = paintPicture(480, 360, paintSantaCandle);
    cairo_surface_t* night = paintPicture(640, 400, paintWinterNight);
    ok = ok && writeBmp24(pictures + "/Santa Candle.BMP", argbOf(candle), 0) &&
         writeJpeg(pictures + "/Winter Night.jpg", night);

    // The contact sheet: strips at 4×, floaters' frames at 2×, the pictures.
    const int sheetW = 16 * 48 * 2 + 40, sheetH = 4 * 60 + kFloaterGifs * 110 + 380;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, sheetW, sheetH);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.02, 0.03, 0.08);
    cairo_paint(cr);
    blitIndexed(cr, palette, flakeIndex, flakeOpaque, 45, 9, 20, 20, 4);
    blitIndexed(cr, palette, smallIndex, smallOpaque, 30, 7, 240, 20, 4);
    blitIndexed(cr, palette, balloonIndex, balloonOpaque, 126, 50, 420, 10, 2);
    int y = 130;
    for (const FloaterFrames& fl : floaters) {
        for (size_t fr = 0; fr < fl.index.size(); ++fr)
            blitIndexed(cr, palette, fl.index[fr], fl.opaque[fr], fl.width, fl.height, 20 + double(fr) * 98, y, 2);
        y += 110;
    }
    cairo_set_source_surface(cr, candle, 20, y);
    cairo_paint(cr);
    cairo_scale(cr, 0.75, 0.75);
    cairo_set_source_surface(cr, night, (520) / 0.75, y / 0.75);
    cairo_paint(cr);
    cairo_destroy(cr);
    ok = ok && cairo_surface_write_to_png(sheet, (out + "/saver.png").c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    cairo_surface_destroy(candle);
    cairo_surface_destroy(night);
    return ok;
}

}  // namespace art
