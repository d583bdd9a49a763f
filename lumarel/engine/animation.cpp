#include "engine/animation.h"

#include "engine/bulb_world.h"
#include "engine/desktop_windows.h"
#include "engine/flash_state.h"
#include "engine/palette.h"

namespace lumarel {

namespace {

bool buttonHeld() { return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0; }

}  // namespace

Animation::Animation(EngineContext& context) : context_(context) {}
Animation::~Animation() = default;

WorldSetInputs Animation::currentInputs(const RECT& rectangle) const {
    WorldSetInputs in;
    in.rectangle = {rectangle.left, rectangle.top, rectangle.right, rectangle.bottom};
    for (const auto& side : flashState().arrangement) in.arrangement.insert(in.arrangement.end(), side.begin(), side.end());
    in.pattern = flashState().pattern;
    in.location = context_.bulbLocation;
    in.displayGeneration = generation_;
    return in;
}

void placeBulbWindow(const EngineContext& context, unique_hrgn region, HWND layout) {
    HWND bulbs = context.bulbWindow;
    if (!bulbs) return;
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
    // The window owns the region from here on.
    SetWindowRgn(bulbs, region.release(), TRUE);
    if (!IsWindowVisible(bulbs)) ShowWindow(bulbs, SW_SHOWNA);
}

void Animation::step() {
    const EngineContext& a = context_;
    if (running_) return;
    running_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{running_};

    const FlashState& flash = flashState();
    const bool advances = clock_.tick(flash.interval, flash.pattern);
    const bool saver = a.saverWindow != nullptr;
    if (!saver && !advances && !redraw_) return;
    if (buttonHeld()) return;  // no smearing over drag outlines; the advance waits
    try {
        // Off the top the bulb window must not keep old bulbs, even when the
        // desktop has no icon view to draw on instead.
        if ((saver || !a.onTop()) && a.bulbWindow && IsWindowVisible(a.bulbWindow))
            ShowWindow(a.bulbWindow, SW_HIDE);
        HWND layout = findDesktopWindow(a, kLayoutWindow);
        HWND target = findDesktopWindow(a, kDrawingTarget);
        // Shells without an icon view still get the bulbs on top, laid out
        // over the whole screen.
        if (!layout && !saver && a.onTop()) layout = GetDesktopWindow();
        if (!layout || !target) return;
        WindowDc dc(target);
        if (!dc) return;
        RECT rectangle = drawingRectangle(a, layout);
        if (!worlds_) worlds_ = std::make_unique<BulbWorldSet>(context_, layout, rectangle);
        WorldSetInputs inputs = currentInputs(rectangle);
        if (!worlds_->built() && !gate_.shouldTry(inputs)) return;
        worlds_->update(rectangle, dc.get());
        if (!worlds_->built()) {
            gate_.failed(inputs);
            return;
        }
        gate_.succeeded();
        if (!saver && a.onTop()) placeBulbWindow(a, worlds_->windowRegion(clock_.step()), layout);
        worlds_->draw(rectangle, dc.get(), clock_.step());
        if (advances) clock_.advanced();
        redraw_ = false;
    } catch (...) {
        // a failed step draws nothing; the next tick tries again
    }
}

void Animation::discard() {
    worlds_.reset();
    redraw_ = true;
    ++generation_;
    gate_.succeeded();
}

// Realises the program palette in the window's DC (the screen's without one)
// as a background palette, so that 256-colour displays map our colours.
void realiseProgramPalette(EngineContext& context, HWND window) {
    HPALETTE palette = programPalette(context);
    if (!palette) return;
    WindowDc dc(window);
    if (!dc) return;
    SelectPaletteScope select(dc.get(), palette, true);
}

}  // namespace lumarel
