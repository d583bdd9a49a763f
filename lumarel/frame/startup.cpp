// Start-up, the message loop and shutdown of lumarel.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/data_folders.h"
#include "base/failure.h"
#include "base/help_topics.h"
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
#include "saver/animation_table.h"
#include "saver/screen_saver.h"
#include "ui/association.h"
#include "ui/bulb_factory.h"
#include "ui/settings_store.h"
#include "ui/settings_window.h"
#include "ui/shortcut.h"

namespace lumarel {

namespace {

// What the settings window shows of the screen saver: the picture folders
// (new pictures go to the one the program may write to) and the animations
// made of floaters.
std::string picturesWriteFolder() {
    char folder[MAX_PATH];
    return dataWriteFolder(DataKind::Pictures, folder) ? folder : std::string();
}

std::vector<std::string> floatingModuleNames() {
    std::vector<std::string> names;
    for (int i = 0; i < kAnimationEntries; ++i) names.push_back(animationEntry(i).name);
    return names;
}

void showSlowBulbReminder() {
    if (getPreventSlowBulbWarning()) return;
    showMessage(app().mainWindow,
                "You're using one or more slow bulbs on top of all windows. (Slow bulbs are those "
                "that change shape while they animate.)\r\n\r\nDepending on your computer, the "
                "extra computing power required to draw these bulbs might slow down Lumarel or "
                "other applications, making the bulb animation less smooth and attractive.\r\n\r\n"
                "If this is a problem, choose bulbs that aren't marked \"slow\" in the Bulb "
                "Factory, or set the bulbs to draw only on your desktop.",
                "Slow Bulb Reminder", MB_ICONWARNING | MB_OK);
    setPreventSlowBulbWarning(1);
}

}  // namespace

App::App() {
    warnSlowBulbsOnTop = showSlowBulbReminder;
    suspendDesktopWatcher = [] { desktopWatcher().suspend(); };
    startDesktopWatcher = [] { desktopWatcher().start(); };
    userCategories = getIncludedBulbCategories;
    setBulbContext(*this);
}

App& app() {
    static App state;
    return state;
}

namespace {

constexpr UINT kHandOverTimeoutMs = 5000;

// A lumarel showing the saver's preview restarts it with the new settings.
void notifySaverPreview() {
    if (HWND preview = FindWindowA(kPreviewClass, kMainTitle)) PostMessageA(preview, WM_LIGHTS_RELOADSAVER, 0, 0);
}

// Answers the command line. False when the program must end at once.
bool applyCommandLine(const CommandLine& command) {
    App& a = app();
    switch (command.request) {
    case StartRequest::Reset:
        if (showMessage(nullptr, "Are you sure you want to reset Lumarel to the default settings?",
                        "Reset Lumarel", MB_ICONWARNING | MB_YESNO) == IDYES)
            resetSettings();
        break;
    case StartRequest::SettingsOnly:
        a.settingsOnly = true;
        break;
    case StartRequest::Open:
        memcpy(a.openPath, command.openPath, sizeof a.openPath);
        break;
    case StartRequest::Saver:
    case StartRequest::Preview: {
        HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(command.window));
        if (command.window == 0 || !IsWindow(window)) return false;
        a.saverWindow = window;
        a.startedAsSaver = true;
        a.runMode = command.request == StartRequest::Saver ? kRunSaver : kRunPreview;
        break;
    }
    case StartRequest::Normal:
        break;
    }
    return true;
}

// Hands the request to a running instance. True when one was found (this
// process then ends).
bool handOverToRunningInstance(const char* mainClass) {
    App& a = app();
    HWND other = FindWindowA(mainClass, kMainTitle);
    if (!other) return false;
    if (a.runMode == kRunPreview) return true;  // another preview runs: just leave
    if (a.saverWindow) {
        PostMessageA(other, WM_LIGHTS_SAVERWINDOW, reinterpret_cast<WPARAM>(a.saverWindow), 0);
    } else if (a.openPath[0]) {
        SetForegroundWindow(other);
        COPYDATASTRUCT data{0, kMaxPath, a.openPath};
        // A hung lumarel must not hang a double-clicked bulb file too.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(other, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                            kHandOverTimeoutMs, &ignored);
    } else if (a.settingsOnly) {
        PostMessageA(other, WM_COMMAND, IDM_SETTINGS, -1);
    } else {
        SetForegroundWindow(other);
        PostMessageA(other, WM_COMMAND, IDM_SETTINGS, 0);
    }
    return true;
}

void createWindows(const char* mainClass) {
    App& a = app();
    WNDCLASSA main{};
    main.lpfnWndProc = mainWindowProc;
    main.hInstance = a.instance;
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    main.lpszClassName = mainClass;
    check(RegisterClassA(&main) != 0);
    a.mainWindow = CreateWindowExA(0, mainClass, kMainTitle, WS_OVERLAPPEDWINDOW, 50, 50, 100, 100,
                                   nullptr, nullptr, a.instance, nullptr);
    check(a.mainWindow != nullptr);

    WNDCLASSA bulbs = main;
    bulbs.lpfnWndProc = bulbWindowProc;
    bulbs.lpszClassName = kBulbClass;
    check(RegisterClassA(&bulbs) != 0);
    // A tool window has no taskbar button on Windows; some shells (Wine's)
    // leave out only owned windows, so the bulb window also gets an owner of
    // its own: hidden, never activated, kept below it at the bottom.
    HWND owner = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 a.instance, nullptr);
    // HTTRANSPARENT passes clicks on only within our own thread; a layered,
    // transparent window lets them through to every other program as well.
    a.bulbWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT,
                                   kBulbClass, kBulbTitle, WS_POPUP, 10, 10, 100, 100, owner, nullptr,
                                   a.instance, nullptr);
    if (a.bulbWindow) SetLayeredWindowAttributes(a.bulbWindow, 0, 255, LWA_ALPHA);
}

