// The edits the settings window makes to the bulb arrangement, and where the
// bulbs sit in its eight outer boxes. Plain data only, so the drag rules are
// tested without a window.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/bulb_arrangement.h"

namespace lumarel {

// The outer boxes in control order: 0 top-left corner, 1 top edge, 2 top-right
// corner, 3 left edge, 4 right edge, 5 bottom-left corner, 6 bottom edge,
// 7 bottom-right corner.
constexpr int kOuterBoxCount = 8;

struct BoxPlace {
    int row;     // arrangement row
    int corner;  // corner slot (6 or 7), or -1 for an edge box
    bool isCorner() const { return corner >= 0; }
};
std::optional<BoxPlace> outerBoxPlace(int box);

// Kinds an edge shows at most: five on the short sides, six on the long.
int edgeCapacity(int row);
// The edge's kinds are packed to the front; this counts them.
int usedEdgeSlots(const BulbArrangement& arrangement, int row);

void setCorner(BulbArrangement& arrangement, int row, int corner, int32_t kind);
void removeEdgeSlot(BulbArrangement& arrangement, int row, int slot);
// On a full edge the kind at the (clamped) index is replaced.
void insertIntoEdge(BulbArrangement& arrangement, int row, int index, int32_t kind);
// Clears the kind from every corner and edge; true when anything changed.
bool removeKindEverywhere(BulbArrangement& arrangement, int32_t kind);

// A 32 x 32 cell of an edge box, in the box's client coordinates.
struct Cell {
    int left, top;
};
constexpr int kCellSize = 32;
// The cells of n used slots: the longer side is cut into n equal parts and
// each cell is centred in its part.
std::vector<Cell> edgeBoxCells(int width, int height, int used);
// The 32 x 32 cell a corner box shows its bulb in, centred.
Cell cornerBoxCell(int width, int height);
// The slot whose cell holds (x, y) in an edge box of n used slots, or -1.
int edgeSlotAt(int width, int height, int used, int x, int y);
// Where a drop at (x, y) inserts: the first slot whose cell starts more than
// 16 pixels past the point along the longer side, or n.
int edgeDropIndex(int width, int height, int used, int x, int y);

// One end of a drag: the centre list (box -1) or an outer box and its slot.
struct DragEnd {
    int box = -1;
    int slot = 0;
};
// Applies a finished drag of kind from source to target (dropIndex counts
// only for an edge target). Dropping on the centre list takes the bulb off
// its source; dropping on a box copies it there. True when anything changed.
bool applyDrop(BulbArrangement& arrangement, int32_t kind, DragEnd source, DragEnd target, int dropIndex);

}  // namespace lumarel
