// Measuring one edge world without Windows: how many bulbs fit along the
// side, where each goes, how thick the world is and how many phase copies its
// picture holds. The Windows worlds render what this lays out.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "engine/bulb_position.h"

namespace lumarel {

// A blit addresses 16-bit coordinates: a world's picture (thickness x phase
// copies across, the side's length along) stays within this.
constexpr int32_t kMaxPictureExtent = 32767;

struct LayoutRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool operator==(const LayoutRect&) const = default;
};

struct LayoutSize {
    int32_t width = 0, height = 0;
};

// One usable kind strung along the side.
struct EdgeKind {
    int phases = 1;
    int32_t gap = 0;  // gapHorizontal for top and bottom, gapVertical for the sides
    // The phase-0 frame's size for a flavor index (the kind wraps it).
    std::function<LayoutSize(int flavor)> frame;
};

struct CornerKind {
    int phases = 1;
    int32_t gap = 0;  // gapHorizontal
    LayoutSize frame;
};

struct WorldInput {
    int side = kPosTop;  // kPosTop, kPosRight, kPosBottom or kPosLeft
    LayoutRect usable;
    int32_t pattern = 1;
    std::vector<EdgeKind> edges;  // at most 6, in arrangement order
    std::optional<CornerKind> leftCorner, rightCorner;  // top and bottom only
};

// A frame in the world's picture: `along` is the x (top, bottom) or y (left,
// right) of the frame in a copy, `across` its offset inside a copy.
struct PlacedBulb {
    int slot = 0;    // index into WorldInput::edges
    int flavor = 0;  // n div edge count
    int sequence = 0;
    int32_t along = 0, across = 0;
    LayoutSize frame;
};

struct PlacedCorner {
    bool right = false;
    int32_t along = 0, across = 0;
    LayoutSize frame;
};

struct WorldLayout {
    bool usable = false;  // false: nothing to draw (no bulbs, or too large to blit)
    int side = kPosTop;
    LayoutRect place;  // in the layout window's coordinates
    int32_t length = 0;  // along the side
    int32_t thickness = 0;
    int phaseCopies = 1;
    int largestPhaseCount = 1;
    int32_t leftExtent = 0, rightExtent = 0;
    int bulbCount = 0;
    double spread = 0;
    int32_t halfLeftover = 0;
    std::vector<PlacedBulb> bulbs;
    std::vector<PlacedCorner> corners;
    bool horizontal() const { return side == kPosTop || side == kPosBottom; }
    // The whole picture: every copy.
    LayoutSize pictureSize() const;
    // Where copy `copy` starts in the picture (down or across).
    int32_t copyOffset(int copy) const { return copy * thickness; }
};

// Measures and places. A bulb whose step (frame plus both gaps) is under one
// pixel ends the run, so a zero-size kind cannot fill the side forever.
WorldLayout layoutWorld(const WorldInput& input);

// Which stored copy each phase copy uses, given the phase every frame shows
// in each copy (corners and bulbs, in one fixed order): copies that show the
// same phase of every frame are pixel-identical and share one stored copy.
// Stored copies are numbered in order of first use, so copy 0 is stored first.
std::vector<int> shareIdenticalCopies(const std::vector<std::vector<int>>& phasesByCopy);

// What a world set is built from; a failed rebuild is retried only when one
// of these differs from the failed attempt's.
struct WorldSetInputs {
    LayoutRect rectangle;
    std::vector<int32_t> arrangement;
    int32_t pattern = 0;
    int location = 0;
    uint32_t displayGeneration = 0;
    bool bulbWindowOnDesktop = false;  // no icon view: the desktop place uses the bulb window
    bool operator==(const WorldSetInputs&) const = default;
};

class RebuildGate {
public:
    // True when a rebuild should be tried for these inputs.
    bool shouldTry(const WorldSetInputs& inputs) const { return !failed_ || !(*failed_ == inputs); }
    void failed(const WorldSetInputs& inputs) { failed_ = inputs; }
    void succeeded() { failed_.reset(); }

private:
    std::optional<WorldSetInputs> failed_;
};

}  // namespace lumarel
