#include "engine/animation.h"

#include <vector>

#include "engine/bulb_world.h"
#include "engine/desktop_windows.h"
#include "engine/flash_state.h"
#include "engine/palette.h"

namespace lumarel {

namespace {

bool underWine() {
    static const bool wine = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

// Wine moves a window up on the display when it becomes the top window, but
// never down: a window it lowers (or made before the others) stays in front
// of windows now above it. Raising those again, lowest first, keeps their
// order and puts each in front on the display too. Windows needs none of it.
void bringWindowsAboveToFront(HWND window) {
    if (!underWine()) return;
    std::vector<HWND> above;  // lowest first
    for (HWND w = GetWindow(window, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (IsWindowVisible(w)) above.push_back(w);
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    for (HWND w : above) {
        // Wine drops a raise that leaves its own order as it is (the window
        // already first of its band) and with it the display's restacking:
        // a step just below this window first makes the raise a real one.
        // A topmost window would lose its band that way; it is raised alone.
        const bool topmost = (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        if (!topmost) SetWindowPos(w, window, 0, 0, 0, 0, keep | SWP_NOREDRAW);
        SetWindowPos(w, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, keep);
    }
}

bool visibleWindowBelow(HWND window) {
    for (HWND below = GetWindow(window, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT))
        if (IsWindowVisible(below)) return true;
    return false;
}

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
    in.bulbWindowOnDesktop = context_.bulbWindowOnDesktop;
    in.displayGeneration = generation_;
    return in;
}

void setBulbWindowLevel(const EngineContext& context, UINT show) {
    HWND bulbs = context.bulbWindow;
    if (!bulbs) return;
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (context.onTop()) {
        SetWindowPos(bulbs, HWND_TOPMOST, 0, 0, 0, 0, keep | show);
        return;
    }
    // Straight to the bottom, which also ends a topmost band: a step through
    // HWND_NOTOPMOST makes the window the first of the normal band, which
    // Wine shows by raising it on the display, and that raise can reach the
    // display after the other programs' raises below have.
    // An owned window stays above its owner: the owner goes down first.
    if (HWND owner = GetWindow(bulbs, GW_OWNER)) SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, keep);
    // Stacked first, then shown where it is: a window shown with a
    // position in the Z order is raised first under Wine.
    SetWindowPos(bulbs, HWND_BOTTOM, 0, 0, 0, 0, keep);
    if (show) SetWindowPos(bulbs, nullptr, 0, 0, 0, 0, keep | SWP_NOZORDER | show);
    bringWindowsAboveToFront(bulbs);
}

bool placeBulbWindow(const EngineContext& context, unique_hrgn region, HWND layout, bool checkLevel) {
    HWND bulbs = context.bulbWindow;
    if (!bulbs) return false;
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
    if (region) SetWindowRgn(bulbs, region.release(), TRUE);
    if (!IsWindowVisible(bulbs)) {
        setBulbWindowLevel(context, SWP_SHOWWINDOW);
        return true;
    }
    // Wine raises a window it has just shown once the display maps it,
    // without a message to the window.
    if (checkLevel && !context.onTop() && visibleWindowBelow(bulbs)) setBulbWindowLevel(context, 0);
    return false;
}

void Animation::step() {
    EngineContext& a = context_;
    if (running_) return;
    running_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{running_};

    const FlashState& flash = flashState();
    const bool advances = clock_.tick(flash.interval, flash.pattern);
    const bool saver = a.saverWindow != nullptr;
    // A saver starting or stopping changes where the worlds draw.
    if (a.saverCanvas != canvas_ || a.saverStarts != saverStarts_) {
        discard();
        canvas_ = a.saverCanvas;
        saverStarts_ = a.saverStarts;
    }
    if (!saver && !advances && !redraw_) return;
    if (buttonHeld()) return;  // no smearing over drag outlines; the advance waits
    // A saver window whose scene could not start stays as its owner left it.
    if (saver && !canvas_) return;
    try {
        if (canvas_) canvas_->stepFrame(advances && flash.pattern != kDontFlash, worlds_.get());
        // The saver's text and present follow whatever the bulbs did.
        struct Finish {
            SaverCanvas* canvas;
            ~Finish() {
                if (canvas) canvas->finishFrame();
            }
        } finish{canvas_};
        // Without an icon view (no shell, or one that has none) the desktop
        // place shows the bulbs through the bulb window at the bottom.
        const DWORD now = GetTickCount();
        const bool noIconView = !saver && a.runMode == kRunNormal && !desktop_.find(a, now).iconView;
        if (noIconView != a.bulbWindowOnDesktop) {
            a.bulbWindowOnDesktop = noIconView;
            discard();
        }
        // Off the window the bulb window must not keep old bulbs.
        if (!a.inBulbWindow()) hideBulbWindow(a);
        // Looked up again only when the place changed just now.
        const DesktopLookup::Found& found = desktop_.find(a, now);
        HWND layout = found.layout;
        HWND target = found.target;
        if (!layout || !target) return;
        WindowDc dc(target);
        if (!dc) return;
        RECT rectangle = found.rectangle;
        if (!worlds_) worlds_ = std::make_unique<BulbWorldSet>(context_, layout, rectangle);
        WorldSetInputs inputs = currentInputs(rectangle);
        if (!worlds_->built() && !gate_.shouldTry(inputs)) return;
        if (worlds_->update(rectangle, dc.get())) shownShape_.reset();
        if (!worlds_->built()) {
            gate_.failed(inputs);
            return;
        }
        gate_.succeeded();
        if (a.inBulbWindow()) {
            // A new region costs a full-screen shape rebuild: hand one only
            // when the bulbs' shape really changes.
            const BulbWorldSet::ShapeKey key = worlds_->shapeKey(clock_.step());
            unique_hrgn region;
            if (!shownShape_ || *shownShape_ != key || !IsWindowVisible(a.bulbWindow)) {
                region = worlds_->windowRegion(clock_.step());
                if (!region) {
                    hideBulbWindow(a);
                    shownShape_.reset();
                    return;
                }
                shownShape_ = key;
                // A rebuild that keeps the bulbs' outline (a new flash
                // pattern, most often) keeps the window's region: an equal
                // full-screen shape costs Wine a new window surface, and
                // asking the window for its own (GetWindowRgn) costs as much.
                if (handedTo_ == a.bulbWindow && handed_ && EqualRgn(handed_.get(), region.get())) {
                    region.reset();
                } else if (unique_hrgn copy{CreateRectRgn(0, 0, 0, 0)}) {
                    CombineRgn(copy.get(), region.get(), nullptr, RGN_COPY);
                    handed_ = std::move(copy);
                    handedTo_ = a.bulbWindow;
                }
            }
            // The level is checked on the few steps after a showing or a
            // move only: a window that keeps itself at the bottom too is not
            // fought.
            if (placeBulbWindow(a, std::move(region), layout, levelChecks_ > 0))
                levelChecks_ = 3;
            else if (levelChecks_ > 0)
                --levelChecks_;
        }
        worlds_->draw(rectangle, canvas_ ? canvas_->backBuffer() : dc.get(), clock_.step());
        if (advances) clock_.advanced();
        redraw_ = false;
    } catch (...) {
        // a failed step draws nothing; the next tick tries again
    }
}

void Animation::locationChanged() {
    EngineContext& a = context_;
    // Between the window at the bottom and the window on top the pictures
    // and shapes are the same: only the window's level changes. Slow bulbs
    // going on top are rebuilt so the user is told about them.
    const bool keep = a.bulbWindowOnDesktop && worlds_ && worlds_->built() && !worlds_->anySlow();
    if (keep) {
        if (a.bulbWindow && IsWindowVisible(a.bulbWindow)) setBulbWindowLevel(a, 0);
        redraw_ = true;
        levelChecks_ = 3;
        return;
    }
    if (!a.inBulbWindow()) hideBulbWindow(a);
    discard();
}

void hideBulbWindow(const EngineContext& context) {
    if (context.bulbWindow && IsWindowVisible(context.bulbWindow)) ShowWindow(context.bulbWindow, SW_HIDE);
}

void Animation::discard() {
    worlds_.reset();
    desktop_.forget();
    shownShape_.reset();
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
