// frmPreview: the fixed preview picture embedded in the host window that the
// Display Properties dialog hands over with /P.
#pragma once
#include <windows.h>

namespace flurrin {

inline constexpr int kPreviewWidth = 150;
inline constexpr int kPreviewHeight = 112;
inline constexpr UINT kPreviewTimerMs = 100;

// Loads the hidden preview form and embeds its picture in host; false when
// the form could not be made. The form unloads itself once the host is gone
// or has asked the picture to close.
bool preview_start(HWND host);
bool preview_loaded();
// The picture control (for tests).
HWND preview_picture();
// Replacement window procedure of the picture control.
LRESULT CALLBACK preview_wnd_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace flurrin
