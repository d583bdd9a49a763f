// The music box's live song list, as far as the settings store needs it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lumarel {

struct Song {
    std::string name;  // file name inside the music folder
    bool enabled = true;
};

std::vector<Song>& songList();
int32_t musicPlayMode();
void setMusicPlayMode(int32_t mode);  // 0..4; others ignored

}  // namespace lumarel
