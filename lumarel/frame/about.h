// The modeless About window.
#pragma once
#include <windows.h>

namespace lumarel {

void showAboutWindow();
HWND aboutWindow();

}  // namespace lumarel
