// The desktop watcher's hook procedure, run by the system inside the thread
// that owns the desktop's icon view. It subclasses the icon view, which then
// tells lumarel's main window before each paint. Built into the hook library
// and into lumarel itself, which exports it under the same name.
#pragma once
#include <windows.h>

extern "C" LRESULT CALLBACK HookCallback3(int code, WPARAM wParam, LPARAM lParam);
