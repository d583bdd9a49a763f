// lumarel's screen saver in Windows: the stub the program carries as "SAVER"
// is written out as "Lumarel.scr" and named as the current screen saver.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/shell_places.h"

namespace lumarel {

// True when Windows' selected screen saver is our stub.
bool isSelectedScreenSaver();
// The test on one file: loaded as data, its string 2 reads "QuorvaneLumarel".
bool isLumarelSaverFile(const char* path);

// Installs the stub carried as "SAVER" into the system folder, or the user's
// own folder where the system one refuses, selects it and switches the screen
// saver on. Says "Cannot Install Screen Saver" and changes nothing when no
// place holds the file. True when our screen saver is selected now.
bool installScreenSaver(HWND owner);
// The same with the places and the bytes given (tests pick their own). A
// place whose "Lumarel.scr" exists keeps it as it is.
bool installScreenSaver(HWND owner, const std::vector<SaverPlace>& places, const uint8_t* bytes, size_t size);

// Installs, then asks Windows to start the selected screen saver at once.
void previewScreenSaverNow(HWND owner);

}  // namespace lumarel
