// The windows the bulbs are laid out in and drawn into.
#pragma once
#include <windows.h>

#include "engine/engine_context.h"

namespace lumarel {

// Where bulbs go, in the window's client coordinates: the work area normally,
// the whole screen for a saver, the client area for a preview.
RECT drawingRectangle(const EngineContext& context, HWND window);

enum DesktopWindowKind { kLayoutWindow = 0, kIconView = 1, kDrawingTarget = 2 };
// The saver's window while there is one; else the desktop's icon view, or
// the bulb window as the drawing target when the bulbs go through it (on
// top, or on a desktop without an icon view, whose layout window is then the
// whole screen's).
HWND findDesktopWindow(const EngineContext& context, int kind);

// What the animation step draws with: the icon view (null without one), the
// layout window, the drawing target and the drawing rectangle. Looked up
// again once a second, and at once when the saver window, the run mode or
// the bulbs' place changes or one of the windows is gone: one lookup is a
// dozen trips to the window server (most of them through the shell's
// windows), several times what drawing the bulbs costs, and the desktop's
// windows seldom change.
class DesktopLookup {
public:
    struct Found {
        HWND iconView = nullptr, layout = nullptr, target = nullptr;
        RECT rectangle{};
    };
    static constexpr DWORD kRefreshMs = 1000;

    // `now` is a millisecond clock (GetTickCount).
    const Found& find(const EngineContext& context, DWORD now);
    // The next find looks up again (a display or setting change).
    void forget() { valid_ = false; }

private:
    struct Key {
        HWND saver;
        int runMode;
        bool inBulbWindow;
        bool operator==(const Key& o) const {
            return saver == o.saver && runMode == o.runMode && inBulbWindow == o.inBulbWindow;
        }
    };
    bool stillThere() const;

    Found found_;
    Key key_{};
    DWORD at_ = 0;
    bool valid_ = false;
};

}  // namespace lumarel
