// Halloween, autumn, Thanksgiving, summer and the all-year kinds.
#include "painters.h"

namespace art {

namespace {

void scaled(cairo_t* cr, const Frame& f, double w, double h, Frame& g) {
    cairo_scale(cr, f.w / w, f.h / h);
    g = f;
    g.w = w;
    g.h = h;
}

}  // namespace

void paintJackOLanterns(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    Frame g;
    scaled(cr, f, 30, 30, g);
    Colour pumpkin{0.95, 0.50, 0.05};
    for (int i = -1; i <= 1; ++i) {
        ellipsePath(cr, 15 + i * 5.5, 17, i ? 7.5 : 8, 11);
        fillShaded(cr, g, i ? shade(pumpkin, 0.9) : pumpkin, 15 + i * 5.5, 17, 9, 0.7);
        cairo_new_path(cr);
    }
    setColour(cr, {0.25, 0.45, 0.1});
    roundRectPath(cr, 13.5, 2, 3, 5, 1);
    cairo_fill(cr);
    // the face glows with candlelight that flickers
    const double flicker[4] = {1.0, 0.75, 0.9, 0.6};
    Colour light = mix({0.6, 0.25, 0.0}, {1.0, 0.95, 0.4}, flicker[f.state % 4]);
    cairo_new_path(cr);
    if (f.flavor % 2 == 0) {
        cairo_move_to(cr, 8, 15); cairo_line_to(cr, 12, 10); cairo_line_to(cr, 13, 15); cairo_close_path(cr);
        cairo_move_to(cr, 22, 15); cairo_line_to(cr, 18, 10); cairo_line_to(cr, 17, 15); cairo_close_path(cr);
        cairo_move_to(cr, 13.5, 18); cairo_line_to(cr, 15, 16); cairo_line_to(cr, 16.5, 18); cairo_close_path(cr);
        cairo_move_to(cr, 7, 20);
        cairo_curve_to(cr, 10, 26, 20, 26, 23, 20);
        cairo_line_to(cr, 20, 22); cairo_line_to(cr, 18, 20.5); cairo_line_to(cr, 15, 22.5);
        cairo_line_to(cr, 12, 20.5); cairo_line_to(cr, 10, 22);
        cairo_close_path(cr);
    } else {
        ellipsePath(cr, 10.5, 13, 2.5, 3);
        ellipsePath(cr, 19.5, 13, 2.5, 3);
        cairo_move_to(cr, 6, 19);
        for (int i = 0; i <= 9; ++i) cairo_line_to(cr, 6 + i * 2, i % 2 ? 24 : 20);
        cairo_curve_to(cr, 22, 27, 8, 27, 6, 19);
        cairo_close_path(cr);
    }
    setColour(cr, light);
    cairo_fill(cr);
    cairo_restore(cr);
}

void paintZombieTombstones(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    Frame g;
    scaled(cr, f, 31, 29, g);
    // the stone
    cairo_move_to(cr, 6, 26);
    cairo_line_to(cr, 6, 9);
    cairo_arc(cr, 15.5, 9, 9.5, M_PI, 2 * M_PI);
    cairo_line_to(cr, 25, 26);
    cairo_close_path(cr);
    fillShaded(cr, g, {0.62, 0.63, 0.66}, 15.5, 14, 11, 0.8);
    cairo_new_path(cr);
    if (!f.small) text(cr, "RIP", 15.5, 9.5, 6.5, {0.25, 0.25, 0.28});
    // a hand rising from the grave in front of the stone, and sinking back
    double rise = f.state * 2.6;
    if (f.state > 0) {
        cairo_save(cr);
        cairo_rectangle(cr, 0, 0, 31, 24);
        cairo_clip(cr);
        Colour zombie{0.45, 0.70, 0.35};
        double base = 24 - rise;
        roundRectPath(cr, 13.6, base, 3.8, rise + 2, 1);
        fillShaded(cr, g, zombie, 15.5, base + 2, 3, 0.5);
        cairo_new_path(cr);
        for (int i = 0; i < 4; ++i) {
            roundRectPath(cr, 13.3 + i * 1.15, base - 3.2 + (i == 0 || i == 3 ? 1 : 0), 1.1, 4, 0.5);
        }
        roundRectPath(cr, 17, base + 0.5, 2.8, 1.2, 0.5);
        fillShaded(cr, g, zombie, 15.5, base - 1, 3, 0.4);
        cairo_new_path(cr);
        cairo_restore(cr);
    }
    // the grave mound
    cairo_move_to(cr, 1, 29);
    cairo_curve_to(cr, 5, 22, 26, 22, 30, 29);
    cairo_close_path(cr);
    fillShaded(cr, g, {0.38, 0.26, 0.14}, 15.5, 26, 12, 0.6);
    cairo_new_path(cr);
    setColour(cr, {0.2, 0.55, 0.15});
    cairo_set_line_width(cr, 0.8);
    for (int i = 0; i < 6; ++i) {
        cairo_move_to(cr, 4 + i * 4.5, 27);
        cairo_line_to(cr, 3 + i * 4.5, 24.5);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

void paintGrimReaper(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    Frame g;
    scaled(cr, f, 32, 30, g);
    Colour robe = f.flavor % 2 ? Colour{0.30, 0.12, 0.38} : Colour{0.22, 0.22, 0.26};
    // scythe behind the figure
    setColour(cr, {0.45, 0.3, 0.15});
    cairo_set_line_width(cr, 1.4);
    cairo_move_to(cr, 6, 29);
    cairo_line_to(cr, 9, 2);
    cairo_stroke(cr);
    cairo_move_to(cr, 9, 2);
    cairo_curve_to(cr, 3, 1, 0.5, 5, 1, 9);
    cairo_curve_to(cr, 2.5, 6, 5, 4.5, 9, 4.5);
    cairo_close_path(cr);
    fillShaded(cr, g, col::silver, 5, 4, 4, 0.5);
    cairo_new_path(cr);
    // hooded robe
    cairo_move_to(cr, 16, 2);
    cairo_curve_to(cr, 23, 2, 24, 9, 23.5, 13);
    cairo_curve_to(cr, 26, 20, 26, 26, 27, 29.5);
    cairo_line_to(cr, 9, 29.5);
    cairo_curve_to(cr, 10, 24, 10, 18, 9.5, 12);
    cairo_curve_to(cr, 9, 6, 11, 2, 16, 2);
    cairo_close_path(cr);
    fillShaded(cr, g, robe, 16, 14, 12, 0.8);
    cairo_new_path(cr);
    // the dark face with glowing eyes (brighter in the glance)
    ellipsePath(cr, 17, 9, 4, 4.5);
    setColour(cr, {0.02, 0.02, 0.03});
    cairo_fill(cr);
    bool glance = f.state == 3;
    for (int i = -1; i <= 1; i += 2) {
        if (glance) glow(cr, {1, 0.2, 0.1}, 17 + i * 1.6, 9, 2.4, 0.9);
        ellipsePath(cr, 17 + i * 1.6, 9, 0.8, 0.6);
        setColour(cr, glance ? Colour{1, 0.4, 0.2} : Colour{0.6, 0.1, 0.1});
        cairo_fill(cr);
    }
    // the bony hand knocking: raised, forward, rest
    const double hx[4] = {25, 27.5, 29.5, 24.5}, hy[4] = {17, 13, 14.5, 18};
    int s = f.state % 4;
    setColour(cr, robe);
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, 21, 16);
    cairo_line_to(cr, hx[s] - 1, hy[s] + 1);
    cairo_stroke(cr);
    ellipsePath(cr, hx[s], hy[s], 1.6, 1.6);
    fillShaded(cr, g, {0.92, 0.9, 0.82}, hx[s], hy[s], 1.6, 0.4);
    cairo_new_path(cr);
    if (s == 2 && !f.small) {
        setColour(cr, col::yellow, 0.9);
        cairo_set_line_width(cr, 0.7);
        for (int i = -1; i <= 1; ++i) {
            cairo_move_to(cr, 31, 14.5 + i * 2.5);
            cairo_line_to(cr, 32, 14.5 + i * 3.2);
        }
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void paintGhosts(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    Frame g;
    scaled(cr, f, 25, 32, g);
    double lift = f.state % 2 ? 0 : 1.5;
    cairo_translate(cr, 0, -lift + 1);
    cairo_move_to(cr, 3, 28);
    cairo_line_to(cr, 3, 12);
    cairo_curve_to(cr, 3, 4, 8, 1, 12.5, 1);
    cairo_curve_to(cr, 17, 1, 22, 4, 22, 12);
    cairo_line_to(cr, 22, 28);
    // the wavy hem swings with the float
    for (int i = 4; i >= 0; --i) {
        double x = 3 + i * 3.8, dip = (i + f.state) % 2 ? 30 : 26.5;
        cairo_curve_to(cr, x + 2.8, dip, x + 1, dip, x, 28);
    }
    cairo_close_path(cr);
    fillShaded(cr, g, {0.96, 0.97, 1.0}, 12.5, 13, 12, 0.8);
    cairo_new_path(cr);
    ellipsePath(cr, 9.5, 11, 1.8, 2.6);
    ellipsePath(cr, 15.5, 11, 1.8, 2.6);
    setColour(cr, col::coal);
    cairo_fill(cr);
    ellipsePath(cr, 12.5, 17.5, 2, 2.6 - f.state % 2);
    cairo_fill(cr);
    cairo_restore(cr);
}

void paintAutumnLeaves(cairo_t* cr, const Frame& f) {
    const Colour colours[4] = {{0.88, 0.18, 0.08}, {0.80, 0.45, 0.12}, {0.98, 0.82, 0.15}, {0.95, 0.70, 0.10}};
    cairo_save(cr);
    Frame g;
    scaled(cr, f, 30, 30, g);
    // turning: the second phase shows the leaf flipped and tilted
    cairo_translate(cr, 15, 15);
    cairo_rotate(cr, f.state ? 0.12 : -0.12);
    cairo_translate(cr, -15, -15);
    // the turned leaf shows its paler underside
    Colour c = f.state ? shade(colours[f.flavor % 4], 1.2) : colours[f.flavor % 4];
    switch (f.flavor % 4) {
    case 0:  // maple
        starPath(cr, 15, 13, 12, 5.5, 5);
        break;
    case 1:  // oak: lobed
        for (int i = 0; i < 4; ++i) {
            ellipsePath(cr, 11 + (i % 2) * 8, 7 + (i / 2) * 9, 5, 4.5);
        }
        ellipsePath(cr, 15, 14, 5, 11);
        break;
    case 2:  // birch: an oval with a point
        cairo_move_to(cr, 15, 2);
        cairo_curve_to(cr, 25, 8, 25, 20, 15, 25);
        cairo_curve_to(cr, 5, 20, 5, 8, 15, 2);
        cairo_close_path(cr);
        break;
    default:  // ginkgo: a fan
        cairo_move_to(cr, 15, 22);
        cairo_line_to(cr, 3, 7);
        cairo_curve_to(cr, 8, 2, 22, 2, 27, 7);
        cairo_close_path(cr);
        break;
    }
    fillShaded(cr, g, c, 15, 13, 12, 0.8);
    cairo_new_path(cr);
    setColour(cr, shade(c, 0.55));
    cairo_set_line_width(cr, 1.1);
    cairo_move_to(cr, 15, 29);
    cairo_line_to(cr, 15, 8);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void paintCornucopias(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    Frame g;
    scaled(cr, f, 32, 32, g);
    // the horn, curling to the left
    cairo_move_to(cr, 30, 10);
    cairo_curve_to(cr, 22, 8, 10, 12, 5, 22);
    cairo_curve_to(cr, 3, 26, 1, 25, 2, 21);
    cairo_curve_to(cr, 3, 26, 8, 27, 12, 26);
    cairo_curve_to(cr, 18, 26, 26, 24, 30, 24);
    cairo_close_path(cr);
    fillShaded(cr, g, {0.72, 0.52, 0.25}, 16, 18, 14, 0.8);
    cairo_new_path(cr);
    setColour(cr, {0.45, 0.3, 0.12}, 0.8);
    cairo_set_line_width(cr, 0.7);
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(cr, 12 + i * 5, 12 - i * 0.5);
        cairo_line_to(cr, 10 + i * 5, 26);
    }
    cairo_stroke(cr);
    // fruit at the mouth; an apple rolls out in the second phase
    ellipsePath(cr, 27, 13, 4, 4);
    fillShaded(cr, g, {0.55, 0.2, 0.6}, 27, 13, 4, 0.6);
    cairo_new_path(cr);
    ellipsePath(cr, 28, 20, 3.5, 3.5);
    fillShaded(cr, g, col::orange, 28, 20, 3.5, 0.6);
    cairo_new_path(cr);
    ellipsePath(cr, 24, 17, 2.5, 4.5);
    fillShaded(cr, g, col::yellow, 24, 17, 3, 0.6);
    cairo_new_path(cr);
    double ax = f.state ? 22 : 26, ay = f.state ? 28.5 : 25.5;
    ellipsePath(cr, ax, ay, 3, 3);
    fillShaded(cr, g, col::red, ax, ay, 3, 0.6);
    cairo_new_path(cr);
    cairo_restore(cr);
}

void paintLiveTurkeys(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    Frame g;
    scaled(cr, f, 31, 32, g);
    const Colour fan[5] = {{0.55, 0.3, 0.12}, {0.85, 0.5, 0.12}, {0.75, 0.15, 0.08}, {0.9, 0.75, 0.2}, {0.55, 0.3, 0.12}};
    for (int i = 0; i < 5; ++i) {
        cairo_save(cr);
        cairo_translate(cr, 14, 18);
        cairo_rotate(cr, -1.2 + i * 0.6);
        ellipsePath(cr, 0, -8, 3.2, 8);
        fillShaded(cr, g, fan[i], 0, -8, 6, 0.6);
        cairo_new_path(cr);
        cairo_restore(cr);
    }
    ellipsePath(cr, 16, 20, 7, 6.5);
    fillShaded(cr, g, {0.45, 0.26, 0.12}, 16, 20, 7, 0.7);
    cairo_new_path(cr);
    // the head bobs as the turkey struts; legs step
    double bob = f.state == 1 ? 1.5 : 0;
    setColour(cr, {0.45, 0.26, 0.12});
    cairo_set_line_width(cr, 2.2);
    cairo_move_to(cr, 20, 16);
    cairo_line_to(cr, 23, 10 + bob);
    cairo_stroke(cr);
    ellipsePath(cr, 24, 9 + bob, 2.6, 2.6);
    fillShaded(cr, g, {0.55, 0.65, 0.85}, 24, 9, 2.6, 0.5);
    cairo_new_path(cr);
    cairo_move_to(cr, 26.2, 8.6 + bob);
    cairo_line_to(cr, 28.5, 9.4 + bob);
    cairo_line_to(cr, 26.2, 10 + bob);
    setColour(cr, col::gold);
    cairo_fill(cr);
    ellipsePath(cr, 26, 12 + bob, 0.9, 2);
    setColour(cr, col::red);
    cairo_fill(cr);
    ellipsePath(cr, 24.6, 8.4 + bob, 0.5, 0.5);
    setColour(cr, col::coal);
    cairo_fill(cr);
    const double step[3] = {-1.5, 0, 1.5};
    setColour(cr, col::orange);
    cairo_set_line_width(cr, 1.1);
    cairo_move_to(cr, 14, 26);
    cairo_line_to(cr, 14 + step[f.state % 3], 31);
    cairo_move_to(cr, 18, 26);
    cairo_line_to(cr, 18 - step[f.state % 3], 31);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void paintDeadTurkeys(cairo_t* cr, const Frame& f) {
    cairo_save(cr);
    Frame g;
    scaled(cr, f, 36, 21, g);
    // platter, the roast and its drumsticks, steam rising
    ellipsePath(cr, 18, 17, 17, 3.5);
    fillShaded(cr, g, {0.9, 0.9, 0.92}, 18, 17, 17, 0.6);
    cairo_new_path(cr);
    ellipsePath(cr, 18, 12.5, 11, 6);
    fillShaded(cr, g, {0.72, 0.40, 0.12}, 18, 12, 11, 0.8);
    cairo_new_path(cr);
    for (int i = -1; i <= 1; i += 2) {
        ellipsePath(cr, 18 + i * 10, 11, 3.5, 2.5);
        fillShaded(cr, g, {0.65, 0.35, 0.1}, 18 + i * 10, 11, 3.5, 0.6);
        cairo_new_path(cr);
        ellipsePath(cr, 18 + i * 13.5, 9.5, 1.3, 1.3);
        setColour(cr, col::white);
        cairo_fill(cr);
    }
    if (!f.small) {
        cairo_set_source_rgba(cr, 0.95, 0.95, 1, 0.75);
        cairo_set_line_width(cr, 1);
        for (int i = -1; i <= 1; ++i) {
            double x = 18 + i * 4, sway = (f.state ? 1 : -1) * (i % 2 ? 1.2 : -1.2);
            cairo_move_to(cr, x, 6);
            cairo_curve_to(cr, x + sway, 4.5, x - sway, 2.5, x + sway * 0.5, 0.5);
        }
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void paintHaveANiceDay(cairo_t* cr, const Frame& f) {
    double cx = f.w / 2, cy = f.h / 2, r = f.w * 0.46;
    ellipsePath(cr, cx, cy, r, r);
    fillShaded(cr, f, {1.0, 0.85, 0.1}, cx, cy, r, 0.9);
    cairo_new_path(cr);
    setColour(cr, col::coal);
    // the left eye stays open, the right one winks
    ellipsePath(cr, cx - r * 0.35, cy - r * 0.25, r * 0.1, r * 0.2);
    cairo_fill(cr);
    double open = f.state == 0 ? 0.2 : f.state == 1 ? 0.1 : 0.02;
    ellipsePath(cr, cx + r * 0.35, cy - r * 0.25 + (0.2 - open) * r * 0.5, r * 0.11, r * open);
    cairo_fill(cr);
    cairo_set_line_width(cr, std::max(0.8, r * 0.1));
    cairo_arc(cr, cx, cy, r * 0.6, 0.2 * M_PI, 0.8 * M_PI);
    cairo_stroke(cr);
}

void paintPaperDolls(cairo_t* cr, const Frame& f) {
    // A chain of four dolls opens out one doll at a time (the folded ones
    // show the grey back of the paper), then folds up again.
    const int open[8] = {1, 2, 3, 4, 4, 3, 2, 1};
    int n = open[f.state % 8];
    double dollW = f.w / 4.0;
    Colour paper{0.97, 0.95, 0.88}, back{0.62, 0.64, 0.70};
    for (int i = 0; i < 4; ++i) {
        double cx = (i + 0.5) * dollW;
        bool unfolded = i < n;
        Colour c = unfolded ? (i % 2 ? shade(paper, 0.93) : paper) : back;
        ellipsePath(cr, cx, f.h * 0.22, dollW * 0.3, dollW * 0.3);
        cairo_move_to(cr, cx - dollW * 0.5, f.h * 0.42);
        cairo_line_to(cr, cx + dollW * 0.5, f.h * 0.42);
        cairo_line_to(cr, cx + dollW * 0.2, f.h * 0.48);
        cairo_line_to(cr, cx + dollW * 0.38, f.h * 0.8);
        cairo_line_to(cr, cx + dollW * 0.12, f.h * 0.8);
        cairo_line_to(cr, cx + dollW * 0.12, f.h * 0.97);
        cairo_line_to(cr, cx - dollW * 0.12, f.h * 0.97);
        cairo_line_to(cr, cx - dollW * 0.12, f.h * 0.8);
        cairo_line_to(cr, cx - dollW * 0.38, f.h * 0.8);
        cairo_line_to(cr, cx - dollW * 0.2, f.h * 0.48);
        cairo_close_path(cr);
        roundRectPath(cr, cx - dollW * 0.55, f.h * 0.38, dollW * 1.1, f.h * 0.07, 1);
        Frame g = f;
        fillShaded(cr, g, c, cx, f.h * 0.5, dollW, 0);
        cairo_new_path(cr);
        if (unfolded && !f.small) {
            ellipsePath(cr, cx - dollW * 0.1, f.h * 0.2, 0.5, 0.5);
            ellipsePath(cr, cx + dollW * 0.1, f.h * 0.2, 0.5, 0.5);
            setColour(cr, {0.2, 0.2, 0.25});
            cairo_fill(cr);
            setColour(cr, i % 2 ? col::red : col::blue, 0.8);
            cairo_rectangle(cr, cx - dollW * 0.2, f.h * 0.5, dollW * 0.4, f.h * 0.2);
            cairo_fill(cr);
        }
    }
}

void paintLaundry(cairo_t* cr, const Frame& f) {
    const Colour cloth[5] = {{0.3, 0.55, 0.95}, col::red, col::pink, {0.25, 0.3, 0.55}, {0.98, 0.85, 0.3}};
    int k = f.flavor % 5;
    Frame g = f;
    double w = f.w, h = f.h;
    // flapping: the lower edge swings sideways
    double flap = f.state ? w * 0.08 : -w * 0.05;
    cairo_new_path(cr);
    switch (k) {
    case 0:  // shirt
        cairo_move_to(cr, w * 0.3, 2);
        cairo_line_to(cr, w * 0.7, 2);
        cairo_line_to(cr, w, h * 0.3);
        cairo_line_to(cr, w * 0.8, h * 0.4);
        cairo_line_to(cr, w * 0.78 + flap, h - 1);
        cairo_line_to(cr, w * 0.22 + flap, h - 1);
        cairo_line_to(cr, w * 0.2, h * 0.4);
        cairo_line_to(cr, 0, h * 0.3);
        cairo_close_path(cr);
        break;
    case 1:  // a sock
        cairo_move_to(cr, w * 0.25, 2);
        cairo_line_to(cr, w * 0.6, 2);
        cairo_line_to(cr, w * 0.6 + flap * 0.5, h * 0.6);
        cairo_curve_to(cr, w * 0.9, h * 0.65, w + flap, h * 0.9, w * 0.7 + flap, h - 1);
        cairo_line_to(cr, w * 0.35 + flap, h - 1);
        cairo_curve_to(cr, w * 0.2, h * 0.9, w * 0.25, h * 0.6, w * 0.25, 2);
        cairo_close_path(cr);
        break;
    case 2:  // dress
        cairo_move_to(cr, w * 0.35, 2);
        cairo_line_to(cr, w * 0.65, 2);
        cairo_line_to(cr, w * 0.62, h * 0.35);
        cairo_line_to(cr, w + flap, h - 1);
        cairo_line_to(cr, 0 + flap, h - 1);
        cairo_line_to(cr, w * 0.38, h * 0.35);
        cairo_close_path(cr);
        break;
    case 3:  // trousers
        cairo_move_to(cr, w * 0.1, 2);
        cairo_line_to(cr, w * 0.9, 2);
        cairo_line_to(cr, w * 0.95 + flap, h - 1);
        cairo_line_to(cr, w * 0.58 + flap, h - 1);
        cairo_line_to(cr, w * 0.5, h * 0.35);
        cairo_line_to(cr, w * 0.42 + flap, h - 1);
        cairo_line_to(cr, w * 0.05 + flap, h - 1);
        cairo_close_path(cr);
        break;
    default:  // towel
        cairo_move_to(cr, w * 0.1, 2);
        cairo_line_to(cr, w * 0.9, 2);
        cairo_line_to(cr, w * 0.9 + flap, h - 1);
        cairo_line_to(cr, w * 0.1 + flap, h - 1);
        cairo_close_path(cr);
        break;
    }
    fillShaded(cr, g, cloth[k], w / 2, h / 2, std::max(w, h) * 0.55, 0.7);
    cairo_new_path(cr);
    if (k == 4 && !f.small) {
        setColour(cr, col::white, 0.8);
        cairo_rectangle(cr, w * 0.1 + flap * 0.8, h * 0.75, w * 0.8, 1.2);
        cairo_fill(cr);
    }
    // two pegs on the line
    for (double x : {w * 0.3, w * 0.7}) {
        roundRectPath(cr, x - 1, 0, 2, std::min(5.0, h * 0.25), 0.6);
        fillShaded(cr, g, {0.85, 0.7, 0.45}, x, 2, 2, 0.4);
        cairo_new_path(cr);
    }
}

void paintTastyDonuts(cairo_t* cr, const Frame& f) {
    double cx = f.w / 2, cy = f.h / 2, r = f.w * 0.46;
    const int bites[8] = {0, 1, 2, 3, 3, 2, 1, 0};
    int b = bites[f.state % 8];
    cairo_save(cr);
    // the bites are round pieces cut from the right side
    cairo_rectangle(cr, 0, 0, f.w, f.h);
    for (int i = 0; i < b; ++i) {
        double a = -0.6 + i * 0.6;
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, cx + cos(a) * r * 1.05, cy + sin(a) * r * 1.05, r * 0.32, 2 * M_PI, 0);
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    ellipsePath(cr, cx, cy, r, r * 0.92);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx, cy, r * 0.3, 2 * M_PI, 0);
    fillShaded(cr, f, {0.85, 0.6, 0.3}, cx, cy, r, 0.8);
    cairo_new_path(cr);
    // pink frosting with sprinkles
    ellipsePath(cr, cx, cy - 0.5, r * 0.85, r * 0.76);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx, cy, r * 0.38, 2 * M_PI, 0);
    fillShaded(cr, f, {1.0, 0.55, 0.72}, cx, cy, r, 0);
    cairo_new_path(cr);
    if (!f.small) {
        const Colour sprinkle[4] = {col::yellow, col::blue, col::white, col::green};
        for (int i = 0; i < 12; ++i) {
            double a = i * 0.52 + 0.3, d = r * (0.52 + 0.18 * (i % 3) / 2.0);
            double x = cx + cos(a) * d, y = cy + sin(a) * d * 0.9;
            setColour(cr, sprinkle[i % 4]);
            cairo_set_line_width(cr, 1);
            cairo_move_to(cr, x - 0.8, y - 0.5);
            cairo_line_to(cr, x + 0.8, y + 0.5);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
    cairo_arc(cr, cx, cy, r * 0.3, 0, 2 * M_PI);
    setColour(cr, {0, 0, 0});
    cairo_fill(cr);
}

void paintSchtanna(cairo_t* cr, const Frame& f) {
    double cx = f.w / 2, cy = f.h / 2, r = f.w * 0.47;
    ellipsePath(cr, cx, cy, r, r);
    fillShaded(cr, f, {0.96, 0.92, 0.78}, cx, cy, r, 0);
    cairo_new_path(cr);
    ellipsePath(cr, cx, cy, r, r);
    setColour(cr, {0.1, 0.35, 0.15});
    cairo_set_line_width(cr, f.small ? 0.8 : 2);
    cairo_stroke(cr);
    // a six-petal rosette turning a seventh of a petal each step
    double turn = f.state * (M_PI / 3) / 7;
    for (int i = 0; i < 6; ++i) {
        double a = turn + i * M_PI / 3;
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, a);
        cairo_move_to(cr, 0, 0);
        cairo_curve_to(cr, r * 0.35, -r * 0.25, r * 0.35, -r * 0.55, 0, -r * 0.8);
        cairo_curve_to(cr, -r * 0.35, -r * 0.55, -r * 0.35, -r * 0.25, 0, 0);
        cairo_restore(cr);
        setColour(cr, i % 2 ? Colour{0.15, 0.3, 0.8} : Colour{0.85, 0.1, 0.1});
        cairo_fill(cr);
    }
    if (!f.small)
        for (int i = 0; i < 12; ++i) {
            double a = turn + i * M_PI / 6 + M_PI / 6;
            ellipsePath(cr, cx + cos(a) * r * 0.78, cy + sin(a) * r * 0.78, 1, 1);
            setColour(cr, col::gold);
            cairo_fill(cr);
        }
    ellipsePath(cr, cx, cy, r * 0.12, r * 0.12);
    setColour(cr, col::gold);
    cairo_fill(cr);
}

void paintReligiousIcons(cairo_t* cr, const Frame& f) {
    bool glowing = f.state == 0;
    double cx = f.w / 2, cy = f.h / 2, r = f.w * 0.42;
    const Colour tone[7] = {{0.5, 0.8, 1.0}, col::white, col::white, {0.3, 0.5, 1.0}, {0.3, 0.8, 0.4}, col::gold,
                            col::pink};
    Colour c = tone[f.flavor % 7];
    if (glowing) glow(cr, shade(c, 1.3), cx, cy, f.w * 0.55, 0.55);
    Colour ink = glowing ? shade(c, 1.15) : shade(grey(c, 0.3), 0.6);
    setColour(cr, ink);
    cairo_set_line_width(cr, f.small ? 0.9 : 2.4);
    cairo_new_path(cr);
    switch (f.flavor % 7) {
    case 0:  // peace sign
        cairo_arc(cr, cx, cy, r * 0.85, 0, 2 * M_PI);
        cairo_move_to(cr, cx, cy - r * 0.85);
        cairo_line_to(cr, cx, cy + r * 0.85);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx - r * 0.6, cy + r * 0.6);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + r * 0.6, cy + r * 0.6);
        cairo_stroke(cr);
        break;
    case 1:  // dove with an olive twig
        ellipsePath(cr, cx, cy + r * 0.1, r * 0.6, r * 0.35);
        ellipsePath(cr, cx - r * 0.55, cy - r * 0.15, r * 0.22, r * 0.2);
        cairo_move_to(cr, cx - r * 0.1, cy);
        cairo_curve_to(cr, cx, cy - r * 0.9, cx + r * 0.6, cy - r * 0.9, cx + r * 0.9, cy - r * 0.6);
        cairo_curve_to(cr, cx + r * 0.5, cy - r * 0.2, cx + r * 0.3, cy, cx - r * 0.1, cy);
        cairo_move_to(cr, cx + r * 0.5, cy + r * 0.1);
        cairo_line_to(cr, cx + r, cy - r * 0.05);
        cairo_line_to(cr, cx + r, cy + r * 0.35);
        cairo_close_path(cr);
        cairo_fill(cr);
        setColour(cr, glowing ? col::green : shade(col::green, 0.5));
        cairo_set_line_width(cr, f.small ? 0.6 : 1);
        cairo_move_to(cr, cx - r * 0.75, cy - r * 0.15);
        cairo_line_to(cr, cx - r, cy + r * 0.1);
        cairo_stroke(cr);
        break;
    case 2: {  // yin and yang
        cairo_arc(cr, cx, cy, r * 0.85, 0, 2 * M_PI);
        cairo_fill(cr);
        double q = r * 0.85;
        setColour(cr, {0.1, 0.1, 0.12});
        cairo_arc(cr, cx, cy, q, -M_PI / 2, M_PI / 2);
        cairo_arc_negative(cr, cx, cy + q / 2, q / 2, M_PI / 2, -M_PI / 2);
        cairo_arc(cr, cx, cy - q / 2, q / 2, M_PI / 2, 3 * M_PI / 2);
        cairo_fill(cr);
        setColour(cr, ink);
        cairo_arc(cr, cx, cy + q / 2, q * 0.15, 0, 2 * M_PI);
        cairo_fill(cr);
        setColour(cr, {0.1, 0.1, 0.12});
        cairo_arc(cr, cx, cy - q / 2, q * 0.15, 0, 2 * M_PI);
        cairo_fill(cr);
        break;
    }
    case 3:  // star of David
        for (int i = 0; i < 2; ++i) {
            for (int k = 0; k < 3; ++k) {
                double a = -M_PI / 2 + i * M_PI + k * 2 * M_PI / 3;
                if (k == 0) cairo_move_to(cr, cx + cos(a) * r, cy + sin(a) * r);
                else cairo_line_to(cr, cx + cos(a) * r, cy + sin(a) * r);
            }
            cairo_close_path(cr);
        }
        cairo_stroke(cr);
        break;
    case 4:  // crescent and star
        cairo_arc(cr, cx - r * 0.1, cy, r * 0.8, 0, 2 * M_PI);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, cx + r * 0.15, cy - r * 0.05, r * 0.65, 2 * M_PI, 0);
        cairo_fill(cr);
        starPath(cr, cx + r * 0.45, cy, r * 0.3, r * 0.12, 5);
        cairo_fill(cr);
        break;
    case 5:  // wheel of dharma
        cairo_arc(cr, cx, cy, r * 0.75, 0, 2 * M_PI);
        cairo_stroke(cr);
        for (int i = 0; i < 8; ++i) {
            double a = i * M_PI / 4;
            cairo_move_to(cr, cx, cy);
            cairo_line_to(cr, cx + cos(a) * r, cy + sin(a) * r);
        }
        cairo_set_line_width(cr, f.small ? 0.7 : 1.4);
        cairo_stroke(cr);
        cairo_arc(cr, cx, cy, r * 0.2, 0, 2 * M_PI);
        cairo_fill(cr);
        break;
    default:  // lotus
        for (int i = -2; i <= 2; ++i) {
            cairo_save(cr);
            cairo_translate(cr, cx, cy + r * 0.5);
            cairo_rotate(cr, i * 0.45);
            ellipsePath(cr, 0, -r * 0.55, r * 0.22, r * 0.55);
            cairo_restore(cr);
        }
        cairo_fill(cr);
        break;
    }
}

void paintSun(cairo_t* cr, const Frame& f) {
    double cx = f.w / 2, cy = f.h / 2, r = std::min(f.w, f.h) * 0.28;
    double turn = f.state * (M_PI / 6) / 4;
    starPath(cr, cx, cy, std::min(f.w, f.h) * 0.49, r * 1.15, 12, turn);
    fillShaded(cr, f, col::orange, cx, cy, r * 1.6, 0.6);
    cairo_new_path(cr);
    ellipsePath(cr, cx, cy, r, r);
    fillShaded(cr, f, col::yellow, cx, cy, r, 0.7);
    cairo_new_path(cr);
    if (f.small) return;
    setColour(cr, {0.55, 0.3, 0.05});
    ellipsePath(cr, cx - r * 0.35, cy - r * 0.2, 0.9, 1.1);
    ellipsePath(cr, cx + r * 0.35, cy - r * 0.2, 0.9, 1.1);
    cairo_fill(cr);
    cairo_set_line_width(cr, 0.9);
    cairo_arc(cr, cx, cy, r * 0.55, 0.2 * M_PI, 0.8 * M_PI);
    cairo_stroke(cr);
}

void paintMoon(cairo_t* cr, const Frame& f) {
    double cx = f.w / 2, cy = f.h / 2, r = f.w * 0.45;
    // the whole disc faintly, the lit part by phase: crescent, half, gibbous, full
    ellipsePath(cr, cx, cy, r, r);
    setColour(cr, {0.22, 0.24, 0.32});
    cairo_fill(cr);
    const double terminator[4] = {0.55, 0.0, -0.55, -1.0};
    double t = terminator[f.state % 4];
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, -M_PI / 2, M_PI / 2);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, std::max(std::fabs(t), 0.01) * r, r);
    if (t >= 0) cairo_arc_negative(cr, 0, 0, 1, M_PI / 2, -M_PI / 2);
    else cairo_arc(cr, 0, 0, 1, M_PI / 2, 3 * M_PI / 2);
    cairo_restore(cr);
    cairo_close_path(cr);
    fillShaded(cr, f, {0.98, 0.96, 0.80}, cx, cy, r, 0);
    cairo_new_path(cr);
    cairo_restore(cr);
    if (!f.small) {
        setColour(cr, {0.75, 0.73, 0.6}, 0.6);
        ellipsePath(cr, cx + r * 0.4, cy - r * 0.3, r * 0.15, r * 0.15);
        ellipsePath(cr, cx + r * 0.2, cy + r * 0.4, r * 0.1, r * 0.1);
        cairo_fill(cr);
    }
    ellipsePath(cr, cx, cy, r, r);
    outline(cr, 0.8, 0.6);
}

void paintPlanets(cairo_t* cr, const Frame& f) {
    Colour c = f.flavor % 2 ? Colour{0.35, 0.55, 0.95} : Colour{0.90, 0.75, 0.45};
    double cx = f.w / 2, cy = f.h / 2, r = f.w * 0.3;
    double tilt = -0.35 + f.state * 0.12;
    auto ring = [&](bool back) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, tilt);
        cairo_scale(cr, 1, 0.3 + 0.05 * f.state);
        if (back) cairo_arc_negative(cr, 0, 0, r * 1.6, 0, M_PI);
        else cairo_arc(cr, 0, 0, r * 1.6, 0, M_PI);
        cairo_restore(cr);
        setColour(cr, f.flavor % 2 ? Colour{0.75, 0.85, 1.0} : Colour{0.95, 0.85, 0.6});
        cairo_set_line_width(cr, f.small ? 0.8 : 2);
        cairo_stroke(cr);
    };
    ring(true);
    ellipsePath(cr, cx, cy, r, r);
    fillShaded(cr, f, c, cx, cy, r, 0.7);
    cairo_save(cr);
    cairo_clip(cr);
    // bands drift as the planet turns
    setColour(cr, shade(c, 0.75), 0.7);
    for (int i = -2; i <= 2; ++i) {
        cairo_rectangle(cr, 0, cy + i * r * 0.4 + f.state * r * 0.1 - 0.6, f.w, 1.2);
    }
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    ring(false);
}

