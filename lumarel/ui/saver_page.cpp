#include <windows.h>

#include <commdlg.h>

#include <cstring>
#include <iterator>

#include "base/failure.h"
#include "engine/bulb_object.h"
#include "resources/resource_ids.h"
#include "ui/saver_install.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"

// The Screen Saver page: the message and its font, the animation and its
// movement, the picture and its display type go to the store at once and
// restart a running preview.

namespace lumarel {

namespace {

constexpr const char* kMovementNames[] = {"Bounce Off Sides", "Gravity Well", "Falling Leaves", "Attraction"};
constexpr const char* kDisplayNames[] = {"Center", "Tile", "Stretch"};
constexpr const char* kPlainModules[] = {"(None)", "Snow", "Snow Flakes", "Balloons"};
// The font dialog offers the sizes the saver's message looks right in.
constexpr int kFontSizeMin = 18, kFontSizeMax = 100;

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

HWND animationList(HWND window) { return GetDlgItem(window, IDC_SAVER_ANIMATIONS); }

std::string selectedText(HWND list) {
    int item = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
    char text[MAX_PATH] = {};
    if (item < 0 || SendMessageA(list, LB_GETTEXTLEN, WPARAM(item), 0) >= LRESULT(sizeof text)) return {};
    SendMessageA(list, LB_GETTEXT, WPARAM(item), reinterpret_cast<LPARAM>(text));
    return text;
}

// The list box compares without regard to case; the saver names modules exactly.
void selectStoredModule(HWND window) {
    HWND list = animationList(window);
    char module[260];
    getSaverModule(module);
    int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0)), found = -1;
    for (int i = 0; i < count && found < 0; ++i) {
        char text[MAX_PATH] = {};
        if (SendMessageA(list, LB_GETTEXTLEN, WPARAM(i), 0) >= LRESULT(sizeof text)) continue;
        SendMessageA(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
        if (strcmp(text, module) == 0) found = i;
    }
    SendMessageA(list, LB_SETCURSEL, WPARAM(found), 0);
    EnableWindow(GetDlgItem(window, IDC_SAVER_MOVEMENT), moduleUsesMovement(module));
}

void onModuleChosen(HWND window) {
    std::string module = selectedText(animationList(window));
    if (module.empty()) return;
    setSaverModule(module.c_str());
    int32_t movement = movementAfterModulePick(module, getMovementType());
    setMovementType(movement);
    select(window, IDC_SAVER_MOVEMENT, movement, std::size(kMovementNames));
    EnableWindow(GetDlgItem(window, IDC_SAVER_MOVEMENT), moduleUsesMovement(module));
    notifyPreview();
}

void formatMessage(HWND window) {
    MessageFont stored;
    COLORREF color = 0;
    getMessageFont(stored, color);
    static_assert(sizeof(LOGFONTA) == kMessageFontBytes);
    LOGFONTA font{};
    memcpy(&font, encodeMessageFont(stored).data(), sizeof font);
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpLogFont = &font;
    dialog.rgbColors = color;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE;
    dialog.nSizeMin = kFontSizeMin;
    dialog.nSizeMax = kFontSizeMax;
    if (!ChooseFontA(&dialog)) {
        failOnDialogError();
        return;
    }
    auto chosen = decodeMessageFont(reinterpret_cast<const uint8_t*>(&font), sizeof font);
    if (!chosen) fail(kFailAsrt);
    setMessageFont(*chosen, dialog.rgbColors);
    notifyPreview();
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
    fillAnimationList(window);
    initPictureList(window);
    showSaverValues(window);
}

void fillAnimationList(HWND window) {
    HWND list = animationList(window);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    auto add = [&](const char* name) { SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name)); };
    for (const char* name : kPlainModules) add(name);
    for (const std::string& name : settingsHost().floatingModules) add(name.c_str());
    // An add-on bulb's pictures float as a module of its own name.
    for (BulbObject* bulb = firstBulb(); bulb; bulb = bulb->next())
        if (bulb->isAddOn()) add(bulb->name());
    selectStoredModule(window);
}

void showSaverValues(HWND window) {
    select(window, IDC_SAVER_MOVEMENT, getMovementType(), std::size(kMovementNames));
    select(window, IDC_SAVER_DISPLAY_TYPE, getPictureDisplayType(), std::size(kDisplayNames));
    char message[256];
    getSaverMessage(message);
    SetDlgItemTextA(window, IDC_SAVER_MESSAGE, message);
    selectStoredModule(window);
    selectStoredPicture(window, false);
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
    case IDC_SAVER_FORMAT_TEXT:
        formatMessage(window);
        return true;
    case IDC_SAVER_ANIMATIONS:
        if (notice == LBN_SELCHANGE) onModuleChosen(window);
        if (notice == LBN_DBLCLK) previewScreenSaverNow(window);
        return true;
    case IDC_SAVER_PICTURES:
        if (notice == LBN_SELCHANGE) onPictureChosen(window);
        if (notice == LBN_DBLCLK) previewScreenSaverNow(window);
        return true;
    case IDC_SAVER_ADD_PICTURE:
        addPictureWithDialog(window);
        return true;
    case IDM_REMOVE_PICTURE:
        removeSelectedPicture(window);
        return true;
    case IDC_SAVER_PREVIEW:
    case IDM_PREVIEW_SAVER:
        previewScreenSaverNow(window);
        return true;
    }
    return false;
}

}  // namespace lumarel
