// Builds a region from one-pixel-high runs, handing GDI a few thousand
// rectangles at a time (one CombineRgn per rectangle would take seconds).
#pragma once
#include <windows.h>

#include <vector>

#include "base/handles.h"

namespace lumarel {

class RegionBuilder {
public:
    // Throws 'asrt' when no region can be made.
    RegionBuilder();
    // The pixels left..right-1 of row y.
    void addRun(LONG left, LONG right, LONG y);
    // The region of every run added; throws 'asrt' when a batch fails.
    unique_hrgn finish();

private:
    void flush();

    unique_hrgn region_;
    std::vector<RECT> runs_;
};

// The parts of one picture strip's region that single frames cover, each kept
// at the origin. A side of a hundred bulbs then cuts the strip's region (often
// thousands of rectangles) once per distinct frame instead of once per bulb.
// Clear it whenever the strip's region is made again.
class FrameRegionCache {
public:
    // ORs into 'target' the part of 'strip' inside 'frame', moved so that the
    // frame's top left corner lands on (x, y). Throws 'asrt' when GDI fails.
    void add(HRGN strip, const RECT& frame, int x, int y, HRGN target);
    void clear() { pieces_.clear(); }

private:
    struct Piece {
        RECT frame;
        unique_hrgn region;
    };
    std::vector<Piece> pieces_;
};

}  // namespace lumarel
