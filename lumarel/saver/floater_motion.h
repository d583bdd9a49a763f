// How the floaters of a module move: the four movement types, the pull
// between floaters, the wind of falling leaves, and how many floaters a
// module makes. The pictures are the Win32 side's; this is only positions.
#pragma once
#include <cstdint>

#include "saver/scene_layout.h"
#include "saver/scene_random.h"

namespace lumarel {

enum MovementType : int32_t { kBounceOffSides = 0, kGravityWell = 1, kFallingLeaves = 2, kAttraction = 3 };

struct FloaterMotion {
    float x = 0, y = 0;    // top-left corner
    float vx = 0, vy = 0;  // horizontal and vertical velocity
    float third = 0;       // vertical speed (gravity well) or acceleration (leaves)
    int32_t framesAlive = 0;
    int32_t width = 0, height = 0;
};

struct FloaterSpace {
    SceneRect area;
    bool preview = false;
    int32_t type = kBounceOffSides;
};

// Places a new (or restarting) floater by its movement type.
void startFloater(FloaterMotion& f, const FloaterSpace& space, RandomSource& random);

// A floater that came to rest (gravity well) or landed (leaves) is painted
// into the background where it stopped.
struct FloaterStop {
    bool painted = false;
    float x = 0, y = 0;
};
// One step of movement; a floater that came to rest starts again.
FloaterStop moveFloater(FloaterMotion& f, const FloaterSpace& space, RandomSource& random);

// Pulls two floaters towards each other, velocities kept in their limit.
void attractFloaters(FloaterMotion& a, FloaterMotion& b, bool preview);

// The wind every falling leaf shares, one step on.
float nextLeafWind(float wind, RandomSource& random);

// A module stops making floaters once 8 × their summed areas exceed the
// saver area; the sum runs in 64 bits.
bool floatersFillArea(uint64_t summedArea, const SceneRect& area);

}  // namespace lumarel
