#include <windows.h>

#include <iterator>

#include "base/failure.h"
#include "resources/resource_ids.h"
#include "ui/saver_install.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"

// The Screen Saver page: the message, the movement and the picture's display
// type go to the store at once and restart a running preview.

namespace lumarel {

namespace {

constexpr const char* kMovementNames[] = {"Bounce Off Sides", "Gravity Well", "Falling Leaves", "Attraction"};
constexpr const char* kDisplayNames[] = {"Center", "Tile", "Stretch"};

template <size_t N>
void fillChoices(HWND window, int id, const char* const (&names)[N]) {
    HWND list = GetDlgItem(window, id);
    for (const char* name : names) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

// A hand-edited value outside the list shows as the first choice.
void select(HWND window, int id, int32_t stored, size_t count) {
    SendDlgItemMessageA(window, id, CB_SETCURSEL, stored >= 0 && size_t(stored) < count ? WPARAM(stored) : 0, 0);
}

int chosen(HWND window, int id) { return int(SendDlgItemMessageA(window, id, CB_GETCURSEL, 0, 0)); }

void saveMessage(const char* text) {
    setSaverMessage(text);
    notifyPreview();
}

void onMessageChanged(HWND window) {
    HWND edit = GetDlgItem(window, IDC_SAVER_MESSAGE);
    char text[kMessageLimit + 1] = {};
    GetWindowTextA(edit, text, sizeof text);
    std::string clean = cleanMessage(text);
    if (clean != text) {
        // A multi-line edit sends no change notice for this.
        SetWindowTextA(edit, clean.c_str());
        SendMessageA(edit, EM_SETSEL, clean.size(), clean.size());
    }
    saveMessage(clean.c_str());
}

void openDisplayProperties(HWND window) {
    // Vista moved the screen saver settings off the display's own tabs.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    bool vistaOrLater = GetVersionExA(&version) && version.dwMajorVersion >= 6;
    const char* page = vistaOrLater ? "desk.cpl,,@screensaver" : "desk.cpl,,1";
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(window, nullptr, "control", page, nullptr, SW_SHOWNORMAL));
    if (result <= 32) fail(int32_t(GetLastError() ? GetLastError() : DWORD(kFailAsrt)));
}

}  // namespace

void initSaverPage(HWND window) {
    HWND edit = GetDlgItem(window, IDC_SAVER_MESSAGE);
    SendMessageA(edit, EM_LIMITTEXT, kMessageLimit, 0);
    fillChoices(window, IDC_SAVER_MOVEMENT, kMovementNames);
    fillChoices(window, IDC_SAVER_DISPLAY_TYPE, kDisplayNames);
    showSaverValues(window);
}

void showSaverValues(HWND window) {
    select(window, IDC_SAVER_MOVEMENT, getMovementType(), std::size(kMovementNames));
    select(window, IDC_SAVER_DISPLAY_TYPE, getPictureDisplayType(), std::size(kDisplayNames));
    char message[256];
    getSaverMessage(message);
    SetDlgItemTextA(window, IDC_SAVER_MESSAGE, message);
    char module[260];
    getSaverModule(module);
    EnableWindow(GetDlgItem(window, IDC_SAVER_MOVEMENT), moduleUsesMovement(module));
}

void onSaverPageShown(HWND window) {
    bool selected = isSelectedScreenSaver();
    ShowWindow(GetDlgItem(window, IDC_SAVER_SELECTED_TEXT), selected ? SW_SHOWNA : SW_HIDE);
    ShowWindow(GetDlgItem(window, IDC_SAVER_NOT_SELECTED_TEXT), selected ? SW_HIDE : SW_SHOWNA);
    showSaverValues(window);
}

bool onSaverPageCommand(HWND window, int id, int notice) {
    switch (id) {
    case IDC_SAVER_MESSAGE:
        if (notice == EN_CHANGE) onMessageChanged(window);
        return true;
    case IDC_SAVER_MESSAGE_CLEAR:
        SetDlgItemTextA(window, IDC_SAVER_MESSAGE, "");
        SetFocus(GetDlgItem(window, IDC_SAVER_MESSAGE));
        saveMessage("");
        return true;
    case IDC_SAVER_MOVEMENT:
        if (notice == CBN_SELCHANGE && chosen(window, id) >= 0) {
            setMovementType(chosen(window, id));
            notifyPreview();
        }
        return true;
    case IDC_SAVER_DISPLAY_TYPE:
        if (notice == CBN_SELCHANGE && chosen(window, id) >= 0) {
            setPictureDisplayType(chosen(window, id));
            notifyPreview();
        }
        return true;
    case IDC_SAVER_DISPLAY_PROPERTIES:
        openDisplayProperties(window);
        return true;
    case IDC_SAVER_PREVIEW:
        previewScreenSaverNow(window);
        return true;
    }
    return false;
}

}  // namespace lumarel
