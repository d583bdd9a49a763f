// The per-tick animation step and the world set it draws.
#pragma once
#include <windows.h>

namespace lumarel {

// One step of the bulb animation (runs every 60 ms tick).
void runAnimationStep();
// Drops the world set; the next step rebuilds it.
void discardWorldSet();
// Tells every bulb kind to drop its cached pictures and regions.
void dropBulbCaches();
// Builds the program palette (once) and realises it in the main window.
void realiseProgramPalette(HWND window);
// Makes the 47 built-in bulb kinds.
void createBuiltInBulbs();

}  // namespace lumarel
