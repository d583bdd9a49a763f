// Operations of lumarel's frame that other parts call.
#pragma once
#include <windows.h>

namespace lumarel {

// Program entry after WinMain: returns the exit code.
int runLumarel(HINSTANCE instance, const char* commandLine);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK bulbWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// 0 on the desktop, 1 on top of all windows. Does nothing when unchanged.
void setBulbLocation(int location);
// Unregisters the Ctrl+Shift hot key and registers it again from the
// settings. False when it is on and another program holds the same keys.
bool reregisterHotKey();
bool registerHotKey();
void unregisterHotKey();

// Ends the screen saver: exits when started as one, else back to normal mode.
void endSaver();

// The generic failure box ("Sorry, an unexpected error occurred...").
void showUnexpectedError(HWND owner);

}  // namespace lumarel
