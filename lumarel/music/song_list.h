// The music box's song list and the plain rules around it: song kinds, name
// order, switched-off songs, the play mode and the next-song
// timer's arithmetic. No Windows headers: tested natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumarel {

struct Song {
    std::string name;     // file name inside the music folder
    bool enabled = true;  // the user chose it
    bool pending = true;  // not yet played in this cycle
};

// The live list, in name order (letter case ignored, equal names in the order
// they were found).
std::vector<Song>& songList();
int32_t musicPlayMode();
void setMusicPlayMode(int32_t mode);  // 0..4; others ignored

enum PlayMode : int32_t { kPlayNever = 0, kPlaySaverOn = 1, kPlaySaverOff = 2, kPlayAlways = 3, kPlayIntermittent = 4 };

// Song kinds by ending, letter case ignored.
bool hasSongEnding(const char* path);
bool isMidiSong(const char* path);  // ".mid" and ".rmi" play through MCI
bool isShortcut(const char* path);  // ".lnk"

// Sorts a freshly scanned list into name order; stable, so equal names keep
// the order of the scan.
void sortSongs(std::vector<Song>& songs);

// Each switched-off name turns off the first enabled song of exactly that
// name; names of no song change nothing.
void switchOffSongs(std::vector<Song>& songs, const std::vector<std::string>& names);

// The full path of a song, folder + name, when it fits in 259 characters.
bool songPath(const char* folder, const char* name, char (&path)[260]);

// The next-song timer. Songs follow after a second; intermittently after one
// to three minutes, taken from the tick count.
uint32_t nextSongDelay(int32_t mode, uint32_t now);
// True when `due` has passed at tick count `now`, across the counter's wrap.
bool dueHasPassed(uint32_t due, uint32_t now);

}  // namespace lumarel
