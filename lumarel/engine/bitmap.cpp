#include "engine/bitmap.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/failure.h"
#include "engine/bmp_file.h"
#include "engine/resource_bytes.h"

namespace lumarel {

namespace {

int width(const RECT& r) { return int(int16_t(r.right - r.left)); }
int height(const RECT& r) { return int(int16_t(r.bottom - r.top)); }
int16_t coord(int v) { return int16_t(v); }

// GDI reads the header, its table and the pixels where the checks found them.
HBITMAP createFromDib(HDC dc, const uint8_t* base, const DibLayout& layout) {
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(base + layout.header);
    HBITMAP made = CreateDIBitmap(dc, header, CBM_INIT, base + layout.pixels,
                                  reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
    check(made != nullptr);
    return made;
}

// The given DC, or the screen's for callers that have none.
class ScreenDc {
public:
    explicit ScreenDc(HDC given) : given_(given) {
        if (!given) screen_ = WindowDc(nullptr);
    }
    HDC get() const { return given_ ? given_ : screen_.get(); }

private:
    HDC given_;
    WindowDc screen_;
};

// A checkerboard of a mask: every pixel with x + y odd turns white, so a
// picture drawn through it shows half of what lies below.
unique_hbitmap hatchedCopy(HBITMAP mask, int w, int h) {
    unique_hbitmap hatchedMask(CreateBitmap(w, h, 1, 1, nullptr));
    check(bool(hatchedMask));
    MemoryDc hatched(nullptr, hatchedMask.get());
    MemoryDc original(nullptr, mask);
    BitBlt(hatched.get(), 0, 0, w, h, original.get(), 0, 0, SRCCOPY);
    const WORD checker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    unique_hbitmap patternBitmap(CreateBitmap(8, 8, 1, 1, checker));
    unique_hbrush brush(CreatePatternBrush(patternBitmap.get()));
    SelectObjectScope selectBrush(hatched.get(), brush.get());
    SetBrushOrgEx(hatched.get(), 0, 0, nullptr);
    // Pattern bit 1 (white) where x + y is odd; OR it in (DPo).
    PatBlt(hatched.get(), 0, 0, w, h, 0x00FA0089);
    return hatchedMask;
}

// Where masked pictures are composed before they go to their DC: one
// surface, kept and grown as needed, instead of a bitmap made and selected
// for every picture (each selection is a trip to the window server under
// Wine, and a list repaints dozens of pictures). Made again when the
// destination's colour depth differs.
HDC composingSurface(HDC like, int w, int h) {
    static Surface surface;
    static SIZE size{};
    static int depth = 0;
    const int wanted = GetDeviceCaps(like, BITSPIXEL) * GetDeviceCaps(like, PLANES);
    if (!surface || w > size.cx || h > size.cy || wanted != depth) {
        const bool same = wanted == depth;
        const SIZE grown{std::max<LONG>(w, same ? size.cx : 0), std::max<LONG>(h, same ? size.cy : 0)};
        surface.reset();
        surface = Surface(like, unique_hbitmap(CreateCompatibleBitmap(like, grown.cx, grown.cy)));
        size = grown;
        depth = wanted;
    }
    return surface.get();
}

}  // namespace

MemoryDc::MemoryDc(HDC compatible, HBITMAP bitmap)
    : dc_(CreateCompatibleDC(compatible)), select_((check(bool(dc_)), dc_.get()), bitmap) {}

Surface::Surface(HDC compatible, unique_hbitmap bitmap) : bitmap_(std::move(bitmap)) {
    check(bool(bitmap_));
    dc_ = std::make_unique<MemoryDc>(compatible, bitmap_.get());
}

Bitmap::Bitmap(HINSTANCE instance, HDC dc, const char* resource) {
    ResourceBytes bytes(instance, resource, RT_BITMAP);
    check(bool(bytes));
    auto layout = checkDibResource(bytes.data(), bytes.size());
    check(layout.has_value());
    ScreenDc screen(dc);
    adopt(createFromDib(screen.get(), bytes.data(), *layout));
}

Bitmap::Bitmap(HDC dc, const char* path) {
    MappedFile file(path);
    check(bool(file));
    auto layout = checkBmpFile(file.data(), file.size());
    check(layout.has_value());
    ScreenDc screen(dc);
    adopt(createFromDib(screen.get(), file.data(), *layout));
}

Bitmap::Bitmap(HDC dc, int w, int h) {
    ScreenDc screen(dc);
    adopt(CreateCompatibleBitmap(screen.get(), w, h));
}

unique_hbitmap makeDibSection(int width, int height, int bitsPerPixel, const RGBQUAD* colours, int colourCount,
                              void*& bits) {
    check(bitsPerPixel > 0 && bitsPerPixel <= 8 && colourCount >= 0 && colourCount <= 256);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = DWORD(colourCount);
    for (int i = 0; i < colourCount; ++i) info.colours[i] = colours[i];
    bits = nullptr;
    unique_hbitmap made(
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    check(made && bits);
    return made;
}

Bitmap::Bitmap(int w, int h, int bitsPerPixel, HPALETTE palette) {
    PALETTEENTRY entries[256]{};
    UINT count = palette ? GetPaletteEntries(palette, 0, 256, entries) : 0;
    RGBQUAD colours[256]{};
    for (UINT i = 0; i < count; ++i) colours[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    bitmap_ = makeDibSection(w, h, bitsPerPixel, colours, int(count), bits_);
}

Bitmap::Bitmap(unique_hbitmap adopted, void* bits) : bits_(bits) { adopt(adopted.release()); }

Bitmap::Bitmap(HBITMAP adopted) { adopt(adopted); }

void Bitmap::adopt(HBITMAP bitmap) {
    check(bitmap != nullptr);
    deselect();
    bitmap_.reset(bitmap);
}

Bitmap::~Bitmap() { deselect(); }

HDC Bitmap::selected() {
    if (inOwnDc_) return ownDc_.get();
    if (!ownDc_) {
        ownDc_.reset(CreateCompatibleDC(nullptr));
        check(bool(ownDc_));
    }
    HGDIOBJ old = SelectObject(ownDc_.get(), bitmap_.get());
    check(old != nullptr);  // selected in another DC, or not a bitmap
    if (!ownDcDefault_) ownDcDefault_ = old;
    inOwnDc_ = true;
    return ownDc_.get();
}

void Bitmap::deselect() const {
    if (!inOwnDc_) return;
    SelectObject(ownDc_.get(), ownDcDefault_);
    inOwnDc_ = false;
}

RECT Bitmap::size() const {
    BITMAP info{};
    GetObjectA(bitmap_.get(), sizeof info, &info);
    return {0, 0, info.bmWidth, info.bmHeight};
}

void Bitmap::blit(const RECT& source, int x, int y, HDC dc, DWORD rop) {
    BitBlt(dc, coord(x), coord(y), width(source), height(source), selected(), coord(source.left),
           coord(source.top), rop);
}

void Bitmap::draw(const RECT& source, int x, int y, HDC dc) { blit(source, x, y, dc, SRCCOPY); }

void Bitmap::copyTo(const RECT& source, const RECT& destination, HDC dc) {
    HDC memory = selected();
    int sw = width(source), sh = height(source), dw = width(destination), dh = height(destination);
    if (sw == dw || sh == dh) {
        BitBlt(dc, coord(destination.left), coord(destination.top), dw, dh, memory,
               coord(source.left), coord(source.top), SRCCOPY);
    } else if (GetDeviceCaps(dc, RASTERCAPS) & RC_STRETCHBLT) {
        int old = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, coord(destination.left), coord(destination.top), dw, dh, memory,
                   coord(source.left), coord(source.top), sw, sh, SRCCOPY);
        SetStretchBltMode(dc, old);
    } else {
        BitBlt(dc, coord(destination.left), coord(destination.top), std::min(sw, dw), std::min(sh, dh),
               memory, coord(source.left), coord(source.top), SRCCOPY);
    }
}

void Bitmap::copyFrom(Bitmap& other, const RECT& source, const RECT& destination, DWORD rop) {
    HDC target = selected();
    HDC memory = other.selected();
    int sw = width(source), sh = height(source), dw = width(destination), dh = height(destination);
    if (sw == dw || sh == dh) {
        BitBlt(target, coord(destination.left), coord(destination.top), dw, dh, memory,
               coord(source.left), coord(source.top), rop);
    } else if (GetDeviceCaps(target, RASTERCAPS) & RC_STRETCHBLT) {
        int old = SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, coord(destination.left), coord(destination.top), dw, dh, memory,
                   coord(source.left), coord(source.top), sw, sh, rop);
        SetStretchBltMode(target, old);
    } else {
        BitBlt(target, coord(destination.left), coord(destination.top), std::min(sw, dw),
               std::min(sh, dh), memory, coord(source.left), coord(source.top), rop);
    }
}

void Bitmap::drawMasked(HBITMAP mask, const RECT& source, int x, int y, HDC dc, HPALETTE palette) {
    MemoryDc maskDc(dc, mask);
    composeMasked(maskDc.get(), source, x, y, dc, palette);
}

void Bitmap::drawMasked(Bitmap& mask, const RECT& source, int x, int y, HDC dc, HPALETTE palette) {
    composeMasked(mask.selected(), source, x, y, dc, palette);
}

void Bitmap::composeMasked(HDC maskDc, const RECT& source, int x, int y, HDC dc, HPALETTE palette) {
    int w = width(source), h = height(source);
    if (w <= 0 || h <= 0) return;
    HDC work = composingSurface(dc, w, h);
    HDC picture = selected();
    SelectPaletteScope realise(work, palette, true);
    BitBlt(work, 0, 0, w, h, dc, coord(x), coord(y), SRCCOPY);
    BitBlt(work, 0, 0, w, h, maskDc, coord(source.left), coord(source.top), SRCAND);
    BitBlt(work, 0, 0, w, h, picture, coord(source.left), coord(source.top), SRCPAINT);
    BitBlt(dc, coord(x), coord(y), w, h, work, 0, 0, SRCCOPY);
}

// --- sprites ---------------------------------------------------------------

void Bitmap::beginSprite(HWND window, const RECT& bounds, const RECT& source, int cx, int cy) {
    if (spriteDc_) endSprite();
    spriteWindow_ = window;
    spriteBounds_ = bounds;
    spriteSource_ = source;
    int w = width(source), h = height(source);
    spriteRect_ = {cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h};
    spriteDc_ = WindowDc(window, GetDCEx(window, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE));
    check(bool(spriteDc_));
    HDC screen = spriteDc_.get();
    spriteBackground_ = Surface(screen, unique_hbitmap(CreateCompatibleBitmap(screen, w, h)));
    spriteCapture_ = Surface(screen, unique_hbitmap(CreateCompatibleBitmap(screen, w, h)));
    BitBlt(spriteBackground_.get(), 0, 0, w, h, screen, spriteRect_.left, spriteRect_.top, SRCCOPY);
    spriteHidden_ = false;
    spriteRecapture_ = true;
}

POINT Bitmap::moveSprite(int cx, int cy) {
    POINT centre{(spriteRect_.left + spriteRect_.right) / 2, (spriteRect_.top + spriteRect_.bottom) / 2};
    if (!spriteDc_ || spriteHidden_) return centre;
    int w = width(spriteSource_), h = height(spriteSource_);
    int left = cx - w / 2, top = cy - h / 2;
    left = std::max(int(spriteBounds_.left), std::min(left, int(spriteBounds_.right) - w));
    top = std::max(int(spriteBounds_.top), std::min(top, int(spriteBounds_.bottom) - h));
    // Even corners keep the hatched mask's checkerboard steady on the screen.
    left += left & 1;
    top += top & 1;
    if (left + w > spriteBounds_.right && left - 2 >= spriteBounds_.left) left -= 2;
    if (top + h > spriteBounds_.bottom && top - 2 >= spriteBounds_.top) top -= 2;
    RECT next{left, top, left + w, top + h};
    if (!EqualRect(&next, &spriteRect_) || spriteRecapture_) {
        // Compose off screen so that the sprite never flickers: capture the
        // new place, patch in the old background, draw the sprite over the
        // old background at the new offset, then put both on the screen.
        // The captured place is the background from now on.
        int dx = next.left - spriteRect_.left, dy = next.top - spriteRect_.top;
        HDC screen = spriteDc_.get(), capture = spriteCapture_.get(), saved = spriteBackground_.get();
        BitBlt(capture, 0, 0, w, h, screen, next.left, next.top, SRCCOPY);
        if (!spriteRecapture_) {
            BitBlt(capture, -dx, -dy, w, h, saved, 0, 0, SRCCOPY);
            draw(spriteSource_, dx, dy, saved);
        }
        draw(spriteSource_, next.left, next.top, screen);
        if (!spriteRecapture_) BitBlt(screen, spriteRect_.left, spriteRect_.top, w, h, saved, 0, 0, SRCCOPY);
        std::swap(spriteBackground_, spriteCapture_);
        spriteRect_ = next;
        spriteRecapture_ = false;
    }
    return {(next.left + next.right) / 2, (next.top + next.bottom) / 2};
}

void Bitmap::restoreSpriteBackground() {
    if (!spriteDc_ || !spriteBackground_ || spriteRecapture_) return;
    BitBlt(spriteDc_.get(), spriteRect_.left, spriteRect_.top, width(spriteSource_), height(spriteSource_),
           spriteBackground_.get(), 0, 0, SRCCOPY);
}

void Bitmap::hideSprite() {
    if (!spriteDc_ || spriteHidden_) return;
    restoreSpriteBackground();
    spriteHidden_ = true;
}

void Bitmap::showSprite(int cx, int cy) {
    if (!spriteDc_) return;
    spriteHidden_ = false;
    spriteRecapture_ = true;
    moveSprite(cx, cy);
}

void Bitmap::endSprite() {
    if (!spriteDc_) return;
    if (!spriteHidden_) restoreSpriteBackground();
    spriteBackground_.reset();
    spriteCapture_.reset();
    spriteDc_.reset();
    spriteWindow_ = nullptr;
}

// --- masked pictures -------------------------------------------------------

MaskedBitmap::MaskedBitmap(HINSTANCE instance, HDC dc, const char* image, const char* mask)
    : Bitmap(instance, dc, image) {
    mask_.reset(LoadBitmapA(instance, mask));
    check(bool(mask_));
}

MaskedBitmap::MaskedBitmap(HDC dc, int w, int h) : Bitmap(dc, w, h) {
    mask_.reset(CreateBitmap(w, h, 1, 1, nullptr));
    check(bool(mask_));
}

MaskedBitmap::~MaskedBitmap() {
    endSprite();
}

void MaskedBitmap::beginSprite(HWND window, const RECT& bounds, const RECT& source, int cx, int cy) {
    Bitmap::beginSprite(window, bounds, source, cx, cy);
    RECT all = size();
    hatchedMask_ = hatchedCopy(mask_.get(), all.right, all.bottom);
    spriteMask_ = std::make_unique<MemoryDc>(spriteDc_.get(), hatchedMask_.get());
}

void MaskedBitmap::endSprite() {
    Bitmap::endSprite();
    spriteMask_.reset();
    hatchedMask_.reset();
}

void QuickMaskedBitmap::draw(const RECT& source, int x, int y, HDC dc) {
    // While dragged the hatched mask stays selected; the plain one is
    // selected for this draw.
    std::optional<MemoryDc> plainMask;
    HDC mask = spriteMask_ ? spriteMask_->get() : plainMask.emplace(dc, mask_.get()).get();
    HDC picture = selected();
    int w = width(source), h = height(source);
    BitBlt(dc, coord(x), coord(y), w, h, mask, coord(source.left), coord(source.top), SRCAND);
    BitBlt(dc, coord(x), coord(y), w, h, picture, coord(source.left), coord(source.top), SRCPAINT);
}

void QuickMaskedBitmap::fillFrom(HBITMAP image, HBITMAP mask, const RECT& source, const RECT& destination) {
    HDC target = selected();
    MemoryDc from(nullptr, image);
    BitBlt(target, destination.left, destination.top, width(destination), height(destination),
           from.get(), source.left, source.top, SRCCOPY);
    MemoryDc maskTarget(nullptr, mask_.get());
    MemoryDc maskFrom(nullptr, mask);
    BitBlt(maskTarget.get(), destination.left, destination.top, width(source), height(source),
           maskFrom.get(), source.left, source.top, SRCCOPY);
}

}  // namespace lumarel
