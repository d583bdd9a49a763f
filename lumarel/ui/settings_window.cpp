#include "ui/settings_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "base/failure.h"
#include "bulbs/bulb_sending.h"
#include "base/dialog_helpers.h"
#include "resources/resource_ids.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"
#include "ui/sharing.h"
#include "ui/themes.h"

// The settings window's frame: the tab control, its five pages and the
// buttons that close it. Each page's controls are numbered in its own
// hundred; switching pages shows one hundred and hides the others.

namespace lumarel {

namespace {

constexpr const char* kTabNames[] = {"Bulb Factory", "Music Box", "Screen Saver", "Sharing", "General"};
constexpr int kTabCount = 5;
constexpr int kMusicTab = 1;
constexpr int kSongBoxHelpEdge = 17, kSongBoxHelpTopic = 202;
struct ControlRange {
    int first, last;
};
constexpr ControlRange kPageControls[kTabCount] = {{100, 120}, {200, 214}, {300, 316}, {400, 408}, {500, 506}};
// Where the focus goes when a page switch hides the focused control.
constexpr int kPageFocus[kTabCount] = {100, 200, IDC_SAVER_DISPLAY_PROPERTIES, IDC_SETTINGS_TABS, IDC_STARTUP_CHECK};

struct SettingsState {
    HWND window = nullptr;
    int page = 0;
    bool accepted = false;
    SettingsSnapshot taken;  // what Cancel puts back
    SettingsHost host;
};

SettingsState& settings() {
    static SettingsState state;
    return state;
}

int pageOfControl(int id) {
    for (int page = 0; page < kTabCount; ++page)
        if (id >= kPageControls[page].first && id <= kPageControls[page].last) return page;
    return -1;
}

struct PageSwitch {
    int page;
    bool focusHidden = false;
};

BOOL CALLBACK showPageControl(HWND control, LPARAM parameter) {
    auto& change = *reinterpret_cast<PageSwitch*>(parameter);
    int owner = pageOfControl(GetDlgCtrlID(control));
    if (owner < 0) return TRUE;
    bool show = owner == change.page;
    if (!show && GetFocus() == control) change.focusHidden = true;
    // Hidden with its text put away, so its '&' key cannot reach it.
    showDialogControl(control, show);
    return TRUE;
}

void showPage(HWND window, int page) {
    SettingsState& s = settings();
    s.page = page;
    SendDlgItemMessageA(window, IDC_SETTINGS_TABS, TCM_SETCURSEL, WPARAM(page), 0);
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    PageSwitch change{page};
    EnumChildWindows(window, showPageControl, reinterpret_cast<LPARAM>(&change));
    if (page == kScreenSaverTab) onSaverPageShown(window);
    // Themes hold the first three pages' settings only.
    for (int id : {IDC_THEME_LOAD, IDC_THEME_SAVE})
        ShowWindow(GetDlgItem(window, id), page <= kScreenSaverTab ? SW_SHOWNA : SW_HIDE);
    if (page == kSharingTab) ShowWindow(GetDlgItem(window, IDC_SETTINGS_HINT), SW_HIDE);
    SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (change.focusHidden) {
        HWND target = GetDlgItem(window, kPageFocus[page]);
        SetFocus(target ? target : GetDlgItem(window, IDC_SETTINGS_TABS));
    }
}

void onInit(HWND window, int tab) {
    SettingsState& s = settings();
    s.window = window;
    s.accepted = false;
    s.taken = takeSettingsSnapshot();
    HWND tabs = GetDlgItem(window, IDC_SETTINGS_TABS);
    for (int i = 0; i < kTabCount; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTabNames[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    // The pages' controls lie over the tab control.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    initBulbPage(window);
    initMusicPage(window);
    initSaverPage(window);
    initGeneralPage(window, s.taken);
    fillSharingList(window);
    showPage(window, tab >= 0 && tab < kTabCount ? tab : s.page);
    ShowWindow(GetDlgItem(window, IDC_SETTINGS_HINT), SW_HIDE);
}

// The window came to the front again: what changed in the song and picture
// folders meanwhile shows.
void onActivated(HWND window) {
    if (settings().page == kMusicTab) rescanSongs(window);
    addNewPictures(window);
}

void onContextMenu(HWND window, HWND control, POINT at) {
    switch (GetDlgCtrlID(control)) {
    case IDC_SONG_LIST: onSongListMenu(window, at); break;
    case IDC_SAVER_PICTURES: onPictureListMenu(window, at); break;
    }
}

void onDestroy(HWND window) {
    SettingsState& s = settings();
    freeSavedControlTexts(window);
    closeBulbPage();
    // Forgotten first: what the restore moves must not reach the closing page.
    s.window = nullptr;
    try {
        if (s.accepted)
            applyStartupBox(window, s.taken);
        else
            restoreSettingsSnapshot(s.taken);
    } catch (...) {
        // A settings start still ends with its window.
        if (s.host.closed) s.host.closed();
        throw;
    }
    if (s.host.closed) s.host.closed();
}

void onCommand(HWND window, int id, int notice) {
    switch (id) {
    case IDOK:
        settings().accepted = true;
        DestroyWindow(window);
        return;
    case IDCANCEL:  // also the close box
        DestroyWindow(window);
        return;
    case IDC_SETTINGS_HELP:
        if (settings().host.openHelp) settings().host.openHelp(window, HELP_FINDER, 0);
        return;
    case IDC_THEME_LOAD:
        runLoadThemeDialog(window);
        return;
    case IDC_THEME_SAVE:
        if (runSaveThemeDialog(window)) saveTheme(currentThemeName());
        return;
    }
    if (onBulbPageCommand(window, id, notice) || onMusicPageCommand(window, id, notice) ||
        onSaverPageCommand(window, id, notice) || onGeneralPageCommand(window, id, notice))
        return;
    onSharingCommand(window, id, notice);
}

INT_PTR handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInit(window, int(lParam));
        return TRUE;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_SETTINGS_TABS && header.code == TCN_SELCHANGE)
            showPage(window, int(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
        return TRUE;
    }
    case WM_HELP: {
        // A control's help topic is its own number; the song list's check
        // boxes have one of their own.
        const auto& info = *reinterpret_cast<const HELPINFO*>(lParam);
        if (info.iContextType != HELPINFO_WINDOW || !settings().host.openHelp) return TRUE;
        int topic = info.iCtrlId;
        if (topic == IDC_SONG_LIST) {
            POINT at = info.MousePos;
            ScreenToClient(static_cast<HWND>(info.hItemHandle), &at);
            if (at.x < kSongBoxHelpEdge) topic = kSongBoxHelpTopic;
        }
        settings().host.openHelp(window, HELP_CONTEXTPOPUP, ULONG_PTR(topic));
        return TRUE;
    }
    case WM_HSCROLL:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_FLASH_SPEED) onFlashSpeedScroll(window);
        return TRUE;
    case WM_VKEYTOITEM:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_HOTKEY_KEY)
            return onHotKeyBoxKey(window, LOWORD(wParam));
        return -1;
    case WM_MEASUREITEM:
        return measureListItem(window, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        switch (wParam) {
        case IDC_SHARING_LINK: drawLinkLabel(item); return TRUE;
        case IDC_SONG_LIST: drawSongItem(item); return TRUE;
        case IDC_SAVER_ANIMATIONS:
        case IDC_SAVER_PICTURES: drawSaverListItem(item); return TRUE;
        }
        return drawBulbPageItem(item);
    }
    case WM_CONTEXTMENU:
        onContextMenu(window, reinterpret_cast<HWND>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && settings().window) onActivated(window);
        return FALSE;
    case kSendBulbRequest:
        sendBulbFromSettings(window, int32_t(lParam));
        return TRUE;
    case WM_DESTROY:
        onDestroy(window);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK settingsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handle(window, message, wParam, lParam);
    } catch (...) {
        // The window stays open; the user is told.
        if (settings().host.unexpectedError) settings().host.unexpectedError(window);
        return TRUE;
    }
}

}  // namespace

