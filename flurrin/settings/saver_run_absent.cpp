// This build has no main form yet: "/S" ends at once and test runs are off.
#include "settings/saver_run.h"

namespace flurrin {

bool saver_show() { return false; }
bool test_run_available() { return false; }
void run_test(HWND) {}

}  // namespace flurrin
