// The full-screen saver run of "/S" and the test runs of the option forms.
#pragma once
#include <windows.h>

namespace flurrin {

// Runs the full-screen saver until it ends; the process exit code.
int run_saver();
// Whether this build has the main form to run.
bool test_run_available();
// Sets test_mode, runs the saver over owner (disabled meanwhile) until it
// ends, clears test_mode.
void run_test(HWND owner);

}  // namespace flurrin
