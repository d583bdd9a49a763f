#include "frame/about.h"

#include "base/handles.h"
#include "frame/app.h"
#include "frame/helpers.h"
#include "resources/resource_ids.h"

namespace lumarel {

namespace {

constexpr UINT_PTR kFlashTimer = 1;
constexpr UINT kFlashPeriodMs = 500;

struct AboutState {
    HWND window = nullptr;
    unique_hbitmap about, logo, flash[2];
    unique_hfont titleFont;
    unique_hpalette palette;
    int flashPhase = 0;
};

AboutState& about() {
    static AboutState state;
    return state;
}

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

void drawBitmapAt(HDC dc, HDC source, HBITMAP bitmap, int x, int y) {
    if (!bitmap) return;
    SelectObjectScope select(source, bitmap);
    SIZE size = bitmapSize(bitmap);
    BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
}

// The About picture centred in the item, the logo below it, and the current
// flash picture centred over the item.
void drawPicture(const DRAWITEMSTRUCT& item) {
    AboutState& s = about();
    const RECT& r = item.rcItem;
    int width = r.right - r.left, height = r.bottom - r.top;
    SelectPaletteScope palette(item.hDC, s.palette.get());
    FillRect(item.hDC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    unique_hdc source(CreateCompatibleDC(item.hDC));
    SelectPaletteScope sourcePalette(source.get(), s.palette.get());
    SIZE aboutSize = s.about ? bitmapSize(s.about.get()) : SIZE{0, 0};
    int aboutX = r.left + (width - aboutSize.cx) / 2, aboutY = r.top + (height - aboutSize.cy) / 2;
    drawBitmapAt(item.hDC, source.get(), s.about.get(), aboutX, aboutY);
    if (s.logo) {
        SIZE logoSize = bitmapSize(s.logo.get());
        drawBitmapAt(item.hDC, source.get(), s.logo.get(), r.left + (width - logoSize.cx) / 2,
                     aboutY + aboutSize.cy);
    }
    HBITMAP flash = s.flash[s.flashPhase].get();
    if (flash) {
        SIZE flashSize = bitmapSize(flash);
        drawBitmapAt(item.hDC, source.get(), flash, r.left + (width - flashSize.cx) / 2,
                     r.top + (height - flashSize.cy) / 2);
    }
}

// A palette holding the colours of the About picture, so it shows well on a
// 256-colour display too.
HPALETTE paletteOf(HBITMAP bitmap) {
    if (!bitmap) return nullptr;
    unique_hdc dc(CreateCompatibleDC(nullptr));
    SelectObjectScope select(dc.get(), bitmap);
    RGBQUAD colours[256];
    UINT count = GetDIBColorTable(dc.get(), 0, 256, colours);
    if (count == 0) return nullptr;
    struct {
        WORD version, entries;
        PALETTEENTRY entry[256];
    } logical{0x300, WORD(count), {}};
    for (UINT i = 0; i < count; ++i)
        logical.entry[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
    return CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
}

HBITMAP loadPicture(const char* name) {
    return static_cast<HBITMAP>(
        LoadImageA(app().instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void onInit(HWND dialog) {
    AboutState& s = about();
    s.about.reset(loadPicture("About"));
    s.logo.reset(loadPicture("LOGO"));
    s.flash[0].reset(loadPicture("AboutFlash1"));
    s.flash[1].reset(loadPicture("AboutFlash2"));
    s.palette.reset(paletteOf(s.about.get()));
    s.flashPhase = 0;

    SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, "version 5.3");
    SetDlgItemTextA(dialog, IDC_ABOUT_TITLE, "Lumarel 5.3");
    RECT bounds;
    GetWindowRect(dialog, &bounds);
    bool wide = bounds.right - bounds.left > 400;
    s.titleFont.reset(CreateFontA(wide ? 15 : 11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                                  "Arial"));
    HWND title = GetDlgItem(dialog, IDC_ABOUT_TITLE);
    SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(s.titleFont.get()), TRUE);
    if (wide) {
        RECT label;
        GetWindowRect(title, &label);
        SetWindowPos(title, nullptr, 340, 68, 83, label.bottom - label.top, SWP_NOZORDER);
    }
    centreWindow(dialog);
    SetTimer(dialog, kFlashTimer, kFlashPeriodMs, nullptr);
}

void close(HWND dialog) {
    KillTimer(dialog, kFlashTimer);
    DestroyWindow(dialog);
}

void onDestroy() {
    AboutState& s = about();
    s.window = nullptr;
    s.about.reset();
    s.logo.reset();
    s.flash[0].reset();
    s.flash[1].reset();
    s.titleFont.reset();
    s.palette.reset();
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInit(dialog);
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == IDC_ABOUT_PICTURE) {
            drawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_TIMER:
        if (wParam == kFlashTimer) {
            about().flashPhase ^= 1;
            InvalidateRect(GetDlgItem(dialog, IDC_ABOUT_PICTURE), nullptr, FALSE);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) close(dialog);
        return TRUE;
    case WM_DESTROY:
        onDestroy();
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void showAboutWindow() {
    AboutState& s = about();
    if (s.window) {
        SetForegroundWindow(s.window);
        return;
    }
    s.window = CreateDialogParamA(app().instance, "About", app().mainWindow, aboutProc, 0);
    if (s.window) ShowWindow(s.window, SW_SHOW);
}

HWND aboutWindow() { return about().window; }

}  // namespace lumarel
