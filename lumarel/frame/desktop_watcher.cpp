#include "frame/desktop_watcher.h"

// The watcher's hook library is not built yet: there is no shared block, so
// the desktop never reports painting.

namespace lumarel {

bool desktopIsPainting() { return false; }
void setDesktopPainting() {}
void releaseDesktopWatcher() {}

}  // namespace lumarel
