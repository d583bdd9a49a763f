// The screen saver drawn inside a window the saver stub owns.
#pragma once
#include <windows.h>

namespace lumarel {

void startScreenSaver(HWND window);
void stopScreenSaver();

}  // namespace lumarel
