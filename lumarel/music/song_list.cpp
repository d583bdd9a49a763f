#include "music/song_list.h"

namespace lumarel {

namespace {
int32_t gPlayMode = 3;
}

std::vector<Song>& songList() {
    static std::vector<Song> songs;
    return songs;
}

int32_t musicPlayMode() { return gPlayMode; }

void setMusicPlayMode(int32_t mode) {
    if (mode >= 0 && mode <= 4) gPlayMode = mode;
}

}  // namespace lumarel
