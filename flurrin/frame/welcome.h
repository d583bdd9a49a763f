// frm_welcome: the first-run introduction shown by the configuration form.
#pragma once
#include <windows.h>

namespace flurrin {

inline constexpr const char* kWelcomeCaption = "Welcome To Flurrin";

void show_welcome(HWND owner);

}  // namespace flurrin
