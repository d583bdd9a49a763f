#include "winter_scenes.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace flurrin_art {

namespace {

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb hex(uint32_t v) { return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0}; }
void set(cairo_t* cr, Rgb c, double a = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, a); }

// A small deterministic generator, so every build draws the same pictures.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    double next() {
        state_ ^= state_ << 13, state_ ^= state_ >> 17, state_ ^= state_ << 5;
        return (state_ & 0xFFFFFF) / double(0x1000000);
    }
    double range(double lo, double hi) { return lo + (hi - lo) * next(); }

private:
    uint32_t state_;
};

enum class Light { Day, Dusk, Night, Sunrise, Overcast };

struct Scene {
    uint32_t seed;
    Light light;
    Rgb sky_top, sky_bottom;
    double horizon;       // fraction of the height where the land begins
    int mountain_layers;  // 0..3
    double mountain_height;
    bool lake, village, church, cabin, aurora, fence;
    int forest_rows;
    bool jpeg;
};

const Scene kScenes[kSceneCount] = {
    {11, Light::Day, hex(0x2F6DB5), hex(0xBFD9F0), 0.55, 3, 0.30, false, false, false, false, false, false, 2, true},
    {12, Light::Dusk, hex(0x2B2F6B), hex(0xF2A46B), 0.58, 1, 0.12, false, true, true, false, false, false, 1, true},
    {13, Light::Night, hex(0x060B24), hex(0x1F3464), 0.60, 1, 0.10, false, false, false, false, false, false, 3, false},
    {14, Light::Day, hex(0x5F93CF), hex(0xE3EEF7), 0.50, 2, 0.25, true, false, false, false, false, false, 1, true},
    {15, Light::Dusk, hex(0x1D2350), hex(0x9C6B8E), 0.60, 1, 0.14, false, false, false, true, false, false, 2, false},
    {16, Light::Overcast, hex(0x8E9AAB), hex(0xD9DEE5), 0.58, 1, 0.10, false, true, true, false, false, true, 1, true},
    {17, Light::Sunrise, hex(0x3E4C8A), hex(0xF7C27A), 0.52, 3, 0.34, false, false, false, false, false, false, 1, true},
    {18, Light::Night, hex(0x020612), hex(0x13304A), 0.56, 2, 0.22, true, false, false, false, true, false, 1, true},
    {19, Light::Day, hex(0x3F86D0), hex(0xD6E8F7), 0.62, 0, 0.0, false, false, false, false, false, true, 1, false},
    {20, Light::Night, hex(0x0A1030), hex(0x2C3C6E), 0.60, 1, 0.12, false, true, false, false, false, false, 2, true},
};

Rgb snow_lit(const Scene& s) {
    switch (s.light) {
    case Light::Day: return hex(0xF7FAFF);
    case Light::Dusk: return hex(0xE8D6E0);
    case Light::Night: return hex(0x7C8DB8);
    case Light::Sunrise: return hex(0xFFE9DA);
    case Light::Overcast: return hex(0xE9EDF2);
    }
    return hex(0xFFFFFF);
}

Rgb snow_shade(const Scene& s) {
    switch (s.light) {
    case Light::Day: return hex(0x9DB6D6);
    case Light::Dusk: return hex(0x7B6F99);
    case Light::Night: return hex(0x2C3863);
    case Light::Sunrise: return hex(0xA99BC2);
    case Light::Overcast: return hex(0xA8B2C0);
    }
    return hex(0x888888);
}

bool dark(const Scene& s) { return s.light == Light::Night || s.light == Light::Dusk; }

void draw_sky(cairo_t* cr, const Scene& s, int w, int h) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h * s.horizon);
    cairo_pattern_add_color_stop_rgb(g, 0, s.sky_top.r, s.sky_top.g, s.sky_top.b);
    cairo_pattern_add_color_stop_rgb(g, 1, s.sky_bottom.r, s.sky_bottom.g, s.sky_bottom.b);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    (void)w;
}

