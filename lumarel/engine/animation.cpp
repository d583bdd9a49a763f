#include "engine/animation.h"

#include "engine/flash_state.h"

// The bulb worlds and their drawing are not built yet: the step, the world
// set, the caches and the palette do nothing, and only the 47 built-in ids
// count as existing kinds.

namespace lumarel {

void runAnimationStep() {}
void discardWorldSet() {}
void dropBulbCaches() {}
void realiseProgramPalette(HWND) {}
void createBuiltInBulbs() {}

bool bulbKindExists(int32_t id) { return id >= 0 && id <= 46; }

}  // namespace lumarel
