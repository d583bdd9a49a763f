#include "engine/desktop_windows.h"

#include <algorithm>

#include "base/shell_view.h"

namespace lumarel {

namespace {

// Some shells (Wine's) leave their taskbar inside the work area; the bulbs
// keep out from under a visible one lying along a whole edge.
void keepClearOfTaskbar(RECT& area) {
    for (HWND bar = nullptr; (bar = FindWindowExA(nullptr, bar, "Shell_TrayWnd", nullptr));) {
        RECT r, overlap;
        if (!IsWindowVisible(bar) || !GetWindowRect(bar, &r) || !IntersectRect(&overlap, &area, &r)) continue;
        const bool wide = r.left <= area.left && r.right >= area.right;
        const bool tall = r.top <= area.top && r.bottom >= area.bottom;
        if (wide && r.bottom >= area.bottom)
            area.bottom = std::max(area.top, r.top);
        else if (wide && r.top <= area.top)
            area.top = std::min(area.bottom, r.bottom);
        else if (tall && r.right >= area.right)
            area.right = std::max(area.left, r.left);
        else if (tall && r.left <= area.left)
            area.left = std::min(area.right, r.right);
    }
}

}  // namespace

RECT drawingRectangle(const EngineContext& context, HWND window) {
    RECT client;
    GetClientRect(window, &client);
    if (context.runMode == kRunPreview) return client;
    RECT area;
    if (context.runMode == kRunSaver ||
        !SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (context.runMode == kRunNormal) keepClearOfTaskbar(area);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
    RECT result;
    if (!IntersectRect(&result, &area, &client)) SetRectEmpty(&result);
    return result;
}

HWND findDesktopWindow(const EngineContext& context, int kind) {
    if (context.saverWindow) return context.saverWindow;
    if (context.inBulbWindow() && kind == kDrawingTarget) return context.bulbWindow;
    HWND defView = findShellView();
    // Without an icon view the bulbs are laid out over the whole screen.
    if (!defView) return kind == kLayoutWindow && context.runMode == kRunNormal ? GetDesktopWindow() : nullptr;
    if (kind != kIconView)
        if (HWND browser = FindWindowExA(defView, nullptr, "Internet Explorer_Server", nullptr))
            return browser;
    return FindWindowExA(defView, nullptr, "SysListView32", nullptr);
}

bool DesktopLookup::stillThere() const {
    // Each distinct window once: under an icon view all three are one.
    const HWND windows[3] = {found_.iconView, found_.layout, found_.target};
    for (int i = 0; i < 3; ++i) {
        const HWND w = windows[i];
        if (!w || (i > 0 && w == windows[0]) || (i > 1 && w == windows[1])) continue;
        if (!IsWindow(w)) return false;
    }
    return true;
}

const DesktopLookup::Found& DesktopLookup::find(const EngineContext& context, DWORD now) {
    const Key key{context.saverWindow, context.runMode, context.inBulbWindow()};
    // A saver's window is its own: looking it up costs nothing, and its size
    // is taken fresh while it settles.
    if (valid_ && !key.saver && key == key_ && now - at_ < kRefreshMs && stillThere()) return found_;
    found_.iconView = findDesktopWindow(context, kIconView);
    found_.layout = findDesktopWindow(context, kLayoutWindow);
    found_.target = findDesktopWindow(context, kDrawingTarget);
    if (found_.layout)
        found_.rectangle = drawingRectangle(context, found_.layout);
    else
        SetRectEmpty(&found_.rectangle);
    key_ = key;
    at_ = now;
    valid_ = true;
    return found_;
}

}  // namespace lumarel
