// The falling snow of the "Snow" and "Snow Flakes" modules: where each flake
// is, the wind and fall speed that drift, and the ground that rises as snow
// lands. The painting is handed to a SnowCanvas, so the physics is tested
// without a window.
#pragma once
#include <cstdint>
#include <vector>

#include "saver/scene_random.h"

namespace lumarel {

struct Flake {
    float x = 0, y = 0;
    int16_t size = 1;
    uint8_t hit = 0;  // it touched a bulb on the last step
};

// What the flakes paint and ask about.
class SnowCanvas {
public:
    virtual ~SnowCanvas() = default;
    // Paints a landed flake for good (background and back buffer).
    virtual void landFlake(const Flake& flake) = 0;
    virtual void drawFlake(const Flake& flake) = 0;
    // The bulb worlds: is (x, y) a dark pixel of a bulb picture; paint it white.
    virtual bool hitEmpty(int x, int y) = 0;
    virtual void markPixel(int x, int y) = 0;
};

class SnowField {
public:
    static constexpr int kMaxFlakes = 500;
    // Snow stops settling on the bulbs after this many frames.
    static constexpr int32_t kSettleFrames = 2000;

    // The area starts at (0, 0) and is width × height.
    SnowField(int32_t width, int32_t height, bool preview, RandomSource& random);

    void step(RandomSource& random, SnowCanvas& canvas);
    // Where landing flakes stop now.
    int32_t groundLine() const;

    const std::vector<Flake>& flakes() const { return flakes_; }
    float wind() const { return wind_; }
    float fallSpeed() const { return fallSpeed_; }
    int32_t frame() const { return frame_; }

private:
    int32_t width_, height_;
    bool preview_;
    std::vector<Flake> flakes_;
    float wind_ = 0;
    float fallSpeed_ = 4;
    int32_t frame_ = 0;
};

}  // namespace lumarel
