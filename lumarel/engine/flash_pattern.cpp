#include "engine/flash_pattern.h"

namespace lumarel {

namespace {

int wrap(int64_t value, int count) {
    if (count <= 1) return 0;
    int64_t r = value % count;
    return int(r < 0 ? r + count : r);
}

}  // namespace

int phaseCopies(int32_t pattern, int largestPhaseCount) {
    if (pattern == kDontFlash) return 1;
    if (pattern == kRandomFlashing) return kRandomPhaseCopies;
    return largestPhaseCount < 1 ? 1 : largestPhaseCount;
}

int edgeBulbPhase(int32_t pattern, int copy, int copies, int sequence, int kindPhases, int random) {
    int64_t phase = copy;
    switch (pattern) {
    case kAlternating:
        if (sequence % 2 != 0) phase += copies / 2;
        break;
    case kBulbChase: phase += sequence; break;
    case kRandomFlashing: phase = random; break;
    default: break;
    }
    return wrap(phase, kindPhases);
}

int cornerBulbPhase(int copy, int kindPhases) { return wrap(copy, kindPhases); }

bool AnimationClock::tick(int32_t interval, int32_t pattern) {
    if (interval < 1) interval = 1;
    if (interval > 9) interval = 9;
    int32_t period = pattern == kDontFlash ? kDontFlashTicks : interval;
    if (ticks_ < period) ++ticks_;  // held at the period while the draw waits
    return ticks_ >= period;
}

int32_t intervalForSlider(int position) { return 9 - position; }

}  // namespace lumarel
