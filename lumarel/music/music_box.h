// The music box: songs from the "Lumarel Music" folders (beside the program
// and the user's own, base/data_folders.h), MIDI through MCI and everything
// else through a media graph, all on the GUI thread.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumarel {

// What the music box needs from the rest of the program, handed in by the
// frame so that the music box depends on nothing above it.
struct MusicHost {
    HWND window = nullptr;  // receives MM_MCINOTIFY and the media graph's message
    UINT mediaMessage = 0;
    std::string musicFolder;  // with its trailing backslash; empty: the data folders
    std::function<int()> runMode;          // 0 normal, 1 saver, 2 preview
    std::function<HWND()> settingsWindow;  // null while it is closed
    std::function<void()> loadChoices;     // the stored switched-off songs and play mode
    std::function<void(char (&)[MAX_PATH])> resolveShortcut;
};
void setMusicHost(MusicHost host);

// The frame's calls.
void startMusic();  // builds the song list and makes the first choice
void stopMusic();
void redecideMusic();  // choose and play: after the run mode or a setting changed
void checkSongDeadline();
void musicDeviceNotice(UINT code, UINT device);  // MM_MCINOTIFY's wParam and lParam
void drainMediaEvents();

// The settings window's calls.
void buildSongList();
void playSongNow(size_t index);
// Stops the song if it is the one playing (or waiting for its reset), so its
// file can be deleted; the next choice follows as usual.
void stopSongNamed(const char* name);
bool enableSong(const char* name, bool enabled);  // the first song of that name; false if none
void changePlayMode(int32_t mode);                 // 0..4, then choose and play
void addSongs(const std::vector<std::string>& paths, bool songsOnly);
void addDroppedSongs(HDROP drop);   // every dropped file with a song ending
bool addSongWithDialog(HWND owner);  // "Add Song...": false when cancelled
void musicFolderPath(char (&path)[MAX_PATH]);  // where added songs go
// The file of a listed song: in the folder that holds it, the user's first.
bool musicFilePath(const char* name, char (&path)[MAX_PATH]);

}  // namespace lumarel
