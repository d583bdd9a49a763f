#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "base/failure.h"
#include "base/handles.h"
#include "base/message.h"
#include "base/text.h"
#include "music/music_box.h"
#include "music/song_list.h"
#include "resources/resource_ids.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"
#include "ui/song_checksum.h"

// The Music Box page: the song list with a check box per song, adding and
// removing songs, when the chosen songs play, and the volume control.

namespace lumarel {

namespace {

// The list box class's own procedure, the same for every song list. Kept
// here, not in a window property: the list gets hundreds of messages while
// the window opens, and each property read is a trip to the window server.
WNDPROC songListOriginal = nullptr;
constexpr int kBoxLeft = 5, kBoxSize = 12, kNameLeft = 23;

void openVolumeControl(HWND window) {
    // Vista renamed the mixer.
    for (const char* program : {"Sndvol32.exe", "SndVol.exe"})
        if (reinterpret_cast<INT_PTR>(ShellExecuteA(window, nullptr, program, nullptr, nullptr, SW_SHOWNORMAL)) > 32)
            return;
    fail(int32_t(GetLastError() ? GetLastError() : DWORD(kFailAsrt)));
}

std::string withoutEnding(const std::string& name) {
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

HWND songListBox(HWND window) { return GetDlgItem(window, IDC_SONG_LIST); }

// The song an item stands for, or null when the list moved on under it.
Song* songOfItem(HWND list, int item) {
    if (item < 0) return nullptr;
    auto index = size_t(SendMessageA(list, LB_GETITEMDATA, WPARAM(item), 0));
    std::vector<Song>& songs = lumarel::songList();
    return index < songs.size() ? &songs[index] : nullptr;
}

void toggleSong(HWND list, int item) {
    Song* song = songOfItem(list, item);
    if (!song) return;
    std::string name = song->name;
    enableSong(name.c_str(), !song->enabled);  // plays or stops as the choice now says
    saveMusic();
    RECT box;
    if (SendMessageA(list, LB_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&box)) != LB_ERR)
        InvalidateRect(list, &box, FALSE);
}

void onListClick(HWND list, LPARAM where, bool play) {
    DWORD hit = DWORD(SendMessageA(list, LB_ITEMFROMPOINT, 0, where));
    if (HIWORD(hit)) return;  // below the last item
    int item = LOWORD(hit);
    switch (songClickAt(GET_X_LPARAM(where))) {
    case SongClick::kToggle: toggleSong(list, item); break;
    case SongClick::kPlay:
        if (play)
            if (Song* song = songOfItem(list, item)) playSongNow(size_t(song - lumarel::songList().data()));
        break;
    case SongClick::kNone: break;
    }
}

LRESULT handleListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC original) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The list selects the item first; then the zone decides.
        LRESULT result = CallWindowProcA(original, list, message, wParam, lParam);
        onListClick(list, lParam, message == WM_LBUTTONDOWN);
        return result;
    }
    case WM_RBUTTONDOWN: {
        DWORD hit = DWORD(SendMessageA(list, LB_ITEMFROMPOINT, 0, lParam));
        if (!HIWORD(hit)) SendMessageA(list, LB_SETCURSEL, LOWORD(hit), 0);
        SetFocus(list);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            toggleSong(list, int(SendMessageA(list, LB_GETCURSEL, 0, 0)));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == ' ') return 0;  // not a search for a name starting with a blank
        break;
    case WM_DROPFILES: {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        addDroppedSongs(drop);
        DragFinish(drop);
        showSongs(GetParent(list));
        return 0;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        break;
    }
    return CallWindowProcA(original, list, message, wParam, lParam);
}

LRESULT CALLBACK songListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = songListOriginal;
    try {
        return handleListMessage(list, message, wParam, lParam, original);
    } catch (...) {
        // The dialog's own catch does not reach the list's messages.
        if (settingsHost().unexpectedError) settingsHost().unexpectedError(GetParent(list));
        return 0;
    }
}

void addSong(HWND window) {
    if (!addSongWithDialog(window)) {
        failOnDialogError();
        return;
    }
    showSongs(window);
}

void removeSelectedSong(HWND window) {
    HWND list = songListBox(window);
    const Song* song = songOfItem(list, int(SendMessageA(list, LB_GETCURSEL, 0, 0)));
    if (!song) return;
    std::string name = song->name;
    char path[MAX_PATH];
    if (!songFilePath(name.c_str(), path)) return;
    // A shortcut goes without asking: the song it points to stays.
    if (!isShortcut(name.c_str())) {
        char title[MAX_PATH] = {};
        if (GetFileTitleA(path, title, sizeof title) != 0) boundedCopy(title, sizeof title, name.c_str());
        if (showMessage(window, removeSongQuestion(title).c_str(), "Permanently Remove This Song?",
                        MB_YESNO | MB_ICONWARNING) != IDYES)
            return;
    }
    // A playing song's file is held open.
    stopSongNamed(name.c_str());
    if (!DeleteFileA(path)) {
        std::string text = "Sorry, the song file \"" + name +
                           "\" can't be deleted.\r\n\r\nIt may be read-only or in use by another program.";
        showMessage(window, text.c_str(), "Cannot Remove Song", MB_OK | MB_ICONWARNING);
    } else {
        buildSongList();
        showSongs(window);
    }
    redecideMusic();
}

}  // namespace

