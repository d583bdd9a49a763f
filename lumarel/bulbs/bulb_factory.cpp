#include "bulbs/library.h"

// The Bulb Factory editor comes later; until then it has no window and
// opening it does nothing.

namespace lumarel {

HWND bulbFactoryWindow() { return nullptr; }
void openBulbFactory(const char*) {}

}  // namespace lumarel
