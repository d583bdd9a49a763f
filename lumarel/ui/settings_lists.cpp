#include <windows.h>

#include <commdlg.h>

#include <cstring>

#include "base/failure.h"
#include "base/handles.h"
#include "resources/resource_ids.h"
#include "ui/settings_pages.h"

// What the pages' owner-drawn lists and their context menus share.

namespace lumarel {

void failOnDialogError() {
    // Zero is a cancel; anything else is the dialog's own failure.
    if (DWORD error = CommDlgExtendedError()) fail(int32_t(error));
}

bool menuPlace(HWND list, POINT& at) {
    int item = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (item < 0) return false;
    if (at.x != -1 || at.y != -1) return true;
    // From the keyboard: beside the selected item, inside the list.
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&r));
    RECT client{};
    GetClientRect(list, &client);
    at = {r.left + 24, r.bottom < client.bottom ? r.bottom : client.bottom};
    ClientToScreen(list, &at);
    return true;
}

void openContextMenu(HWND window, const char* menu, int defaultItem, POINT at) {
    unique_hmenu loaded(LoadMenuA(settingsResources(), menu));
    HMENU popup = loaded ? GetSubMenu(loaded.get(), 0) : nullptr;
    if (!popup) fail(int32_t(GetLastError() ? GetLastError() : DWORD(kFailAsrt)));
    SetMenuDefaultItem(popup, UINT(defaultItem), FALSE);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
}

bool measureListItem(HWND window, MEASUREITEMSTRUCT& item) {
    if (item.CtlID != IDC_SONG_LIST && item.CtlID != IDC_SAVER_ANIMATIONS && item.CtlID != IDC_SAVER_PICTURES)
        return false;
    // Sent while the dialog is being made: its font is set, its code not yet run.
    WindowDc dc(window);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    SelectObjectScope useFont(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    UINT line = UINT(metrics.tmHeight + 2);
    item.itemHeight = item.CtlID == IDC_SONG_LIST && line < 16 ? 16 : line;
    return true;
}

void drawSaverListItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == UINT(-1)) return;
    char text[2 * MAX_PATH] = {};
    if (SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0) < LRESULT(sizeof text))
        SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    // Picture items hold "display name*file name"; only the name shows.
    std::string_view shown = item.CtlID == IDC_SAVER_PICTURES ? pictureDisplayName(text) : std::string_view(text);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT r = item.rcItem;
    r.left += 2;
    DrawTextA(dc, shown.data(), int(shown.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

}  // namespace lumarel
