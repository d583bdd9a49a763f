#include "saver/screen_saver.h"

// The screen saver modules are not built yet: nothing is drawn.

namespace lumarel {

void startScreenSaver(HWND) {}
void stopScreenSaver() {}

}  // namespace lumarel
