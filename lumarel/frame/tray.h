// The notification-area icon and its menu.
#pragma once
#include <windows.h>

namespace lumarel {

void addTrayIcon();
void removeTrayIcon();
// The icon's callback (WM_LIGHTS_TRAYICON with the mouse message).
void onTrayMessage(HWND window, UINT mouseMessage);

}  // namespace lumarel
