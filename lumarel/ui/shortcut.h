// Shell shortcuts: songs and pictures may be ".lnk" files that point
// elsewhere, and "start automatically" is a link in the user's Startup folder.
#pragma once
#include <windows.h>

namespace lumarel {

// A path ending in ".lnk" (letter case ignored) becomes the link's target.
// Never shows a window, never searches for a moved target and gives up after
// a second, so a link to a vanished share cannot hold the program; on any
// failure the path stays as it was. COM must be initialised on this thread.
void resolveShortcut(char (&path)[MAX_PATH]);

// The user's Startup folder: "Startup" of the shell's folder list, else the
// shell's own answer. False when neither knows it.
bool startupFolder(char (&folder)[MAX_PATH]);

// True when the Startup folder holds a link whose name contains "Lumarel"
// (the user's own counts too); with remove set, that first one is deleted.
bool startupShortcutExists(bool remove);

// Saves "Lumarel.lnk", pointing at this program, in the Startup folder. True
// when the link was saved. COM must be initialised on this thread.
bool createStartupShortcut();

}  // namespace lumarel
