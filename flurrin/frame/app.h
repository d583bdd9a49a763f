// Program-wide state of the saver: one owner, set up by the entry point.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "settings/settings.h"

namespace flurrin {

struct App {
    std::string install_path;  // always ends in "\"
    int16_t twips_per_pixel_x = 15;
    int16_t twips_per_pixel_y = 15;
    bool test_mode = false;
    HWND preview_parent = nullptr;
    bool preview_active = false;
    Settings settings;
    std::unique_ptr<SettingsStore> store;
};

App& app();

// The settings store of the platform: the registry under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
std::unique_ptr<SettingsStore> make_registry_store(const std::string& application);

}  // namespace flurrin
