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

// Every file of the folders (trailing backslash; a name in a later folder
// hides the same name in an earlier one) with a song ending, in name order.
// Folders, hidden and temporary files are skipped; a shortcut counts as the
// song it points to and is listed under its own name.
std::vector<Song> scanSongFolders(const std::vector<std::string>& folders, const ShortcutResolver& resolve);

// Copies each file into `target` (made when missing) under its own name,
// never over or in front of a song of that name in any of `folders`. Paths
// without a song ending are skipped when `songsOnly` (dropped files); the
// file dialog's choice is copied as it is.
void copySongFiles(const std::string& target, const std::vector<std::string>& folders,
                   const std::vector<std::string>& paths, bool songsOnly);

// True when the file holds exactly these bytes.
bool fileHoldsBytes(const char* path, const std::vector<uint8_t>& bytes);
// Replaces the file with a new hidden one holding the bytes; a failed write
// leaves no partial file behind.
bool writeHiddenFile(const char* path, const std::vector<uint8_t>& bytes);

}  // namespace lumarel
