#include "frame/password.h"

#include "frame/handles.h"
#include "frame/saver.h"
#include "settings/settings.h"

namespace flurrin {

void SaverPassword::begin() {
    int32_t in_use = parse_number(reg_read_text(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword"));
    saver_asks_ = query_os_platform() != VER_PLATFORM_WIN32_NT && in_use != 0;
    if (saver_asks_) SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
}

bool SaverPassword::verify(HWND owner) const {
    unique_hmodule library(LoadLibraryA("password.cpl"));
    if (!library) return true;
    using Verify = BOOL(WINAPI*)(HWND);
    auto verify = reinterpret_cast<Verify>(GetProcAddress(library.get(), "VerifyScreenSavePwd"));
    return !verify || verify(owner) != 0;
}

void SaverPassword::end() {
    if (saver_asks_) SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    saver_asks_ = false;
}

// The display count goes well past the edge so that another program's
// ShowCursor calls cannot bring the cursor back.
void hide_cursor() {
    while (ShowCursor(FALSE) > -6) {}
}
void show_cursor() {
    while (ShowCursor(TRUE) < 6) {}
}

}  // namespace flurrin
