#include "ui/settings_window.h"

// The settings window is not built yet: nothing opens.

namespace lumarel {

void openSettingsWindow(int) {}
HWND settingsWindow() { return nullptr; }
void settingsLocationChanged(int) {}
void refreshSettingsAfterBulbChange() {}

}  // namespace lumarel
