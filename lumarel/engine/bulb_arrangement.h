// Which bulb kinds go where: the arrangement the worlds are built from.
#pragma once
#include <array>
#include <cstdint>
#include <functional>

namespace lumarel {

// 4 sides (top, right, bottom, left) x 8 slots. Slots 0-5 are the kinds along
// the side, packed to the front; slots 6 and 7 of the top and bottom rows are
// the left and right corners. -1 is an empty slot.
using BulbArrangement = std::array<std::array<int32_t, 8>, 4>;

BulbArrangement defaultArrangement();

// Drops the ids for which kindExists is false: a missing corner becomes -1, a
// missing kind along a side is removed and the rest of the row moves up.
void validateArrangement(BulbArrangement& arrangement,
                         const std::function<bool(int32_t)>& kindExists);

}  // namespace lumarel
