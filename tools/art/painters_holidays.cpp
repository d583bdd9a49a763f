// Hanukkah, Valentine's Day, St. Patrick's Day, Easter, spring and New Year.
#include "painters.h"

namespace art {

void paintDreidels(cairo_t* cr, const Frame& f) {
    const Colour body[4] = {{0.20, 0.40, 0.90}, {0.78, 0.80, 0.84}, col::gold, {0.15, 0.65, 0.62}};
    const char* letters[4] = {"\u05E0", "\u05D2", "\u05D4", "\u05E9"};
    cairo_save(cr);
    cairo_scale(cr, f.w / 25.0, f.h / 32.0);
    Frame g = f;
    g.w = 25;
    g.h = 32;
    Colour c = body[f.flavor % 4];
    // the spin shows a different face each step; the edge between faces moves
    double edge = 12.5 + (f.state % 2 ? 3.5 : -3.5);
    setColour(cr, shade(c, 0.7));
    roundRectPath(cr, 11, 1, 3, 7, 1);
    cairo_fill(cr);
    cairo_move_to(cr, 4, 8);
    cairo_line_to(cr, 21, 8);
    cairo_line_to(cr, 21, 21);
    cairo_line_to(cr, 12.5, 31);
    cairo_line_to(cr, 4, 21);
    cairo_close_path(cr);
    fillShaded(cr, g, c, 12.5, 16, 10, 0.8);
    cairo_new_path(cr);
    // the darker face beside the lit one
    cairo_move_to(cr, edge, 8);
    cairo_line_to(cr, 21, 8);
    cairo_line_to(cr, 21, 21);
    cairo_line_to(cr, 12.5, 31);
    cairo_line_to(cr, edge, 21);
    cairo_close_path(cr);
    setColour(cr, {0, 0, 0}, 0.28);
    cairo_fill(cr);
    if (!f.small) text(cr, letters[f.state % 4], (4 + edge) / 2, 15, 9, col::white);
    glint(cr, 6.5, 10.5, 0.9, 0.7);
    cairo_restore(cr);
}

void paintMenorahs(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    cairo_scale(cr, f.w / 29.0, f.h / 32.0);
    Frame g = f;
    g.w = 29;
    g.h = 32;
    // base, stem and the arms
    roundRectPath(cr, 9, 28.5, 11, 3, 1);
    cairo_rectangle(cr, 13.5, 17, 2, 12);
    fillShaded(cr, g, col::gold, 14.5, 24, 6, 0.6);
    cairo_new_path(cr);
    setColour(cr, shade(col::gold, 0.85));
    cairo_set_line_width(cr, 1.4);
    for (int i = 1; i <= 4; ++i) {
        double r = i * 3.2;
        cairo_arc_negative(cr, 14.5, 14, r, M_PI, 0);
        cairo_new_sub_path(cr);
    }
    cairo_stroke(cr);
    cairo_rectangle(cr, 1.2, 13.5, 26.6, 1.5);
    cairo_fill(cr);
    // nine candles: the shamash in the middle, taller; one more lit each step
    int lit = f.state % 8 + 1;
    for (int i = 0; i < 9; ++i) {
        double x = 1.7 + i * 3.2;
        bool shamash = i == 4;
        double top = shamash ? 6 : 8.5;
        int order = i > 4 ? 9 - i : 8 - i;  // lit from the right, as on the first night
        bool burning = shamash || order <= lit;
        roundRectPath(cr, x - 0.9, top, 1.8, 13.5 - top, 0.4);
        setColour(cr, shamash ? col::white : Colour{0.85, 0.9, 1.0});
        cairo_fill(cr);
        if (burning) {
            glow(cr, {1, 0.8, 0.3}, x, top - 2, 3, 0.8);
            ellipsePath(cr, x, top - 1.7, 0.9, 1.7);
            setColour(cr, {1, 0.9, 0.4});
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
}

void paintMezmerized(cairo_t* cr, const Frame& f) {
    const Colour base[3] = {col::red, col::pink, col::purple};
    Colour c = base[f.flavor % 3];
    double cx = f.w / 2, cy = f.h / 2 + 0.5, size = f.w * 0.95;
    heartPath(cr, cx, cy, size);
    fillShaded(cr, f, c, cx, cy, size / 2, 0.9);
    cairo_new_path(cr);
    // rings that pulse inwards: each step they move a quarter of a ring in
    cairo_save(cr);
    heartPath(cr, cx, cy, size);
    cairo_clip(cr);
    for (int i = 0; i < 5; ++i) {
        double t = (i + 1 - f.state / 4.0) / 5.0;
        if (t <= 0.05) continue;
        heartPath(cr, cx, cy + (1 - t) * 1.5, size * t);
        setColour(cr, i % 2 ? shade(c, 1.6) : shade(c, 0.55), 0.9);
        cairo_set_line_width(cr, f.small ? 0.8 : 1.4);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    glint(cr, cx - size * 0.25, cy - size * 0.2, f.small ? 0.5 : 1.2, 0.8);
}

void paintCandyHearts(cairo_t* cr, const Frame& f) {
    const Colour pastel[8] = {{1.0, 0.72, 0.80}, {0.75, 0.92, 0.70}, {0.98, 0.95, 0.62}, {0.78, 0.72, 0.98},
                              {1.0, 0.82, 0.62}, {0.70, 0.88, 1.0}, {1.0, 1.0, 0.95}, {0.98, 0.62, 0.68}};
    const char* words[8] = {"BE MINE", "HUG ME", "LOVE", "XOXO", "CUTE", "KISS", "SWEET", "U + ME"};
    Colour c = pastel[f.flavor % 8];
    double cx = f.w / 2, cy = f.h / 2, size = f.w * 0.96;
    heartPath(cr, cx, cy, size);
    fillShaded(cr, f, c, cx, cy, size / 2, 0.8);
    cairo_new_path(cr);
    if (!f.small) {
        const char* word = words[f.flavor % 8];
        bool two = strchr(word, ' ') != nullptr && strlen(word) > 5;
        if (two) {
            std::string s(word);
            auto space = s.find(' ');
            text(cr, s.substr(0, space).c_str(), cx, cy - 3, 6.5, {0.85, 0.15, 0.35});
            text(cr, s.substr(space + 1).c_str(), cx, cy + 3.5, 6.5, {0.85, 0.15, 0.35});
        } else {
            text(cr, word, cx, cy, 7, {0.85, 0.15, 0.35});
        }
    }
    // the shine slides across the heart
    cairo_save(cr);
    heartPath(cr, cx, cy, size);
    cairo_clip(cr);
    double x = f.w * (0.1 + 0.27 * f.state);
    cairo_pattern_t* p = cairo_pattern_create_linear(x - 4, 0, x + 4, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 0.65);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void paintSweetHearts(cairo_t* cr, const Frame& f) {
    double cx = f.w / 2, cy = f.h / 2, size = f.w * (f.state == 1 ? 0.98 : 0.86);
    if (f.state == 1 && !f.small) glow(cr, {1, 0.3, 0.4}, cx, cy, f.w * 0.5, 0.35);
    heartPath(cr, cx, cy, size);
    fillShaded(cr, f, {0.9, 0.06, 0.16}, cx, cy, size / 2, 0.9);
    cairo_new_path(cr);
    glint(cr, cx - size * 0.25, cy - size * 0.22, f.small ? 0.5 : 1.6, 0.85);
}

void paintShamrocks(cairo_t* cr, const Frame& f) {
    const Colour greens[4] = {{0.10, 0.62, 0.18}, {0.35, 0.80, 0.25}, {0.05, 0.45, 0.15}, {0.15, 0.70, 0.35}};
    Colour c = greens[f.flavor % 4];
    double cx = f.w / 2, cy = f.h * 0.42;
    // turning in the wind: the leaves narrow as they turn edge-on
    // (kept gentle: every phase is shown through the first phase's outline)
    double sway = sin(f.state * M_PI / 4) * (f.block == 1 ? -1 : 1);
    double turn = 1 - 0.12 * std::fabs(sway);
    setColour(cr, shade(c, 0.7));
    cairo_set_line_width(cr, f.w / 16);
    cairo_move_to(cr, cx, cy);
    cairo_curve_to(cr, cx, cy + f.h * 0.3, cx + f.w * 0.1, cy + f.h * 0.4, cx + f.w * 0.18, f.h - 1);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, sway * 0.12);
    cairo_scale(cr, turn, 1);
    for (int i = 0; i < 3; ++i) {
        cairo_save(cr);
        cairo_rotate(cr, i * 2 * M_PI / 3);
        heartPath(cr, 0, -f.h * 0.2, f.w * 0.42);
        Frame g = f;
        fillShaded(cr, g, c, 0, -f.h * 0.2, f.w * 0.22, 0.8);
        cairo_new_path(cr);
        cairo_restore(cr);
    }
    cairo_restore(cr);
    if (f.flavor % 4 == 3 && !f.small) glint(cr, cx + 1, cy - 1, 1.2, 0.8);
}

namespace {

void egg(cairo_t* cr, const Frame& f, double w, double h, const Colour* scheme, int stripes, int wobbleState,
         int wobbleSteps, double tilt) {
    double angle = tilt + sin(2 * M_PI * wobbleState / wobbleSteps) * 0.07;
    cairo_save(cr);
    cairo_translate(cr, f.w / 2, f.h / 2);
    cairo_rotate(cr, angle);
    double rx = w * 0.42, ry = h * 0.47;
    eggPath(cr, 0, 0, rx, ry);
    fillShaded(cr, f, scheme[0], 0, 0, ry, 0.8);
    cairo_new_path(cr);
    cairo_save(cr);
    eggPath(cr, 0, 0, rx, ry);
    cairo_clip(cr);
    for (int i = 0; i < stripes; ++i) {
        double y = -ry + (i + 1) * 2 * ry / (stripes + 1);
        setColour(cr, scheme[1 + i % 2], 0.95);
        if (i % 2 == 0) {
            cairo_set_line_width(cr, f.small ? 0.8 : 2.2);
            cairo_move_to(cr, -rx, y);
            for (double x = -rx; x <= rx; x += 2.5) cairo_line_to(cr, x, y + ((int((x + rx) / 2.5) % 2) ? 1.2 : -1.2));
            cairo_stroke(cr);
        } else {
            cairo_rectangle(cr, -rx, y - 1, 2 * rx, 2);
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
    glint(cr, -rx * 0.4, -ry * 0.45, f.small ? 0.5 : 1.3, 0.75);
    cairo_restore(cr);
}

}  // namespace

void paintPastelEasterEggs(cairo_t* cr, const Frame& f) {
    const Colour schemes[2][3] = {{{0.75, 0.85, 1.0}, {1.0, 0.75, 0.85}, {1, 1, 1}},
                                  {{1.0, 0.95, 0.65}, {0.70, 0.92, 0.75}, {0.85, 0.75, 1.0}}};
    double tilt = f.block == 1 ? M_PI / 2 : f.block == 2 ? M_PI / 4 : 0;
    double w = f.block == 1 ? f.h : f.w, h = f.block == 1 ? f.w : f.h;
    if (f.block == 2) w = h = std::min(f.w, f.h) * 0.95;
    egg(cr, f, w * (f.block == 2 ? 0.85 : 1), h, schemes[f.flavor % 2], 3, f.state, 4, tilt);
}

void paintStripedEasterEggs(cairo_t* cr, const Frame& f) {
    const Colour schemes[6][3] = {{col::red, col::yellow, col::white},       {col::blue, col::white, col::yellow},
                                  {col::green, col::yellow, col::pink},      {col::purple, col::yellow, col::white},
                                  {col::orange, col::blue, col::white},      {col::pink, col::green, col::white}};
    int shape = (f.flavor % 6) / 2;  // lying, upright, tilted
    double tilt = shape == 0 ? M_PI / 2 : shape == 2 ? -M_PI / 4 : 0;
    double w = shape == 0 ? f.h : f.w, h = shape == 0 ? f.w : f.h;
    if (shape == 2) w = h = std::min(f.w, f.h) * 0.95;
    egg(cr, f, w * (shape == 2 ? 0.85 : 1), h, schemes[f.flavor % 6], 4, f.state, 8, tilt);
}

void paintSpringFlowers(cairo_t* cr, const Frame& f) {
    const Colour petals[8] = {col::red, col::white, col::yellow, col::pink, col::purple, col::orange,
                              {0.35, 0.5, 1.0}, {1.0, 0.45, 0.55}};
    int k = f.flavor % 8;
    Colour c = petals[k];
    cairo_save(cr);
    cairo_scale(cr, f.w / 32.0, f.h / 32.0);
    Frame g = f;
    g.w = g.h = 32;
    // stem and a leaf
    setColour(cr, {0.15, 0.55, 0.18});
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, 16, 31);
    cairo_curve_to(cr, 16, 24, 15, 20, 16, 13);
    cairo_stroke(cr);
    cairo_move_to(cr, 16, 27);
    cairo_curve_to(cr, 20, 24, 23, 21, 24, 17);
    cairo_curve_to(cr, 20, 19, 17, 22, 16, 25);
    cairo_close_path(cr);
    fillShaded(cr, g, {0.2, 0.62, 0.2}, 20, 22, 5, 0.5);
    cairo_new_path(cr);
    switch (k % 4) {
    case 0: {  // tulip
        cairo_move_to(cr, 10, 6);
        cairo_line_to(cr, 13, 9);
        cairo_line_to(cr, 16, 4);
        cairo_line_to(cr, 19, 9);
        cairo_line_to(cr, 22, 6);
        cairo_curve_to(cr, 23, 12, 21, 16, 16, 16);
        cairo_curve_to(cr, 11, 16, 9, 12, 10, 6);
        cairo_close_path(cr);
        fillShaded(cr, g, c, 16, 11, 7, 0.8);
        cairo_new_path(cr);
        break;
    }
    case 1:  // daisy
        for (int i = 0; i < 10; ++i) {
            double a = i * M_PI / 5;
            ellipsePath(cr, 16 + cos(a) * 5.5, 10 + sin(a) * 5.5, 2.2, 2.2);
        }
        fillShaded(cr, g, c, 16, 10, 8, 0.6);
        cairo_new_path(cr);
        ellipsePath(cr, 16, 10, 3, 3);
        fillShaded(cr, g, col::yellow, 16, 10, 3, 0.5);
        cairo_new_path(cr);
        break;
    case 2:  // daffodil: star of petals and a trumpet
        starPath(cr, 16, 10, 8.5, 4.5, 6);
        fillShaded(cr, g, c, 16, 10, 8, 0.7);
        cairo_new_path(cr);
        ellipsePath(cr, 16, 10, 3.4, 3.4);
        fillShaded(cr, g, col::orange, 16, 10, 3.4, 0.6);
        cairo_new_path(cr);
        break;
    default:  // five round petals
        for (int i = 0; i < 5; ++i) {
            double a = -M_PI / 2 + i * 2 * M_PI / 5;
            ellipsePath(cr, 16 + cos(a) * 4.5, 10 + sin(a) * 4.5, 3.6, 3.6);
        }
        fillShaded(cr, g, c, 16, 10, 8, 0.7);
        cairo_new_path(cr);
        ellipsePath(cr, 16, 10, 2.2, 2.2);
        fillShaded(cr, g, k == 7 ? col::white : col::yellow, 16, 10, 2.2, 0.4);
        cairo_new_path(cr);
        break;
    }
    cairo_restore(cr);
}

void paintPartyHats(cairo_t* cr, const Frame& f) {
    bool list = f.block >= 1;  // the 32 x 32 list picture
    double hatH = list ? f.h * 0.9 : f.w * 1.05, w = f.w;
    double cx = w / 2, base = list ? f.h - 2 : hatH;
    Frame g = f;
    // cone with stripes and a pompom
    cairo_move_to(cr, cx, base - hatH * 0.9);
    cairo_line_to(cr, cx + w * 0.42, base);
    cairo_line_to(cr, cx - w * 0.42, base);
    cairo_close_path(cr);
    fillShaded(cr, g, col::purple, cx, base - hatH * 0.4, w * 0.5, 0.8);
    cairo_save(cr);
    cairo_clip(cr);
    setColour(cr, col::yellow);
    cairo_set_line_width(cr, 2.2);
    for (int i = 0; i < 5; ++i) {
        double y = base - hatH * (0.15 + i * 0.18);
        cairo_move_to(cr, 0, y + 4);
        cairo_line_to(cr, w, y - 4);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    ellipsePath(cr, cx, base - hatH * 0.9, 2.6, 2.6);
    fillShaded(cr, g, col::pink, cx, base - hatH * 0.9, 2.6, 0.5);
    cairo_new_path(cr);
    if (list) return;
    // the noisemaker below the hat unrolls a step at a time
    double reach = (f.h - base - 4) * (0.15 + 0.28 * f.state);
    setColour(cr, col::gold);
    roundRectPath(cr, cx - 1.5, base + 1, 3, 4, 1);
    cairo_fill(cr);
    if (f.state == 0) {
        cairo_arc(cr, cx + 1.5, base + 9, 3.5, 0, 2 * M_PI);
        setColour(cr, col::blue);
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
    } else {
        setColour(cr, col::blue);
        cairo_set_line_width(cr, 2.6);
        cairo_move_to(cr, cx, base + 5);
        cairo_line_to(cr, cx, base + 5 + reach);
        cairo_stroke(cr);
        cairo_arc(cr, cx + 1.8, base + 5 + reach, 1.8, M_PI, M_PI * (3 - f.state * 0.5));
        cairo_stroke(cr);
        setColour(cr, col::yellow);
        cairo_set_line_width(cr, 0.8);
        for (double y = base + 7; y < base + 5 + reach; y += 3) {
            cairo_move_to(cr, cx - 1.3, y);
            cairo_line_to(cr, cx + 1.3, y);
        }
        cairo_stroke(cr);
    }
}

}  // namespace art
