// Drawing helpers shared by the bulb painters: colours, glass, outlines and
// the frame a painter draws into.
#pragma once
#include <cairo.h>

#include <cmath>

namespace art {

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t);
Colour shade(Colour c, double factor);  // < 1 darker, > 1 towards white
Colour grey(Colour c, double amount);   // desaturate
void setColour(cairo_t* cr, Colour c, double alpha = 1);

// What one frame shows, and where the light comes from in the painter's own
// coordinates (the frame may be turned for its edge).
struct Frame {
    double w, h;        // the painter's box, already turned upright for it
    int flavor, state;
    int block;
    int frame;          // the frame number in the strip
    bool small;         // a preview frame of a few pixels
    double lightX, lightY;  // unit vector towards the light
};

// Paths
void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
void roundRectPath(cairo_t* cr, double x, double y, double w, double h, double r);
void heartPath(cairo_t* cr, double cx, double cy, double size);  // size = width
void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn = 0);
void eggPath(cairo_t* cr, double cx, double cy, double rx, double ry);

// Fills the current path with a lit, rounded look: a light side towards the
// light, a dark side away, a thin dark outline. Keeps the path.
void fillShaded(cairo_t* cr, const Frame& f, Colour c, double cx, double cy, double radius,
                double outline = 0.9);
// Glass: saturated with a bright core when lit; dark and greyed with a faint
// reflection when not. Fills the current path (cleared afterwards).
void fillGlass(cairo_t* cr, const Frame& f, Colour c, bool lit, double cx, double cy, double radius);
// A soft glow around a lit thing.
void glow(cairo_t* cr, Colour c, double cx, double cy, double radius, double strength);
// A small bright glint.
void glint(cairo_t* cr, double x, double y, double r, double alpha = 0.9);
void outline(cairo_t* cr, double width = 0.9, double alpha = 0.75);
void text(cairo_t* cr, const char* s, double cx, double cy, double size, Colour c, bool bold = true);

// Every painter has this shape.
using Painter = void (*)(cairo_t* cr, const Frame& f);

// Standard colours
namespace col {
inline constexpr Colour red{0.90, 0.10, 0.10}, green{0.10, 0.72, 0.22}, blue{0.15, 0.35, 0.95},
    yellow{0.98, 0.84, 0.12}, orange{0.98, 0.52, 0.08}, purple{0.62, 0.22, 0.85}, pink{0.98, 0.45, 0.70},
    white{0.97, 0.97, 0.97}, black{0.05, 0.05, 0.06}, gold{0.90, 0.70, 0.18}, silver{0.75, 0.77, 0.80},
    brown{0.50, 0.30, 0.14}, darkGreen{0.05, 0.38, 0.12}, skin{0.98, 0.78, 0.62}, cyan{0.20, 0.80, 0.90},
    snow{0.93, 0.96, 1.0}, coal{0.12, 0.12, 0.14}, carrot{0.98, 0.50, 0.10};
}

}  // namespace art
