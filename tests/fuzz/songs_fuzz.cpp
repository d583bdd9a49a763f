// The stored song lists can be edited by hand: the decoder and the rules that
// apply a decoded list to the song folder's list must take any bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "music/song_list.h"
#include "ui/settings_codec.h"
#include "ui/song_checksum.h"

using namespace lumarel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte splits the input: the song folder's names, then the
    // stored "Disabled Music" value.
    size_t split = size ? std::min<size_t>(size - 1, data[0] * size / 256) : 0;
    const uint8_t* rest = size ? data + 1 : data;
    std::vector<std::string> folder = decodeSongList(rest, split);
    std::vector<std::string> stored = decodeSongList(rest + split, size ? size - 1 - split : 0);

    std::vector<Song> songs;
    for (const std::string& name : folder) songs.push_back({name, hasSongEnding(name.c_str()), true});
    sortSongs(songs);
    size_t enabledBefore = 0, enabledAfter = 0;
    for (const Song& s : songs) enabledBefore += s.enabled;
    switchOffSongs(songs, stored);
    for (const Song& s : songs) enabledAfter += s.enabled;
    if (enabledAfter > enabledBefore || enabledBefore - enabledAfter > stored.size()) abort();
    songListChecksum(songs);

    // What the store writes back reads back the same.
    for (const std::string& name : stored)
        if (name.empty()) abort();
    std::vector<uint8_t> again = encodeSongList(stored);
    if (decodeSongList(again.data(), again.size()) != stored) abort();
    return 0;
}
