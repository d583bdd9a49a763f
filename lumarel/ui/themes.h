// Themes: named copies of the bulb, music and screen saver settings, saved
// and loaded from two small dialogs over the settings window.
#pragma once
#include <windows.h>

namespace lumarel {

// "Save Theme": true when the user confirmed a name, which is then the
// current theme name (the caller saves the theme under it).
bool runSaveThemeDialog(HWND owner);
// "Load Theme": loads the chosen theme itself, or deletes themes.
void runLoadThemeDialog(HWND owner);
// Copies the theme into the settings and applies it to the running program
// and to the open settings window.
void loadTheme(const char* name);
// The name last saved or loaded in this run.
const char* currentThemeName();

}  // namespace lumarel
