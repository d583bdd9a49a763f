// Christmas and winter figures, upright on every edge.
#include "painters.h"

namespace art {

namespace {

void leaf(cairo_t* cr, const Frame& f, double x, double y, double length, double angle, Colour c) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    // a holly leaf: spiky edges along both sides
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 0, 0);
    int spikes = 3;
    for (int i = 1; i <= spikes; ++i) {
        double t = double(i) / spikes;
        cairo_line_to(cr, length * (t - 0.5 / spikes), -length * 0.22 * sin(M_PI * (t - 0.5 / spikes)) - 0.8);
        cairo_line_to(cr, length * t, -length * 0.14 * sin(M_PI * t * 0.95));
    }
    for (int i = spikes; i >= 1; --i) {
        double t = double(i) / spikes;
        cairo_line_to(cr, length * (t - 0.5 / spikes), length * 0.22 * sin(M_PI * (t - 0.5 / spikes)) + 0.8);
        cairo_line_to(cr, length * (t - 1.0 / spikes), length * 0.14 * sin(M_PI * (t - 1.0 / spikes)));
    }
    cairo_close_path(cr);
    fillShaded(cr, f, c, length / 2, 0, length * 0.5, 0.7);
    cairo_new_path(cr);
    if (!f.small) {
        setColour(cr, shade(c, 1.5), 0.8);
        cairo_set_line_width(cr, 0.6);
        cairo_move_to(cr, 0.5, 0);
        cairo_line_to(cr, length * 0.9, 0);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void berry(cairo_t* cr, const Frame& f, double x, double y, double r) {
    ellipsePath(cr, x, y, r, r);
    fillShaded(cr, f, {0.85, 0.05, 0.08}, x, y, r, 0.6);
    cairo_new_path(cr);
    glint(cr, x - r * 0.35, y - r * 0.35, std::max(0.5, r * 0.3));
}

}  // namespace

void paintJollyHolly(cairo_t* cr, const Frame& f) {
    double s = f.w / 32.0;
    cairo_save(cr);
    cairo_scale(cr, s, f.h / 32.0);
    Frame g = f;
    g.w = g.h = 32;
    Colour leafColour{0.08, 0.48, 0.14};
    // four arrangements of two or three leaves around a cluster of berries
    struct Leaf { double x, y, len, angle; };
    const Leaf layouts[4][3] = {
        {{16, 14, 15, -2.6}, {16, 14, 15, -0.5}, {16, 14, 13, 1.6}},
        {{16, 12, 16, 2.8}, {16, 12, 16, 0.3}, {0, 0, 0, 0}},
        {{15, 15, 15, -2.2}, {15, 15, 15, -0.9}, {15, 15, 13, 0.6}},
        {{17, 15, 15, 3.6}, {17, 15, 14, 2.2}, {17, 15, 15, 0.2}},
    };
    for (const Leaf& l : layouts[f.flavor % 4])
        if (l.len > 0) leaf(cr, g, l.x, l.y, l.len, l.angle, leafColour);
    double bx = layouts[f.flavor % 4][0].x, by = layouts[f.flavor % 4][0].y;
    berry(cr, g, bx - 2.2, by + 1.5, 2.6);
    berry(cr, g, bx + 2.2, by + 1.2, 2.6);
    berry(cr, g, bx, by - 1.8, 2.6);
    cairo_restore(cr);
}

void paintSnowFamily(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    cairo_scale(cr, f.w / 32.0, f.h / 32.0);
    Frame g = f;
    g.w = g.h = 32;
    auto ball = [&](double x, double y, double r) {
        ellipsePath(cr, x, y, r, r * 0.95);
        fillShaded(cr, g, col::snow, x, y, r, 0.7);
        cairo_new_path(cr);
    };
    auto eyes = [&](double x, double y, double d) {
        for (int i = -1; i <= 1; i += 2) {
            ellipsePath(cr, x + i * d, y, 0.9, 0.9);
            setColour(cr, col::coal);
            cairo_fill(cr);
        }
    };
    auto nose = [&](double x, double y, double len) {
        cairo_move_to(cr, x, y - 0.8);
        cairo_line_to(cr, x + len, y);
        cairo_line_to(cr, x, y + 0.8);
        cairo_close_path(cr);
        setColour(cr, col::carrot);
        cairo_fill(cr);
    };
    auto scarf = [&](double x, double y, double w, Colour c) {
        roundRectPath(cr, x - w / 2, y - 1.2, w, 2.6, 1);
        cairo_rectangle(cr, x + w * 0.15, y, 2.2, 5);
        fillShaded(cr, g, c, x, y, w / 2, 0.5);
        cairo_new_path(cr);
    };
    switch (f.flavor % 4) {
    case 0:  // father: top hat, red scarf
        ball(16, 24.5, 7);
        ball(16, 13.5, 5.2);
        scarf(16, 18, 10, col::red);
        eyes(16, 12.5, 1.9);
        nose(16, 14.2, 3.5);
        roundRectPath(cr, 11, 7.8, 10, 1.6, 0.5);
        roundRectPath(cr, 12.7, 1, 6.6, 7.5, 0.8);
        fillShaded(cr, g, {0.15, 0.15, 0.18}, 16, 5, 5, 0.5);
        cairo_new_path(cr);
        setColour(cr, col::red);
        cairo_rectangle(cr, 12.7, 6.2, 6.6, 1.2);
        cairo_fill(cr);
        for (int i = 0; i < 3; ++i) {
            ellipsePath(cr, 16, 21 + i * 3, 0.8, 0.8);
            setColour(cr, col::coal);
            cairo_fill(cr);
        }
        break;
    case 1:  // mother: bonnet and pink scarf
        ball(16, 24.5, 6.8);
        ball(16, 14, 5);
        scarf(16, 18.5, 9, col::pink);
        eyes(16, 13.2, 1.8);
        nose(16, 14.8, 3);
        cairo_arc(cr, 16, 12.5, 5.6, M_PI * 1.05, M_PI * 1.95);
        cairo_close_path(cr);
        fillShaded(cr, g, {0.55, 0.25, 0.75}, 16, 9, 5, 0.5);
        cairo_new_path(cr);
        ellipsePath(cr, 16, 7, 1.6, 1.6);
        setColour(cr, col::white);
        cairo_fill(cr);
        break;
    case 2:  // child: bobble hat, green scarf
        ball(16, 26, 5.5);
        ball(16, 17.5, 4.2);
        scarf(16, 21.2, 8, col::green);
        eyes(16, 16.8, 1.5);
        nose(16, 18.2, 2.6);
        cairo_arc(cr, 16, 15.8, 4.3, M_PI, 2 * M_PI);
        cairo_close_path(cr);
        fillShaded(cr, g, col::blue, 16, 13, 4, 0.5);
        cairo_new_path(cr);
        ellipsePath(cr, 16, 11, 1.6, 1.6);
        fillShaded(cr, g, col::white, 16, 11, 1.6, 0.4);
        cairo_new_path(cr);
        break;
    default:  // dog: a snow dog sitting, with floppy ears and a collar
        ball(17, 25, 6.5);
        ball(12.5, 16.5, 4.6);
        ellipsePath(cr, 8.5, 18, 2.6, 2);
        fillShaded(cr, g, col::snow, 8.5, 18, 2.5, 0.5);
        cairo_new_path(cr);
        ellipsePath(cr, 15.5, 14.5, 1.6, 3.2);
        fillShaded(cr, g, {0.75, 0.8, 0.88}, 15.5, 14.5, 2, 0.5);
        cairo_new_path(cr);
        ellipsePath(cr, 6.6, 17.6, 1.1, 1.1);
        setColour(cr, col::coal);
        cairo_fill(cr);
        ellipsePath(cr, 11.2, 15.2, 0.8, 0.8);
        cairo_fill(cr);
        roundRectPath(cr, 10, 20, 7, 1.6, 0.6);
        setColour(cr, col::red);
        cairo_fill(cr);
        ellipsePath(cr, 23.5, 26, 2.5, 1.2);
        fillShaded(cr, g, col::snow, 23.5, 26, 2, 0.5);
        cairo_new_path(cr);
        break;
    }
    cairo_restore(cr);
}

void paintChristmasTrees(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    cairo_scale(cr, f.w / 31.0, f.h / 31.0);
    Frame g = f;
    g.w = g.h = 31;
    setColour(cr, col::brown);
    cairo_rectangle(cr, 13.5, 25, 4, 5.5);
    cairo_fill(cr);
    Colour green{0.08, 0.52, 0.18};
    for (int tier = 0; tier < 3; ++tier) {
        double top = 3 + tier * 6.5, bottom = 12 + tier * 7, half = 6 + tier * 3.5;
        cairo_move_to(cr, 15.5, top);
        cairo_line_to(cr, 15.5 + half, bottom);
        cairo_curve_to(cr, 15.5 + half * 0.3, bottom - 1.5, 15.5 - half * 0.3, bottom - 1.5, 15.5 - half, bottom);
        cairo_close_path(cr);
        fillShaded(cr, g, green, 15.5, (top + bottom) / 2, half, 0.6);
        cairo_new_path(cr);
    }
    // lights that twinkle in turn: one colour group at full brightness a step
    const Colour lights[4] = {col::red, col::yellow, col::blue, col::orange};
    const double at[12][2] = {{13, 10}, {18, 11}, {15.5, 8}, {11, 16}, {20, 17}, {15, 14.5},
                              {8.5, 23}, {13, 21}, {18, 22.5}, {23, 23}, {16, 19}, {10.5, 19.5}};
    for (int i = 0; i < 12; ++i) {
        bool lit = i % 4 == f.state % 4;
        Colour c = lights[i % 4];
        if (lit) glow(cr, c, at[i][0], at[i][1], 2.8, 0.7);
        ellipsePath(cr, at[i][0], at[i][1], 1.2, 1.2);
        setColour(cr, lit ? shade(c, 1.4) : shade(c, 0.55));
        cairo_fill(cr);
    }
    starPath(cr, 15.5, 3.2, 3.2, 1.3, 5);
    fillShaded(cr, g, col::yellow, 15.5, 3.2, 3, 0.5);
    cairo_new_path(cr);
    cairo_restore(cr);
}

void paintCandyCanes(cairo_t* cr, const Frame& f) {
    const Colour stripes[4][2] = {{col::red, col::red}, {col::green, col::green}, {col::red, col::green},
                                  {{0.2, 0.8, 0.55}, {0.2, 0.8, 0.55}}};
    double sx = f.w / 19.0, sy = f.h / 31.0;
    cairo_save(cr);
    cairo_scale(cr, sx, sy);
    // the cane: a hook at the top and a straight shaft
    auto canePath = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, 12.5, 30);
        cairo_line_to(cr, 12.5, 9);
        cairo_arc_negative(cr, 8.5, 9, 4, 0, M_PI);
    };
    canePath();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 5.2);
    setColour(cr, {0.1, 0.1, 0.1});
    cairo_stroke(cr);
    canePath();
    cairo_set_line_width(cr, 4.2);
    setColour(cr, col::white);
    cairo_stroke(cr);
    // stripes: short diagonal dashes along the cane
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    canePath();
    cairo_set_line_width(cr, 4.2);
    double dash[2] = {2.2, 2.6};
    cairo_set_dash(cr, dash, 2, 0);
    setColour(cr, stripes[f.flavor % 4][0]);
    cairo_stroke(cr);
    if (f.flavor % 4 == 2) {
        canePath();
        cairo_set_dash(cr, dash, 2, 2.4);
        setColour(cr, stripes[2][1]);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    cairo_set_dash(cr, nullptr, 0, 0);
    // shine down the left of the shaft
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_rectangle(cr, 11, 10, 0.9, 19);
    cairo_fill(cr);
    // the sparkle moves: top of the hook, middle, foot
    const double spark[3][2] = {{6, 6}, {12.5, 16}, {12.5, 26}};
    const double* s = spark[f.state % 3];
    starPath(cr, s[0], s[1], 3.4, 0.7, 4);
    cairo_set_source_rgba(cr, 1, 1, 0.9, 0.95);
    cairo_fill(cr);
    cairo_restore(cr);
}

