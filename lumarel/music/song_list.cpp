#include "music/song_list.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"

namespace lumarel {

namespace {
int32_t gPlayMode = kPlayAlways;

constexpr const char* kSongEndings[] = {".mid", ".rmi", ".aif", ".aifc", ".aiff",
                                        ".au",  ".mp3", ".mpeg", ".snd", ".wav"};
}  // namespace

std::vector<Song>& songList() {
    static std::vector<Song> songs;
    return songs;
}

int32_t musicPlayMode() { return gPlayMode; }

void setMusicPlayMode(int32_t mode) {
    if (mode >= kPlayNever && mode <= kPlayIntermittent) gPlayMode = mode;
}

bool hasSongEnding(const char* path) {
    for (const char* ending : kSongEndings)
        if (endsWithNoCase(path, ending)) return true;
    return false;
}

bool isMidiSong(const char* path) { return endsWithNoCase(path, ".mid") || endsWithNoCase(path, ".rmi"); }

bool isShortcut(const char* path) { return endsWithNoCase(path, ".lnk"); }

void sortSongs(std::vector<Song>& songs) {
    std::stable_sort(songs.begin(), songs.end(), [](const Song& a, const Song& b) {
        return compareNoCase(a.name.c_str(), b.name.c_str()) < 0;
    });
}

void switchOffSongs(std::vector<Song>& songs, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        for (Song& song : songs) {
            if (song.enabled && song.name == name) {
                song.enabled = false;
                break;
            }
        }
    }
}

bool songPath(const char* folder, const char* name, char (&path)[260]) {
    size_t folderLength = strlen(folder), nameLength = strlen(name);
    if (folderLength + nameLength > 259) return false;
    memcpy(path, folder, folderLength);
    memcpy(path + folderLength, name, nameLength + 1);
    return true;
}

uint32_t nextSongDelay(int32_t mode, uint32_t now) {
    return mode == kPlayIntermittent ? now % 120000u + 60000u : 1000u;
}

// The difference, read as signed, is right on both sides of the wrap; "below
// the current count" alone would fire a due time that wrapped past zero while
// the count has not yet.
bool dueHasPassed(uint32_t due, uint32_t now) { return int32_t(now - due) > 0; }

}  // namespace lumarel
