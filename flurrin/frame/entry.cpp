#include "frame/entry.h"

#include <windows.h>

#include "frame/app.h"
#include "frame/command_line.h"
#include "frame/form.h"
#include "frame/handles.h"
#include "frame/preview.h"
#include "frame/saver.h"
#include "scene/make_files.h"
#include "settings/configuration.h"
#include "settings/saver_run.h"

namespace flurrin {

namespace {

// Runs the thread's message loop until a root form posts WM_QUIT. The
// active form gets its keys first, so Tab, Enter, Esc and Alt work in the
// modeless root form as in the modal ones.
int message_loop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (Form::dialog_message(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

void read_twips_factors(App& a) {
    WindowDc screen(nullptr);
    int x = GetDeviceCaps(screen.get(), LOGPIXELSX), y = GetDeviceCaps(screen.get(), LOGPIXELSY);
    a.twips_per_pixel_x = int16_t(x > 0 ? 1440 / x : 15);
    a.twips_per_pixel_y = int16_t(y > 0 ? 1440 / y : 15);
}

}  // namespace

int mdl_main(const char* command_line) {
    App& a = app();
    a.test_mode = false;
    if (!a.store) a.store = make_registry_store(kAppName);
    std::string path = a.store->read(kSectionConfig, "install_path").value_or(std::string());
    if (path.empty()) {
        show_message(nullptr, kInstallPathError, kProductName, MB_OK);
        return 0;
    }
    if (path.back() != '\\') path += '\\';
    a.install_path = path;
    read_twips_factors(a);
    settings_load(a.settings, *a.store);

    const char* line = command_line ? command_line : "";
    switch (parse_switch(line)) {
    case SaverSwitch::Configure:
        if (configuration_show()) message_loop();
        break;
    case SaverSwitch::Saver:
        if (!saver_window_exists(kMainFormCaption)) run_saver();
        break;
    case SaverSwitch::Preview:
        if (preview_start(reinterpret_cast<HWND>(static_cast<UINT_PTR>(parse_switch_handle(line))))) message_loop();
        break;
    case SaverSwitch::ChangePassword:
        change_password(reinterpret_cast<HWND>(static_cast<UINT_PTR>(parse_switch_handle(line))));
        break;
    case SaverSwitch::MakeFiles:
        show_make_files(nullptr);
        break;
    case SaverSwitch::Unknown:
        break;
    }
    return 0;
}

}  // namespace flurrin
