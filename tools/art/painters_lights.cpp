// Light bulbs and other things on a wire: drawn hanging from the top of the
// painter's box (the generator turns them for the other edges).
#include "painters.h"

namespace art {

namespace {

const Colour kC9[5] = {col::red, col::green, col::blue, col::yellow, col::orange};
const Colour kPastel[5] = {{1.0, 0.55, 0.70}, {0.55, 0.95, 0.70}, {0.55, 0.75, 1.0}, {1.0, 0.93, 0.55},
                           {0.80, 0.62, 1.0}};
const Colour kMini[6] = {col::red, col::green, col::blue, col::yellow, col::purple, col::cyan};
const Colour kHeavy[8] = {col::red,    col::green, col::blue, col::yellow,
                          col::orange, col::purple, col::pink, {0.95, 0.95, 0.85}};

// A short piece of the green wire along the top of the box.
void wire(cairo_t* cr, const Frame& f) {
    if (f.small) return;
    setColour(cr, {0.05, 0.30, 0.10});
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, 0, 1.2);
    cairo_line_to(cr, f.w, 1.2);
    cairo_stroke(cr);
}

void socket(cairo_t* cr, const Frame& f, double cx, double top, double width, double height, Colour c) {
    roundRectPath(cr, cx - width / 2, top, width, height, width * 0.15);
    fillShaded(cr, f, c, cx, top + height / 2, width * 0.8, 0.7);
    cairo_new_path(cr);
    if (f.small) return;
    setColour(cr, shade(c, 0.45), 0.8);
    cairo_set_line_width(cr, 0.6);
    for (double y = top + height * 0.35; y < top + height - 0.5; y += height * 0.3) {
        cairo_move_to(cr, cx - width / 2 + 0.5, y);
        cairo_line_to(cr, cx + width / 2 - 0.5, y);
    }
    cairo_stroke(cr);
}

// The C9 glass: a cone that swells and ends in a rounded point.
void c9Path(cairo_t* cr, double cx, double top, double width, double length) {
    double half = width / 2;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - half * 0.55, top);
    cairo_curve_to(cr, cx - half * 1.15, top + length * 0.35, cx - half * 0.9, top + length * 0.75, cx, top + length);
    cairo_curve_to(cr, cx + half * 0.9, top + length * 0.75, cx + half * 1.15, top + length * 0.35, cx + half * 0.55, top);
    cairo_close_path(cr);
}

// A lit or unlit bulb of one colour: the dot with a highlight at preview size.
void smallBulb(cairo_t* cr, const Frame& f, Colour c, bool lit) {
    double r = std::min(f.w, f.h) * 0.38;
    ellipsePath(cr, f.w / 2, f.h * 0.58, r, r * 1.05);
    setColour(cr, lit ? shade(c, 1.15) : shade(grey(c, 0.4), 0.45));
    cairo_fill(cr);
    setColour(cr, {0.1, 0.45, 0.15});
    cairo_rectangle(cr, f.w / 2 - r * 0.5, 0, r, f.h * 0.22);
    cairo_fill(cr);
    glint(cr, f.w / 2 - r * 0.35, f.h * 0.5, std::max(0.5, r * 0.3), lit ? 1 : 0.5);
}

void c9Bulb(cairo_t* cr, const Frame& f, Colour c, bool lit, Colour socketColour, double fatness) {
    if (f.small) return smallBulb(cr, f, c, lit);
    wire(cr, f);
    double cx = f.w / 2, socketH = f.h * 0.26, top = 2 + socketH - 1;
    double width = f.w * fatness, length = f.h - top - 1.5;
    if (lit) glow(cr, shade(c, 1.2), cx, top + length * 0.55, length * 0.62, 0.55);
    c9Path(cr, cx, top, width, length);
    fillGlass(cr, f, c, lit, cx, top + length * 0.5, length * 0.5);
    if (lit) glow(cr, {1, 1, 0.9}, cx, top + length * 0.45, length * 0.22, 0.6);
    socket(cr, f, cx, 2, width * 0.62, socketH, socketColour);
}

}  // namespace