void paintSantaClaus(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    cairo_scale(cr, f.w / 31.0, f.h / 31.0);
    Frame g = f;
    g.w = g.h = 31;
    bool face = f.flavor % 2 == 0;
    double cx = 15.5, cy = face ? 16 : 10;
    double r = face ? 8 : 5;
    if (!face) {
        // body with a belt, arm waving
        roundRectPath(cr, 8.5, 14, 14, 15, 5);
        fillShaded(cr, g, col::red, 15.5, 21, 8, 0.7);
        cairo_new_path(cr);
        setColour(cr, col::coal);
        cairo_rectangle(cr, 8.5, 22, 14, 2);
        cairo_fill(cr);
        setColour(cr, col::gold);
        cairo_rectangle(cr, 14.3, 21.8, 2.4, 2.4);
        cairo_fill(cr);
        double angle = f.state == 0 ? -2.3 : -1.6;
        cairo_save(cr);
        cairo_translate(cr, 21, 16);
        cairo_rotate(cr, angle + M_PI / 2);
        roundRectPath(cr, -1.6, 0, 3.2, 8, 1.5);
        fillShaded(cr, g, col::red, 0, 4, 4, 0.6);
        cairo_new_path(cr);
        ellipsePath(cr, 0, 8.5, 1.9, 1.9);
        fillShaded(cr, g, col::white, 0, 8.5, 2, 0.5);
        cairo_new_path(cr);
        cairo_restore(cr);
        roundRectPath(cr, 7, 16, 3, 7, 1.5);
        fillShaded(cr, g, col::red, 8.5, 19, 3, 0.6);
        cairo_new_path(cr);
    }
    // beard
    ellipsePath(cr, cx, cy + r * 0.45, r * 1.05, r * 1.0);
    fillShaded(cr, g, col::white, cx, cy + r * 0.5, r, 0.6);
    cairo_new_path(cr);
    ellipsePath(cr, cx, cy - r * 0.1, r * 0.75, r * 0.62);
    fillShaded(cr, g, col::skin, cx, cy, r * 0.7, 0.5);
    cairo_new_path(cr);
    // eyes: open, or closed in the blink
    bool closed = face && f.state == 1;
    for (int i = -1; i <= 1; i += 2) {
        if (closed) {
            setColour(cr, col::coal);
            cairo_set_line_width(cr, 0.8);
            cairo_move_to(cr, cx + i * r * 0.3 - 1, cy - r * 0.2);
            cairo_line_to(cr, cx + i * r * 0.3 + 1, cy - r * 0.2);
            cairo_stroke(cr);
        } else {
            ellipsePath(cr, cx + i * r * 0.3, cy - r * 0.2, 0.8, 0.9);
            setColour(cr, col::coal);
            cairo_fill(cr);
        }
    }
    ellipsePath(cr, cx, cy + r * 0.1, r * 0.16, r * 0.13);
    setColour(cr, {0.95, 0.45, 0.45});
    cairo_fill(cr);
    // moustache
    ellipsePath(cr, cx - r * 0.22, cy + r * 0.3, r * 0.28, r * 0.12);
    ellipsePath(cr, cx + r * 0.22, cy + r * 0.3, r * 0.28, r * 0.12);
    setColour(cr, {0.95, 0.95, 0.95});
    cairo_fill(cr);
    // hat with fur trim and pompom
    cairo_move_to(cr, cx - r * 0.95, cy - r * 0.55);
    cairo_curve_to(cr, cx - r * 0.6, cy - r * 1.8, cx + r * 0.6, cy - r * 1.9, cx + r * 1.2, cy - r * 1.25);
    cairo_line_to(cr, cx + r * 0.95, cy - r * 0.55);
    cairo_close_path(cr);
    fillShaded(cr, g, col::red, cx, cy - r, r, 0.6);
    cairo_new_path(cr);
    roundRectPath(cr, cx - r * 1.05, cy - r * 0.75, r * 2.1, r * 0.38, r * 0.18);
    fillShaded(cr, g, col::white, cx, cy - r * 0.6, r, 0.5);
    cairo_new_path(cr);
    ellipsePath(cr, cx + r * 1.2, cy - r * 1.25, r * 0.28, r * 0.28);
    fillShaded(cr, g, col::white, cx + r * 1.2, cy - r * 1.25, r * 0.3, 0.4);
    cairo_new_path(cr);
    cairo_restore(cr);
}

