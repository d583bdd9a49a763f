#include <windows.h>

#include <shellapi.h>

#include <array>
#include <memory>

#include "base/failure.h"
#include "engine/bitmap.h"
#include "engine/engine_context.h"
#include "engine/flash_state.h"
#include "engine/palette.h"
#include "resources/resource_ids.h"
#include "ui/bulb_page.h"
#include "ui/settings_pages.h"

// The eight outer boxes around the bulb list, and dragging bulbs between the
// list and the boxes. The list and the boxes share one subclass procedure for
// the mouse: a press on a bulb starts a drag, which the pressed control
// follows with the capture until the button comes up.

namespace lumarel {

namespace {

constexpr int kControlCount = IDC_BOX_LAST - IDC_BULB_LIST + 1;
constexpr int kListTarget = -1;  // the bulb list as a drag end
constexpr int kNoTarget = -2;
constexpr int kFrameWidth = 2;
constexpr int kEdgeSlots = 6;

WNDPROC originalProcs[kControlCount] = {};

// A drag end's rectangles in the settings window's coordinates.
struct TargetPlace {
    RECT hit{};    // the whole control: a drop anywhere on it counts
    RECT frame{};  // its client area, where the target's frame is drawn
};

struct Drag {
    HWND window = nullptr;   // the settings window
    HWND capture = nullptr;  // the pressed control, which holds the capture
    std::unique_ptr<QuickMaskedBitmap> picture;
    int32_t kind = kNoBulb;
    DragEnd source;
    int target = kNoTarget;
    bool releasing = false;  // our own ReleaseCapture, not a lost capture
    // Taken once at the start: nothing moves while the capture is held, and
    // asking the window manager again on every mouse move costs more than
    // the move's drawing.
    WindowDc dc;               // the settings window's, over its children
    POINT captureOrigin{};     // the capture's client origin in the window
    std::array<TargetPlace, kOuterBoxCount + 1> places;  // the list, then the boxes
};

Drag& drag() {
    static Drag d;
    return d;
}

int boxOfControl(HWND control) {
    int id = GetDlgCtrlID(control);
    return id >= IDC_BOX_FIRST && id <= IDC_BOX_LAST ? id - IDC_BOX_FIRST : kListTarget;
}

HWND targetControl(HWND window, int target) {
    return GetDlgItem(window, target == kListTarget ? IDC_BULB_LIST : IDC_BOX_FIRST + target);
}

SIZE clientSize(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    return {r.right, r.bottom};
}

int32_t kindAt(int box, int slot) {
    auto place = outerBoxPlace(box);
    if (!place) return kNoBulb;
    const BulbArrangement& a = flashState().arrangement;
    if (place->isCorner()) return a[place->row][place->corner];
    return slot >= 0 && slot < kEdgeSlots ? a[place->row][slot] : kNoBulb;
}

// The slot of the bulb under a point of a box, or -1.
int slotAtPoint(HWND box, int boxIndex, POINT point) {
    auto place = outerBoxPlace(boxIndex);
    if (!place) return -1;
    SIZE size = clientSize(box);
    if (place->isCorner()) {
        Cell cell = cornerBoxCell(size.cx, size.cy);
        bool inside = point.x >= cell.left && point.x < cell.left + kCellSize && point.y >= cell.top &&
                      point.y < cell.top + kCellSize;
        return inside && kindAt(boxIndex, 0) != kNoBulb ? 0 : -1;
    }
    return edgeSlotAt(size.cx, size.cy, usedEdgeSlots(flashState().arrangement, place->row), point.x, point.y);
}

// The list item under a point, or -1 below the last item.
int listItemAt(HWND list, POINT point) {
    LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    return HIWORD(hit) ? -1 : int(LOWORD(hit));
}

size_t placeIndex(int target) { return size_t(target - kListTarget); }
const TargetPlace& placeOf(const Drag& d, int target) { return d.places[placeIndex(target)]; }

void measureTargets(Drag& d) {
    for (int target = kListTarget; target < kOuterBoxCount; ++target) {
        HWND control = targetControl(d.window, target);
        TargetPlace& place = d.places[placeIndex(target)];
        GetWindowRect(control, &place.hit);
        MapWindowPoints(nullptr, d.window, reinterpret_cast<POINT*>(&place.hit), 2);
        GetClientRect(control, &place.frame);
        MapWindowPoints(control, d.window, reinterpret_cast<POINT*>(&place.frame), 2);
    }
}

void drawTargetFrame(const Drag& d, int target, bool on) {
    if (target == kNoTarget || !d.dc) return;
    RECT r = placeOf(d, target).frame;
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(on ? BLACK_BRUSH : WHITE_BRUSH));
    for (int i = 0; i < kFrameWidth; ++i) {
        FrameRect(d.dc.get(), &r, brush);
        InflateRect(&r, -1, -1);
    }
}

// The control under a point of the settings window that takes a drop.
int targetAt(const Drag& d, POINT point) {
    for (int target = kListTarget; target < kOuterBoxCount; ++target)
        if (PtInRect(&placeOf(d, target).hit, point)) return target == d.source.box ? kNoTarget : target;
    return kNoTarget;
}

POINT inWindow(const Drag& d, POINT inCapture) {
    return {inCapture.x + d.captureOrigin.x, inCapture.y + d.captureOrigin.y};
}

// Where the drag may go: from the top-left box to the bottom-right one.
RECT dragBounds(const Drag& d) {
    const RECT& first = placeOf(d, 0).hit;
    const RECT& last = placeOf(d, kOuterBoxCount - 1).hit;
    return {first.left, first.top, last.right, last.bottom};
}

// Ends the drag: the picture leaves the screen, the DC and the capture go.
void endDrag() {
    Drag& d = drag();
    if (d.picture) d.picture->endSprite();
    drawTargetFrame(d, d.target, false);
    d.releasing = true;
    if (GetCapture() == d.capture) ReleaseCapture();
    d.releasing = false;
    d.picture.reset();
    d.dc.reset();
    d.capture = nullptr;
    d.target = kNoTarget;
}

void beginDrag(HWND control, int32_t kind, DragEnd source, POINT pressed) {
    Drag& d = drag();
    if (d.picture) endDrag();
    BulbObject* bulb = findBulbById(kind);
    if (!bulb) return;
    HWND window = GetParent(control);
    bulbPage().current = kind;
    updateEditButton(window);
    // Whatever the press repainted must be on screen before the picture
    // saves what lies under it.
    UpdateWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Not clipped by the children: the frames go on the controls.
    WindowDc screen(window, GetDCEx(window, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE));
    check(bool(screen));
    d.picture = bulb->makeDragPicture(screen.get());
    d.dc = std::move(screen);
    d.window = window;
    d.capture = control;
    d.kind = kind;
    d.source = source;
    d.target = kNoTarget;
    d.captureOrigin = {0, 0};
    MapWindowPoints(control, window, &d.captureOrigin, 1);
    measureTargets(d);
    POINT at = inWindow(d, pressed);
    d.picture->beginSprite(window, dragBounds(d), d.picture->size(), at.x, at.y);
    d.picture->moveSprite(at.x, at.y);
    SetCapture(control);
    SetCursor(bulbPage().closedHand);
}

void moveDrag(POINT inCapture) {
    Drag& d = drag();
    POINT at = inWindow(d, inCapture);
    POINT centre = d.picture->moveSprite(at.x, at.y);
    int target = targetAt(d, centre);
    if (target == d.target) return;
    // The frames are drawn with the picture off the screen, so that what it
    // saved stays true.
    d.picture->hideSprite();
    drawTargetFrame(d, d.target, false);
    drawTargetFrame(d, target, true);
    d.target = target;
    d.picture->showSprite(centre.x, centre.y);
}

void dropDrag(POINT inCapture) {
    Drag& d = drag();
    POINT at = inWindow(d, inCapture);
    POINT centre = d.picture->moveSprite(at.x, at.y);
    int target = targetAt(d, centre);
    HWND window = d.window;
    int32_t kind = d.kind;
    DragEnd source = d.source;
    RECT box = target == kNoTarget ? RECT{} : placeOf(d, target).frame;
    endDrag();
    if (target == kNoTarget) return;
    int dropIndex = 0;
    if (target != kListTarget) {
        auto place = outerBoxPlace(target);
        if (place && !place->isCorner())
            dropIndex = edgeDropIndex(box.right - box.left, box.bottom - box.top,
                                      usedEdgeSlots(flashState().arrangement, place->row), centre.x - box.left,
                                      centre.y - box.top);
    }
    if (applyDrop(flashState().arrangement, kind, source, DragEnd{target, 0}, dropIndex)) arrangementChanged(window);
}

// A press on a bulb starts a drag; on the list's empty part it opens the menu.
void onPress(HWND control, POINT point) {
    HWND window = GetParent(control);
    int box = boxOfControl(control);
    if (box == kListTarget) {
        int item = listItemAt(control, point);
        SetFocus(control);
        if (item < 0) {
            ClientToScreen(control, &point);
            openBulbMenu(window, MenuSource::ListEmptyPart, nullptr, point);
            return;
        }
        if (SendMessageA(control, LB_GETCURSEL, 0, 0) != item) {
            SendMessageA(control, LB_SETCURSEL, WPARAM(item), 0);
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_BULB_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
        }
        if (BulbObject* bulb = listBulb(window, item)) beginDrag(control, bulb->id(), DragEnd{kListTarget, 0}, point);
        return;
    }
    int slot = slotAtPoint(control, box, point);
    if (slot >= 0) beginDrag(control, kindAt(box, slot), DragEnd{box, slot}, point);
}

bool overBulb(HWND control) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(control, &point);
    int box = boxOfControl(control);
    if (box == kListTarget) return listItemAt(control, point) >= 0;
    return slotAtPoint(control, box, point) >= 0;
}

