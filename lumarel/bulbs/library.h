// The bulb library: add-on bulb files beside the program.
#pragma once
#include <windows.h>

namespace lumarel {

// Reads every bulb file of the bulb folder into the bulb list.
void scanBulbFolder();
// Imports a bulb file (or GIF) the user opened.
void importBulbFile(HWND owner, const char* path);
// The open Bulb Factory window, or null.
HWND bulbFactoryWindow();

}  // namespace lumarel
