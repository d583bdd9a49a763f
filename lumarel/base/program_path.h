// Where the program runs from: bulbs, help and the uninstaller sit beside it.
#pragma once
#include <windows.h>

namespace lumarel {

// The program's full path, or its folder with the trailing backslash.
void programPath(char (&path)[MAX_PATH], bool folderOnly);

}  // namespace lumarel
