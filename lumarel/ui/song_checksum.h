// The song list's checksum: the settings window refills its music page only
// when a rescan changed it.
#pragma once
#include <cstdint>
#include <vector>

#include "music/song_list.h"

namespace lumarel {

// CRC-32/BZIP2 chained over every entry: enabled and pending as two 32-bit
// little-endian words, then the name without its terminator.
uint32_t songListChecksum(const std::vector<Song>& songs);

}  // namespace lumarel
