#include "saver/snow_field.h"

#include <algorithm>

namespace lumarel {

SnowField::SnowField(int32_t width, int32_t height, bool preview, RandomSource& random)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), preview_(preview) {
    flakes_.resize(size_t(std::min(width_ / 4, kMaxFlakes)));
    for (Flake& f : flakes_) {
        f.x = float(randomMod(random, width_));
        f.y = -float(randomMod(random, height_));
        f.size = int16_t(preview_ ? 1 + randomMod(random, 2) : 2 + randomMod(random, 4));
    }
}

int32_t SnowField::groundLine() const {
    // Fallen snow builds up a pixel every 500 frames, to a third of the height.
    const int32_t top = 0, bottom = height_;
    return std::max(bottom + top - frame_ / 500, top + (bottom - top) / 3);
}

void SnowField::step(RandomSource& random, SnowCanvas& canvas) {
    ++frame_;
    wind_ = std::clamp(wind_ + float(randomMod(random, 1001) - 500) * 0.0002f, -4.0f, 4.0f);
    fallSpeed_ = std::clamp(fallSpeed_ + float(randomMod(random, 1001) - 500) * 0.0002f, 3.0f, 8.0f);
    const int32_t ground = groundLine();
    for (Flake& f : flakes_) {
        float down, across;
        if (preview_) {
            down = float(randomMod(random, f.size * 100)) * 0.01f + 1;
            across = float(randomMod(random, 101) - 50) * 0.01f;
        } else {
            down = fallSpeed_ + float(randomMod(random, f.size * 700)) * 0.001f;
            across = wind_ + float(randomMod(random, 2001) - 1000) * 0.001f + wind_ * float(f.size) * 0.2f;
        }
        if (f.y + down >= float(ground)) {
            canvas.landFlake(f);
            f.y -= float(height_);
            continue;
        }
        f.y += down;
        f.x += across;
        if (f.x > float(width_ + 10))
            f.x = -5;
        else if (f.x < -10)
            f.x = float(width_ + 5);
        if (frame_ < kSettleFrames) {
            const int hx = int(f.x) + f.size / 2, hy = int(f.y);
            const bool hit = canvas.hitEmpty(hx, hy);
            if (hit && !f.hit) {
                canvas.markPixel(hx, hy);
                if (f.size > 2 && canvas.hitEmpty(hx, hy + 1)) canvas.markPixel(hx, hy + 1);
            }
            f.hit = hit ? 1 : 0;
        }
        canvas.drawFlake(f);
    }
}

}  // namespace lumarel