void checkVersion() {
    App& a = app();
    char version[10];
    if (readCurrentVersion(version)) {
        if (strcmp(version, kCurrentVersion) != 0) {
            writeCurrentVersion();
            const char* keyword = version[0] == '3'   ? help_keyword::Version4
                                  : version[0] == '4' ? help_keyword::Version5
                                                      : help_keyword::Version;
            openHelp(a.mainWindow, HELP_KEY, keyword);
            checkMidiVolume(a.mainWindow);
        }
    } else {
        a.firstRun = true;  // "5.3" is written when the tray menu first opens
        openHelp(a.mainWindow, HELP_KEY, help_keyword::Welcome);
        checkMidiVolume(a.mainWindow);
    }
}

int messageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND dialogs[] = {aboutWindow(), bulbFactoryWindow()};
        bool taken = settingsDialogMessage(message);
        for (HWND dialog : dialogs)
            if (!taken && dialog && IsDialogMessageA(dialog, &message)) taken = true;
        if (taken) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return int(message.wParam);
}

void shutDown() {
    App& a = app();
    releaseDesktopWatcher();
    stopScreenSaver();
    if (a.mainWindow) KillTimer(a.mainWindow, kAnimationTimer);
    discardWorldSet();
    stopMusic();
    unregisterHotKey();
    removeTrayIcon();
    CoUninitialize();
}

}  // namespace

int runLumarel(HINSTANCE instance, const char* commandText) {
    App& a = app();
    a.instance = instance;

    // 1. The command line.
    try {
        if (!applyCommandLine(parseCommandLine(commandText))) return 0;
    } catch (const Failure&) {
        return 0;  // an "open" path too long for 260 bytes
    }

    // 2. One instance (a preview runs beside a normal one), and the windows.
    const char* mainClass = a.runMode == kRunPreview ? kPreviewClass : kMainClass;
    if (handOverToRunningInstance(mainClass)) return 0;
    try {
        createWindows(mainClass);
    } catch (const Failure&) {
        return 0;
    }
    if (a.runMode == kRunPreview) SetPropA(a.mainWindow, kSaverWindowProperty, a.saverWindow);

    int exitCode = 0;
    try {
        // 3. Random numbers seeded from the clock's milliseconds.
        SYSTEMTIME now;
        GetLocalTime(&now);
        srand(now.wMilliseconds);

        // 4.
        CoInitialize(nullptr);
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);

        // 5.
        setBulbFactoryHost({a.instance, a.mainWindow,
                            [](HWND owner, UINT command, ULONG_PTR data) { openHelp(owner, command, data); },
                            discardWorldSet, centreWindow, chooseFileToOpen});
        createBuiltInBulbs();
        scanBulbFolder();

        if (a.runMode != kRunNormal) {
            // 6. Saver or preview: draw into the given window while it lasts.
            if (!IsWindow(a.saverWindow)) {
                CoUninitialize();
                return 0;
            }
            startScreenSaver(a.saverWindow);
        } else {
            // 7.
            registerProgram();
            if (!a.settingsOnly) {
                checkVersion();
                addTrayIcon();
                registerHotKey();
            }
        }

        // 8-10.
        if (loadFlashSettings()) discardWorldSet();
        a.bulbLocation = getBulbLocationSetting();
        realiseProgramPalette(a, a.mainWindow);
        SetTimer(a.mainWindow, kAnimationTimer, kAnimationPeriodMs, nullptr);

        // 11-14.
        setMusicHost({a.mainWindow, WM_LIGHTS_MUSICEVENT, {}, [] { return app().runMode; }, settingsWindow,
                      loadMusic, resolveShortcut});
        if (a.runMode != kRunPreview) startMusic();
        setSettingsHost({a.mainWindow, [] { if (app().settingsOnly) PostQuitMessage(0); }, showUnexpectedError,
                         [](int location) { setBulbLocation(location); }, reregisterHotKey, discardWorldSet,
                         notifySaverPreview,
                         [](HWND owner, UINT command, ULONG_PTR data) { openHelp(owner, command, data); },
                         nullptr, picturesWriteFolder(), floatingModuleNames(),
                         dataReadFolders(DataKind::Pictures), chooseFileToOpen});
        if (a.settingsOnly) openSettingsWindow(kScreenSaverTab);
        LoadAcceleratorsA(a.instance, "LIGHTS");  // loaded, never translated
        if (a.openPath[0]) importBulbFile(a.mainWindow, a.openPath);

        // 15.
        exitCode = messageLoop();
    } catch (...) {
        showUnexpectedError(nullptr);
    }
    shutDown();
    return exitCode;
}

void showUnexpectedError(HWND owner) {
    showMessage(owner,
                "Sorry, an unexpected error occurred in Lumarel.\r\n\r\n"
                "If you cannot tell what caused it, please write to Quorvane support at "
                "support@quorvane.example and describe what you were doing.",
                kErrorTitle, MB_SYSTEMMODAL | MB_ICONERROR | MB_OK);
}

}  // namespace lumarel
