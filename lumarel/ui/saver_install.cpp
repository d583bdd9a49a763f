#include "ui/saver_install.h"

#include <shlobj.h>

#include <cstring>
#include <string>

#include "base/handles.h"
#include "base/message.h"
#include "base/reg_key.h"
#include "engine/resource_bytes.h"

namespace lumarel {

namespace {

constexpr int kMarkString = 2;  // the stub's string that says it is ours
constexpr const char* kMark = "QuorvaneLumarel";
constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kSaverValue = "SCRNSAVE.EXE";
constexpr const char* kIniFile = "system.ini";
constexpr const char* kIniSection = "boot";

using GetWow64Folder = UINT(WINAPI*)(LPSTR, UINT);

bool isNt() { return (GetVersion() & 0x80000000u) == 0; }

// The selected screen saver's path. NT keeps it in the user's desktop
// settings (where it maps "system.ini"); Windows 9x only in the file.
bool selectedSaver(char (&path)[MAX_PATH]) {
    RegKey desktop;
    if (desktop.openExisting(HKEY_CURRENT_USER, kDesktopKey) && desktop.readString(kSaverValue, path, MAX_PATH) &&
        path[0])
        return true;
    return GetPrivateProfileStringA(kIniSection, kSaverValue, "", path, MAX_PATH, kIniFile) > 0;
}

void selectSaver(const std::string& file) {
    char chosen[MAX_PATH];
    DWORD length = GetShortPathNameA(file.c_str(), chosen, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) strcpy(chosen, file.c_str());  // no short form: the long one works
    WritePrivateProfileStringA(kIniSection, kSaverValue, chosen, kIniFile);
    if (isNt()) RegKey(HKEY_CURRENT_USER, kDesktopKey).writeString(kSaverValue, chosen);
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_UPDATEINIFILE);
}

bool isFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool writeAndVerify(HANDLE file, const uint8_t* bytes, size_t size) {
    DWORD done = 0;
    if (!WriteFile(file, bytes, DWORD(size), &done, nullptr) || done != size) return false;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) != 0) return false;
    uint8_t chunk[4096];
    for (size_t at = 0; at < size; at += done) {
        DWORD want = DWORD(size - at < sizeof chunk ? size - at : sizeof chunk);
        if (!ReadFile(file, chunk, want, &done, nullptr) || done != want || memcmp(chunk, bytes + at, want) != 0)
            return false;
    }
    return ReadFile(file, chunk, 1, &done, nullptr) && done == 0;  // and nothing more
}

// Writes the file whole or not at all: a temporary file beside it is checked
// byte by byte and only then moved to its name, which it never replaces.
bool writeWhole(const std::string& target, const uint8_t* bytes, size_t size) {
    if (!bytes || size == 0) return false;
    std::string folder = target.substr(0, target.rfind('\\') + 1);
    char temporary[MAX_PATH];
    if (folder.empty() || !GetTempFileNameA(folder.c_str(), "lum", 0, temporary)) return false;
    bool written;
    {
        unique_file file(CreateFileA(temporary, GENERIC_READ | GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file && writeAndVerify(file.get(), bytes, size);
    }
    if (written && MoveFileA(temporary, target.c_str())) return true;
    DeleteFileA(temporary);
    return false;
}

// The file at this place: there already, or written now.
bool placeHolds(const SaverPlace& place, const uint8_t* bytes, size_t size) {
    if (isFile(place.file.c_str())) return true;  // whatever version, it stays
    for (const std::string& folder : place.folders) CreateDirectoryA(folder.c_str(), nullptr);
    return writeWhole(place.file, bytes, size);
}

std::string folderOf(UINT(WINAPI* get)(LPSTR, UINT)) {
    char folder[MAX_PATH];
    UINT length = get ? get(folder, MAX_PATH) : 0;
    return length > 0 && length < MAX_PATH ? std::string(folder) : std::string();
}

std::vector<SaverPlace> realPlaces() {
    // Only a 32-bit program on 64-bit Windows gets an answer; older systems
    // lack the call altogether.
    auto wow64 = reinterpret_cast<GetWow64Folder>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA")));
    char local[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) local[0] = '\0';
    return saverPlaces(folderOf(GetSystemDirectoryA), folderOf(wow64), local);
}

}  // namespace

bool isLumarelSaverFile(const char* path) {
    if (!isFile(path)) return false;
    unique_hmodule module(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    char mark[64];
    return module && LoadStringA(module.get(), kMarkString, mark, sizeof mark) > 0 && strcmp(mark, kMark) == 0;
}

bool isSelectedScreenSaver() {
    char path[MAX_PATH];
    return selectedSaver(path) && isLumarelSaverFile(path);
}

bool installScreenSaver(HWND owner, const std::vector<SaverPlace>& places, const uint8_t* bytes, size_t size) {
    if (isSelectedScreenSaver()) return true;
    for (const SaverPlace& place : places) {
        if (!placeHolds(place, bytes, size)) continue;
        selectSaver(place.file);
        return true;
    }
    showMessage(owner,
                "Lumarel could not put its screen saver file, Lumarel.scr, in the Windows system folder or in "
                "your own application data folder, so your screen saver has not been changed.\r\n\r\n"
                "Check that the disk has room and is not write-protected, then try again.",
                "Cannot Install Screen Saver", MB_ICONWARNING | MB_OK);
    return false;
}

bool installScreenSaver(HWND owner) {
    ResourceBytes stub(GetModuleHandleA(nullptr), "SAVER", RT_RCDATA);
    return installScreenSaver(owner, realPlaces(), stub.data(), stub.size());
}

void previewScreenSaverNow(HWND owner) {
    if (!installScreenSaver(owner)) return;
    // Posted: a hung foreground program must not hang us.
    HWND target = GetForegroundWindow();
    PostMessageA(target ? target : owner, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

}  // namespace lumarel
