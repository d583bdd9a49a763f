// Bulb positions and mask kinds shared by the portable table and the kinds.
#pragma once

namespace lumarel {

// Where a frame is drawn (the first argument of every frame operation).
enum BulbPosition : int {
    kPosTop = 0,
    kPosRight = 1,
    kPosBottom = 2,
    kPosLeft = 3,
    kPosTopLeft = 4,
    kPosTopRight = 5,
    kPosBottomRight = 6,
    kPosBottomLeft = 7,
    kPosList = 8,  // the kind's picture in lists and while dragged
};

// The corner at the left or right end of the top or bottom side.
constexpr BulbPosition cornerPosition(BulbPosition side, bool right) {
    return side == kPosTop ? (right ? kPosTopRight : kPosTopLeft) : (right ? kPosBottomRight : kPosBottomLeft);
}

// What drawFrameMask draws (black = opaque, white = transparent).
enum MaskKind : int {
    kMaskOwn = 0,         // the phase's own shape
    kMaskBackground = 1,  // black where the outline is opaque but this phase is not
    kMaskOutline = 2,     // the union of all phases, used on the desktop
};

}  // namespace lumarel
