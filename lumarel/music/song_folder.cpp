#include "music/song_folder.h"

#include <cstring>

#include "base/data_folders.h"
#include "base/handles.h"
#include "base/text.h"

namespace lumarel {

namespace {

const char* fileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return name;
}

}  // namespace

std::vector<Song> scanSongFolders(const std::vector<std::string>& folders, const ShortcutResolver& resolve) {
    std::vector<Song> songs;
    for (const DataFile& file : listFolders(folders, "*")) {
        char path[MAX_PATH];
        if (!songPath("", file.path.c_str(), path)) continue;  // cannot be played either
        if (isShortcut(path)) resolve(path);
        if (hasSongEnding(path)) songs.push_back({file.name, true, true});
    }
    sortSongs(songs);
    return songs;
}

void copySongFiles(const std::string& target, const std::vector<std::string>& folders,
                   const std::vector<std::string>& paths, bool songsOnly) {
    makeFolderTree(target);  // fails harmlessly when it exists
    for (const std::string& source : paths) {
        if (songsOnly && !hasSongEnding(source.c_str())) continue;
        const char* name = fileNameOf(source.c_str());
        if (!folderHolding(folders, name).empty()) continue;  // an existing song stays as it is
        char copy[MAX_PATH];
        if (!songPath(target.c_str(), name, copy)) continue;
        CopyFileA(source.c_str(), copy, TRUE);
    }
}

bool fileHoldsBytes(const char* path, const std::vector<uint8_t>& bytes) {
    unique_file file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    DWORD high = 0, size = GetFileSize(file.get(), &high);
    if (high != 0 || size != bytes.size()) return false;
    std::vector<uint8_t> held(size);
    DWORD read = 0;
    return ReadFile(file.get(), held.data(), size, &read, nullptr) && read == size && held == bytes;
}

bool writeHiddenFile(const char* path, const std::vector<uint8_t>& bytes) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
    bool written = false;
    {
        unique_file file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (!file) return false;
        DWORD done = 0;
        written = WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr) && done == bytes.size();
    }
    if (!written) DeleteFileA(path);
    return written;
}

}  // namespace lumarel
