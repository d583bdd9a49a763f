#include "engine/animation.h"

#include <memory>

#include "engine/bulb_world.h"
#include "engine/flash_pattern.h"
#include "engine/flash_state.h"
#include "engine/palette.h"
#include "frame/app.h"
#include "frame/handles.h"
#include "frame/helpers.h"

namespace lumarel {

namespace {

struct AnimationState {
    std::unique_ptr<BulbWorldSet> worlds;
    AnimationClock clock;
    bool redraw = true;
    RebuildGate gate;
    uint32_t generation = 0;  // grows with every discard (display, palette, settings)
    bool running = false;     // a message box inside a rebuild pumps timer ticks
};

AnimationState& state() {
    static AnimationState s;
    return s;
}

WorldSetInputs currentInputs(const RECT& rectangle) {
    WorldSetInputs in;
    in.rectangle = {rectangle.left, rectangle.top, rectangle.right, rectangle.bottom};
    for (const auto& side : flashState().arrangement) in.arrangement.insert(in.arrangement.end(), side.begin(), side.end());
    in.pattern = flashState().pattern;
    in.location = app().bulbLocation;
    in.displayGeneration = state().generation;
    return in;
}

bool buttonHeld() { return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0; }

}  // namespace

// Puts the bulb window over the layout window and cuts it to `region`, which
// it then owns; a null region hides it.
void placeBulbWindow(HRGN region, HWND layout) {
    HWND bulbs = app().bulbWindow;
    if (!bulbs) {
        if (region) DeleteObject(region);
        return;
    }
    if (!region) {
        ShowWindow(bulbs, SW_HIDE);
        return;
    }
    RECT wanted, have;
    GetClientRect(layout, &wanted);
    MapWindowPoints(layout, nullptr, reinterpret_cast<POINT*>(&wanted), 2);
    GetWindowRect(bulbs, &have);
    if (!EqualRect(&wanted, &have)) {
        if (IsWindowVisible(bulbs)) ShowWindow(bulbs, SW_HIDE);
        SetWindowPos(bulbs, nullptr, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
                     SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOREDRAW);
    }
    SetWindowRgn(bulbs, region, TRUE);
    if (!IsWindowVisible(bulbs)) ShowWindow(bulbs, SW_SHOWNA);
}

void runAnimationStep() {
    AnimationState& s = state();
    App& a = app();
    if (s.running) return;
    s.running = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{s.running};

    const FlashState& flash = flashState();
    const bool advances = s.clock.tick(flash.interval, flash.pattern);
    const bool saver = a.saverWindow != nullptr;
    if (!saver && !advances && !s.redraw) return;
    if (buttonHeld()) return;  // no smearing over drag outlines; the advance waits
    try {
        // Off the top the bulb window must not keep old bulbs, even when the
        // desktop has no icon view to draw on instead.
        if ((saver || a.bulbLocation != kOnTop) && a.bulbWindow && IsWindowVisible(a.bulbWindow))
            ShowWindow(a.bulbWindow, SW_HIDE);
        HWND layout = findDesktopWindow(kLayoutWindow);
        HWND target = findDesktopWindow(kDrawingTarget);
        // Shells without an icon view still get the bulbs on top, laid out
        // over the whole screen.
        if (!layout && !saver && a.bulbLocation == kOnTop) layout = GetDesktopWindow();
        if (!layout || !target) return;
        WindowDc dc(target);
        if (!dc) return;
        RECT rectangle = drawingRectangle(layout);
        if (!s.worlds) s.worlds = std::make_unique<BulbWorldSet>(layout, rectangle);
        WorldSetInputs inputs = currentInputs(rectangle);
        if (!s.worlds->built() && !s.gate.shouldTry(inputs)) return;
        s.worlds->update(rectangle, dc.get());
        if (!s.worlds->built()) {
            s.gate.failed(inputs);
            return;
        }
        s.gate.succeeded();
        if (!saver && a.bulbLocation == kOnTop) placeBulbWindow(s.worlds->windowRegion(s.clock.step()), layout);
        s.worlds->draw(rectangle, dc.get(), s.clock.step());
        if (advances) s.clock.advanced();
        s.redraw = false;
    } catch (...) {
        // a failed step draws nothing; the next tick tries again
    }
}

void discardWorldSet() {
    AnimationState& s = state();
    s.worlds.reset();
    s.redraw = true;
    ++s.generation;
    s.gate.succeeded();
}

void redrawBulbs() { state().redraw = true; }

BulbWorldSet* currentWorldSet() { return state().worlds.get(); }
int32_t animationStepCount() { return state().clock.step(); }

// Realises the program palette in the window's DC (the screen's without one)
// as a background palette, so that 256-colour displays map our colours.
void realiseProgramPalette(HWND window) {
    HPALETTE palette = programPalette();
    if (!palette) return;
    HDC dc = GetDC(window);
    if (!dc) return;
    {
        SelectPaletteScope select(dc, palette, true);
    }
    ReleaseDC(window, dc);
}

}  // namespace lumarel
