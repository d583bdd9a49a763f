// The desktop watcher: a hook in the shell's desktop thread that tells us
// before the icon view repaints.
#pragma once

namespace lumarel {

// True while the desktop is painting (the tick then skips its step).
bool desktopIsPainting();
void setDesktopPainting();
void releaseDesktopWatcher();

}  // namespace lumarel