void glow(cairo_t* cr, double x, double y, double r, Rgb c, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(g, 0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void draw_sky_lights(cairo_t* cr, const Scene& s, int w, int h, Random& rnd) {
    double top = h * s.horizon;
    if (s.light == Light::Night || s.light == Light::Dusk) {
        int stars = s.light == Light::Night ? 420 : 90;
        for (int i = 0; i < stars; ++i) {
            double x = rnd.range(0, w), y = rnd.range(0, top * (s.light == Light::Night ? 0.95 : 0.5));
            double b = rnd.range(0.3, 1.0);
            set(cr, hex(0xFFFFFF), b * (1.0 - y / top * 0.6));
            cairo_arc(cr, x, y, rnd.next() < 0.06 ? 1.6 : 0.8, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }
    if (s.aurora) {
        for (int band = 0; band < 3; ++band) {
            double base = top * (0.25 + band * 0.12);
            for (int x = 0; x < w; x += 3) {
                double wave = std::sin(x * 0.006 + band * 1.7) * 40 + std::sin(x * 0.017 + band) * 14;
                double height = 90 + 60 * std::sin(x * 0.004 + band * 2.1);
                cairo_pattern_t* g = cairo_pattern_create_linear(0, base + wave - height, 0, base + wave + 20);
                Rgb c = band == 1 ? hex(0x6CF2B0) : hex(0x3DDC97);
                cairo_pattern_add_color_stop_rgba(g, 0, 0.6, 0.4, 0.9, 0);
                cairo_pattern_add_color_stop_rgba(g, 0.7, c.r, c.g, c.b, 0.16);
                cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0);
                cairo_set_source(cr, g);
                cairo_rectangle(cr, x, base + wave - height, 3, height + 20);
                cairo_fill(cr);
                cairo_pattern_destroy(g);
            }
        }
    }
    switch (s.light) {
    case Light::Night:
    case Light::Dusk: {
        double mx = w * 0.78, my = top * 0.28, r = h * 0.045;
        glow(cr, mx, my, r * 5, hex(0xBFD2FF), 0.25);
        set(cr, hex(0xF4F1DE));
        cairo_arc(cr, mx, my, r, 0, 2 * M_PI);
        cairo_fill(cr);
        set(cr, hex(0xD9D3BC), 0.6);
        cairo_arc(cr, mx - r * 0.3, my - r * 0.2, r * 0.22, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_arc(cr, mx + r * 0.35, my + r * 0.3, r * 0.15, 0, 2 * M_PI);
        cairo_fill(cr);
        break;
    }
    case Light::Sunrise:
        glow(cr, w * 0.35, top * 0.95, h * 0.5, hex(0xFFD08A), 0.7);
        glow(cr, w * 0.35, top * 0.95, h * 0.06, hex(0xFFF4D6), 1.0);
        break;
    case Light::Day:
        glow(cr, w * 0.15, top * 0.18, h * 0.35, hex(0xFFFFFF), 0.45);
        glow(cr, w * 0.15, top * 0.18, h * 0.04, hex(0xFFFFF4), 1.0);
        break;
    case Light::Overcast:
        for (int i = 0; i < 40; ++i) {
            double x = rnd.range(-100, w), y = rnd.range(0, top * 0.7);
            set(cr, hex(0xF4F6FA), 0.12);
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_scale(cr, rnd.range(120, 260), rnd.range(18, 40));
            cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_fill(cr);
        }
        break;
    }
}

// A mountain ridge by midpoint displacement.
std::vector<double> ridge(Random& rnd, int points, double roughness) {
    std::vector<double> y(size_t(points) + 1, 0.0);
    y[0] = rnd.next(), y[size_t(points)] = rnd.next();
    for (int step = points; step > 1; step /= 2) {
        for (int i = 0; i + step <= points; i += step) {
            double mid = (y[size_t(i)] + y[size_t(i + step)]) / 2 + rnd.range(-1, 1) * roughness * step / points;
            y[size_t(i + step / 2)] = mid;
        }
    }
    return y;
}

void draw_mountains(cairo_t* cr, const Scene& s, int w, int h, Random& rnd) {
    double horizon = h * s.horizon;
    Rgb haze = s.sky_bottom;
    for (int layer = 0; layer < s.mountain_layers; ++layer) {
        double depth = double(s.mountain_layers - layer) / (s.mountain_layers + 1);  // 1 far .. 0 near
        double peak = h * s.mountain_height * (0.6 + 0.4 * (1 - depth));
        std::vector<double> r = ridge(rnd, 64, 1.6);
        double lo = 1e9, hi = -1e9;
        for (double v : r) lo = std::min(lo, v), hi = std::max(hi, v);
        auto yat = [&](int i) { return horizon + h * 0.02 * layer - (r[size_t(i)] - lo) / (hi - lo + 1e-9) * peak; };
        Rgb rock = mix(dark(s) ? hex(0x1C2440) : hex(0x5D6B85), haze, depth * 0.7);
        Rgb snow = mix(snow_lit(s), haze, depth * 0.5);
        // The body with a gradient from the snowy tops into the rock below.
        cairo_move_to(cr, 0, horizon + 40);
        for (int i = 0; i <= 64; ++i) cairo_line_to(cr, w * i / 64.0, yat(i));
        cairo_line_to(cr, w, horizon + 40);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, horizon - peak, 0, horizon);
        cairo_pattern_add_color_stop_rgb(g, 0, snow.r, snow.g, snow.b);
        cairo_pattern_add_color_stop_rgb(g, 0.45, mix(snow, rock, 0.5).r, mix(snow, rock, 0.5).g, mix(snow, rock, 0.5).b);
        cairo_pattern_add_color_stop_rgb(g, 1, rock.r, rock.g, rock.b);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        // Shaded slopes facing away from the light (right of each peak).
        for (int i = 1; i < 64; ++i) {
            if (yat(i) < yat(i - 1) && yat(i) < yat(i + 1)) {
                double px = w * i / 64.0, py = yat(i);
                cairo_move_to(cr, px, py);
                cairo_line_to(cr, px + w / 64.0 * rnd.range(2, 4), horizon + 40);
                cairo_line_to(cr, px + w / 64.0 * 0.6, horizon + 40);
                cairo_close_path(cr);
                set(cr, mix(rock, hex(0x000010), 0.35), 0.16 * (1 - depth * 0.6));
                cairo_fill(cr);
            }
        }
    }
}

// A rolling snowy hill from the left edge to the right, lit from the top left.
void draw_hill(cairo_t* cr, const Scene& s, int w, int h, double base, double amplitude, double phase,
               std::vector<double>* heights) {
    cairo_move_to(cr, 0, h);
    if (heights) heights->assign(size_t(w) + 1, 0);
    for (int x = 0; x <= w; x += 4) {
        double y = base + std::sin(x * 0.004 + phase) * amplitude + std::sin(x * 0.011 + phase * 2) * amplitude * 0.35;
        cairo_line_to(cr, x, y);
        if (heights)
            for (int k = x; k < x + 4 && k <= w; ++k) (*heights)[size_t(k)] = y;
    }
    cairo_line_to(cr, w, h);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, base - amplitude, w * 0.3, h);
    Rgb lit = snow_lit(s), shade = snow_shade(s);
    cairo_pattern_add_color_stop_rgb(g, 0, lit.r, lit.g, lit.b);
    cairo_pattern_add_color_stop_rgb(g, 1, shade.r, shade.g, shade.b);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    set(cr, shade, 0.5);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void draw_pine(cairo_t* cr, const Scene& s, double x, double ground, double height, Random& rnd) {
    double width = height * 0.42;
    Rgb green = mix(dark(s) ? hex(0x0E2A22) : hex(0x1F4D36), s.sky_bottom, 0.05);
    set(cr, hex(0x3B2616));
    cairo_rectangle(cr, x - width * 0.06, ground - height * 0.12, width * 0.12, height * 0.14);
    cairo_fill(cr);
    int tiers = 4;
    for (int t = 0; t < tiers; ++t) {
        double top = ground - height + t * height * 0.2;
        double bottom = ground - height * 0.1 - (tiers - 1 - t) * height * 0.16;
        double half = width * (0.3 + 0.2 * t) / 1.1;
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + half, bottom);
        cairo_line_to(cr, x - half, bottom);
        cairo_close_path(cr);
        set(cr, green);
        cairo_fill(cr);
        // Shade on the right, snow laid on the left slope and along the lower edge.
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + half, bottom);
        cairo_line_to(cr, x + half * 0.2, bottom);
        cairo_close_path(cr);
        set(cr, hex(0x000000), 0.25);
        cairo_fill(cr);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x - half * 0.9, bottom - height * 0.02);
        cairo_line_to(cr, x - half * 0.55, bottom - height * 0.05);
        cairo_line_to(cr, x - half * 0.1, top + (bottom - top) * rnd.range(0.35, 0.55));
        cairo_close_path(cr);
        set(cr, snow_lit(s), 0.9);
        cairo_fill(cr);
        cairo_move_to(cr, x - half, bottom);
        cairo_curve_to(cr, x - half * 0.3, bottom - height * 0.04, x + half * 0.3, bottom + height * 0.01, x + half, bottom);
        set(cr, mix(snow_lit(s), snow_shade(s), 0.3), 0.85);
        cairo_set_line_width(cr, std::max(1.0, height * 0.025));
        cairo_stroke(cr);
    }
}