void paintCarolers(cairo_t* cr, const Frame& f) {
    const Colour coats[6] = {col::red, col::green, col::blue, col::purple, {0.55, 0.32, 0.18}, {0.15, 0.55, 0.55}};
    const Colour hats[6] = {col::green, col::red, col::white, col::pink, col::red, col::yellow};
    cairo_save(cr);
    cairo_scale(cr, f.w / 31.0, f.h / 31.0);
    Frame g = f;
    g.w = g.h = 31;
    int k = f.flavor % 6;
    // coat
    cairo_move_to(cr, 9, 30);
    cairo_curve_to(cr, 9, 22, 10, 17, 15.5, 16.5);
    cairo_curve_to(cr, 21, 17, 22, 22, 22, 30);
    cairo_close_path(cr);
    fillShaded(cr, g, coats[k], 15.5, 23, 8, 0.7);
    cairo_new_path(cr);
    // songbook
    cairo_move_to(cr, 10, 21);
    cairo_line_to(cr, 15.5, 22.5);
    cairo_line_to(cr, 21, 21);
    cairo_line_to(cr, 21, 25.5);
    cairo_line_to(cr, 15.5, 27);
    cairo_line_to(cr, 10, 25.5);
    cairo_close_path(cr);
    fillShaded(cr, g, {0.95, 0.93, 0.85}, 15.5, 24, 6, 0.6);
    cairo_new_path(cr);
    setColour(cr, {0.55, 0.1, 0.1});
    cairo_rectangle(cr, 15.1, 22.4, 0.8, 4.6);
    cairo_fill(cr);
    // head
    ellipsePath(cr, 15.5, 11, 5.4, 5.6);
    fillShaded(cr, g, k % 2 ? col::skin : Colour{0.85, 0.62, 0.45}, 15.5, 11, 5.4, 0.6);
    cairo_new_path(cr);
    for (int i = -1; i <= 1; i += 2) {
        ellipsePath(cr, 15.5 + i * 2, 10.2, 0.7, 0.8);
        setColour(cr, col::coal);
        cairo_fill(cr);
    }
    // mouth: closed, half open, wide open
    double open = f.state == 0 ? 0.25 : f.state == 1 ? 1.0 : 1.8;
    ellipsePath(cr, 15.5, 13.6, 1.3, open);
    setColour(cr, {0.45, 0.08, 0.08});
    cairo_fill(cr);
    // scarf and a hat of the flavor's colour
    roundRectPath(cr, 11, 15.5, 9, 2.2, 1);
    fillShaded(cr, g, hats[k], 15.5, 16.5, 4, 0.5);
    cairo_new_path(cr);
    cairo_arc(cr, 15.5, 8.6, 5.6, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    fillShaded(cr, g, hats[k], 15.5, 6, 5, 0.6);
    cairo_new_path(cr);
    ellipsePath(cr, 15.5, 2.8, 1.7, 1.7);
    fillShaded(cr, g, col::white, 15.5, 2.8, 1.7, 0.4);
    cairo_new_path(cr);
    // music notes when singing out
    if (f.state == 2 && !f.small) {
        text(cr, "\u266A", 25, 7, 8, col::yellow);
    }
    cairo_restore(cr);
}

void paintStockings(cairo_t* cr, const Frame& f) {
    const Colour sock[2] = {col::red, col::green};
    cairo_save(cr);
    cairo_scale(cr, f.w / 22.0, f.h / 31.0);
    Frame g = f;
    g.w = 22;
    g.h = 31;
    // sways about the nail at the top
    const double angle[4] = {-0.05, 0, 0.05, 0};
    cairo_translate(cr, 11, 1.5);
    cairo_rotate(cr, angle[f.state % 4]);
    cairo_translate(cr, -11, -1.5);
    // a toy peeking out: a candy cane or a teddy's head, bobbing
    double peek = f.state % 2 ? 0.8 : 0;
    if (f.flavor % 2 == 0) {
        cairo_set_line_width(cr, 2);
        setColour(cr, col::white);
        cairo_move_to(cr, 13, 9);
        cairo_line_to(cr, 13, 3 + peek);
        cairo_arc_negative(cr, 11, 3 + peek, 2, 0, M_PI);
        cairo_stroke(cr);
        setColour(cr, col::red);
        cairo_set_line_width(cr, 2);
        double d[2] = {1, 1.2};
        cairo_set_dash(cr, d, 2, 0);
        cairo_move_to(cr, 13, 9);
        cairo_line_to(cr, 13, 3 + peek);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
    } else {
        ellipsePath(cr, 11, 5 + peek, 3.2, 3);
        fillShaded(cr, g, {0.65, 0.42, 0.2}, 11, 5, 3, 0.5);
        cairo_new_path(cr);
        ellipsePath(cr, 8.5, 2.8 + peek, 1.2, 1.2);
        ellipsePath(cr, 13.5, 2.8 + peek, 1.2, 1.2);
        fillShaded(cr, g, {0.55, 0.35, 0.15}, 11, 3, 3, 0.4);
        cairo_new_path(cr);
        ellipsePath(cr, 10, 4.6 + peek, 0.5, 0.5);
        ellipsePath(cr, 12, 4.6 + peek, 0.5, 0.5);
        setColour(cr, col::coal);
        cairo_fill(cr);
    }
    // the stocking: leg, heel and toe
    cairo_move_to(cr, 5, 8);
    cairo_line_to(cr, 15, 8);
    cairo_line_to(cr, 15, 20);
    cairo_curve_to(cr, 15, 24, 19, 23, 20.5, 25.5);
    cairo_curve_to(cr, 22, 29, 17, 30.5, 12.5, 29.5);
    cairo_curve_to(cr, 8, 28.5, 5, 26, 5, 20);
    cairo_close_path(cr);
    fillShaded(cr, g, sock[f.flavor % 2], 10, 18, 9, 0.7);
    cairo_new_path(cr);
    if (f.flavor % 2) {
        cairo_save(cr);
        cairo_move_to(cr, 5, 8);
        cairo_line_to(cr, 15, 8);
        cairo_line_to(cr, 15, 28);
        cairo_line_to(cr, 5, 28);
        cairo_clip(cr);
        setColour(cr, col::white, 0.85);
        for (int i = 0; i < 5; ++i) cairo_rectangle(cr, 5, 13 + i * 3.4, 10, 1.3);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    roundRectPath(cr, 4, 7, 12, 4.5, 1.5);
    fillShaded(cr, g, col::white, 10, 9, 6, 0.6);
    cairo_new_path(cr);
    cairo_restore(cr);
}

void paintGifts(cairo_t* cr, const Frame& f) {
    const Colour paper[4] = {col::red, col::blue, col::green, col::purple};
    const Colour ribbon[4] = {col::gold, col::white, col::red, col::yellow};
    int k = f.flavor % 4;
    double w = f.w, h = f.h;
    double lift = f.state == 1 ? h * 0.12 : 0;
    double boxTop = h * 0.38, lidH = h * 0.16;
    Frame g = f;
    // box
    roundRectPath(cr, w * 0.08, boxTop, w * 0.84, h - boxTop - 0.8, 1);
    fillShaded(cr, g, paper[k], w / 2, (boxTop + h) / 2, w * 0.5, 0.8);
    cairo_new_path(cr);
    if (!f.small) {
        // paper pattern: dots or stripes
        cairo_save(cr);
        cairo_rectangle(cr, w * 0.08, boxTop, w * 0.84, h - boxTop);
        cairo_clip(cr);
        setColour(cr, shade(paper[k], 1.45), 0.7);
        for (double y = boxTop + 2; y < h; y += 4)
            for (double x = w * 0.1 + (int(y) % 8 ? 0 : 2); x < w; x += 4) {
                ellipsePath(cr, x, y, 0.6, 0.6);
            }
        cairo_fill(cr);
        cairo_restore(cr);
    }
    setColour(cr, ribbon[k]);
    cairo_rectangle(cr, w * 0.44, boxTop, w * 0.12, h - boxTop - 0.8);
    cairo_fill(cr);
    // lid (hops up in the second phase) and bow
    double lidTop = boxTop - lidH * 0.6 - lift;
    roundRectPath(cr, w * 0.02, lidTop, w * 0.96, lidH, 1);
    fillShaded(cr, g, shade(paper[k], 1.1), w / 2, lidTop + lidH / 2, w * 0.5, 0.8);
    cairo_new_path(cr);
    setColour(cr, ribbon[k]);
    cairo_rectangle(cr, w * 0.44, lidTop, w * 0.12, lidH);
    cairo_fill(cr);
    double bx = w / 2, by = lidTop - h * 0.05;
    ellipsePath(cr, bx - w * 0.14, by, w * 0.15, h * 0.09);
    ellipsePath(cr, bx + w * 0.14, by, w * 0.15, h * 0.09);
    fillShaded(cr, g, ribbon[k], bx, by, w * 0.2, 0.6);
    cairo_new_path(cr);
    ellipsePath(cr, bx, by + 0.5, w * 0.06, h * 0.06);
    fillShaded(cr, g, shade(ribbon[k], 0.8), bx, by, w * 0.06, 0.4);
    cairo_new_path(cr);
}

}  // namespace art
