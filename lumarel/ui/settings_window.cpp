#include "ui/settings_window.h"

#include <commctrl.h>

#include "base/failure.h"
#include "bulbs/bulb_sending.h"
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
    ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
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

void onDestroy(HWND window) {
    SettingsState& s = settings();
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
        // A control's help topic is its own number.
        const auto& info = *reinterpret_cast<const HELPINFO*>(lParam);
        if (info.iContextType == HELPINFO_WINDOW && settings().host.openHelp)
            settings().host.openHelp(window, HELP_CONTEXTPOPUP, ULONG_PTR(info.iCtrlId));
        return TRUE;
    }
    case WM_HSCROLL:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_FLASH_SPEED) onFlashSpeedScroll(window);
        return TRUE;
    case WM_VKEYTOITEM:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_HOTKEY_KEY)
            return onHotKeyBoxKey(window, LOWORD(wParam));
        return -1;
    case WM_DRAWITEM:
        if (wParam == IDC_SHARING_LINK) {
            drawLinkLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
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
        CreateDialogParamA(GetModuleHandleA(nullptr), "SETTINGS", s.host.owner, settingsProc, LPARAM(tab));
    if (!window) fail(int32_t(GetLastError() ? GetLastError() : DWORD(kFailAsrt)));
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
}

bool settingsDialogMessage(MSG& message) {
    HWND window = settings().window;
    if (!window || (message.hwnd != window && !IsChild(window, message.hwnd))) return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        int step = GetKeyState(VK_SHIFT) < 0 ? kTabCount - 1 : 1;
        showPage(window, (settings().page + step) % kTabCount);
        return true;
    }
    return IsDialogMessageA(window, &message) != FALSE;
}

HWND settingsWindow() { return settings().window; }

void refreshSettingsAfterBulbChange() {
    HWND window = settings().window;
    if (!window) return;
    fillSharingList(window);
    ShowWindow(GetDlgItem(window, IDC_SETTINGS_HINT), SW_SHOW);
}

void settingsLocationChanged(int location) {
    if (HWND window = settings().window) showBulbLocation(window, location);
}

}  // namespace lumarel