void draw_forest(cairo_t* cr, const Scene& s, int w, const std::vector<double>& ground, double size, double density,
                 Random& rnd) {
    for (double x = rnd.range(0, 20); x < w; x += size * rnd.range(0.25, 0.6) / density) {
        double g = ground[size_t(std::min<double>(x, w))];
        draw_pine(cr, s, x, g + size * 0.08, size * rnd.range(0.7, 1.2), rnd);
    }
}

void window_light(cairo_t* cr, const Scene& s, double x, double y, double w, double h) {
    if (dark(s) || s.light == Light::Overcast) {
        glow(cr, x + w / 2, y + h / 2, w * 2.2, hex(0xFFC85A), 0.35);
        set(cr, hex(0xFFD77A));
    } else {
        set(cr, hex(0x36465E));
    }
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    set(cr, hex(0x3A2414));
    cairo_set_line_width(cr, std::max(1.0, w * 0.12));
    cairo_move_to(cr, x + w / 2, y), cairo_line_to(cr, x + w / 2, y + h);
    cairo_move_to(cr, x, y + h / 2), cairo_line_to(cr, x + w, y + h / 2);
    cairo_stroke(cr);
}

void snowy_roof(cairo_t* cr, const Scene& s, double left, double right, double eaves, double ridge_y) {
    double mid = (left + right) / 2;
    cairo_move_to(cr, left, eaves);
    cairo_line_to(cr, mid, ridge_y);
    cairo_line_to(cr, right, eaves);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(left, ridge_y, right, eaves);
    Rgb a = snow_lit(s), b = snow_shade(s);
    cairo_pattern_add_color_stop_rgb(g, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(g, 1, b.r, b.g, b.b);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void draw_house(cairo_t* cr, const Scene& s, double x, double ground, double size, Rgb wall, bool smoke, Random& rnd) {
    double w = size, h = size * 0.62;
    Rgb shade = mix(wall, hex(0x000000), dark(s) ? 0.55 : 0.25);
    set(cr, shade);
    cairo_rectangle(cr, x, ground - h, w, h);
    cairo_fill(cr);
    set(cr, hex(0x000000), 0.18);
    cairo_rectangle(cr, x + w * 0.7, ground - h, w * 0.3, h);
    cairo_fill(cr);
    // Chimney before the roof so the snow covers its foot.
    set(cr, mix(hex(0x6B3A2A), hex(0x000000), dark(s) ? 0.5 : 0.1));
    cairo_rectangle(cr, x + w * 0.68, ground - h - size * 0.42, w * 0.1, size * 0.3);
    cairo_fill(cr);
    snowy_roof(cr, s, x - w * 0.1, x + w * 1.1, ground - h + size * 0.04, ground - h - size * 0.45);
    if (smoke) {
        for (int i = 0; i < 14; ++i) {
            double t = i / 14.0;
            set(cr, mix(hex(0xC8CCD6), s.sky_bottom, t), 0.28 * (1 - t));
            cairo_arc(cr, x + w * 0.73 + std::sin(t * 5) * size * 0.15 + t * size * 0.6,
                      ground - h - size * 0.48 - t * size * 1.6, size * (0.06 + t * 0.14), 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }
    window_light(cr, s, x + w * 0.14, ground - h * 0.7, w * 0.18, h * 0.3);
    window_light(cr, s, x + w * 0.62, ground - h * 0.7, w * 0.18, h * 0.3);
    set(cr, mix(hex(0x4A2C1A), hex(0x000000), dark(s) ? 0.4 : 0));
    cairo_rectangle(cr, x + w * 0.4, ground - h * 0.55, w * 0.16, h * 0.55);
    cairo_fill(cr);
    // A drift along the foot of the wall.
    set(cr, snow_lit(s));
    cairo_move_to(cr, x - w * 0.1, ground + 2);
    cairo_curve_to(cr, x + w * 0.2, ground - h * 0.12 * rnd.range(0.5, 1.5), x + w * 0.7, ground - h * 0.08, x + w * 1.1,
                   ground + 2);
    cairo_fill(cr);
}

void draw_church(cairo_t* cr, const Scene& s, double x, double ground, double size) {
    Rgb wall = mix(hex(0xD8CDB8), hex(0x000000), dark(s) ? 0.55 : 0.1);
    double w = size, h = size * 0.55;
    set(cr, wall);
    cairo_rectangle(cr, x, ground - h, w, h);
    cairo_fill(cr);
    snowy_roof(cr, s, x - w * 0.05, x + w * 1.05, ground - h, ground - h - size * 0.3);
    // The tower with its steeple and a small cross.
    double tx = x - size * 0.12, tw = size * 0.3, th = size * 1.05;
    set(cr, mix(wall, hex(0x000000), 0.08));
    cairo_rectangle(cr, tx, ground - th, tw, th);
    cairo_fill(cr);
    snowy_roof(cr, s, tx - tw * 0.05, tx + tw * 1.05, ground - th, ground - th - size * 0.55);
    set(cr, hex(0xC9A24A));
    cairo_set_line_width(cr, size * 0.02);
    double cx = tx + tw / 2, cy = ground - th - size * 0.55;
    cairo_move_to(cr, cx, cy), cairo_line_to(cr, cx, cy - size * 0.12);
    cairo_move_to(cr, cx - size * 0.04, cy - size * 0.08), cairo_line_to(cr, cx + size * 0.04, cy - size * 0.08);
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) window_light(cr, s, x + w * (0.2 + i * 0.25), ground - h * 0.75, w * 0.09, h * 0.45);
    window_light(cr, s, tx + tw * 0.35, ground - th * 0.7, tw * 0.3, th * 0.15);
}

void draw_lake(cairo_t* cr, const Scene& s, int w, double top, double bottom, Random& rnd) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, bottom);
    Rgb ice = mix(s.sky_bottom, hex(0xBFD8EA), 0.4), deep = mix(s.sky_top, hex(0x20324A), 0.3);
    cairo_pattern_add_color_stop_rgb(g, 0, ice.r, ice.g, ice.b);
    cairo_pattern_add_color_stop_rgb(g, 1, deep.r, deep.g, deep.b);
    cairo_set_source(cr, g);
    cairo_move_to(cr, 0, top);
    cairo_curve_to(cr, w * 0.3, top - 6, w * 0.7, top + 8, w, top);
    cairo_line_to(cr, w, bottom);
    cairo_curve_to(cr, w * 0.6, bottom + 20, w * 0.3, bottom - 10, 0, bottom);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (int i = 0; i < 60; ++i) {
        double y = rnd.range(top + 4, bottom - 4), x = rnd.range(0, w), len = rnd.range(30, 160);
        set(cr, hex(0xFFFFFF), rnd.range(0.08, 0.3));
        cairo_set_line_width(cr, rnd.range(0.8, 2.0));
        cairo_move_to(cr, x, y), cairo_line_to(cr, x + len, y + rnd.range(-1, 1));
        cairo_stroke(cr);
    }
}

void draw_fence(cairo_t* cr, const Scene& s, int w, const std::vector<double>& ground, double height) {
    Rgb wood = mix(hex(0x5A3A22), hex(0x000000), dark(s) ? 0.5 : 0);
    set(cr, wood);
    cairo_set_line_width(cr, height * 0.12);
    for (double x = w * 0.05; x < w * 0.7; x += height * 0.9) {
        double g = ground[size_t(x)];
        cairo_move_to(cr, x, g + 4), cairo_line_to(cr, x, g - height);
        cairo_stroke(cr);
        set(cr, snow_lit(s));
        cairo_arc(cr, x, g - height, height * 0.09, M_PI, 2 * M_PI);
        cairo_fill(cr);
        set(cr, wood);
    }
    for (double rail : {0.35, 0.75}) {
        cairo_move_to(cr, w * 0.05, ground[size_t(w * 0.05)] - height * rail);
        for (double x = w * 0.05; x < w * 0.7; x += 8) cairo_line_to(cr, x, ground[size_t(x)] - height * rail);
        cairo_stroke(cr);
    }
}

}  // namespace

