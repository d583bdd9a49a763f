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

}  // namespace lumarel
