#include "saver/floater_motion.h"

#include <algorithm>
#include <cmath>

namespace lumarel {
namespace {

void placeInside(FloaterMotion& f, const SceneRect& a, RandomSource& random) {
    f.x = float(a.left + randomMod(random, a.right - f.width - a.left));
    f.y = float(a.top + randomMod(random, a.bottom - f.height - a.top));
}

// Two velocities in -half..half, not both 0.
void drawVelocities(FloaterMotion& f, int half, RandomSource& random) {
    do {
        f.vx = float(randomMod(random, 2 * half + 1) - half);
        f.vy = float(randomMod(random, 2 * half + 1) - half);
    } while (f.vx == 0 && f.vy == 0);
}

void bounceAcross(FloaterMotion& f, const SceneRect& a) {
    f.x += f.vx;
    if (f.x < float(a.left) || f.x > float(a.right - f.width)) f.vx = -f.vx;
}

}  // namespace

void startFloater(FloaterMotion& f, const FloaterSpace& space, RandomSource& random) {
    const SceneRect& a = space.area;
    const bool p = space.preview;
    switch (space.type) {
    case kGravityWell:
        f.vx = float(p ? randomMod(random, 50) / 10 - 2 : randomMod(random, 130) / 10 - 6);
        f.vy = 0;
        f.third = float(p ? randomMod(random, 30) - 30 : randomMod(random, 100) - 50);
        f.x = float(a.left + randomMod(random, a.right - f.width - a.left));
        f.y = float(a.top - f.height);
        break;
    case kFallingLeaves:
        f.vx = float(randomMod(random, 1001) - 500) * (p ? 0.0028571428f : 0.01f);
        f.vy = 0;
        f.third = randomMod(random, 2) ? 0.1f : -0.1f;
        placeInside(f, a, random);
        break;
    case kAttraction:
        drawVelocities(f, p ? 5 : 10, random);
        placeInside(f, a, random);
        break;
    default:
        drawVelocities(f, p ? 2 : 4, random);
        placeInside(f, a, random);
        break;
    }
}

FloaterStop moveFloater(FloaterMotion& f, const FloaterSpace& space, RandomSource& random) {
    const SceneRect& a = space.area;
    const bool p = space.preview;
    FloaterStop stop;
    switch (space.type) {
    case kGravityWell: {
        bounceAcross(f, a);
        f.third += p ? 0.6f : 1.5f;
        f.y += f.third;
        const float floor = float(a.bottom - f.height);
        if (f.y >= floor && f.third > 0) {
            f.y = floor;
            f.third *= -0.7f;
            if (f.third > -1) {
                stop = {true, f.x, f.y};
                startFloater(f, space, random);
            }
        }
        break;
    }
    case kFallingLeaves: {
        f.x += f.vx;
        f.vx += f.third;
        if (randomMod(random, 5) == 0) {
            const float turn = p ? 2.0f : 6.0f;
            if (f.vx > turn)
                f.third = p ? -0.1f : -0.3f;
            else if (f.vx < -turn)
                f.third = p ? 0.1f : 0.3f;
        }
        f.y += float(int(std::fabs(f.vx)));
        const int32_t ground = std::max(a.bottom + a.top - f.framesAlive / 100, a.top + (a.bottom - a.top) / 3);
        if (f.y + float(f.height) >= float(ground)) {
            stop = {true, f.x, f.y};
            f.y = float(a.top - f.height);
            f.x = float(a.left + randomMod(random, a.right - f.width - a.left));
        }
        const float across = float(f.width + a.right - a.left);
        if (f.x < float(a.left - f.width))
            f.x += across;
        else if (f.x > float(a.right))
            f.x -= across;
        break;
    }
    default:  // bouncing off the sides, and attraction
        bounceAcross(f, a);
        f.y += f.vy;
        if (f.y < float(a.top) || f.y > float(a.bottom - f.height)) f.vy = -f.vy;
        break;
    }
    return stop;
}

void attractFloaters(FloaterMotion& a, FloaterMotion& b, bool preview) {
    const float k = preview ? 0.2f : 0.6f, limit = preview ? 8.0f : 25.0f;
    const float dx = a.x - b.x, dy = a.y - b.y;
    const float d = std::max(5.0f, 0.05f * std::sqrt(dx * dx + dy * dy));
    const float f = k / (d * d);
    const float px = f * dx / d, py = f * dy / d;
    b.vx += px;
    b.vy += py;
    a.vx -= px;
    a.vy -= py;
    for (float* v : {&a.vx, &a.vy, &b.vx, &b.vy}) *v = std::clamp(*v, -limit, limit);
}

float nextLeafWind(float wind, RandomSource& random) {
    return std::clamp(wind + float(randomMod(random, 1001) - 500) * 0.0002f, -20.0f, 20.0f);
}

bool floatersFillArea(uint64_t summedArea, const SceneRect& area) {
    const uint64_t w = uint64_t(std::max(area.width(), 0)), h = uint64_t(std::max(area.height(), 0));
    return 8 * summedArea > w * h;
}

}  // namespace lumarel
