// frmConfiguration: the small form of "/C" for the falling objects and the
// way to the other forms.
#pragma once
#include <windows.h>

namespace flurrin {

inline constexpr const char* kConfigurationCaption = "Flurrin - Configuration";

// Shows the form modeless; returns false when it could not be made.
bool configuration_show();
bool configuration_loaded();
HWND configuration_window();

}  // namespace flurrin
