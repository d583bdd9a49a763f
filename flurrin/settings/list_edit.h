// Editing ordered lists of paths as the list forms do, and matching file
// names against the lists' patterns.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"

namespace flurrin {

// Swaps entry index with its neighbour index + delta (delta -1 or +1) unless
// that would pass an end; returns where the entry is afterwards (index when
// nothing moved, -1 for an index outside the list).
int move_entry(std::vector<std::string>& list, int index, int delta);
// Removes entry index; false when index is outside the list.
bool remove_entry(std::vector<std::string>& list, int index);

// Folder + "\" when missing + name.
std::string join_path(const std::string& folder, const std::string& name);

// Appends folder + name for each name, in order (the same file may come
// twice), while the list is shorter than limit. Returns how many were left out.
size_t add_entries(std::vector<std::string>& list, const std::string& folder, const std::vector<std::string>& names,
                   size_t limit = size_t(kMaxCustomEntries));

// Removes the entries at the selected indexes, from the last to the first so
// the indexes still to come stay valid; indexes outside the list are ignored.
void remove_selected(std::vector<std::string>& list, std::vector<int> selected);

// The entries worth showing and storing: a stored total larger than the
// stored paths leaves empty ones, which name no file.
std::vector<std::string> real_entries(const std::vector<std::string>& list);

// True when name matches one of the ';'-separated patterns ("*.gif;*.bmp"),
// ignoring case. '*' stands for any run of characters, '?' for one; "*.*"
// matches every name, with or without a dot.
bool matches_patterns(std::string_view patterns, std::string_view name);

// A name that can only make an entry inside its folder: not empty, not "."
// or "..", no path separator, drive colon, wildcard or other character a
// file name cannot hold, and no trailing dot or blank.
bool is_plain_name(std::string_view name);

}  // namespace flurrin