// The menu from a right press (or Shift+F10 on the list, at its selection).
void onContextMenu(HWND control, LPARAM at) {
    HWND window = GetParent(control);
    POINT screen{short(LOWORD(at)), short(HIWORD(at))};
    int box = boxOfControl(control);
    if (box == kListTarget) {
        int item = -1;
        if (at == -1) {
            item = int(SendMessageA(control, LB_GETCURSEL, 0, 0));
            RECT r{};
            if (item >= 0) SendMessageA(control, LB_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&r));
            screen = {r.left + 41, (r.top + r.bottom) / 2};
            ClientToScreen(control, &screen);
        } else {
            POINT inList = screen;
            ScreenToClient(control, &inList);
            item = listItemAt(control, inList);
            if (item >= 0 && SendMessageA(control, LB_GETCURSEL, 0, 0) != item) {
                SendMessageA(control, LB_SETCURSEL, WPARAM(item), 0);
                SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_BULB_LIST, LBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(control));
            }
        }
        BulbObject* bulb = item >= 0 ? listBulb(window, item) : nullptr;
        openBulbMenu(window, bulb ? MenuSource::ListItem : MenuSource::ListEmptyPart, bulb, screen);
        return;
    }
    if (at == -1) return;
    POINT inBox = screen;
    ScreenToClient(control, &inBox);
    int slot = slotAtPoint(control, box, inBox);
    if (slot < 0) return;
    BulbObject* bulb = findBulbById(kindAt(box, slot));
    if (!bulb) return;
    bulbPage().current = bulb->id();
    updateEditButton(window);
    openBulbMenu(window, MenuSource::Box, bulb, screen);
}

