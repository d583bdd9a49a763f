// Process-wide state of lumarel's frame, in one owner.
#pragma once
#include <windows.h>

#include <deque>
#include <string>

#include "engine/animation.h"
#include "engine/engine_context.h"
#include "frame/command_line.h"

namespace lumarel {

// Custom messages of the main window.
constexpr UINT WM_LIGHTS_TRAYICON = WM_USER + 10;
constexpr UINT WM_LIGHTS_SAVERWINDOW = WM_USER + 11;
constexpr UINT WM_LIGHTS_RELOADSAVER = WM_USER + 12;
constexpr UINT WM_LIGHTS_DESKTOPPAINT = WM_USER + 100;
constexpr UINT WM_LIGHTS_MUSICEVENT = WM_USER + 179;
// Posted to ourselves: import the oldest path another instance handed over.
constexpr UINT WM_LIGHTS_IMPORTPATH = WM_APP + 1;

inline constexpr const char* kMainClass = "Lumarel";
inline constexpr const char* kPreviewClass = "SSP Lumarel";
inline constexpr const char* kMainTitle = "QuorvaneLumarel";
// A preview's main window carries the window it draws into, so the screen
// saver that owns that window can tell its own preview from another.
inline constexpr const char* kSaverWindowProperty = "Lumarel Saver Window";
inline constexpr const char* kBulbClass = "Lumarel Bulb Window";
inline constexpr const char* kBulbTitle = "QuorvaneBulbs";
inline constexpr const char* kErrorTitle = "Unexpected Lumarel Error";

constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationPeriodMs = 60;

// The program's state is also the context its engine draws in.
struct App : EngineContext {
    App();

    bool startedAsSaver = false;
    bool settingsOnly = false;
    char openPath[kMaxPath] = {};
    HWND mainWindow = nullptr;
    bool firstRun = false;
    bool helpOpen = false;
    bool hotKeyRegistered = false;
    bool drawErrorShown = false;
    bool trayIconAdded = false;
    unique_hmenu trayMenu;
    // Paths handed over by other instances, imported one per posted message
    // so the sender never waits for an editor to close.
    std::deque<std::string> pendingImports;
    Animation animation{*this};
};

App& app();

// The program's animation, driven by the main window's timer.
inline void runAnimationStep() { app().animation.step(); }
inline void discardWorldSet() { app().animation.discard(); }
inline void redrawBulbs() { app().animation.redraw(); }
inline BulbWorldSet* currentWorldSet() { return app().animation.worlds(); }
inline int32_t animationStepCount() { return app().animation.stepCount(); }

}  // namespace lumarel
