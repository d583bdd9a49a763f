#include "engine/animation.h"

#include "engine/palette.h"
#include "frame/handles.h"

// The bulb worlds and their per-tick drawing are not built yet: the step and
// the world set do nothing.

namespace lumarel {

void runAnimationStep() {}
void discardWorldSet() {}

// Realises the program palette in the window's DC (the screen's without one)
// as a background palette, so that 256-colour displays map our colours.
void realiseProgramPalette(HWND window) {
    HPALETTE palette = programPalette();
    if (!palette) return;
    HDC dc = GetDC(window);
    if (!dc) return;
    {
        SelectPaletteScope select(dc, palette, true);
    }
    ReleaseDC(window, dc);
}

}  // namespace lumarel
