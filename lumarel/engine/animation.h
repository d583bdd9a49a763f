// The per-tick animation step and the world set it draws.
#pragma once
#include <windows.h>

#include <cstdint>

namespace lumarel {

class BulbWorldSet;

// One step of the bulb animation (runs every 60 ms tick).
void runAnimationStep();
// Drops the world set; the next step rebuilds it.
void discardWorldSet();
// The next step draws even when the animation does not advance (the bulb
// window lost its picture).
void redrawBulbs();
// The world set the steps draw (null until the first step builds it), for
// the screen saver's snow and for tests.
BulbWorldSet* currentWorldSet();
// The animation step counter.
int32_t animationStepCount();
// Puts the bulb window over the layout window, cut to the region it takes
// over; a null region hides it.
void placeBulbWindow(HRGN region, HWND layout);
// Tells every bulb kind to drop its cached pictures and regions.
void dropBulbCaches();
// Builds the program palette (once) and realises it in the main window.
void realiseProgramPalette(HWND window);
// Makes the 47 built-in bulb kinds.
void createBuiltInBulbs();

}  // namespace lumarel
