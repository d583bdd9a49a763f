// The screen saver drawn inside a window the saver stub owns: a background
// picture, one animation module, the bulbs along the edges and a bouncing
// message, composed off screen and copied to the window every frame.
#pragma once
#include <windows.h>

#include "saver/scene_random.h"

namespace lumarel {

// Starts (stopping a running one first) in the context's run mode; a start
// that fails leaves nothing running and the window as it was.
void startScreenSaver(HWND window);
void stopScreenSaver();
bool screenSaverRunning();

// The scene's random draws come from here; null restores the C library's.
void setSaverRandom(RandomSource* random);

// For the settings window: the built-in floater animations by index (null
// past the last) and the pictures folder new pictures are copied to (the
// picture list reads both folders: listDataFiles in base/data_folders.h).
const char* saverAnimationName(int index);
void saverPicturesFolder(char (&path)[MAX_PATH]);

}  // namespace lumarel
