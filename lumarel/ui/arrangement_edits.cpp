#include "ui/arrangement_edits.h"

#include <algorithm>

namespace lumarel {

namespace {

constexpr int kEdgeSlots = 6;
constexpr int kDropLead = 16;

constexpr BoxPlace kBoxPlaces[kOuterBoxCount] = {
    {0, 6}, {0, -1}, {0, 7}, {3, -1}, {1, -1}, {2, 6}, {2, -1}, {2, 7},
};

bool validRow(int row) { return row >= 0 && row < 4; }

}  // namespace

std::optional<BoxPlace> outerBoxPlace(int box) {
    if (box < 0 || box >= kOuterBoxCount) return std::nullopt;
    return kBoxPlaces[box];
}

int edgeCapacity(int row) { return row == 0 || row == 2 ? 6 : 5; }

int usedEdgeSlots(const BulbArrangement& arrangement, int row) {
    int used = 0;
    while (used < kEdgeSlots && arrangement[row][used] != -1) ++used;
    return used;
}

void setCorner(BulbArrangement& arrangement, int row, int corner, int32_t kind) {
    if ((row != 0 && row != 2) || (corner != 6 && corner != 7)) return;
    arrangement[row][corner] = kind;
}

void removeEdgeSlot(BulbArrangement& arrangement, int row, int slot) {
    if (!validRow(row) || slot < 0 || slot >= kEdgeSlots) return;
    auto& edge = arrangement[row];
    for (int next = slot; next < kEdgeSlots - 1; ++next) edge[next] = edge[next + 1];
    edge[kEdgeSlots - 1] = -1;
}

void insertIntoEdge(BulbArrangement& arrangement, int row, int index, int32_t kind) {
    if (!validRow(row)) return;
    auto& edge = arrangement[row];
    int last = edgeCapacity(row) - 1;
    // Never past the used slots: a gap would hide the kinds after it.
    index = std::clamp(index, 0, std::min(last, usedEdgeSlots(arrangement, row)));
    if (edge[last] == -1)
        for (int slot = kEdgeSlots - 2; slot >= index; --slot) edge[slot + 1] = edge[slot];
    edge[index] = kind;
}

bool removeKindEverywhere(BulbArrangement& arrangement, int32_t kind) {
    bool changed = false;
    for (int row : {0, 2})
        for (int corner : {6, 7})
            if (arrangement[row][corner] == kind) {
                arrangement[row][corner] = -1;
                changed = true;
            }
    for (int row = 0; row < 4; ++row)
        for (int slot = kEdgeSlots - 1; slot >= 0; --slot)
            if (arrangement[row][slot] == kind) {
                removeEdgeSlot(arrangement, row, slot);
                changed = true;
            }
    return changed;
}

std::vector<Cell> edgeBoxCells(int width, int height, int used) {
    std::vector<Cell> cells;
    if (used <= 0) return cells;
    bool tall = height > width;
    int length = tall ? height : width;
    int across = ((tall ? width : height) - kCellSize) / 2;
    for (int i = 0; i < used; ++i) {
        int start = i * length / used;
        int end = (i + 1) * length / used;
        int along = start + (end - start - kCellSize) / 2;
        cells.push_back(tall ? Cell{across, along} : Cell{along, across});
    }
    return cells;
}

Cell cornerBoxCell(int width, int height) { return {(width - kCellSize) / 2, (height - kCellSize) / 2}; }

int edgeSlotAt(int width, int height, int used, int x, int y) {
    auto cells = edgeBoxCells(width, height, used);
    for (int j = 0; j < int(cells.size()); ++j)
        if (x >= cells[j].left && x < cells[j].left + kCellSize && y >= cells[j].top && y < cells[j].top + kCellSize)
            return j;
    return -1;
}

int edgeDropIndex(int width, int height, int used, int x, int y) {
    bool tall = height > width;
    auto cells = edgeBoxCells(width, height, used);
    for (int j = 0; j < int(cells.size()); ++j) {
        int start = tall ? cells[j].top : cells[j].left;
        if ((tall ? y : x) < start + kDropLead) return j;
    }
    return int(cells.size());
}

bool applyDrop(BulbArrangement& arrangement, int32_t kind, DragEnd source, DragEnd target, int dropIndex) {
    BulbArrangement before = arrangement;
    if (target.box < 0) {
        auto from = outerBoxPlace(source.box);
        if (!from) return false;
        if (from->isCorner())
            setCorner(arrangement, from->row, from->corner, -1);
        else
            removeEdgeSlot(arrangement, from->row, source.slot);
    } else if (auto to = outerBoxPlace(target.box)) {
        if (to->isCorner())
            setCorner(arrangement, to->row, to->corner, kind);
        else
            insertIntoEdge(arrangement, to->row, dropIndex, kind);
    }
    return arrangement != before;
}

}  // namespace lumarel