void showPlayMode(HWND window) {
    CheckRadioButton(window, IDC_MUSIC_NEVER, IDC_MUSIC_INTERMITTENT, IDC_MUSIC_NEVER + musicPlayMode());
}

void showSongs(HWND window) {
    HWND list = songListBox(window);
    int top = int(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    std::string selected;
    if (const Song* song = songOfItem(list, int(SendMessageA(list, LB_GETCURSEL, 0, 0)))) selected = song->name;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const std::vector<Song>& songs = lumarel::songList();
    int reselect = -1;
    for (size_t i = 0; i < songs.size(); ++i) {
        std::string text = withoutEnding(songs[i].name);
        auto item = int(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
        if (item < 0) fail(kFailAsrt);
        SendMessageA(list, LB_SETITEMDATA, WPARAM(item), LPARAM(i));
        if (songs[i].name == selected) reselect = item;
    }
    SendMessageA(list, LB_SETTOPINDEX, WPARAM(top), 0);
    if (reselect >= 0) SendMessageA(list, LB_SETCURSEL, WPARAM(reselect), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void rescanSongs(HWND window) {
    uint32_t before = songListChecksum(lumarel::songList());
    buildSongList();
    if (songListChecksum(lumarel::songList()) != before) showSongs(window);
}

void initMusicPage(HWND window) {
    showPlayMode(window);
    HWND list = songListBox(window);
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_WNDPROC));
    if (original != songListProc) songListOriginal = original;
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(songListProc));
    DragAcceptFiles(list, TRUE);
    showSongs(window);
}

void drawSongItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    if (item.itemID == UINT(-1)) return;  // an empty list with the focus
    const Song* song = songOfItem(item.hwndItem, int(item.itemID));
    int top = r.top + (r.bottom - r.top - kBoxSize) / 2;
    RECT box{r.left + kBoxLeft, top, r.left + kBoxLeft + kBoxSize, top + kBoxSize};
    FrameRect(dc, &box, GetSysColorBrush(COLOR_WINDOWTEXT));
    if (song && song->enabled) {
        // A tick of three short strokes, each a pixel below the last.
        unique_gdi<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
        SelectObjectScope usePen(dc, pen.get());
        for (int stroke = 0; stroke < 3; ++stroke) {
            int y = box.top + 5 + stroke;
            MoveToEx(dc, box.left + 2, y, nullptr);
            LineTo(dc, box.left + 4, y + 2);
            LineTo(dc, box.left + 9, y - 3);
        }
    }
    char text[MAX_PATH] = {};
    if (SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0) < LRESULT(sizeof text))
        SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    SIZE extent{};
    GetTextExtentPoint32A(dc, text, int(strlen(text)), &extent);
    RECT name{r.left + kNameLeft - 2, r.top, r.left + kNameLeft + extent.cx + 2, r.bottom};
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (selected) FillRect(dc, &name, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    TextOutA(dc, r.left + kNameLeft, r.top + (r.bottom - r.top - extent.cy) / 2, text, int(strlen(text)));
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &name);
}

void onSongListMenu(HWND window, POINT at) {
    if (!menuPlace(songListBox(window), at)) return;
    openContextMenu(window, "MusicMenu", IDM_PLAY_SONG, at);
}

bool onMusicPageCommand(HWND window, int id, int notice) {
    if (id >= IDC_MUSIC_NEVER && id <= IDC_MUSIC_INTERMITTENT) {
        if (notice == BN_CLICKED) {
            CheckRadioButton(window, IDC_MUSIC_NEVER, IDC_MUSIC_INTERMITTENT, id);
            changePlayMode(id - IDC_MUSIC_NEVER);
            saveMusic();
        }
        return true;
    }
    HWND list = songListBox(window);
    switch (id) {
    case IDC_SONG_LIST: return true;  // clicks and keys are the list's own
    case IDC_ADD_SONG: addSong(window); return true;
    case IDC_MUSIC_VOLUME: openVolumeControl(window); return true;
    case IDM_PLAY_SONG:
        if (const Song* song = songOfItem(list, int(SendMessageA(list, LB_GETCURSEL, 0, 0))))
            playSongNow(size_t(song - lumarel::songList().data()));
        return true;
    case IDM_REMOVE_SONG: removeSelectedSong(window); return true;
    }
    return false;
}

}  // namespace lumarel
