// The tabbed settings window.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumarel {

constexpr int kCurrentTab = -1;
constexpr int kScreenSaverTab = 2;
constexpr int kSharingTab = 3;

// What the window needs from the program around it.
struct SettingsHost {
    HWND owner = nullptr;                        // the hidden main window
    std::function<void()> closed;                // after the window is gone
    std::function<void(HWND)> unexpectedError;   // a failure while handling a message
    std::function<void(int)> setLocation;        // 0 on the desktop, 1 on top
    std::function<bool()> reregisterHotKey;      // after the hot key settings changed;
                                                 // false when another program holds the key
    std::function<void()> rebuildBulbs;          // after the arrangement changed
    std::function<void()> notifyPreview;         // restarts a running saver preview
    std::function<void(HWND, UINT, ULONG_PTR)> openHelp;  // WinHelp's command and data
    HINSTANCE resources = nullptr;  // the dialogs and menus; null: this program
    std::string picturesFolder;     // where new pictures go, with its trailing backslash
    std::vector<std::string> floatingModules;  // the saver's animations of floaters
    std::vector<std::string> pictureFolders;   // all listed, the winning one last; empty: picturesFolder
    // An open-file dialog: true when a file was chosen.
    std::function<bool(HWND owner, char* path, DWORD size, const char* filter)> chooseFile;
};
void setSettingsHost(SettingsHost host);

// Opens the settings window (or brings it forward) at a tab, or at its
// current tab with kCurrentTab.
void openSettingsWindow(int tab);
// The main loop's pre-translation: Ctrl+Tab and Ctrl+Shift+Tab change pages,
// then the dialog's own keys. True when the message was taken.
bool settingsDialogMessage(MSG& message);
// The open settings window, or null.
HWND settingsWindow();
// After a bulb was made or edited: refills the bulb lists and shows the
// sharing hint.
void refreshSettingsAfterBulbChange();
// After an import: the Bulb Factory page shows with the bulb selected.
void selectBulbInSettings(int32_t id);
// Reflects a new bulb location in the window's two radio buttons.
void settingsLocationChanged(int location);

}  // namespace lumarel
