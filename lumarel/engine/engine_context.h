// What the engine needs from the program around it, handed in rather than
// read from the program's globals: where the bulbs go, the windows they go
// to, the palette, and who tells the user about slow bulbs.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include "base/handles.h"

namespace lumarel {

class BulbWorldSet;

// A running screen saver composes each frame off screen: the animation step
// refreshes the scene, draws the bulbs into its back buffer, then lets it
// finish (text, and the copy to its window).
class SaverCanvas {
public:
    virtual ~SaverCanvas() = default;
    virtual HDC backBuffer() = 0;
    // `advance`: the bulbs take a flash step now (never with "Don't
    // Flash"); `worlds` may be null before the first build.
    virtual void stepFrame(bool advance, BulbWorldSet* worlds) = 0;
    virtual void finishFrame() = 0;
};

enum RunMode : int { kRunNormal = 0, kRunSaver = 1, kRunPreview = 2 };
enum BulbLocation : int { kOnDesktop = 0, kOnTop = 1 };

struct EngineContext {
    HINSTANCE instance = nullptr;  // where the pictures are; the program itself when null
    int runMode = kRunNormal;
    int bulbLocation = kOnDesktop;
    // The desktop has no icon view to draw into: bulbs "on the desktop" show
    // through the bulb window kept just above it instead.
    bool bulbWindowOnDesktop = false;
    HWND saverWindow = nullptr;
    // The scene while a screen saver runs in saverWindow; until then (or
    // after a start that failed) nothing is drawn into that window.
    SaverCanvas* saverCanvas = nullptr;
    uint32_t saverStarts = 0;  // grows at every start and stop: the worlds are rebuilt
    HWND bulbWindow = nullptr;
    HPALETTE palette = nullptr;  // the program palette, made on first use and kept
    // What the desktop repainted under slow bulbs since the last draw.
    unique_hrgn pendingRepaint;
    // Told when a rebuild puts slow bulbs on top of all windows.
    std::function<void()> warnSlowBulbsOnTop;
    // The desktop watcher: every rebuild suspends it (which ends a paint in
    // progress), and one that puts slow bulbs into the icon view starts it.
    std::function<void()> suspendDesktopWatcher;
    std::function<void()> startDesktopWatcher;
    // The categories the user gave a built-in kind ("|"-joined); false when
    // it keeps its own.
    std::function<bool(const char* kindName, char (&categories)[260])> userCategories;

    HINSTANCE resources() const { return instance ? instance : GetModuleHandleA(nullptr); }
    bool onTop() const { return bulbLocation == kOnTop; }
    // The bulbs are copied into the bulb window, cut to their shapes.
    bool inBulbWindow() const { return !saverWindow && (onTop() || bulbWindowOnDesktop); }
    // The bulbs are composed through their outlines into the icon view.
    bool onIconView() const { return runMode == kRunNormal && !saverWindow && !inBulbWindow(); }
};

// The context every bulb kind draws in (preview sizes, the slow marker, the
// pictures): the program's, or a test's while a ScopedBulbContext lives.
EngineContext& bulbContext();
void setBulbContext(EngineContext& context);

class ScopedBulbContext {
public:
    explicit ScopedBulbContext(EngineContext& context) : previous_(bulbContext()) { setBulbContext(context); }
    ~ScopedBulbContext() { setBulbContext(previous_); }
    ScopedBulbContext(const ScopedBulbContext&) = delete;
    ScopedBulbContext& operator=(const ScopedBulbContext&) = delete;

private:
    EngineContext& previous_;
};

}  // namespace lumarel