const SettingsHost& settingsHost() { return settings().host; }

HINSTANCE settingsResources() {
    return settings().host.resources ? settings().host.resources : GetModuleHandleA(nullptr);
}

void notifyPreview() {
    if (settings().host.notifyPreview) settings().host.notifyPreview();
}

void setSettingsHost(SettingsHost host) { settings().host = std::move(host); }

void openSettingsWindow(int tab) {
    SettingsState& s = settings();
    if (s.window) {
        if (tab >= 0 && tab < kTabCount) showPage(s.window, tab);
        ShowWindow(s.window, SW_SHOW);
        SetForegroundWindow(s.window);
        return;
    }
    HWND window =
        CreateDialogParamA(settingsResources(), "SETTINGS", s.host.owner, settingsProc, LPARAM(tab));
    if (!window) fail(int32_t(GetLastError() ? GetLastError() : DWORD(kFailAsrt)));
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
}

bool settingsDialogMessage(MSG& message) {
    HWND window = settings().window;
    if (!window || (message.hwnd != window && !IsChild(window, message.hwnd))) return false;
    if (bulbPageKey(message)) return true;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        int step = GetKeyState(VK_SHIFT) < 0 ? kTabCount - 1 : 1;
        showPage(window, (settings().page + step) % kTabCount);
        return true;
    }
    // Shift+F10 (a system key) and the menu key open the focused list's menu.
    bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (keyDown && ((message.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) || message.wParam == VK_APPS)) {
        SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetFocus()), MAKELPARAM(-1, -1));
        return true;
    }
    return IsDialogMessageA(window, &message) != FALSE;
}

HWND settingsWindow() { return settings().window; }

void refreshSettingsAfterBulbChange() {
    HWND window = settings().window;
    if (!window) return;
    refillBulbPage(window);
    if (currentBulbOnScreen() && settings().host.rebuildBulbs) settings().host.rebuildBulbs();
    fillSharingList(window);
    fillAnimationList(window);
    ShowWindow(GetDlgItem(window, IDC_SETTINGS_HINT), SW_SHOW);
}

void selectBulbInSettings(int32_t id) {
    HWND window = settings().window;
    if (!window) return;
    showPage(window, 0);
    selectBulbOnPage(window, id);
    fillSharingList(window);
    fillAnimationList(window);  // add-on bulbs float in the screen saver too
}

void settingsLocationChanged(int location) {
    if (HWND window = settings().window) showBulbLocation(window, location);
}

}  // namespace lumarel
