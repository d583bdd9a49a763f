// A picture control: a child window showing an off-screen bitmap that keeps
// its drawing (what is drawn into dc() is shown on every repaint).
#pragma once
#include <windows.h>

#include "scene/dib_surface.h"

namespace flurrin {

class PictureBox {
public:
    PictureBox() = default;
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // A child of parent (or a hidden pop-up when parent is null).
    bool create(HWND parent, int x, int y, int width, int height, int id = 0);
    void destroy();

    HWND hwnd() const { return hwnd_; }
    // The off-screen image; its size is width() x height().
    HDC dc() const { return image_.dc(); }
    HBITMAP bitmap() const { return image_.bitmap(); }
    const DibSurface& image() const { return image_; }
    int width() const { return image_.width(); }
    // Paint the window from another surface (the composition buffer).
    void set_paint_source(const DibSurface* source) { paint_source_ = source; }
    // Mouse and key messages go to the parent window, as the form's own.
    void set_forward_input(bool forward) { forward_input_ = forward; }
    int height() const { return image_.height(); }

    // Gives the image a new size (contents cleared to black); false when the
    // bitmap cannot be made. A new size makes a new DC.
    bool resize_image(int width, int height);
    // Copies a bitmap in, resizing the image to it.
    bool set_picture(HBITMAP picture);
    void clear();
    // Redraws the window from the image.
    void refresh() const;
    // Scales the image of the whole picture into the window rather than
    // copying it one to one.
    void set_stretch(bool stretch) { stretch_ = stretch; }

private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    void paint(HDC target) const;

    HWND hwnd_ = nullptr;
    DibSurface image_;
    bool stretch_ = false;
    const DibSurface* paint_source_ = nullptr;
    bool forward_input_ = false;
};

}  // namespace flurrin