void paintStandardBulbs(cairo_t* cr, const Frame& f) {
    c9Bulb(cr, f, kC9[f.flavor % 5], f.state == 0, {0.12, 0.50, 0.18}, 0.5);
}

void paintIndoorBulbs(cairo_t* cr, const Frame& f) {
    Colour c = kPastel[f.flavor % 5];
    bool lit = f.state == 0;
    if (f.small) return smallBulb(cr, f, c, lit);
    wire(cr, f);
    double cx = f.w / 2, r = f.w * 0.27, cy = f.h * 0.6;
    if (lit) glow(cr, c, cx, cy, r * 1.6, 0.5);
    ellipsePath(cr, cx, cy, r, r * 1.08);
    fillGlass(cr, f, c, lit, cx, cy, r);
    // frosted: a soft milky veil over the glass
    ellipsePath(cr, cx, cy, r * 0.8, r * 0.85);
    cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.25 : 0.08);
    cairo_fill(cr);
    socket(cr, f, cx, 2, r * 0.9, cy - r - 1, {0.92, 0.88, 0.70});
}

void paintMiniBulbs(cairo_t* cr, const Frame& f) {
    Colour c = kMini[f.flavor % 6];
    bool lit = f.state == 0;
    double cx = f.w / 2, r = f.w * 0.26, cy = f.h * 0.62;
    if (lit && !f.small) glow(cr, c, cx, cy, r * 1.7, 0.45);
    ellipsePath(cr, cx, cy, r, f.h * 0.33);
    setColour(cr, lit ? shade(c, 1.2) : shade(grey(c, 0.4), 0.45));
    cairo_fill(cr);
    setColour(cr, {0.1, 0.45, 0.15});
    cairo_rectangle(cr, cx - r * 0.6, 0, r * 1.2, f.h * 0.3);
    cairo_fill(cr);
    glint(cr, cx - r * 0.35, cy - r * 0.3, std::max(0.5, r * 0.35), lit ? 1 : 0.5);
}

void paintHeavyDutyBulbs(cairo_t* cr, const Frame& f) {
    Colour c = kHeavy[f.flavor % 8];
    bool lit = f.state == 0;
    if (f.small) return smallBulb(cr, f, c, lit);
    double cx = f.w / 2, top = 9.5, r = std::min(f.w * 0.42, (f.h - top) * 0.52);
    double cy = f.h - r - 1;
    if (lit) glow(cr, c, cx, cy, r * 1.3, 0.5);
    // a round globe with a short neck
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - r * 0.45, top);
    cairo_curve_to(cr, cx - r * 0.5, cy - r * 0.7, cx - r, cy - r * 0.6, cx - r, cy);
    cairo_arc_negative(cr, cx, cy, r, M_PI, 0);
    cairo_curve_to(cr, cx + r, cy - r * 0.6, cx + r * 0.5, cy - r * 0.7, cx + r * 0.45, top);
    cairo_close_path(cr);
    fillGlass(cr, f, c, lit, cx, cy, r);
    if (lit) glow(cr, {1, 1, 0.85}, cx, cy - r * 0.1, r * 0.4, 0.65);
    // white ceramic socket with a dark ring
    roundRectPath(cr, cx - r * 0.55, 0.5, r * 1.1, top, 2);
    fillShaded(cr, f, {0.93, 0.91, 0.86}, cx, top / 2, r, 0.8);
    cairo_new_path(cr);
    setColour(cr, {0.25, 0.25, 0.25});
    cairo_rectangle(cr, cx - r * 0.5, top - 2, r, 1.2);
    cairo_fill(cr);
}

