// What the settings window's pages share with the window itself. Each page
// lives in its own file; the window routes its messages to them.
#pragma once
#include <windows.h>

#include "ui/settings_rules.h"
#include "ui/settings_window.h"

namespace lumarel {

const SettingsHost& settingsHost();
// Asks a running screen saver preview to start again with the new settings.
void notifyPreview();

// The values Cancel puts back, read from the store and the live state.
SettingsSnapshot takeSettingsSnapshot();
// Writes every captured value back, whether it changed or not.
void restoreSettingsSnapshot(const SettingsSnapshot& taken);

// Bulb Factory page: the drawing place and the flash settings.
void initBulbPage(HWND window);
bool onBulbPageCommand(HWND window, int id, int notice);
void onFlashSpeedScroll(HWND window);
void showBulbLocation(HWND window, int location);
void showFlashSettings(HWND window);

// Music Box page: the play mode and the volume so far.
void initMusicPage(HWND window);
void showPlayMode(HWND window);
bool onMusicPageCommand(HWND window, int id, int notice);

// Screen Saver page: the message, movement and display type so far.
void initSaverPage(HWND window);
// Picks the one of the two selected-saver texts that is true now, and
// enables the movement list for the stored module.
void onSaverPageShown(HWND window);
// After a theme load: the stored message, movement and display type.
void showSaverValues(HWND window);
bool onSaverPageCommand(HWND window, int id, int notice);

// General page: start-up and the hot key.
void initGeneralPage(HWND window, const SettingsSnapshot& taken);
bool onGeneralPageCommand(HWND window, int id, int notice);
// A key pressed in the hot key box; the result is WM_VKEYTOITEM's.
INT_PTR onHotKeyBoxKey(HWND window, UINT virtualKey);
// On OK: a start-up box the user changed creates or deletes the shortcut.
void applyStartupBox(HWND window, const SettingsSnapshot& taken);

}  // namespace lumarel
