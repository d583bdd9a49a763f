// The GDI side of the scene engine: the sprite target over device contexts
// and the player of transition steps.
#pragma once
#include <windows.h>

#include <vector>

#include "scene/sprites.h"
#include "scene/transitions.h"

namespace flurrin {

// main (clean background), work (composition), the two sheets, and the
// screen DC the frame is presented to, all in scene coordinates.
class GdiSpriteTarget final : public SpriteTarget {
public:
    GdiSpriteTarget(HDC main, HDC work, HDC sprite, HDC mask, int width, int height)
        : main_(main), work_(work), sprite_(sprite), mask_(mask), width_(width), height_(height) {}
    void set_screen(HDC screen) { screen_ = screen; }

    void restore(const Rect& r) override;
    void restore_all() override;
    void draw(DrawMode mode, int x, int y, const PictureRect& sheet) override;
    void present(const Rect& r) override;
    void present_all() override;
    void present_done() override;

private:
    HDC main_, work_, sprite_, mask_, screen_ = nullptr;
    int width_, height_;
    std::vector<Rect> pending_;
};

// Copies the pieces of one transition step from source to target.
void copy_step(const EffectStep& step, HDC source, HDC target);

}  // namespace flurrin
