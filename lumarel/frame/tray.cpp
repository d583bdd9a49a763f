#include "frame/tray.h"

#include <shellapi.h>

#include "frame/app.h"
#include "resources/resource_ids.h"
#include "ui/settings_store.h"
#include "ui/settings_window.h"

namespace lumarel {

namespace {

NOTIFYICONDATAA iconData() {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;  // understood by every shell
    data.hWnd = app().mainWindow;
    data.uID = 0;
    return data;
}

void showTrayMenu(HWND window) {
    App& a = app();
    if (!a.trayMenu) a.trayMenu.reset(LoadMenuA(a.instance, "TaskbarMenu"));
    HMENU popup = a.trayMenu ? GetSubMenu(a.trayMenu.get(), 0) : nullptr;
    if (popup) {
        SetMenuDefaultItem(popup, IDM_SETTINGS, FALSE);
        CheckMenuRadioItem(popup, IDM_ON_TOP, IDM_ON_DESKTOP,
                           a.bulbLocation == kOnTop ? IDM_ON_TOP : IDM_ON_DESKTOP, MF_BYCOMMAND);
        SetForegroundWindow(window);
        TPMPARAMS params{sizeof params, {}};
        HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
        if (taskbar) GetWindowRect(taskbar, &params.rcExclude);
        DWORD at = GetMessagePos();
        TrackPopupMenuEx(popup, TPM_RIGHTBUTTON, short(LOWORD(at)), short(HIWORD(at)), window,
                         taskbar ? &params : nullptr);
        PostMessageA(window, WM_USER, 0, 0);  // lets the menu close properly
    }
    if (a.firstRun) {
        writeCurrentVersion();
        a.firstRun = false;
    }
}

}  // namespace

void addTrayIcon() {
    App& a = app();
    NOTIFYICONDATAA data = iconData();
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_LIGHTS_TRAYICON;
    data.hIcon = static_cast<HICON>(LoadImageA(a.instance, "ICON", IMAGE_ICON, 16, 16, 0));
    lstrcpynA(data.szTip, "Lumarel", 64);
    a.trayIconAdded = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void removeTrayIcon() {
    App& a = app();
    if (a.trayIconAdded) {
        NOTIFYICONDATAA data = iconData();
        Shell_NotifyIconA(NIM_DELETE, &data);
        a.trayIconAdded = false;
    }
    if (a.trayMenu) {
        a.trayMenu.reset();
    }
}

void onTrayMessage(HWND window, UINT mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        showTrayMenu(window);
        break;
    case WM_LBUTTONDBLCLK:
        SetForegroundWindow(window);
        openSettingsWindow(kCurrentTab);
        break;
    }
}

}  // namespace lumarel
