// Process-wide state of lumarel's frame, in one owner.
#pragma once
#include <windows.h>

#include "frame/command_line.h"

namespace lumarel {

enum RunMode : int { kRunNormal = 0, kRunSaver = 1, kRunPreview = 2 };
enum BulbLocation : int { kOnDesktop = 0, kOnTop = 1 };

// Custom messages of the main window.
constexpr UINT WM_LIGHTS_TRAYICON = WM_USER + 10;
constexpr UINT WM_LIGHTS_SAVERWINDOW = WM_USER + 11;
constexpr UINT WM_LIGHTS_RELOADSAVER = WM_USER + 12;
constexpr UINT WM_LIGHTS_DESKTOPPAINT = WM_USER + 100;
constexpr UINT WM_LIGHTS_MUSICEVENT = WM_USER + 179;

inline constexpr const char* kMainClass = "Lumarel";
inline constexpr const char* kPreviewClass = "SSP Lumarel";
inline constexpr const char* kMainTitle = "QuorvaneLumarel";
inline constexpr const char* kBulbClass = "Lumarel Bulb Window";
inline constexpr const char* kBulbTitle = "QuorvaneBulbs";
inline constexpr const char* kErrorTitle = "Unexpected Lumarel Error";

constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationPeriodMs = 60;

struct App {
    HINSTANCE instance = nullptr;
    int runMode = kRunNormal;
    HWND saverWindow = nullptr;
    bool startedAsSaver = false;
    bool settingsOnly = false;
    char openPath[kMaxPath] = {};
    HWND mainWindow = nullptr;
    HWND bulbWindow = nullptr;
    int bulbLocation = kOnDesktop;
    bool firstRun = false;
    bool helpOpen = false;
    bool hotKeyRegistered = false;
    bool drawErrorShown = false;
    bool trayIconAdded = false;
    HMENU trayMenu = nullptr;
    HPALETTE palette = nullptr;  // the program palette, owned by the engine
    HRGN pendingRepaint = nullptr;
};

App& app();

}  // namespace lumarel
