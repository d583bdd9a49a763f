// The rising balloons of the "Balloons" module: each balloon climbs, drifts
// sideways in full screen, wraps across the sides and comes back from below.
#pragma once
#include <cstdint>
#include <vector>

#include "saver/scene_random.h"

namespace lumarel {

struct Balloon {
    float x = 0, y = 0;
    int32_t colour = 0;  // 0 to 5, the strip cell
    float drift = 0;
};

class BalloonField {
public:
    static constexpr int kColours = 6;

    // The area starts at (0, 0). `cellWidth` is one balloon's width in the
    // strip; a balloon that rose `reentryHeight` above the top comes back.
    BalloonField(int32_t width, int32_t height, bool preview, int32_t cellWidth, int32_t reentryHeight,
                 RandomSource& random);

    void step(RandomSource& random);
    const std::vector<Balloon>& balloons() const { return balloons_; }

private:
    float enterX(RandomSource& random) const;

    int32_t width_, height_;
    bool preview_;
    int32_t cellWidth_, reentryHeight_;
    std::vector<Balloon> balloons_;
};

}  // namespace lumarel
