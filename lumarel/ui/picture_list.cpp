#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/data_folders.h"
#include "base/failure.h"
#include "base/handles.h"
#include "base/message.h"
#include "base/text.h"
#include "base/dialog_helpers.h"
#include "resources/resource_ids.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"
#include "ui/shortcut.h"

// The Screen Saver page's picture list: "(None)" and the files of the picture
// folders (the one that wins on equal names last), adding a picture by
// copying it into the folder new pictures go to and removing one by deleting
// its file.

namespace lumarel {

namespace {

constexpr const char* kNone = "(None)";
constexpr const char* kAddFilter = "Picture Files (BMP, GIF, JPEG)\0*.BMP;*.GIF;*.JPG;*.JPEG\0";

HWND pictureList(HWND window) { return GetDlgItem(window, IDC_SAVER_PICTURES); }

std::string itemText(HWND list, int item) {
    char text[2 * MAX_PATH] = {};
    if (item < 0 || SendMessageA(list, LB_GETTEXTLEN, WPARAM(item), 0) >= LRESULT(sizeof text)) return {};
    SendMessageA(list, LB_GETTEXT, WPARAM(item), reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<std::string> listedItems(HWND list) {
    std::vector<std::string> items;
    int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(itemText(list, i));
    return items;
}

bool exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

std::vector<PictureFile> scanPictureFolder() {
    std::vector<PictureFile> found;
    char folder[MAX_PATH];
    if (pictureFolderPath(folder)) makeFolderTree(folder);
    for (const DataFile& entry : listFolders(pictureFolders(), "*")) {
        PictureFile file{entry.name, {}};
        char path[MAX_PATH];
        boundedCopy(path, sizeof path, entry.path.c_str());
        if (endsWithNoCase(path, ".lnk")) {
            resolveShortcut(path);
            // A shortcut to nowhere is shown under its own name.
            if (!endsWithNoCase(path, ".lnk") && exists(path)) file.target = path;
        }
        found.push_back(std::move(file));
    }
    return found;
}

int findPicture(HWND list, std::string_view fileName) {
    int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text = itemText(list, i);
        if (samePictureName(pictureStoredName(text), fileName)) return i;
    }
    return -1;
}

void choosePicture(HWND window, int item) {
    HWND list = pictureList(window);
    SendMessageA(list, LB_SETCURSEL, WPARAM(item), 0);
    onPictureChosen(window);
}

std::vector<uint8_t> readWholeFile(const char* path) {
    unique_file file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    DWORD high = 0, size = GetFileSize(file.get(), &high);
    if (size == INVALID_FILE_SIZE || high) return {};
    std::vector<uint8_t> bytes(size);
    DWORD read = 0;
    if (size && (!ReadFile(file.get(), bytes.data(), size, &read, nullptr) || read != size)) return {};
    return bytes;
}

bool sameFileBytes(const char* a, const char* b) {
    WIN32_FILE_ATTRIBUTE_DATA first{}, second{};
    if (!GetFileAttributesExA(a, GetFileExInfoStandard, &first) ||
        !GetFileAttributesExA(b, GetFileExInfoStandard, &second) || first.nFileSizeHigh || second.nFileSizeHigh ||
        first.nFileSizeLow != second.nFileSizeLow)
        return false;
    std::vector<uint8_t> bytes = readWholeFile(a);
    return bytes.size() == first.nFileSizeLow && readWholeFile(b) == bytes;
}

// Copies the picture into the folder without replacing anything there, nor
// hiding a picture of the same name in another picture folder. A file of the
// same name counts only when it holds the same bytes.
bool copyIntoFolder(const char* path, std::string& fileName) {
    const char* slash = strrchr(path, '\\');
    fileName = slash ? slash + 1 : path;
    std::string holder = folderHolding(pictureFolders(), fileName.c_str());
    if (!holder.empty()) return sameFileBytes(path, (holder + fileName).c_str());
    char target[MAX_PATH];
    if (!pictureFolderPath(target)) return false;
    makeFolderTree(target);
    if (strlen(target) + fileName.size() >= sizeof target) return false;
    boundedAppend(target, sizeof target, fileName.c_str());
    return CopyFileA(path, target, TRUE) || sameFileBytes(path, target);
}

}  // namespace

void addNewPictures(HWND window) {
    HWND list = pictureList(window);
    for (const std::string& item : newPictureItems(listedItems(list), scanPictureFolder()))
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void selectStoredPicture(HWND window, bool noneWhenMissing) {
    HWND list = pictureList(window);
    char stored[MAX_PATH];
    getPictureName(stored);
    int item = findPicture(list, stored);
    if (item < 0 && noneWhenMissing) item = int(SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1),
                                                             reinterpret_cast<LPARAM>(kNone)));
    SendMessageA(list, LB_SETCURSEL, WPARAM(item), 0);
}

void initPictureList(HWND window) {
    HWND list = pictureList(window);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNone));
    addNewPictures(window);
    selectStoredPicture(window, false);
}

