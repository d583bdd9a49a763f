// The song folder on disk: what it lists, adding songs to it, and the hidden
// MIDI reset file that lives in it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "music/song_list.h"

namespace lumarel {

using ShortcutResolver = std::function<void(char (&)[MAX_PATH])>;

// Every file of `folder` (trailing backslash) with a song ending, in name
// order. Folders, hidden and temporary files are skipped; a shortcut counts
// as the song it points to and is listed under its own name.
std::vector<Song> scanSongFolder(const char* folder, const ShortcutResolver& resolve);

// Copies each file into the folder (made when missing) under its own name,
// never over an existing file. Paths without a song ending are skipped when
// `songsOnly` (dropped files); the file dialog's choice is copied as it is.
void copySongFiles(const char* folder, const std::vector<std::string>& paths, bool songsOnly);

// True when the file holds exactly these bytes.
bool fileHoldsBytes(const char* path, const std::vector<uint8_t>& bytes);
// Replaces the file with a new hidden one holding the bytes; a failed write
// leaves no partial file behind.
bool writeHiddenFile(const char* path, const std::vector<uint8_t>& bytes);

}  // namespace lumarel