LRESULT handlePageControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC original) {
    Drag& d = drag();
    bool dragging = d.picture && d.capture == control;
    POINT point{short(LOWORD(lParam)), short(HIWORD(lParam))};
    switch (message) {
    case WM_SETCURSOR:
        if (!d.picture && LOWORD(lParam) == HTCLIENT && overBulb(control)) {
            SetCursor(bulbPage().hand);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        onPress(control, point);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (boxOfControl(control) == kListTarget) {
            if (BulbObject* bulb = listBulb(GetParent(control), listItemAt(control, point)))
                if (canEditBulb(bulbFlags(*bulb))) editBulb(GetParent(control), bulb->id());
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (dragging) {
            moveDrag(point);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (dragging) {
            dropDrag(point);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (dragging && !d.releasing) endDrag();
        break;
    case WM_GETDLGCODE:
        if (dragging) return DLGC_WANTALLKEYS;
        break;
    case WM_KEYDOWN:
        if (dragging && wParam == VK_ESCAPE) {
            endDrag();
            return 0;
        }
        break;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        // Shift+F10 opens the menu of the selected item, once.
        if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
            if (message == WM_SYSKEYDOWN) onContextMenu(control, -1);
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        onContextMenu(control, lParam);
        return 0;
    case WM_DROPFILES:
        importDroppedBulb(GetParent(control), reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return CallWindowProcA(original, control, message, wParam, lParam);
}

LRESULT CALLBACK pageControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    int index = GetDlgCtrlID(control) - IDC_BULB_LIST;
    WNDPROC original = index >= 0 && index < kControlCount ? originalProcs[index] : nullptr;
    if (!original) return DefWindowProcA(control, message, wParam, lParam);
    try {
        return handlePageControl(control, message, wParam, lParam, original);
    } catch (...) {
        if (drag().picture) endDrag();
        if (settingsHost().unexpectedError) settingsHost().unexpectedError(GetParent(control));
        return 0;
    }
}

}  // namespace

void initOuterBoxes(HWND window) {
    for (int i = 0; i < kControlCount; ++i) {
        HWND control = GetDlgItem(window, IDC_BULB_LIST + i);
        check(control != nullptr);
        originalProcs[i] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pageControlProc)));
    }
}

void drawOuterBox(const DRAWITEMSTRUCT& item) {
    int box = int(item.CtlID) - IDC_BOX_FIRST;
    auto place = outerBoxPlace(box);
    if (!place) return;
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectPaletteScope palette(dc, programPalette(bulbContext()));
    int width = r.right - r.left, height = r.bottom - r.top;
    auto drawCentred = [&](int32_t kind, Cell cell) {
        BulbObject* bulb = findBulbById(kind);
        if (!bulb) return;
        RECT picture = bulb->frameRect(kPosList, 0, 0);
        int pw = picture.right - picture.left, ph = picture.bottom - picture.top;
        bulb->drawListPicture(r.left + cell.left + (kCellSize - pw) / 2, r.top + cell.top + (kCellSize - ph) / 2, dc);
    };
    const BulbArrangement& a = flashState().arrangement;
    if (place->isCorner()) {
        drawCentred(a[place->row][place->corner], cornerBoxCell(width, height));
        return;
    }
    auto cells = edgeBoxCells(width, height, usedEdgeSlots(a, place->row));
    for (size_t slot = 0; slot < cells.size(); ++slot) drawCentred(a[place->row][slot], cells[slot]);
}

bool bulbDragActive() { return drag().picture != nullptr; }

void cancelBulbDrag() {
    if (drag().picture) endDrag();
}

}  // namespace lumarel
