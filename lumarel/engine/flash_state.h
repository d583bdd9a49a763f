// The live bulb arrangement and flash timing the worlds are built from. The
// settings store fills it; the animation reads it.
#pragma once
#include <cstdint>

#include "engine/bulb_arrangement.h"

namespace lumarel {

struct FlashState {
    BulbArrangement arrangement = defaultArrangement();
    int32_t interval = 5;  // 1 fastest .. 9 slowest
    int32_t pattern = 1;   // 0 don't flash, 1 together, 2 alternating, 3 chase, 4 random
};

FlashState& flashState();

// Intervals outside 1..9 and patterns outside 0..4 are ignored.
void setFlashInterval(int32_t interval);
void setFlashPattern(int32_t pattern);

// True when a bulb kind with this id exists now (built in or add-on).
bool bulbKindExists(int32_t id);

}  // namespace lumarel
