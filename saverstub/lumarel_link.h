// Finding, starting and stopping lumarel, which draws into the stub's window.
#pragma once
#include <windows.h>

namespace saverstub {

// lumarel's main window for a preview or a full-screen run, or null.
HWND findLumarel(bool preview);

// Posts a message to a running lumarel, first letting it take the
// foreground. False when none runs.
bool postToLumarel(bool preview, UINT message, WPARAM wParam, LPARAM lParam);

// Starts the program named by "Path" with these parameters and waits until
// its window is there. False when there is no usable "Path", the shell
// refuses, or no window came.
bool startLumarel(const char* parameters, bool preview);

// Tells lumarel the saver in window ended; a hung lumarel is given at most a
// second. A preview tells only the lumarel that draws into its window.
void stopLumarel(bool preview, HWND window);

}  // namespace saverstub
