#include "scene/gdi_drawing.h"

namespace flurrin {

namespace {
// Rectangles are clipped to the scene so a copy never reads outside main or
// work (objects start above the scene and drift past its sides).
bool clip(Rect& r, int width, int height) {
    int right = r.left + r.width, bottom = r.top + r.height;
    r.left = r.left < 0 ? 0 : r.left;
    r.top = r.top < 0 ? 0 : r.top;
    right = right > width ? width : right;
    bottom = bottom > height ? height : bottom;
    r.width = right - r.left;
    r.height = bottom - r.top;
    return r.width > 0 && r.height > 0;
}
}  // namespace

void GdiSpriteTarget::restore(const Rect& rect) {
    Rect r = rect;
    if (clip(r, width_, height_)) BitBlt(work_, r.left, r.top, r.width, r.height, main_, r.left, r.top, SRCCOPY);
}

void GdiSpriteTarget::restore_all() { BitBlt(work_, 0, 0, width_, height_, main_, 0, 0, SRCCOPY); }

void GdiSpriteTarget::draw(DrawMode mode, int x, int y, const PictureRect& s) {
    switch (mode) {
    case DrawMode::Opaque: BitBlt(work_, x, y, s.width, s.height, sprite_, s.x, s.y, SRCCOPY); break;
    case DrawMode::Masked:
        BitBlt(work_, x, y, s.width, s.height, mask_, s.x, s.y, SRCAND);
        BitBlt(work_, x, y, s.width, s.height, sprite_, s.x, s.y, SRCPAINT);
        break;
    case DrawMode::Additive: BitBlt(work_, x, y, s.width, s.height, sprite_, s.x, s.y, SRCPAINT); break;
    }
}

void GdiSpriteTarget::present(const Rect& rect) {
    Rect r = rect;
    if (screen_ && clip(r, width_, height_)) pending_.push_back(r);
}

void GdiSpriteTarget::present_done() {
    for (const Rect& r : merge_rectangles(std::move(pending_)))
        BitBlt(screen_, r.left, r.top, r.width, r.height, work_, r.left, r.top, SRCCOPY);
    pending_.clear();
}

void GdiSpriteTarget::present_all() {
    if (screen_) BitBlt(screen_, 0, 0, width_, height_, work_, 0, 0, SRCCOPY);
}

void copy_step(const EffectStep& step, HDC source, HDC target) {
    for (const PieceCopy& c : step.copies)
        BitBlt(target, c.dst_x, c.dst_y, c.width, c.height, source, c.src_x, c.src_y, SRCCOPY);
}

}  // namespace flurrin
