// The one off-screen surface of flurrin: a 24-bit bottom-up DIB section
// selected into its own memory DC, with direct access to its bits.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "frame/handles.h"

namespace flurrin {

class DibSurface {
public:
    // A new surface of width x height, black; false (and empty) when the
    // system cannot make it.
    bool create(int width, int height);
    void reset();
    explicit operator bool() const { return dc_.get() != nullptr; }

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    uint8_t* bits() const { return bits_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Bytes from one scan line to the next (rows are padded to 4 bytes).
    size_t stride() const { return (size_t(width_) * 3 + 3) & ~size_t(3); }

    // Copies a bitmap in at its own size, making the surface that size.
    bool set_picture(HBITMAP picture);
    void clear();
    // Hands the bitmap over to the caller; the surface is empty afterwards.
    unique_hbitmap release_bitmap();

private:
    // Declared in the order they are made: the selection is undone before the
    // DC and the bitmap go.
    unique_hbitmap bitmap_;
    unique_hdc dc_;
    Selection selection_;
    uint8_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace flurrin
