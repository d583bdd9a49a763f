// The editor's preview: the cell's picture from the working copy, drawn
// off-screen and copied to the control; for the bulb list preview the 32 × 32
// square the bulb list shows, which the user drags.
#include <windows.h>
#include <windowsx.h>
#include <shellapi.h>

#include "bulbs/win_file.h"
#include "engine/bitmap.h"
#include "engine/palette.h"
#include "resources/resource_ids.h"
#include "ui/bulb_editor.h"
#include "ui/bulb_factory_state.h"

namespace lumarel {

namespace {

constexpr DWORD kPatternAndDestination = 0x00A000C9;
constexpr const char* kNoAnimationText =
    "No animation has been chosen for this flavor.\r\n\r\nA \"flavor\" is an additional picture for the same "
    "bulb. For example, the Lumarel \"Snow Family\" has four flavors, each one showing a different snow "
    "figure. All four flavors are seen simultaneously when the bulb is used.\r\n\r\nYou can ignore flavors "
    "entirely if you wish to create only simple bulbs.";

HWND previewControl() { return GetDlgItem(factory().dialog, IDC_BULB_PREVIEW); }

int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

void loadCellPicture(int32_t index) {
    FactoryState& s = factory();
    s.preview = {};
    s.loadedIndex = index;
    if (index == kNoPicture) return;
    try {
        WinFile file(s.workingCopy.c_str(), false);
        FileMapping map(file);
        ByteSpan gif = pictureData(s.header, index, map.data(), map.size());
        s.preview = decodeGifBitmaps(gif.data, gif.size);
    } catch (const Failure&) {
        s.preview = {};  // an empty preview
    }
}

bool hasPicture() {
    const GifBitmaps& p = factory().preview;
    return p.frameCount > 0 && p.image && p.mask;
}

void drawEmptyText(HDC dc, const RECT& area) {
    FactoryState& s = factory();
    SelectObjectScope font(dc, s.font ? HGDIOBJ(s.font.get()) : GetStockObject(DEFAULT_GUI_FONT));
    int w = width(area) * 7 / 8;
    RECT text{area.left + (width(area) - w) / 2, 0, area.left + (width(area) - w) / 2 + w, 0};
    UINT format = DT_WORDBREAK | DT_CENTER | DT_NOPREFIX;
    DrawTextA(dc, kNoAnimationText, -1, &text, format | DT_CALCRECT);
    int h = height(text);
    text.left = area.left + (width(area) - w) / 2;
    text.right = text.left + w;
    text.top = area.top + (height(area) - h) / 2;
    text.bottom = text.top + h;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, kNoAnimationText, -1, &text, format);
}

RECT toRect(const Box& b) { return {b.left, b.top, b.right, b.bottom}; }

// Dims everything but the square with the dither pattern and frames the
// square black inside, white outside.
void markSquare(HDC dc, const PreviewLayout& layout) {
    Bitmap dither(factoryResources(), dc, "DITHER");
    unique_hbrush pattern(CreatePatternBrush(dither.handle()));
    if (pattern) {
        SelectObjectScope brush(dc, pattern.get());
        for (const Box& band : layout.bands)
            if (band.right > band.left && band.bottom > band.top)
                PatBlt(dc, band.left, band.top, band.right - band.left, band.bottom - band.top, kPatternAndDestination);
    }
    RECT square = toRect(layout.square);
    FrameRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&square, 1, 1);
    FrameRect(dc, &square, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void moveSquare(int x, int y) {
    FactoryState& s = factory();
    const GifBitmaps& p = s.preview;
    SquareSpot spot = squareForPoint(x, y, p.frameWidth, p.height, width(s.previewRect), height(s.previewRect));
    s.header.previewLeft = spot.left;
    s.header.previewTop = spot.top;
    drawPreview();
}

LRESULT CALLBACK previewProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    FactoryState& s = factory();
    bool draggable = s.place == kListPreviewPlace && hasPicture();
    switch (message) {
    case WM_LBUTTONDOWN:
        if (!draggable) break;
        SetFocus(control);
        SetCapture(control);
        s.dragging = true;
        moveSquare(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (s.dragging && draggable && (wParam & MK_LBUTTON)) moveSquare(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (s.dragging) ReleaseCapture();
        s.dragging = false;
        return 0;
    case WM_CAPTURECHANGED:
        s.dragging = false;
        break;
    case WM_DROPFILES:
        // Dropped files are accepted so the cursor does not refuse them, and
        // released unused.
        DragFinish(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return CallWindowProcA(s.previewProc, control, message, wParam, lParam);
}

}  // namespace

void setUpPreview(HWND dialog) {
    FactoryState& s = factory();
    HWND control = GetDlgItem(dialog, IDC_BULB_PREVIEW);
    GetClientRect(control, &s.previewRect);
    {
        WindowDc screen(control);
        s.offscreen.reset(CreateCompatibleBitmap(screen.get(), width(s.previewRect), height(s.previewRect)));
    }
    s.font.reset(CreateFontA(11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH | FF_SWISS,
                             nullptr));
    s.previewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previewProc)));
    DragAcceptFiles(control, TRUE);
}

void showCellPicture(bool force) {
    FactoryState& s = factory();
    int32_t index = cellOf(s.header, s.place, s.flavor);
    if (force || index != s.loadedIndex) loadCellPicture(index);
    s.animation = 0;
    drawPreview();
}

void drawPreview() {
    FactoryState& s = factory();
    if (!s.offscreen || !s.dialog) return;
    HWND control = previewControl();
    WindowDc screen(control);
    MemoryDc dc(screen.get(), s.offscreen.get());
    RECT all{0, 0, width(s.previewRect), height(s.previewRect)};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!hasPicture()) {
        drawEmptyText(dc.get(), all);
    } else {
        const GifBitmaps& p = s.preview;
        bool list = s.place == kListPreviewPlace;
        int frame = list ? 0 : s.animation % p.frameCount;
        PreviewLayout layout = previewLayout(all.right, all.bottom, p.frameWidth, p.height, s.header.previewLeft,
                                             s.header.previewTop);
        RECT source{frame * p.frameWidth, 0, (frame + 1) * p.frameWidth, p.height};
        p.image->drawMasked(*p.mask, source, layout.frame.left, layout.frame.top, dc.get(),
                            programPalette(bulbContext()));
        if (list) markSquare(dc.get(), layout);
    }
    InvalidateRect(control, nullptr, FALSE);
}

void paintPreview(const DRAWITEMSTRUCT& item) {
    FactoryState& s = factory();
    if (!s.offscreen) return;
    MemoryDc source(item.hDC, s.offscreen.get());
    BitBlt(item.hDC, 0, 0, width(s.previewRect), height(s.previewRect), source.get(), 0, 0, SRCCOPY);
}

void freePreview() {
    FactoryState& s = factory();
    s.preview = {};
    s.loadedIndex = kNoPicture;
    s.offscreen.reset();
}

}  // namespace lumarel
