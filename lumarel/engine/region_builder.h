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

}  // namespace lumarel
