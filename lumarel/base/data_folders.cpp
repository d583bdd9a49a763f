#include "base/data_folders.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <optional>

#include "base/handles.h"
#include "base/program_path.h"

namespace lumarel {

namespace {

std::optional<DataRoots>& chosenRoots() {
    static std::optional<DataRoots> roots;
    return roots;
}

DataRoots machineRoots() {
    DataRoots roots;
    char program[MAX_PATH];
    programPath(program, true);
    roots.program = program;
    char appData[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        roots.user = userDataRoot(appData);
    roots.programWritable = roots.program.empty() || folderTakesWrites(program);
    return roots;
}

bool copyPath(const std::string& text, char (&out)[MAX_PATH]) {
    out[0] = '\0';
    if (text.empty() || text.size() >= MAX_PATH) return false;
    memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> listOne(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    std::string search = folder + pattern;
    if (search.size() >= MAX_PATH) return names;
    WIN32_FIND_DATAA found;
    struct Search {
        HANDLE handle;
        ~Search() {
            if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
        }
    } find{FindFirstFileA(search.c_str(), &found)};
    if (find.handle == INVALID_HANDLE_VALUE) return names;
    constexpr DWORD kSkipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY;
    do {
        if (found.dwFileAttributes & kSkipped) continue;
        if (folder.size() + strlen(found.cFileName) >= MAX_PATH) continue;
        names.emplace_back(found.cFileName);
    } while (FindNextFileA(find.handle, &found));
    return names;
}

}  // namespace

bool makeFolderTree(const std::string& folder) {
    std::string trimmed = folder;
    while (trimmed.size() > 1 && trimmed.back() == '\\') trimmed.pop_back();
    if (trimmed.empty()) return false;
    if (isFolder(trimmed)) return true;
    size_t slash = trimmed.rfind('\\');
    if (slash != std::string::npos && slash > 0 && trimmed[slash - 1] != ':' && trimmed[slash - 1] != '\\')
        makeFolderTree(trimmed.substr(0, slash));
    // "Already exists" may mean a file of that name: only a folder will do.
    CreateDirectoryA(trimmed.c_str(), nullptr);
    return isFolder(trimmed);
}

// GetTempFileNameA would be the obvious trial, but Wine's reports a name even
// when its file could not be made; so the file is made here.
bool folderTakesWrites(const char* folder) {
    if (!folder || !*folder) return false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        char trial[64];
        snprintf(trial, sizeof trial, "~lumarel-trial-%lu-%d.tmp", GetCurrentProcessId(), attempt);
        std::string path = joinFolder(folder, trial);
        if (path.size() >= MAX_PATH) return false;
        unique_file file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file) {
            file.reset();
            DeleteFileA(path.c_str());  // in case closing did not
            return true;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

const DataRoots& dataRoots() {
    std::optional<DataRoots>& roots = chosenRoots();
    if (!roots) roots = machineRoots();
    return *roots;
}

void setDataRootsForTests(const DataRoots* roots) {
    if (roots)
        chosenRoots() = *roots;
    else
        chosenRoots().reset();
}

bool dataWriteFolder(DataKind kind, char (&folder)[MAX_PATH]) {
    return copyPath(writeFolderOf(dataRoots(), kind), folder) && strlen(folder) < MAX_PATH - 1;
}

bool makeDataWriteFolder(DataKind kind, char (&folder)[MAX_PATH]) {
    return dataWriteFolder(kind, folder) && makeFolderTree(folder);
}

std::vector<std::string> dataReadFolders(DataKind kind) { return readFoldersOf(dataRoots(), kind); }

std::vector<DataFile> listFolders(const std::vector<std::string>& folders, const char* pattern) {
    std::vector<std::vector<std::string>> listings;
    for (const std::string& folder : folders) listings.push_back(listOne(folder, pattern));
    std::vector<DataFile> files;
    for (ListedName& listed : mergeListings(listings))
        files.push_back({listed.name, folders[listed.folder] + listed.name});
    return files;
}

std::vector<DataFile> listDataFiles(DataKind kind, const char* pattern) {
    return listFolders(dataReadFolders(kind), pattern);
}

std::string folderHolding(const std::vector<std::string>& folders, const char* name) {
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        std::string candidate = *folder + name;
        if (candidate.size() < MAX_PATH && isFile(candidate)) return *folder;
    }
    return {};
}

bool dataFilePath(DataKind kind, const char* name, char (&path)[MAX_PATH]) {
    std::string folder = folderHolding(dataReadFolders(kind), name);
    if (folder.empty()) folder = writeFolderOf(dataRoots(), kind);
    return copyPath(folder + name, path);
}

}  // namespace lumarel
