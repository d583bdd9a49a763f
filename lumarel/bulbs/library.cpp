#include "bulbs/library.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "bulbs/bulb_file.h"
#include "bulbs/bulb_writer.h"
#include "bulbs/extra_bulb.h"
#include "base/failure.h"
#include "base/data_folders.h"
#include "base/text.h"
#include "base/reg_key.h"
#include "ui/bulb_factory.h"
#include "ui/settings_store.h"
#include "ui/settings_window.h"

namespace lumarel {
namespace {

constexpr const char* kImportTitle = "Problem Importing File";
constexpr const char* kGifTitle = "Cannot Import GIF File";
constexpr const char* kGifFailed = "Sorry, this GIF file cannot be imported. It may be damaged in some way.";
constexpr const char* kOwnerKey = "Software\\Microsoft\\Windows\\CurrentVersion";

std::string folderOverride;
LibraryMessageBox messageBoxHook = nullptr;

int ask(const std::string& text, const char* title, UINT flags) {
    if (messageBoxHook) return messageBoxHook(text.c_str(), title, flags);
    return MessageBoxA(nullptr, text.c_str(), title, flags);
}

// The name part of a path (after the last backslash, slash or colon).
const char* fileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return name;
}

std::string fileTitle(const char* path) {
    char title[MAX_PATH] = {};
    if (GetFileTitleA(path, title, sizeof title) == 0) return title;
    return fileNamePart(path);
}

// The folders the scan reads, the one that wins on equal names last.
std::vector<std::string> bulbFolders() {
    if (!folderOverride.empty()) return {folderOverride};
    return dataReadFolders(DataKind::Bulbs);
}

// The settings window is open during an import: it shows the bulb there.
void showInBulbList(BulbObject* bulb) { selectBulbInSettings(bulb->id()); }

// Author and copyright message for a new bulb from the registered owner and
// the user's e-mail address.
bool creditsForNewBulb(char (&author)[kBulbTextSize], char (&copyright)[kBulbTextSize]) {
    char owner[kBulbTextSize] = {};
    RegKey key;
    if (key.openExisting(HKEY_LOCAL_MACHINE, kOwnerKey) && !key.readString("RegisteredOwner", owner, sizeof owner))
        owner[0] = '\0';
    char email[kBulbTextSize] = {};
    readUserEmail(email, sizeof email);
    SYSTEMTIME now;
    GetLocalTime(&now);
    return makeCredits(owner, email, now.wYear, author, copyright);
}

// Loads a bulb file into the list; true on success. `damaged` tells whether
// a failure was the file's fault (not, say, a sharing violation).
BulbObject* loadBulb(const char* path, bool& damaged) {
    damaged = false;
    try {
        return new ExtraBulbObject(path);  // the bulb list owns it
    } catch (const Failure& failure) {
        damaged = failure.code == kFailAsrt || failure.code == kFailUnknownGifBlock;
        return nullptr;
    }
}

}  // namespace