bool scene_is_jpeg(int index) { return kScenes[index].jpeg; }

void draw_winter_scene(cairo_t* cr, int index, int w, int h) {
    const Scene& s = kScenes[index];
    Random rnd(s.seed);
    cairo_save(cr);
    draw_sky(cr, s, w, h);
    draw_sky_lights(cr, s, w, h, rnd);
    draw_mountains(cr, s, w, h, rnd);
    double horizon = h * s.horizon;
    std::vector<double> far_ground, mid_ground, near_ground;
    draw_hill(cr, s, w, h, horizon + h * 0.04, h * 0.025, s.seed * 0.7, &far_ground);
    if (s.forest_rows >= 2) draw_forest(cr, s, w, far_ground, h * 0.07, 1.4, rnd);
    if (s.lake) draw_lake(cr, s, w, horizon + h * 0.07, horizon + h * 0.2, rnd);
    draw_hill(cr, s, w, h, horizon + h * (s.lake ? 0.24 : 0.14), h * 0.04, s.seed * 1.3, &mid_ground);
    if (s.forest_rows >= 3) draw_forest(cr, s, w, mid_ground, h * 0.12, 1.2, rnd);
    double town = w * 0.18;
    if (s.church) draw_church(cr, s, w * 0.55, mid_ground[size_t(w * 0.6)] + 6, h * 0.16);
    if (s.village) {
        const Rgb walls[] = {hex(0x9B3B2E), hex(0xC9A66B), hex(0x5E7FA6), hex(0x7B5A3A), hex(0xB5553C)};
        for (int i = 0; i < 5; ++i) {
            double x = town + i * w * 0.13 + rnd.range(-10, 10);
            if (s.church && x > w * 0.47 && x < w * 0.75) continue;
            draw_house(cr, s, x, mid_ground[size_t(std::min<double>(x + 30, w))] + 8, h * rnd.range(0.09, 0.12), walls[i],
                       i % 2 == 0, rnd);
        }
    }
    draw_hill(cr, s, w, h, horizon + h * (s.lake ? 0.34 : 0.28), h * 0.05, s.seed * 2.1, &near_ground);
    if (s.cabin) draw_house(cr, s, w * 0.52, near_ground[size_t(w * 0.56)] + 10, h * 0.2, hex(0x7A4A2A), true, rnd);
    if (s.fence) draw_fence(cr, s, w, near_ground, h * 0.06);
    if (s.forest_rows >= 1) {
        // Sparse tall trees at both sides frame the picture.
        for (int i = 0; i < 5; ++i) {
            double x = i < 3 ? rnd.range(0, w * 0.2) : rnd.range(w * 0.82, w);
            draw_pine(cr, s, x, near_ground[size_t(x)] + h * 0.03, h * rnd.range(0.25, 0.4), rnd);
        }
    }
    // Sparkles in the foreground snow.
    for (int i = 0; i < 250; ++i) {
        double x = rnd.range(0, w), y = rnd.range(near_ground[size_t(x)] + 10, h);
        set(cr, hex(0xFFFFFF), rnd.range(0.3, 0.9));
        cairo_arc(cr, x, y, rnd.range(0.5, 1.3), 0, 2 * M_PI);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

}  // namespace flurrin_art