void paintOldGloryBulbs(cairo_t* cr, const Frame& f) {
    bool lit = f.state == 0;
    if (f.small) return smallBulb(cr, f, lit ? col::red : col::blue, lit);
    wire(cr, f);
    double cx = f.w / 2, socketH = f.h * 0.26, top = 2 + socketH - 1, width = f.w * 0.52, length = f.h - top - 1.5;
    if (lit) glow(cr, {1, 0.9, 0.9}, cx, top + length * 0.55, length * 0.6, 0.45);
    cairo_save(cr);
    c9Path(cr, cx, top, width, length);
    cairo_clip(cr);
    // stripes, then the blue field with stars at the shoulder
    double k = lit ? 1.0 : 0.45;
    for (int i = 0; i < 8; ++i) {
        setColour(cr, shade(i % 2 ? col::white : col::red, k));
        cairo_rectangle(cr, 0, top + i * length / 8, f.w, length / 8 + 0.2);
        cairo_fill(cr);
    }
    setColour(cr, shade({0.12, 0.20, 0.62}, k));
    cairo_rectangle(cr, 0, top, f.w, length * 0.38);
    cairo_fill(cr);
    for (int i = 0; i < 3; ++i) {
        starPath(cr, cx - width * 0.3 + i * width * 0.3, top + length * 0.2, 1.9, 0.8, 5);
        setColour(cr, shade(col::white, k));
        cairo_fill(cr);
    }
    // roundness: light at the top left, shade at the far side
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - width / 2, 0, cx + width / 2, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, lit ? 0.35 : 0.12);
    cairo_pattern_add_color_stop_rgba(p, 0.45, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0.45);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
    c9Path(cr, cx, top, width, length);
    outline(cr, 0.8);
    glint(cr, cx - width * 0.22, top + length * 0.3, 1.2, lit ? 0.9 : 0.4);
    socket(cr, f, cx, 2, width * 0.62, socketH, {0.12, 0.50, 0.18});
}

