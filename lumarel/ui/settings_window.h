// The tabbed settings window.
#pragma once
#include <windows.h>

namespace lumarel {

constexpr int kCurrentTab = -1;
constexpr int kScreenSaverTab = 2;

// Opens the settings window (or brings it forward) at a tab, or at its
// current tab with kCurrentTab.
void openSettingsWindow(int tab);
// The open settings window, or null.
HWND settingsWindow();
// After a bulb was made or edited: refills the bulb lists and shows the
// sharing hint. A placeholder until the window has its pages.
void refreshSettingsAfterBulbChange();
// Reflects a new bulb location in the window's two radio buttons.
void settingsLocationChanged(int location);

}  // namespace lumarel
