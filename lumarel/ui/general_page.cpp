#include <windows.h>

#include <string>

#include "base/message.h"
#include "resources/resource_ids.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"
#include "ui/shortcut.h"

// The General page: starting with Windows, applied only by OK, and the hot
// key that moves the bulbs, applied at once.

namespace lumarel {

namespace {

void showHotKey(HWND window) {
    HWND box = GetDlgItem(window, IDC_HOTKEY_KEY);
    char text[2] = {char(getHotKeyChar()), '\0'};
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(box, LB_SETCURSEL, 0, 0);
}

void enableHotKeyBox(HWND window) {
    EnableWindow(GetDlgItem(window, IDC_HOTKEY_KEY), IsDlgButtonChecked(window, IDC_HOTKEY_CHECK) == BST_CHECKED);
}

// Registration fails when another program already holds the same keys;
// the user would otherwise press them and wonder why nothing happens.
void hotKeyChanged(HWND window) {
    if (!settingsHost().reregisterHotKey || settingsHost().reregisterHotKey()) return;
    std::string text = "Another program is already using Ctrl + Shift + ";
    text += char(getHotKeyChar());
    text += " as its hot key.\r\n\r\nLumarel can't use this key until that program lets it go. You can choose "
            "another key here.";
    showMessage(window, text.c_str(), "Hot Key In Use", MB_OK | MB_ICONWARNING);
}

}  // namespace

void initGeneralPage(HWND window, const SettingsSnapshot& taken) {
    SendDlgItemMessageA(window, IDC_STARTUP_CHECK, BM_SETCHECK, taken.startupShortcut ? BST_CHECKED : BST_UNCHECKED, 0);
    SendDlgItemMessageA(window, IDC_HOTKEY_CHECK, BM_SETCHECK, taken.hotKeyOn ? BST_CHECKED : BST_UNCHECKED, 0);
    showHotKey(window);
    enableHotKeyBox(window);
}

bool onGeneralPageCommand(HWND window, int id, int notice) {
    if (id == IDC_STARTUP_CHECK) return true;  // read by OK
    if (id != IDC_HOTKEY_CHECK) return false;
    if (notice == BN_CLICKED) {
        setHotKeyOn(IsDlgButtonChecked(window, IDC_HOTKEY_CHECK) == BST_CHECKED ? 1 : 0);
        enableHotKeyBox(window);
        hotKeyChanged(window);
    }
    return true;
}

INT_PTR onHotKeyBoxKey(HWND window, UINT virtualKey) {
    if (auto key = hotKeyCharacter(virtualKey)) {
        setHotKeyChar(*key);
        showHotKey(window);
        hotKeyChanged(window);
        return -2;  // handled: the list box does nothing more
    }
    // Tab and the arrows keep moving the focus as usual.
    return -1;
}

void applyStartupBox(HWND window, const SettingsSnapshot& taken) {
    bool checked = IsDlgButtonChecked(window, IDC_STARTUP_CHECK) == BST_CHECKED;
    if (checked == taken.startupShortcut) return;
    if (checked)
        createStartupShortcut();
    else
        startupShortcutExists(true);
}

}  // namespace lumarel
