// The full-screen saver run of "/S" and the test runs of the option forms.
#pragma once
#include <windows.h>

namespace flurrin {

// Shows the full-screen main form (modeless); false when it cannot be shown.
bool saver_show();
// Whether this build has the main form to run.
bool test_run_available();
// Sets test_mode, shows the main form modally over owner, clears test_mode.
void run_test(HWND owner);

}  // namespace flurrin
