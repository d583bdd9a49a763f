// The hidden main window: commands, the animation tick, the tray, the hot
// key, palette and display changes, and the screen saver hand-over.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "base/handles.h"
#include "base/message.h"
#include "bulbs/library.h"
#include "frame/about.h"
#include "frame/app.h"
#include "frame/desktop_watcher.h"
#include "frame/frame.h"
#include "frame/helpers.h"
#include "frame/tray.h"
#include "music/music_box.h"
#include "resources/resource_ids.h"
#include "saver/screen_saver.h"
#include "ui/bulb_factory.h"
#include "ui/settings_store.h"
#include "ui/settings_window.h"

namespace lumarel {

namespace {

// Both windows show nothing of their own: painting only validates.
void validatePaint(HWND window) { PaintScope paint(window); }

constexpr const char* kTellFriendPage = "https://www.quorvane.example/lumarel/tell-a-friend.htm";

void onTellFriend(HWND window) {
    if (showMessage(window,
                    "This feature takes you to the Quorvane Web site, where you can use a form to "
                    "send Lumarel to a friend.\r\n\r\nDo you want to continue to the Quorvane Web site?",
                    "Tell a Friend", MB_ICONINFORMATION | MB_YESNO) == IDYES)
        ShellExecuteA(window, "open", kTellFriendPage, nullptr, nullptr, SW_SHOWNORMAL);
}

void exitProgram(HWND window) {
    cancelBulbFactory();
    DestroyWindow(window);
}

void onUninstall(HWND window) {
    if (showMessage(window,
                    "Uninstalling Lumarel will permanently remove the program from your disk. You will "
                    "not be able to use Lumarel again unless you reinstall it.\r\n\r\n"
                    "Do you want to continue uninstalling the program?",
                    "Uninstall Lumarel", MB_ICONWARNING | MB_YESNO) != IDYES)
        return;
    char path[MAX_PATH];
    programPath(path, true);
    if (strlen(path) + strlen("Uninstall.exe") >= MAX_PATH) return;
    strcat(path, "Uninstall.exe");
    // Leave only once the uninstaller really runs (it waits for this process
    // to end before it removes the program); otherwise stay and say why.
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_FLAG_NO_UI;  // the failure is ours to explain
    run.hwnd = window;
    run.lpVerb = "open";
    run.lpFile = path;
    run.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExA(&run)) {
        exitProgram(window);
        return;
    }
    showMessage(window,
                ("Lumarel could not start its uninstaller:\r\n\r\n" + std::string(path) +
                 "\r\n\r\nYou can remove Lumarel from the list of programs in the Windows Control Panel, or "
                 "run the Lumarel setup program again to repair it.")
                    .c_str(),
                "Uninstall Lumarel", MB_ICONWARNING | MB_OK);
}

LRESULT onCommand(HWND window, UINT id, LPARAM lParam) {
    switch (id) {
    case IDM_HELP: openHelp(window, HELP_FINDER, nullptr); return 0;
    case IDM_ABOUT: showAboutWindow(); return 0;
    case IDM_TELL_FRIEND: onTellFriend(window); return 0;
    case IDM_UNINSTALL: onUninstall(window); return 0;
    case IDM_ON_DESKTOP: setBulbLocation(kOnDesktop); return 0;
    case IDM_ON_TOP: setBulbLocation(kOnTop); return 0;
    case IDM_SETTINGS: openSettingsWindow(lParam == -1 ? kScreenSaverTab : kCurrentTab); return 0;
    case IDM_EXIT: exitProgram(window); return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, id, lParam);
}

void onTimer() {
    App& a = app();
    if (desktopIsPainting()) return;
    if (a.saverWindow && !IsWindow(a.saverWindow)) {
        endSaver();
        return;
    }
    try {
        runAnimationStep();
        bulbFactoryAnimationStep();
    } catch (...) {
        if (!a.drawErrorShown) {
            a.drawErrorShown = true;
            showMessage(a.mainWindow,
                        "An unexpected error occurred while Lumarel was attempting to draw the bulb "
                        "animation.\r\n\r\nIf the bulbs do not look right, please see the Lumarel "
                        "help pages on the Quorvane Web site.",
                        kErrorTitle, MB_SYSTEMMODAL | MB_ICONERROR | MB_OK);
        }
    }
    checkSongDeadline();
}

// A file path from another process: accepted only as 1 to 260 bytes, and
// always terminated before use. The import runs later, from a posted
// message: it may open the modal editor, and the sender waits for this reply.
LRESULT onCopyData(HWND window, const COPYDATASTRUCT* data) {
    if (!data || data->cbData == 0 || data->cbData > kMaxPath || !data->lpData) return 0;
    char path[kMaxPath];
    memcpy(path, data->lpData, data->cbData);
    path[data->cbData < kMaxPath ? data->cbData : kMaxPath - 1] = '\0';
    App& a = app();
    a.pendingImports.emplace_back(path);
    if (!PostMessageA(window, WM_LIGHTS_IMPORTPATH, 0, 0)) {
        a.pendingImports.pop_back();
        return 0;
    }
    return 1;
}

void onImportPath(HWND window) {
    App& a = app();
    if (a.pendingImports.empty()) return;
    std::string path = std::move(a.pendingImports.front());
    a.pendingImports.pop_front();
    importBulbFile(window, path.c_str());
}

void onSaverWindow(HWND saver) {
    App& a = app();
    if (saver && IsWindow(saver)) {
        a.runMode = kRunSaver;
        a.saverWindow = saver;
        startScreenSaver(saver);
        redecideMusic();
    } else if (!saver && a.saverWindow) {
        endSaver();
    }
}

void onReloadSaver() {
    if (loadFlashSettings()) discardWorldSet();
    if (app().saverWindow) {
        stopScreenSaver();
        startScreenSaver(app().saverWindow);
    }
}

void onDisplayChange() {
    discardWorldSet();
    dropBulbCaches();
}

LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    App& a = app();
    switch (message) {
    case WM_DESTROY:
        if (a.helpOpen) openHelp(window, HELP_QUIT, nullptr);
        PostQuitMessage(0);
        return 0;
    case WM_PAINT: validatePaint(window); return 0;
    case WM_ERASEBKGND: return 0;
    case WM_COPYDATA: return onCopyData(window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_ENDSESSION:
        if (wParam) cancelBulbFactory();  // the process ends when this returns
        return 0;
    case WM_COMMAND: return onCommand(window, LOWORD(wParam), lParam);
    case WM_TIMER: onTimer(); return 0;
    case WM_QUERYNEWPALETTE: realiseProgramPalette(a, window); return 1;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != window) realiseProgramPalette(a, window);
        onDisplayChange();
        return 0;
    case WM_DISPLAYCHANGE: onDisplayChange(); return 0;
    case WM_HOTKEY: setBulbLocation(a.bulbLocation == kOnTop ? kOnDesktop : kOnTop); return 0;
    case MM_MCINOTIFY: musicDeviceNotice(UINT(wParam), UINT(lParam)); return 0;
    }
    if (message == WM_LIGHTS_TRAYICON) {
        onTrayMessage(window, UINT(lParam));
        return 0;
    }
    if (message == WM_LIGHTS_SAVERWINDOW) {
        onSaverWindow(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    if (message == WM_LIGHTS_RELOADSAVER) {
        onReloadSaver();
        return 0;
    }
    if (message == WM_LIGHTS_DESKTOPPAINT) {
        takeDesktopRepaint(a, desktopWatcher());
        return 0;
    }
    if (message == WM_LIGHTS_IMPORTPATH) {
        onImportPath(window);
        return 0;
    }
    if (message == WM_LIGHTS_MUSICEVENT) {
        drainMediaEvents();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handleMessage(window, message, wParam, lParam);
    } catch (...) {
        showUnexpectedError(window);
        return 0;
    }
}

namespace {

// On the desktop the bulb window stays at the bottom whoever moves it, and it
// is never activated in either place.
void keepBulbWindowLevel(WINDOWPOS* position) {
    position->flags |= SWP_NOACTIVATE;
    if (!app().onTop() && !(position->flags & SWP_NOZORDER)) position->hwndInsertAfter = HWND_BOTTOM;
}

}  // namespace

// The bulb window only shows what the animation step draws into it.
LRESULT CALLBACK bulbWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTTRANSPARENT;  // clicks reach the window below
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGING:
        keepBulbWindowLevel(reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_PAINT:
        validatePaint(window);
        redrawBulbs();  // the next tick puts the picture back
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void setBulbLocation(int location) {
    App& a = app();
    if (location == a.bulbLocation) return;
    a.bulbLocation = location;
    a.animation.locationChanged();
    setBulbLocationSetting(location);
    if (settingsWindow()) settingsLocationChanged(location);
}

bool registerHotKey() {
    App& a = app();
    if (!getHotKeyOn()) return true;
    a.hotKeyRegistered =
        RegisterHotKey(a.mainWindow, 0, MOD_CONTROL | MOD_SHIFT, UINT(getHotKeyChar())) != FALSE;
    return a.hotKeyRegistered;
}

void unregisterHotKey() {
    App& a = app();
    if (!a.hotKeyRegistered) return;
    UnregisterHotKey(a.mainWindow, 0);
    a.hotKeyRegistered = false;
}

bool reregisterHotKey() {
    unregisterHotKey();
    return registerHotKey();
}

void endSaver() {
    App& a = app();
    if (a.startedAsSaver) {
        a.saverWindow = nullptr;
        DestroyWindow(a.mainWindow);
        return;
    }
    stopScreenSaver();
    a.saverWindow = nullptr;
    a.runMode = kRunNormal;
    redecideMusic();
}

}  // namespace lumarel
