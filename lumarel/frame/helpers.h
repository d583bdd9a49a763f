// Small window, help and dialog helpers of the frame, shared by every part.
#pragma once
#include <windows.h>

namespace lumarel {

// Centres a window in the work area (the whole screen if that is unknown).
void centreWindow(HWND window);

// Where bulbs go, in the window's client coordinates: the work area normally,
// the whole screen for a saver, the client area for a preview.
RECT drawingRectangle(HWND window);

enum DesktopWindowKind { kLayoutWindow = 0, kIconView = 1, kDrawingTarget = 2 };
HWND findDesktopWindow(int kind);

// Opens "lumrel.hlp" beside the program; a missing file is reported.
void openHelp(HWND owner, UINT command, const char* keyword);

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

// The program's full path, or its folder with the trailing backslash.
void programPath(char (&path)[MAX_PATH], bool folderOnly);

}  // namespace lumarel
