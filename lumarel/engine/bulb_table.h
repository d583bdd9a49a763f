// The table of the 47 built-in bulb kinds and the arithmetic that turns a
// (position, flavor, phase) into a frame number and a frame number into a
// rectangle of the kind's picture strip. Portable: the art generator in tools/
// compiles this file too, so the strips it draws match the table.
#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "engine/bulb_position.h"

namespace lumarel {

constexpr int kBuiltInKinds = 47;
constexpr int kMaxFlavors = 8;
constexpr int kMaxPhases = 8;

struct FrameRow {
    uint16_t count = 0, width = 0, height = 0;
};

struct BulbTableRow {
    int32_t id;
    uint16_t stripResource, maskResource;
    uint16_t listFrame;
    uint16_t flavors, phases;
    uint16_t gapHorizontal, gapVertical;
    // Rows 0-3: full-size frames; rows 4-7: the small frames of the preview.
    std::array<FrameRow, 8> rows;
    int16_t smallX, smallY;
    uint16_t cornerFrames[4][kMaxPhases];                // positions 4..7
    uint16_t edgeFrames[4][kMaxFlavors][kMaxPhases];     // positions 0..3
    char name[20];
    char description[80];
    char copyright[60];
    char author[80];
    char categories[80];
};

// Row 0..46 of the table (throws 'asrt' for any other).
const BulbTableRow& builtInRow(int row);

struct FrameBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool operator==(const FrameBox&) const = default;
};

// The frame number of a position (0..8) for a flavor and phase; both wrap
// around the kind's counts, and corners ignore the flavor. 0 above 8.
int frameNumber(const BulbTableRow& row, int position, int flavor, int phase);
// Frame n's rectangle in the strip: rows 0-3, or in preview the rows 4-7
// moved by the small offset. Frame 0 or one past the rows throws 'asrt'.
FrameBox frameNumberBox(const BulbTableRow& row, int frame, bool preview);
// The rectangle of a position's frame; the empty box for a position above 8.
FrameBox frameBox(const BulbTableRow& row, int position, int flavor, int phase, bool preview);
// Frames in rows 0-3, or in rows 4-7.
int frameCount(const BulbTableRow& row, bool preview);
// Width and height of the whole strip picture (large and small frames).
FrameBox stripSize(const BulbTableRow& row);

// What a full-size frame depicts, for the art generator: its block (a group
// of frames for one edge or shape), its flavor and its animation state.
struct FrameArt {
    int block = 0, flavor = 0, state = 0;
    bool used = false;  // some position, flavor and phase (or the list) shows it
};
FrameArt frameArt(int row, int frame);

}  // namespace lumarel
