// Small window, help and dialog helpers of the frame, shared by every part.
#pragma once
#include <windows.h>

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

// Hides or shows a dialog control so that its '&' mnemonic cannot fire while
// hidden: the text is kept in a window property and blanked.
void showDialogControl(HWND control, bool show);
// The control's text, the saved one while it is hidden.
void dialogControlText(HWND control, char* buffer, int size);
// Frees every saved text of a dialog's children.
void freeSavedControlTexts(HWND dialog);

// Standard open-file dialog. True when a file was chosen, false when
// cancelled; throws the dialog's extended error otherwise.
bool chooseFileToOpen(HWND owner, char* buffer, DWORD size, const char* filter);

}  // namespace lumarel
