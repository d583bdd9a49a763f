#include <windows.h>

#include <string>

#include "music/music_box.h"
#include "resources/resource_ids.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"
#include "ui/themes.h"

namespace lumarel {

namespace {

constexpr int kThemeLoadDelete = 101;

std::string& themeName() {
    static std::string name;
    return name;
}

void rememberThemeName(const char* name) { themeName().assign(name, strnlen(name, kThemeNameLimit)); }

std::string dialogText(HWND dialog, int id) {
    char text[kThemeNameLimit + 2] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool confirm(HWND owner, const char* title, const std::string& text) {
    return MessageBoxA(owner, text.c_str(), title, MB_YESNO | MB_ICONWARNING) == IDYES;
}

void onSaveOk(HWND dialog) {
    std::string name = dialogText(dialog, IDC_THEME_NAME);
    if (!validThemeName(name)) return;
    if (themeExists(name.c_str()) &&
        !confirm(dialog, "Replace Theme?",
                 "A theme named \"" + name + "\" already exists.\r\n\r\nDo you want to replace it?"))
        return;
    rememberThemeName(name.c_str());
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK saveThemeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HWND edit = GetDlgItem(dialog, IDC_THEME_NAME);
        SendMessageA(edit, EM_LIMITTEXT, kThemeNameLimit, 0);
        SetWindowTextA(edit, themeName().c_str());
        EnableWindow(GetDlgItem(dialog, IDOK), validThemeName(themeName()));
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_THEME_NAME:
            // A "\" would nest keys: such a name is refused like an empty one.
            if (HIWORD(wParam) == EN_CHANGE)
                EnableWindow(GetDlgItem(dialog, IDOK), validThemeName(dialogText(dialog, IDC_THEME_NAME)));
            return TRUE;
        case IDOK: onSaveOk(dialog); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

std::string selectedTheme(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_THEME_LIST);
    int index = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
    char name[260] = {};
    if (index < 0 || SendMessageA(list, LB_GETTEXTLEN, WPARAM(index), 0) >= LRESULT(sizeof name)) return {};
    SendMessageA(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(name));
    return name;
}

void enableThemeChoice(HWND dialog, bool enable) {
    EnableWindow(GetDlgItem(dialog, IDOK), enable);
    EnableWindow(GetDlgItem(dialog, kThemeLoadDelete), enable);
}

void loadSelected(HWND dialog) {
    std::string name = selectedTheme(dialog);
    if (name.empty()) return;
    loadTheme(name.c_str());
    EndDialog(dialog, IDOK);
}

void deleteSelected(HWND dialog) {
    std::string name = selectedTheme(dialog);
    if (name.empty()) return;
    if (!confirm(dialog, "Remove This Theme?",
                 "This will remove the theme \"" + name +
                     "\" from Lumarel,and cannot be undone or canceled.\r\n\r\nAre you sure you want to do this?"))
        return;
    if (!deleteTheme(name.c_str())) {
        MessageBoxA(dialog, ("The theme \"" + name + "\" could not be removed.").c_str(), "Cannot Remove Theme",
                    MB_OK | MB_ICONWARNING);
        return;
    }
    HWND list = GetDlgItem(dialog, IDC_THEME_LIST);
    SendMessageA(list, LB_DELETESTRING, SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    enableThemeChoice(dialog, false);
    SetFocus(GetDlgItem(dialog, IDCANCEL));
}

INT_PTR CALLBACK loadThemeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HWND list = GetDlgItem(dialog, IDC_THEME_LIST);
        char name[260];
        for (DWORD i = 0; enumTheme(i, name); ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        enableThemeChoice(dialog, false);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_THEME_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE) enableThemeChoice(dialog, !selectedTheme(dialog).empty());
            if (HIWORD(wParam) == LBN_DBLCLK) loadSelected(dialog);
            return TRUE;
        case IDOK: loadSelected(dialog); return TRUE;
        case kThemeLoadDelete: deleteSelected(dialog); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

bool runSaveThemeDialog(HWND owner) {
    return DialogBoxParamA(settingsResources(), "THEMESAVE", owner, saveThemeProc, 0) == IDOK;
}

void runLoadThemeDialog(HWND owner) {
    DialogBoxParamA(settingsResources(), "THEMELOAD", owner, loadThemeProc, 0);
}

void loadTheme(const char* name) {
    rememberThemeName(name);
    loadThemeValues(name);
    const SettingsHost& host = settingsHost();
    if (loadFlashSettings() && host.rebuildBulbs) host.rebuildBulbs();
    // Themes leave the drawing place alone; it is applied again as stored.
    if (host.setLocation) host.setLocation(getBulbLocationSetting());
    buildSongList();
    redecideMusic();
    if (HWND window = settingsWindow()) {
        showFlashSettings(window);
        showPlayMode(window);
        showSongs(window);
        showSaverValues(window);
        selectStoredPicture(window, true);
        InvalidateRect(window, nullptr, TRUE);
    }
    notifyPreview();
}

const char* currentThemeName() { return themeName().c_str(); }

}  // namespace lumarel
