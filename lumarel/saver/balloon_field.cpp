#include "saver/balloon_field.h"

#include <algorithm>

namespace lumarel {

BalloonField::BalloonField(int32_t width, int32_t height, bool preview, int32_t cellWidth, int32_t reentryHeight,
                           RandomSource& random)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      preview_(preview),
      cellWidth_(cellWidth),
      reentryHeight_(reentryHeight) {
    balloons_.resize(size_t(width_ / 25));
    for (Balloon& b : balloons_) {
        b.x = enterX(random);
        b.y = float(height_ + randomMod(random, height_));
        b.colour = randomMod(random, kColours);
    }
}

float BalloonField::enterX(RandomSource& random) const {
    return float(randomMod(random, cellWidth_ + width_) - cellWidth_ / 2);
}

void BalloonField::step(RandomSource& random) {
    const float left = 0, top = 0, right = float(width_), bottom = float(height_);
    const float across = float(cellWidth_) + right - left;
    for (Balloon& b : balloons_) {
        b.y -= float(randomMod(random, 200) + (preview_ ? 100 : 400)) * 0.01f;
        b.drift = std::clamp(b.drift + float(randomMod(random, 1001) - 500) * 0.0001f, -0.5f, 0.5f);
        if (!preview_) b.x += b.drift;
        if (b.x < left - float(cellWidth_))
            b.x += across;
        else if (b.x > right)
            b.x -= across;
        if (b.y < top - float(reentryHeight_)) {
            b.y += float(reentryHeight_) + bottom - top;
            b.x = enterX(random);
        }
    }
}

}  // namespace lumarel
