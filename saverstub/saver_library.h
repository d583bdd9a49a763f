// The screen-saver library services a saver program is built on: the program
// entry, Windows' switches, the full-screen and preview windows, input that
// ends the saver, and the 9x password paths. The saver supplies the three
// entry points declared first.
#pragma once
#include <windows.h>

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI RegisterDialogClasses(HANDLE instance);

// What the library does with a message the saver leaves to it. Losing the
// activation does not end the saver here: lumarel takes it while it draws.
LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace saverstub {

// True while the saver runs as a preview inside another program's window.
bool isPreview();

}  // namespace saverstub
