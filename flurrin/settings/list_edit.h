// Editing ordered lists of paths as the list forms do.
#pragma once
#include <string>
#include <vector>

namespace flurrin {

// Swaps entry index with its neighbour index + delta (delta -1 or +1) unless
// that would pass an end; returns where the entry is afterwards (index when
// nothing moved, -1 for an index outside the list).
int move_entry(std::vector<std::string>& list, int index, int delta);
// Removes entry index; false when index is outside the list.
bool remove_entry(std::vector<std::string>& list, int index);

}  // namespace flurrin
