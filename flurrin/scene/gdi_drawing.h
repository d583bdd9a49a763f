// The GDI side of the scene engine: the sprite target over device contexts
// and the player of transition steps.
#pragma once
#include <windows.h>

#include <functional>
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
    void set_yield(std::function<void()> yield) { yield_ = std::move(yield); }

    void restore(const Rect& r) override;
    void restore_all() override;
    void draw(DrawMode mode, int x, int y, const PictureRect& sheet) override;
    void present(const Rect& r) override;
    void present_all() override;
    void present_done() override;
    void yield() override {
        if (yield_) yield_();
    }

private:
    HDC main_, work_, sprite_, mask_, screen_ = nullptr;
    int width_, height_;
    std::function<void()> yield_;
    std::vector<Rect> pending_;
};

// Copies the steps of an effect from source to target; after each step waits
// with wait (which returns false when the transition must stop). Returns
// false when it stopped early.
bool play_effect(const std::vector<EffectStep>& steps, HDC source, HDC target,
                 const std::function<bool(int wait_ms)>& wait);

}  // namespace flurrin
