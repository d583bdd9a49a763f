#include <windows.h>

#include <commctrl.h>

#include "engine/flash_state.h"
#include "resources/resource_ids.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"

// The Bulb Factory page's drawing place and flash settings. Each change is
// live at once: the flash state, the store and a running preview follow it.

namespace lumarel {

namespace {

constexpr const char* kPatternNames[] = {"Don't Flash", "Flash Together", "Alternating", "Bulb Chase",
                                         "Random Flashing"};
constexpr int kPatternCount = 5;
constexpr int kDontFlash = 0;

void enableSpeed(HWND window, bool flashing) {
    for (int id : {IDC_FLASH_SPEED, IDC_FLASH_SLOW, IDC_FLASH_FAST}) EnableWindow(GetDlgItem(window, id), flashing);
}

void flashChanged() {
    saveFlashSettings();
    notifyPreview();
}

}  // namespace

void showFlashSettings(HWND window) {
    const FlashState& flash = flashState();
    SendDlgItemMessageA(window, IDC_FLASH_PATTERN, CB_SETCURSEL, WPARAM(flash.pattern), 0);
    SendDlgItemMessageA(window, IDC_FLASH_SPEED, TBM_SETPOS, TRUE, trackbarFromInterval(flash.interval));
    enableSpeed(window, flash.pattern != kDontFlash);
}

void showBulbLocation(HWND window, int location) {
    CheckRadioButton(window, IDC_LOCATION_DESKTOP, IDC_LOCATION_TOP,
                     location == 0 ? IDC_LOCATION_DESKTOP : IDC_LOCATION_TOP);
}

void initBulbPage(HWND window) {
    HWND patterns = GetDlgItem(window, IDC_FLASH_PATTERN);
    for (const char* name : kPatternNames) SendMessageA(patterns, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    HWND speed = GetDlgItem(window, IDC_FLASH_SPEED);
    SendMessageA(speed, TBM_SETRANGE, FALSE, MAKELPARAM(0, 8));
    SendMessageA(speed, TBM_SETPAGESIZE, 0, 1);
    showFlashSettings(window);
    showBulbLocation(window, getBulbLocationSetting());
}

bool onBulbPageCommand(HWND window, int id, int notice) {
    const SettingsHost& host = settingsHost();
    switch (id) {
    case IDC_LOCATION_DESKTOP:
    case IDC_LOCATION_TOP:
        if (notice != BN_CLICKED) return true;
        showBulbLocation(window, id - IDC_LOCATION_DESKTOP);
        if (host.setLocation) host.setLocation(id - IDC_LOCATION_DESKTOP);
        return true;
    case IDC_FLASH_PATTERN: {
        if (notice != CBN_SELCHANGE) return true;
        int pattern = int(SendDlgItemMessageA(window, id, CB_GETCURSEL, 0, 0));
        if (pattern < 0 || pattern >= kPatternCount) return true;
        setFlashPattern(pattern);
        flashChanged();
        enableSpeed(window, pattern != kDontFlash);
        return true;
    }
    }
    return false;
}

void onFlashSpeedScroll(HWND window) {
    // The trackbar's own position, not the scroll message's: keyboard and
    // page scrolls carry none.
    int position = int(SendDlgItemMessageA(window, IDC_FLASH_SPEED, TBM_GETPOS, 0, 0));
    int32_t interval = intervalFromTrackbar(position);
    if (interval == flashState().interval) return;
    setFlashInterval(interval);
    flashChanged();
}

}  // namespace lumarel