void importIntoLibrary(const char* path) {
    const char* dot = strrchr(path, '.');
    if (!dot) return;
    bool gif = equalsNoCase(dot, ".gif");
    if (!gif && !equalsNoCase(dot, ".bul")) {
        ask("Sorry, that type of file cannot be imported.", kImportTitle, MB_ICONWARNING | MB_OK);
        return;
    }
    char folder[MAX_PATH];
    if (!bulbFolder(folder)) return;
    char target[MAX_PATH] = {};
    bool sameFile = false;
    if (gif) {
        if (!makeBulbFromGif(path, target)) return;
    } else {
        char source[MAX_PATH] = {};
        DWORD n = GetFullPathNameA(path, sizeof source, source, nullptr);
        if (n == 0 || n >= sizeof source) return;
        if (BulbObject* known = findAddOnBulbByFileName(path) ? findAddOnBulbByFileName(path)
                                                              : findAddOnBulbByFileName(source)) {
            showInBulbList(known);
            return;
        }
        std::string destination = std::string(folder) + fileNamePart(source);
        if (destination.size() >= sizeof target) return;
        strcpy(target, destination.c_str());
        makeFolderTree(folder);
        sameFile = equalsNoCase(source, target);
        // A bulb file of that name in another bulb folder counts as existing:
        // the copy would hide it.
        bool taken = !sameFile && !folderHolding(bulbFolders(), fileNamePart(source)).empty();
        if (!sameFile && (taken || !CopyFileA(source, target, TRUE))) {
            ask(std::string("Sorry, ") + fileNamePart(source) +
                    " could not be imported.\r\n\r\nIt may have the same file name as another bulb file that "
                    "already exists. Rename it, then try again.",
                kImportTitle, MB_ICONWARNING | MB_OK);
            return;
        }
    }
    bool damaged = false;
    BulbObject* bulb = loadBulb(target, damaged);
    if (!bulb) {
        ask("Sorry, that bulb file is damaged and cannot be used.", kImportTitle, MB_ICONWARNING | MB_OK);
        // A file already in the bulb folder may be the user's only copy.
        if (!sameFile) DeleteFileA(target);
        return;
    }
    showInBulbList(bulb);
    if (gif) openBulbFactory(bulbFactoryOwner(), bulb->id());
}

void setBulbFolderForTests(const char* folder) { folderOverride = folder ? folder : ""; }
void setLibraryMessageBox(LibraryMessageBox show) { messageBoxHook = show; }

bool bulbFolder(char (&folder)[MAX_PATH]) {
    if (!folderOverride.empty()) {
        if (folderOverride.size() >= sizeof folder) return false;
        strcpy(folder, folderOverride.c_str());
        return true;
    }
    return dataWriteFolder(DataKind::Bulbs, folder) && strlen(folder) < MAX_PATH - strlen("*.bul");
}

void scanBulbFolder() {
    // A folder too deep for "*.bul" lists nothing, so its bulbs are skipped.
    for (const DataFile& file : listFolders(bulbFolders(), "*.bul")) {
        bool damaged = false;
        if (loadBulb(file.path.c_str(), damaged) || !damaged) continue;
        std::string text = "Lumarel has detected that the bulb file \"" + fileTitle(file.path.c_str()) +
                           "\" is somehow damaged. Using this bulb may cause problems, so we recommend that you "
                           "delete it.\r\n\r\nDo you want to delete this bulb file?";
        if (ask(text, "Damaged Bulb File", MB_ICONWARNING | MB_YESNO) == IDYES) DeleteFileA(file.path.c_str());
    }
}

void importBulbFile(HWND, const char* path) {
    if (!path || !*path) return;
    // Imports run with the settings window open, so the new bulb can be shown
    // in its list.
    if (!settingsWindow()) openSettingsWindow(kCurrentTab);
    importIntoLibrary(path);
}

bool makeBulbFromGif(const char* gifPath, char (&bulbPath)[MAX_PATH]) {
    bulbPath[0] = '\0';
    char folder[MAX_PATH];
    bool reserved = false;
    try {
        check(bulbFolder(folder));
        check(makeFolderTree(folder));
        std::string base = fileNamePart(gifPath);
        if (size_t dot = base.rfind('.'); dot != std::string::npos) base.resize(dot);
        reserveNewFile(bulbPath, folder, base.c_str(), ".bul", bulbFolders());
        reserved = true;
        char author[kBulbTextSize], copyright[kBulbTextSize];
        check(creditsForNewBulb(author, copyright));
        writeNewBulbFile(bulbPath, gifPath, static_cast<int32_t>(GetTickCount()), base.c_str(), author, copyright);
        return true;
    } catch (const Failure&) {
        ask(kGifFailed, kGifTitle, MB_ICONWARNING | MB_OK);
        if (reserved) DeleteFileA(bulbPath);
        bulbPath[0] = '\0';
        return false;
    }
}

}  // namespace lumarel