void paintPaperLanterns(cairo_t* cr, const Frame& f) {
    const Colour paper[4] = {col::red, {0.98, 0.75, 0.20}, {0.30, 0.65, 0.95}, {0.55, 0.85, 0.35}};
    Colour c = paper[f.flavor % 4];
    bool lit = f.state == 0;
    if (f.small) return smallBulb(cr, f, c, lit);
    wire(cr, f);
    double cx = f.w / 2, cy = f.h * 0.56, rx = f.w * 0.4, ry = f.h * 0.34;
    if (lit) glow(cr, shade(c, 1.3), cx, cy, rx * 1.25, 0.4);
    ellipsePath(cr, cx, cy, rx, ry);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, rx);
    Colour in = lit ? shade(c, 1.7) : shade(grey(c, 0.3), 0.55), rim = lit ? c : shade(grey(c, 0.3), 0.3);
    cairo_pattern_add_color_stop_rgb(p, 0, in.r, in.g, in.b);
    cairo_pattern_add_color_stop_rgb(p, 1, rim.r, rim.g, rim.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    outline(cr, 0.8);
    // the ribs of the paper
    cairo_save(cr);
    ellipsePath(cr, cx, cy, rx, ry);
    cairo_clip(cr);
    setColour(cr, shade(c, lit ? 0.7 : 0.25), 0.8);
    cairo_set_line_width(cr, 0.7);
    for (int i = -3; i <= 3; ++i) {
        double y = cy + i * ry / 3.6;
        ellipsePath(cr, cx, y, rx, ry * 0.12);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    // black caps top and bottom, and the tassel
    setColour(cr, {0.1, 0.1, 0.1});
    roundRectPath(cr, cx - rx * 0.45, cy - ry - 1.5, rx * 0.9, 3, 1);
    roundRectPath(cr, cx - rx * 0.45, cy + ry - 1.5, rx * 0.9, 3, 1);
    cairo_fill(cr);
    cairo_rectangle(cr, cx - 0.5, 2, 1, cy - ry - 3.5);
    cairo_fill(cr);
    glint(cr, cx - rx * 0.45, cy - ry * 0.35, 1.2, lit ? 0.7 : 0.3);
}

void paintChiliPeppers(cairo_t* cr, const Frame& f) {
    const Colour pepper[4] = {{0.88, 0.08, 0.05}, {0.20, 0.70, 0.12}, {0.98, 0.85, 0.10}, {0.98, 0.50, 0.05}};
    Colour c = pepper[f.flavor % 4];
    bool lit = f.state == 0;
    cairo_save(cr);
    if (f.block == 4) {
        // corners: the pepper runs diagonally out of its corner
        double turns[4] = {-M_PI / 4, M_PI / 4, 3 * M_PI / 4, -3 * M_PI / 4};
        cairo_translate(cr, f.w / 2, f.h / 2);
        cairo_rotate(cr, turns[f.flavor % 4]);
        cairo_translate(cr, -f.h * 0.28, -f.h / 2);
    }
    double w = f.block == 4 ? f.h * 0.56 : f.w, h = f.h, cx = w / 2;
    if (f.small) {
        ellipsePath(cr, cx, h * 0.6, w * 0.35, h * 0.38);
        setColour(cr, lit ? c : shade(grey(c, 0.4), 0.45));
        cairo_fill(cr);
        setColour(cr, col::darkGreen);
        cairo_rectangle(cr, cx - 0.5, 0, 1, h * 0.25);
        cairo_fill(cr);
        cairo_restore(cr);
        return;
    }
    double top = h * 0.2;
    if (lit) glow(cr, c, cx, h * 0.55, h * 0.45, 0.4);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - w * 0.34, top + 1);
    cairo_curve_to(cr, cx - w * 0.45, top + h * 0.35, cx - w * 0.1, top + h * 0.6, cx + w * 0.12, h - 1);
    cairo_curve_to(cr, cx + w * 0.3, top + h * 0.55, cx + w * 0.42, top + h * 0.3, cx + w * 0.3, top + 1);
    cairo_close_path(cr);
    fillGlass(cr, f, c, lit, cx - w * 0.05, top + h * 0.3, h * 0.35);
    // green calyx and stem
    setColour(cr, {0.12, 0.50, 0.12});
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - w * 0.38, top + 2);
    cairo_curve_to(cr, cx - w * 0.2, top - 2, cx + w * 0.2, top - 2, cx + w * 0.34, top + 2);
    cairo_line_to(cr, cx, top + 3.5);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, cx, top);
    cairo_curve_to(cr, cx, top - 3, cx + 2, 1, cx + 1, 0);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void paintShinyBaubles(cairo_t* cr, const Frame& f) {
    const Colour glass[4] = {{0.85, 0.08, 0.12}, {0.10, 0.55, 0.95}, {0.85, 0.68, 0.15}, {0.55, 0.15, 0.75}};
    Colour c = glass[f.flavor % 4];
    double cx = f.w / 2, r = f.w * 0.36, cy = f.h - r - 1.5;
    if (f.small) {
        ellipsePath(cr, cx, cy, r, r);
        setColour(cr, c);
        cairo_fill(cr);
        glint(cr, cx - r * 0.35 + f.state * r * 0.6, cy - r * 0.35, 0.8);
        return;
    }
    // hook and cap
    setColour(cr, {0.75, 0.75, 0.72});
    cairo_set_line_width(cr, 1);
    cairo_arc(cr, cx, 3.5, 2.2, M_PI, 2 * M_PI);
    cairo_stroke(cr);
    ellipsePath(cr, cx, cy, r, r);
    fillShaded(cr, f, c, cx, cy, r, 0.8);
    cairo_new_path(cr);
    // a festive band
    cairo_save(cr);
    ellipsePath(cr, cx, cy, r, r);
    cairo_clip(cr);
    setColour(cr, {1.0, 0.9, 0.55}, 0.85);
    cairo_set_line_width(cr, 1.6);
    ellipsePath(cr, cx, cy + r * 0.1, r * 1.05, r * 0.3);
    cairo_stroke(cr);
    cairo_restore(cr);
    roundRectPath(cr, cx - r * 0.32, cy - r - 3, r * 0.64, 4.5, 1);
    fillShaded(cr, f, col::gold, cx, cy - r - 1, r * 0.5, 0.6);
    cairo_new_path(cr);
    // the glint moves across the glass
    double gx = f.state == 0 ? cx - r * 0.45 : cx + r * 0.35, gy = f.state == 0 ? cy - r * 0.4 : cy - r * 0.5;
    glint(cr, gx, gy, 1.7, 0.95);
    starPath(cr, gx, gy, 3.4, 0.6, 4);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_fill(cr);
}

}  // namespace art
