// The shell's desktop view. One lookup serves the program and its hook
// library (built into both), so the two always agree on the window.
#pragma once
#include <windows.h>

namespace lumarel {

// "SHELLDLL_DefView" under "Progman", or under one of the "WorkerW" windows
// newer shells move it to; null without one.
HWND findShellView();
// The desktop's icon list view ("SysListView32" in the shell view), or null.
HWND findDesktopIconView();

}  // namespace lumarel
