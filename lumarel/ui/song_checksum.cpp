#include "ui/song_checksum.h"

#include "bulbs/crc32.h"

namespace lumarel {

uint32_t songListChecksum(const std::vector<Song>& songs) {
    uint32_t crc = 0;
    for (const Song& song : songs) {
        const uint8_t flags[8] = {uint8_t(song.enabled), 0, 0, 0, uint8_t(song.pending), 0, 0, 0};
        crc = crc32(flags, sizeof flags, crc);
        crc = crc32(song.name.data(), song.name.size(), crc);
    }
    return crc;
}

}  // namespace lumarel
