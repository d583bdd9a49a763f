#include "music/song_folder.h"

#include <cstring>

#include "base/handles.h"
#include "base/text.h"

namespace lumarel {

namespace {

struct FindHandle {
    HANDLE h;
    ~FindHandle() {
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
};

const char* fileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return name;
}

}  // namespace

std::vector<Song> scanSongFolder(const char* folder, const ShortcutResolver& resolve) {
    std::vector<Song> songs;
    char pattern[MAX_PATH];
    if (!songPath(folder, "*", pattern)) return songs;
    WIN32_FIND_DATAA found;
    FindHandle search{FindFirstFileA(pattern, &found)};
    if (search.h == INVALID_HANDLE_VALUE) return songs;
    constexpr DWORD kSkipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY;
    do {
        if (found.dwFileAttributes & kSkipped) continue;
        char path[MAX_PATH];
        if (!songPath(folder, found.cFileName, path)) continue;  // cannot be played either
        if (isShortcut(path)) resolve(path);
        if (hasSongEnding(path)) songs.push_back({found.cFileName, true, true});
    } while (FindNextFileA(search.h, &found));
    sortSongs(songs);
    return songs;
}

void copySongFiles(const char* folder, const std::vector<std::string>& paths, bool songsOnly) {
    CreateDirectoryA(folder, nullptr);  // fails harmlessly when it exists
    for (const std::string& source : paths) {
        if (songsOnly && !hasSongEnding(source.c_str())) continue;
        char target[MAX_PATH];
        if (!songPath(folder, fileNameOf(source.c_str()), target)) continue;
        CopyFileA(source.c_str(), target, TRUE);  // an existing song stays as it is
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