void onPictureChosen(HWND window) {
    HWND list = pictureList(window);
    std::string text = itemText(list, int(SendMessageA(list, LB_GETCURSEL, 0, 0)));
    if (text.empty()) return;
    setPictureName(std::string(pictureStoredName(text)).c_str());
    notifyPreview();
}

void addPictureWithDialog(HWND window) {
    char path[MAX_PATH] = {};
    if (!chooseFileToOpen(window, path, sizeof path, kAddFilter)) return;
    std::string fileName;
    if (!copyIntoFolder(path, fileName)) {
        showMessage(window,
                    "Sorry, the picture can't be copied into the Lumarel Pictures folder.\r\n\r\nThere may already be "
                    "another picture with the same name in the folder.",
                    "Cannot Add Picture", MB_OK | MB_ICONWARNING);
        return;
    }
    HWND list = pictureList(window);
    addNewPictures(window);
    int item = findPicture(list, fileName);
    if (item >= 0) choosePicture(window, item);
}

void removeSelectedPicture(HWND window) {
    HWND list = pictureList(window);
    int item = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
    std::string text = itemText(list, item);
    if (text.find('*') == std::string::npos) return;  // "(None)" is no file
    std::string fileName(pictureStoredName(text));
    char path[MAX_PATH];
    std::string holder = folderHolding(pictureFolders(), fileName.c_str());
    if (holder.empty() && !pictureFolderPath(path)) return;
    if (!holder.empty()) boundedCopy(path, sizeof path, holder.c_str());
    if (strlen(path) + fileName.size() >= sizeof path) return;
    boundedAppend(path, sizeof path, fileName.c_str());
    if (!endsWithNoCase(path, ".lnk") &&
        showMessage(window, removePictureQuestion(pictureDisplayName(text)).c_str(),
                    "Permanently Remove This Picture?", MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    if (!DeleteFileA(path)) {
        std::string message = "Sorry, the picture file \"" + fileName +
                              "\" can't be deleted.\r\n\r\nIt may be read-only or in use by another program.";
        showMessage(window, message.c_str(), "Cannot Remove Picture", MB_OK | MB_ICONWARNING);
        return;
    }
    SendMessageA(list, LB_DELETESTRING, WPARAM(item), 0);
    choosePicture(window, int(SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(kNone))));
}

void onPictureListMenu(HWND window, POINT at) {
    HWND list = pictureList(window);
    if (at.x != -1 || at.y != -1) {
        // A right press acts on the picture under it.
        POINT inside = at;
        ScreenToClient(list, &inside);
        DWORD hit = DWORD(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(inside.x, inside.y)));
        if (!HIWORD(hit) && int(LOWORD(hit)) != int(SendMessageA(list, LB_GETCURSEL, 0, 0)))
            choosePicture(window, LOWORD(hit));
    }
    if (!menuPlace(list, at)) return;
    openContextMenu(window, "ScreenSaverPictureMenu", IDM_PREVIEW_SAVER, at);
}

}  // namespace lumarel
