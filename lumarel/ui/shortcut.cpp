#include "ui/shortcut.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "base/program_path.h"
#include "base/reg_key.h"
#include "base/text.h"
#include "ui/shell_places.h"

namespace lumarel {

namespace {

template <typename T>
struct ComRelease {
    T* p = nullptr;
    ~ComRelease() {
        if (p) p->Release();
    }
};

// FindFirstFile's handle, closed with FindClose.
struct FindScope {
    HANDLE h;
    ~FindScope() {
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
};

constexpr DWORD kResolveTimeoutMs = 1000;  // carried in the high word of the flags
constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kShortcutPattern = "*Lumarel*.lnk";
constexpr const char* kShortcutName = "Lumarel.lnk";
constexpr const char* kShortcutDescription = "Shortcut to Lumarel";

// A shell link object with its file side.
struct ShellLink {
    ComRelease<IShellLinkA> link;
    ComRelease<IPersistFile> file;
    bool make() {
        return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                          reinterpret_cast<void**>(&link.p))) &&
               SUCCEEDED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)));
    }
};

bool toWide(const char* text, WCHAR (&wide)[MAX_PATH]) {
    return MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH) != 0;
}

}  // namespace

void resolveShortcut(char (&path)[MAX_PATH]) {
    if (!endsWithNoCase(path, ".lnk")) return;
    ShellLink shell;
    WCHAR wide[MAX_PATH];
    if (!shell.make() || !toWide(path, wide)) return;
    if (FAILED(shell.file.p->Load(wide, STGM_READ))) return;
    if (FAILED(shell.link.p->Resolve(nullptr, (kResolveTimeoutMs << 16) | SLR_NO_UI | SLR_NOUPDATE | SLR_NOSEARCH)))
        return;
    char target[MAX_PATH] = {};
    if (shell.link.p->GetPath(target, MAX_PATH, nullptr, 0) != S_OK || !target[0]) return;
    memcpy(path, target, sizeof target);
}

bool startupFolder(char (&folder)[MAX_PATH]) {
    RegKey shellFolders;
    if (shellFolders.openExisting(HKEY_CURRENT_USER, kShellFoldersKey) &&
        shellFolders.readString("Startup", folder, MAX_PATH) && folder[0])
        return true;
    // Newer Windows may keep the value only under "User Shell Folders".
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder)) && folder[0])
        return true;
    folder[0] = '\0';
    return false;
}

bool startupShortcutExists(bool remove) {
    char folder[MAX_PATH];
    if (!startupFolder(folder)) return false;
    std::string pattern = joinShellPath(folder, kShortcutPattern);
    if (pattern.empty()) return false;
    WIN32_FIND_DATAA found;
    FindScope search{FindFirstFileA(pattern.c_str(), &found)};
    if (search.h == INVALID_HANDLE_VALUE) return false;
    do {
        // The pattern also matches short names and folders: only a file whose
        // own name fits counts.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!isStartupShortcutName(found.cFileName)) continue;
        if (remove) {
            std::string file = joinShellPath(folder, found.cFileName);
            if (!file.empty()) DeleteFileA(file.c_str());
        }
        return true;
    } while (FindNextFileA(search.h, &found));
    return false;
}

bool createStartupShortcut() {
    char folder[MAX_PATH], program[MAX_PATH];
    if (!startupFolder(folder)) return false;
    std::string file = joinShellPath(folder, kShortcutName);
    programPath(program, false);
    WCHAR wide[MAX_PATH];
    if (file.empty() || !program[0] || !toWide(file.c_str(), wide)) return false;
    ShellLink shell;
    if (!shell.make()) return false;
    if (FAILED(shell.link.p->SetPath(program)) || FAILED(shell.link.p->SetDescription(kShortcutDescription)))
        return false;
    return SUCCEEDED(shell.file.p->Save(wide, TRUE));
}

}  // namespace lumarel