void paintFlags(cairo_t* cr, const Frame& f) {
    // drawn flat into a scratch picture, then laid down in waving columns
    int w = int(f.w), h = int(f.h);
    cairo_surface_t* flat = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* fc = cairo_create(flat);
    double fx = f.small ? 0.5 : 3, fw = w - fx - 0.5, fy = 1.5, fh = h - 4;
    cairo_rectangle(fc, fx, fy, fw, fh);
    cairo_clip(fc);
    auto band = [&](int i, int n, bool vertical, Colour c) {
        setColour(fc, c);
        if (vertical) cairo_rectangle(fc, fx + fw * i / n, fy, fw / n + 0.5, fh);
        else cairo_rectangle(fc, fx, fy + fh * i / n, fw, fh / n + 0.5);
        cairo_fill(fc);
    };
    switch (f.flavor % 6) {
    case 0:  // stars and stripes
        for (int i = 0; i < 7; ++i) band(i, 7, false, i % 2 ? col::white : Colour{0.75, 0.1, 0.15});
        setColour(fc, {0.15, 0.2, 0.5});
        cairo_rectangle(fc, fx, fy, fw * 0.45, fh * 0.55);
        cairo_fill(fc);
        setColour(fc, col::white);
        for (int i = 0; i < 6; ++i) {
            cairo_arc(fc, fx + 2 + (i % 3) * 3.5, fy + 2 + (i / 3) * 3.5, 0.6, 0, 2 * M_PI);
            cairo_fill(fc);
        }
        break;
    case 1:  // Canada
        band(0, 4, true, col::red);
        band(1, 4, true, col::white);
        band(2, 4, true, col::white);
        band(3, 4, true, col::red);
        starPath(fc, fx + fw / 2, fy + fh / 2, fh * 0.32, fh * 0.14, 5);
        setColour(fc, col::red);
        cairo_fill(fc);
        break;
    case 2:  // United Kingdom
        setColour(fc, {0.1, 0.15, 0.45});
        cairo_paint(fc);
        setColour(fc, col::white);
        cairo_set_line_width(fc, 4);
        cairo_move_to(fc, fx, fy);
        cairo_line_to(fc, fx + fw, fy + fh);
        cairo_move_to(fc, fx + fw, fy);
        cairo_line_to(fc, fx, fy + fh);
        cairo_stroke(fc);
        setColour(fc, col::red);
        cairo_set_line_width(fc, 1.3);
        cairo_move_to(fc, fx, fy);
        cairo_line_to(fc, fx + fw, fy + fh);
        cairo_move_to(fc, fx + fw, fy);
        cairo_line_to(fc, fx, fy + fh);
        cairo_stroke(fc);
        setColour(fc, col::white);
        cairo_rectangle(fc, fx + fw / 2 - 3, fy, 6, fh);
        cairo_rectangle(fc, fx, fy + fh / 2 - 3, fw, 6);
        cairo_fill(fc);
        setColour(fc, col::red);
        cairo_rectangle(fc, fx + fw / 2 - 1.8, fy, 3.6, fh);
        cairo_rectangle(fc, fx, fy + fh / 2 - 1.8, fw, 3.6);
        cairo_fill(fc);
        break;
    case 3:  // France
        band(0, 3, true, {0.1, 0.25, 0.65});
        band(1, 3, true, col::white);
        band(2, 3, true, {0.85, 0.1, 0.15});
        break;
    case 4:  // Germany
        band(0, 3, false, {0.08, 0.08, 0.08});
        band(1, 3, false, {0.85, 0.1, 0.1});
        band(2, 3, false, {1.0, 0.8, 0.0});
        break;
    default:  // Japan
        setColour(fc, col::white);
        cairo_paint(fc);
        cairo_arc(fc, fx + fw / 2, fy + fh / 2, fh * 0.3, 0, 2 * M_PI);
        setColour(fc, {0.8, 0.05, 0.15});
        cairo_fill(fc);
        break;
    }
    cairo_destroy(fc);
    cairo_surface_flush(flat);
    // the pole
    if (!f.small) {
        setColour(cr, {0.7, 0.6, 0.45});
        cairo_rectangle(cr, 0.5, 0, 1.6, f.h);
        cairo_fill(cr);
        glint(cr, 1.3, 0.9, 1.1);
    }
    // waving: each column moves up or down, and darkens in the troughs
    for (int x = int(fx); x < w; ++x) {
        double t = (x - fx) / fw, phase = 2 * M_PI * (t * 1.2 - f.state / 4.0);
        double dy = sin(phase) * t * (f.small ? 0.6 : 1.6);
        cairo_save(cr);
        cairo_rectangle(cr, x, 0, 1, f.h);
        cairo_clip(cr);
        cairo_set_source_surface(cr, flat, 0, dy);
        cairo_paint(cr);
        cairo_set_source_rgba(cr, cos(phase) > 0 ? 1 : 0, cos(phase) > 0 ? 1 : 0, cos(phase) > 0 ? 1 : 0,
                              std::fabs(cos(phase)) * 0.18);
        cairo_mask_surface(cr, flat, 0, dy);
        cairo_restore(cr);
    }
    cairo_surface_destroy(flat);
}

void paintSpacers(cairo_t* cr, const Frame& f) {
    // Only the list picture shows anything: a faint dashed outline.
    if (f.frame != 1 || f.small) return;
    double dash[2] = {2, 2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_source_rgba(cr, 0.55, 0.58, 0.65, 1);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 1.5, 1.5, f.w - 3, f.h - 3);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

}  // namespace art
