#include "ui/sharing.h"

#include <shellapi.h>

#include "base/handles.h"
#include "base/message.h"
#include "base/reg_key.h"
#include "bulbs/bulb_sending.h"
#include "engine/bulb_object.h"
#include "resources/resource_ids.h"
#include "ui/settings_store.h"

namespace lumarel {

namespace {

// The list keeps bulb ids, not pointers: a bulb removed meanwhile is then
// simply not found.
BulbObject* listedBulb(HWND list, int index) {
    if (index < 0) return nullptr;
    LRESULT id = SendMessageA(list, LB_GETITEMDATA, WPARAM(index), 0);
    return id == LB_ERR ? nullptr : findBulbById(int32_t(id));
}

BulbObject* selectedBulb(HWND page) {
    HWND list = GetDlgItem(page, IDC_SHARING_LIST);
    return listedBulb(list, int(SendMessageA(list, LB_GETCURSEL, 0, 0)));
}

void sendSelected(HWND page) {
    BulbObject* bulb = selectedBulb(page);
    if (bulb && bulb->sendable()) openSharingDialog(page, bulb);
}

void onDoubleClick(HWND page) {
    BulbObject* bulb = selectedBulb(page);
    if (!bulb) return;
    if (bulb->sendable())
        openSharingDialog(page, bulb);
    else
        showMessage(page, "That bulb file has already been sent to Quorvane.", "Cannot Send Bulb",
                    MB_OK | MB_ICONWARNING);
}

}  // namespace

void fillSharingList(HWND page) {
    HWND list = GetDlgItem(page, IDC_SHARING_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (BulbObject* bulb = firstBulb(); bulb; bulb = bulb->next()) {
        if (!bulb->sendable()) continue;
        LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bulb->name()));
        if (at >= 0) SendMessageA(list, LB_SETITEMDATA, WPARAM(at), LPARAM(bulb->id()));
    }
    updateSharingStatus(page);
}

void updateSharingStatus(HWND page) {
    HWND list = GetDlgItem(page, IDC_SHARING_LIST);
    bool anyListed = SendMessageA(list, LB_GETCOUNT, 0, 0) > 0;
    const char* status = anyListed ? kSharingPickText : kSharingNoBulbsText;
    bool canSend = false;
    int selected = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (selected >= 0) {
        BulbObject* bulb = listedBulb(list, selected);
        canSend = bulb && bulb->sendable();
        if (!canSend) status = kSharingAlreadySentText;
    }
    SetDlgItemTextA(page, IDC_SHARING_STATUS, status);
    EnableWindow(GetDlgItem(page, IDC_SHARING_SEND), canSend);
}

bool onSharingCommand(HWND page, int id, int notice) {
    switch (id) {
    case IDC_SHARING_LIST:
        if (notice == LBN_SELCHANGE) updateSharingStatus(page);
        if (notice == LBN_DBLCLK) onDoubleClick(page);
        return true;
    case IDC_SHARING_SEND:
    case IDM_SEND_BULB:
        sendSelected(page);
        return true;
    case IDC_SHARING_LINK:
        if (notice == STN_CLICKED) openLinkLabel(GetDlgItem(page, id));
        return true;
    }
    return false;
}

std::string bulbServerSetting() {
    char server[260] = {};
    RegKey key(HKEY_CURRENT_USER, kSettingsKey);
    if (key.readString(kBulbServerSetting, server, sizeof server) && server[0]) return server;
    return kDefaultBulbServer;
}

// --- link label ---------------------------------------------------------------

void drawLinkLabel(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    char text[512] = {};
    GetWindowTextA(item.hwndItem, text, sizeof text);
    std::optional<LinkLabelText> parts = splitLinkLabel(text);
    if (!parts) return;

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
    LOGFONTA underlined{};
    GetObjectA(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof underlined, &underlined);
    underlined.lfUnderline = TRUE;
    unique_hfont linkFont(CreateFontIndirectA(&underlined));
    SelectObjectScope plain(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);

    int x = item.rcItem.left;
    auto write = [&](const std::string& piece, COLORREF colour) {
        SetTextColor(dc, colour);
        TextOutA(dc, x, item.rcItem.top, piece.c_str(), int(piece.size()));
        SIZE size{};
        GetTextExtentPoint32A(dc, piece.c_str(), int(piece.size()), &size);
        x += size.cx;
    };
    write(parts->before, GetSysColor(COLOR_WINDOWTEXT));
    {
        SelectObjectScope link(dc, linkFont.get());
        write(parts->link, (item.itemState & ODS_SELECTED) ? RGB(204, 0, 0) : RGB(0, 0, 204));
    }
    write(parts->after, GetSysColor(COLOR_WINDOWTEXT));
}

bool openLinkLabel(HWND label) {
    char text[512] = {};
    GetWindowTextA(label, text, sizeof text);
    std::optional<LinkLabelText> parts = splitLinkLabel(text);
    if (!parts) return false;
    HINSTANCE result = ShellExecuteA(GetDesktopWindow(), "open", parts->target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace lumarel
