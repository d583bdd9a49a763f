// Shell shortcuts: songs and pictures may be ".lnk" files that point elsewhere.
#pragma once
#include <windows.h>

namespace lumarel {

// A path ending in ".lnk" (letter case ignored) becomes the link's target.
// Never shows a window, never searches for a moved target and gives up after
// a second, so a link to a vanished share cannot hold the program; on any
// failure the path stays as it was. COM must be initialised on this thread.
void resolveShortcut(char (&path)[MAX_PATH]);

}  // namespace lumarel
