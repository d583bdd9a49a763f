// The per-tick animation step and the world set it draws.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <memory>

#include "base/handles.h"
#include "engine/desktop_windows.h"
#include "engine/engine_context.h"
#include "engine/flash_pattern.h"
#include "engine/world_layout.h"

namespace lumarel {

class BulbWorldSet;

class Animation {
public:
    explicit Animation(EngineContext& context);
    ~Animation();

    // One step of the bulb animation (runs every 60 ms tick).
    void step();
    // Drops the world set; the next step rebuilds it.
    void discard();
    // After the bulb location changed: hides or restacks the bulb window at
    // once, and drops the world set unless it serves the new place as it is.
    void locationChanged();
    // The next step draws even when the animation does not advance (the bulb
    // window lost its picture).
    void redraw() { redraw_ = true; }
    // The world set the steps draw (null until the first step builds it), for
    // the screen saver's snow and for tests.
    BulbWorldSet* worlds() const { return worlds_.get(); }
    int32_t stepCount() const { return clock_.step(); }

    Animation(const Animation&) = delete;
    Animation& operator=(const Animation&) = delete;

private:
    WorldSetInputs currentInputs(const RECT& rectangle) const;

    EngineContext& context_;
    std::unique_ptr<BulbWorldSet> worlds_;
    AnimationClock clock_;
    bool redraw_ = true;
    RebuildGate gate_;
    uint32_t generation_ = 0;  // grows with every discard (display, palette, settings)
    SaverCanvas* canvas_ = nullptr;  // the saver the world set was built for
    uint32_t saverStarts_ = 0;
    bool running_ = false;     // a message box inside a rebuild pumps timer ticks
    std::optional<std::array<int, 4>> shownShape_;  // the shape the bulb window has
    unique_hrgn handed_;       // a copy of the region the bulb window was last given
    HWND handedTo_ = nullptr;  // and that window
    int levelChecks_ = 0;  // drawn steps left that check the window's level
    DesktopLookup desktop_;
};

// Puts the bulb window over the layout window and shows it at its level;
// hands it `region` when there is one (null keeps the shape it has). With
// `checkLevel`, puts it back at the bottom when something got below it. True
// when it was shown now.
bool placeBulbWindow(const EngineContext& context, unique_hrgn region, HWND layout, bool checkLevel);
void hideBulbWindow(const EngineContext& context);
// Topmost when the bulbs are on top; else at the bottom, just above the
// desktop. `show` is 0 or SWP_SHOWWINDOW.
void setBulbWindowLevel(const EngineContext& context, UINT show);
// Tells every bulb kind to drop its cached pictures and regions.
void dropBulbCaches();
// Builds the program palette (once) and realises it in the window.
void realiseProgramPalette(EngineContext& context, HWND window);
// Makes the 47 built-in bulb kinds.
void createBuiltInBulbs();

}  // namespace lumarel
