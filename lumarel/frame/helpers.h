// Small window, help and dialog helpers of the frame, shared by every part.
#pragma once
#include <windows.h>

#include "base/dialog_helpers.h"
#include "base/program_path.h"

namespace lumarel {

// Centres a window in the work area (the whole screen if that is unknown).
void centreWindow(HWND window);

// Opens "lumrel.hlp" beside the program when it is there, else the matching
// page of the "Help" folder in the browser; with neither the missing help is
// reported. The second form passes WinHelp's data as it is (a context number).
void openHelp(HWND owner, UINT command, const char* keyword);
void openHelp(HWND owner, UINT command, ULONG_PTR data);

// Offers to open the mixer when the MIDI volume is very low.
void checkMidiVolume(HWND owner);
// The decision alone: true when both channels are below one sixteenth.
bool midiVolumeTooLow(DWORD volume);

}  // namespace lumarel
