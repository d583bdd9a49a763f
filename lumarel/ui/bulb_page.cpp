#include <windows.h>

#include <commctrl.h>

#include "engine/flash_state.h"
#include "resources/resource_ids.h"
#include "ui/bulb_page.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"

// The Bulb Factory page: the bulb list and the outer boxes (in their own
// files), the buttons, the drawing place and the flash settings. Each change
// is live at once: the flash state, the store, the bulbs on screen and a
// running preview follow it.

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

unique_hfont listFont(HWND window, int weight) {
    WindowDc dc(window);
    int height = -MulDiv(9, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    return unique_hfont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
}

HCURSOR pageCursor(const char* name) {
    HCURSOR cursor = LoadCursorA(settingsResources(), name);
    return cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW);
}

}  // namespace

BulbPageState& bulbPage() {
    static BulbPageState state;
    return state;
}

void arrangementChanged(HWND window) {
    saveFlashSettings();
    if (settingsHost().rebuildBulbs) settingsHost().rebuildBulbs();
    notifyPreview();
    for (int id = IDC_BOX_FIRST; id <= IDC_BOX_LAST; ++id) InvalidateRect(GetDlgItem(window, id), nullptr, TRUE);
}

bool drawBulbPageItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID == IDC_BULB_LIST) {
        drawBulbListItem(item);
        return true;
    }
    if (item.CtlID >= IDC_BOX_FIRST && item.CtlID <= IDC_BOX_LAST) {
        drawOuterBox(item);
        return true;
    }
    return false;
}

bool bulbPageKey(const MSG& message) {
    if (!bulbDragActive() || message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
    cancelBulbDrag();
    return true;
}

void closeBulbPage() {
    cancelBulbDrag();
    BulbPageState& page = bulbPage();
    page.normalFont.reset();
    page.boldFont.reset();
}

void refillBulbPage(HWND window) {
    fillBulbList(window);
    for (int id = IDC_BOX_FIRST; id <= IDC_BOX_LAST; ++id) InvalidateRect(GetDlgItem(window, id), nullptr, TRUE);
}

void selectBulbOnPage(HWND window, int32_t id) { selectBulbInList(window, id); }

bool currentBulbOnScreen() {
    int32_t id = bulbPage().current;
    if (id == kNoBulb) return false;
    for (const auto& row : flashState().arrangement)
        for (int32_t kind : row)
            if (kind == id) return true;
    return false;
}

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
    BulbPageState& page = bulbPage();
    page.normalFont = listFont(window, FW_NORMAL);
    page.boldFont = listFont(window, FW_BOLD);
    page.hand = pageCursor("hand");
    page.closedHand = pageCursor("closedhand");
    initOuterBoxes(window);
    initBulbList(window);
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
    case IDC_BULB_LIST:
        if (notice == LBN_SELCHANGE) {
            BulbObject* bulb = listBulb(window, int(SendDlgItemMessageA(window, id, LB_GETCURSEL, 0, 0)));
            bulbPage().current = bulb ? bulb->id() : kNoBulb;
            updateEditButton(window);
        }
        return true;
    case IDC_ADD_BULB:
        addBulbFromFile(window);
        return true;
    case IDC_EDIT_BULB: {
        BulbObject* bulb = listBulb(window, int(SendDlgItemMessageA(window, IDC_BULB_LIST, LB_GETCURSEL, 0, 0)));
        if (bulb && canEditBulb(bulbFlags(*bulb))) editBulb(window, bulb->id());
        return true;
    }
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
