// Pictures held as GDI bitmaps: plain, with a one-bit mask, and the quick
// variant that draws straight onto its destination. A Bitmap can also be
// dragged over a window as a "sprite" that saves and restores what lies under
// it.
#pragma once
#include <windows.h>

#include <memory>

#include "base/handles.h"

namespace lumarel {

// A memory DC with one bitmap selected; throws 'asrt' when it cannot be made.
class MemoryDc {
public:
    MemoryDc(HDC compatible, HBITMAP bitmap);
    HDC get() const { return dc_.get(); }

private:
    unique_hdc dc_;
    SelectObjectScope select_;
};

// A drawing surface: a bitmap it owns, selected into its own memory DC. The
// DC goes before the bitmap, also when a surface is replaced.
class Surface {
public:
    Surface() = default;
    // Takes the bitmap (null throws 'asrt') and selects it.
    Surface(HDC compatible, unique_hbitmap bitmap);
    Surface(Surface&&) noexcept = default;
    Surface& operator=(Surface&& other) noexcept {
        if (this != &other) {
            reset();
            bitmap_ = std::move(other.bitmap_);
            dc_ = std::move(other.dc_);
        }
        return *this;
    }

    HDC get() const { return dc_ ? dc_->get() : nullptr; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() {
        dc_.reset();
        bitmap_.reset();
    }

private:
    unique_hbitmap bitmap_;
    std::unique_ptr<MemoryDc> dc_;
};

class Bitmap {
public:
    // From a bitmap resource (name, or MAKEINTRESOURCE of a number).
    Bitmap(HINSTANCE instance, HDC dc, const char* resource);
    // From a BMP file; a file of two BMP files back to back yields the second.
    Bitmap(HDC dc, const char* path);
    // Blank, compatible with dc.
    Bitmap(HDC dc, int width, int height);
    // A top-down DIB section (at most 8 bits per pixel) whose colour table is
    // the palette's; bits() gives its pixels.
    Bitmap(int width, int height, int bitsPerPixel, HPALETTE palette);
    // Takes ownership of a bitmap made elsewhere (null throws 'asrt').
    explicit Bitmap(HBITMAP adopted);
    // The same for a DIB section, with its pixels.
    Bitmap(unique_hbitmap adopted, void* bits);

    virtual ~Bitmap();
    virtual void blit(const RECT& source, int x, int y, HDC dc, DWORD rop);
    virtual void draw(const RECT& source, int x, int y, HDC dc);
    virtual void beginSprite(HWND window, const RECT& bounds, const RECT& source, int cx, int cy);
    virtual void endSprite();

    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // The bitmap, out of the picture's own DC (below), for selecting
    // elsewhere or reading its bits.
    HBITMAP handle() const {
        deselect();
        return bitmap_.get();
    }
    void* bits() const { return bits_; }
    RECT size() const;

    // Copies (stretching where the device can) between rectangles.
    void copyTo(const RECT& source, const RECT& destination, HDC dc);
    void copyFrom(Bitmap& other, const RECT& source, const RECT& destination,
                  DWORD rop = SRCCOPY);
    // Flicker-free transparent draw through a one-bit mask (black = opaque),
    // composed in the given palette.
    void drawMasked(HBITMAP mask, const RECT& source, int x, int y, HDC dc, HPALETTE palette);
    // The same through a mask held as a Bitmap (kept in its own DC).
    void drawMasked(Bitmap& mask, const RECT& source, int x, int y, HDC dc, HPALETTE palette);

    // Moves the sprite's centre to (cx, cy), kept inside the bounds on even
    // coordinates; returns the centre it took.
    POINT moveSprite(int cx, int cy);
    void hideSprite();
    void showSprite(int cx, int cy);
    bool spriteActive() const { return bool(spriteDc_); }
    RECT spriteRect() const { return spriteRect_; }

protected:
    Bitmap() = default;
    void adopt(HBITMAP bitmap);
    // A memory DC with the bitmap selected, kept from one draw to the next:
    // under Wine each selection of a bitmap is three trips to the window
    // server, and building the bulbs draws thousands of frames from a few
    // pictures. handle() takes the bitmap out again.
    HDC selected();
    void deselect() const;
    void composeMasked(HDC maskDc, const RECT& source, int x, int y, HDC dc, HPALETTE palette);
    // The sprite's background is captured again at the next move.
    void restoreSpriteBackground();

    unique_hbitmap bitmap_;
    void* bits_ = nullptr;
    // After bitmap_, so it goes first: a DC deleted with the bitmap still
    // selected lets it go.
    mutable unique_hdc ownDc_;
    mutable HGDIOBJ ownDcDefault_ = nullptr;  // what the DC held before
    mutable bool inOwnDc_ = false;
    // Everything a move draws with is made once, when the sprite begins: a
    // DC or bitmap made per move costs more than the move's small copies.
    HWND spriteWindow_ = nullptr;
    WindowDc spriteDc_;
    Surface spriteBackground_;
    Surface spriteCapture_;  // the next place's background, while composing
    RECT spriteSource_{};
    RECT spriteRect_{};
    RECT spriteBounds_{};
    bool spriteHidden_ = false;
    bool spriteRecapture_ = false;
};

class MaskedBitmap : public Bitmap {
public:
    // Picture and mask from two bitmap resources.
    MaskedBitmap(HINSTANCE instance, HDC dc, const char* image, const char* mask);
    // Blank: a compatible picture and a one-bit mask of the same size.
    MaskedBitmap(HDC dc, int width, int height);
    ~MaskedBitmap() override;

    void draw(const RECT& source, int x, int y, HDC dc) override = 0;
    void beginSprite(HWND window, const RECT& bounds, const RECT& source, int cx,
                     int cy) override;
    void endSprite() override;

    HBITMAP mask() const { return mask_.get(); }

protected:
    unique_hbitmap mask_;
    unique_hbitmap hatchedMask_;  // only while a sprite is active
    std::unique_ptr<MemoryDc> spriteMask_;  // the hatched mask, selected
};

class QuickMaskedBitmap : public MaskedBitmap {
public:
    using MaskedBitmap::MaskedBitmap;
    // Mask with SRCAND, then picture with SRCPAINT, straight onto dc; the
    // half see-through hatched mask while dragged.
    void draw(const RECT& source, int x, int y, HDC dc) override;
    // Copies the picture's source rectangle into this one at the destination
    // and the mask's source rectangle into this mask at the same corner.
    void fillFrom(HBITMAP image, HBITMAP mask, const RECT& source, const RECT& destination);
};

// A top-down DIB section (at most 8 bits per pixel) with the given colour
// table; `bits` receives its pixels. Throws 'asrt' when it cannot be made.
unique_hbitmap makeDibSection(int width, int height, int bitsPerPixel, const RGBQUAD* colours, int colourCount,
                              void*& bits);

}  // namespace lumarel
