// Dialog helpers every part may use: hiding a control so that its '&' key
// cannot fire, and the standard open-file dialog.
#pragma once
#include <windows.h>

namespace lumarel {

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
