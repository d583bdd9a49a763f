#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/failure.h"
#include "base/message.h"
#include "bulbs/library.h"
#include "engine/bulb_categories.h"
#include "engine/engine_context.h"
#include "engine/flash_state.h"
#include "engine/palette.h"
#include "resources/resource_ids.h"
#include "ui/bulb_factory.h"
#include "ui/bulb_page.h"
#include "ui/settings_pages.h"
#include "ui/sharing.h"

// The bulb list in the middle of the Bulb Factory page: one owner-drawn item
// per listed bulb (its picture, name and description), the "Show" filter, the
// bulb menu and what it offers (edit, remove, send, credits), and adding
// bulbs from a file dialog or by dropping files on the list.

namespace lumarel {

namespace {

constexpr const char* kRemoveQuestion =
    "This will permanently remove the bulb from Lumarel and delete the bulb file on your disk.\r\n\r\n"
    "Are you sure you want to remove it?";
constexpr const char* kRemoveTitle = "Permanently Remove Bulb?";
constexpr const char* kCannotRemoveTitle = "Cannot Remove Bulb";
constexpr const char* kBulbFileFilter = "Bulb Files and GIF Files\0*.BUL;*.GIF\0";
constexpr int kPictureColumn = 32;
constexpr int kPictureLeft = 4;
constexpr int kTextLeft = 41;

HWND bulbList(HWND window) { return GetDlgItem(window, IDC_BULB_LIST); }

int membersOf(const char* category) {
    BulbCategory* c = findCategory(category);
    return c ? int(c->memberCount()) : 0;
}

// The item showing a bulb, or -1.
int itemOfBulb(HWND window, int32_t id) {
    HWND list = bulbList(window);
    int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (int32_t(SendMessageA(list, LB_GETITEMDATA, WPARAM(i), 0)) == id) return i;
    return -1;
}

void selectItem(HWND window, int item) {
    SendMessageA(bulbList(window), LB_SETCURSEL, WPARAM(item), 0);
    BulbObject* bulb = listBulb(window, item);
    bulbPage().current = bulb ? bulb->id() : kNoBulb;
    updateEditButton(window);
}

void fillShowMenu(HMENU show) {
    while (GetMenuItemCount(show) > 0) DeleteMenu(show, 0, MF_BYPOSITION);
    std::vector<CategoryCount> categories;
    for (size_t n = 0; n < categoryCount(); ++n) {
        BulbCategory* c = categoryAt(n);
        categories.push_back({c->name(), int(c->memberCount())});
    }
    for (const FilterItem& item :
         filterMenuItems(bulbCount(), membersOf(kBuiltInCategory), membersOf(kAddOnCategory), categories)) {
        AppendMenuA(show, MF_STRING, UINT_PTR(item.command), item.text.c_str());
        if (item.command == bulbPage().filter) CheckMenuItem(show, UINT(item.command), MF_BYCOMMAND | MF_CHECKED);
    }
}

INT_PTR CALLBACK creditsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* bulb = reinterpret_cast<BulbObject*>(lParam);
        SetWindowTextA(dialog, bulb->name());
        SetDlgItemTextA(dialog, IDC_CREDITS_AUTHOR, bulb->author());
        SetDlgItemTextA(dialog, IDC_CREDITS_COPYRIGHT, bulb->copyright());
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void showCredits(HWND window, BulbObject& bulb) {
    DialogBoxParamA(settingsResources(), "Copyright", window, creditsProc, reinterpret_cast<LPARAM>(&bulb));
}

// Removes a bulb for good: its file first, so that a file that cannot go
// leaves the bulb, its item and the arrangement as they were.
void removeBulb(HWND window, BulbObject& bulb) {
    if (showMessage(window, kRemoveQuestion, kRemoveTitle, MB_ICONWARNING | MB_YESNO) != IDYES) return;
    bulb.dropCache();
    if (!bulb.deleteFile()) {
        std::string text = "Sorry, the bulb file \"" + bulb.filePath() +
                           "\" cannot be deleted. It may be in use, or you may not be allowed to change it.\r\n\r\n"
                           "The bulb stays in Lumarel.";
        showMessage(window, text.c_str(), kCannotRemoveTitle, MB_ICONWARNING | MB_OK);
        return;
    }
    int32_t id = bulb.id();
    int item = itemOfBulb(window, id);
    // Off the screen before the kind goes, so no world draws a deleted kind.
    if (removeKindEverywhere(flashState().arrangement, id)) arrangementChanged(window);
    delete &bulb;
    if (item >= 0) SendMessageA(bulbList(window), LB_DELETESTRING, WPARAM(item), 0);
    int next = selectionAfterRemoval(item, int(SendMessageA(bulbList(window), LB_GETCOUNT, 0, 0)));
    if (next < 0)
        applyBulbFilter(window, kShowAllCommand);
    else
        selectItem(window, next);
    fillSharingList(window);
}

}  // namespace

BulbFlags bulbFlags(BulbObject& bulb) {
    return {bulb.editable(), bulb.viewable(), bulb.removable(), bulb.sendable()};
}

BulbObject* listBulb(HWND window, int item) {
    if (item < 0) return nullptr;
    LRESULT id = SendMessageA(bulbList(window), LB_GETITEMDATA, WPARAM(item), 0);
    return id == LB_ERR ? nullptr : findBulbById(int32_t(id));
}

void initBulbList(HWND window) {
    HWND list = bulbList(window);
    RECT client;
    GetClientRect(list, &client);
    // Four bulbs show at a time.
    SendMessageA(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(std::max(1L, client.bottom / 4), 0));
    DragAcceptFiles(list, TRUE);
    fillBulbList(window);
}

void fillBulbList(HWND window) {
    HWND list = bulbList(window);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    int select = -1;
    for (BulbObject* bulb = firstBulb(); bulb; bulb = bulb->next()) {
        if (!bulb->listVisible()) continue;
        int item = int(SendMessageA(list, LB_ADDSTRING, 0, LPARAM(bulb->id())));
        if (bulb->id() == bulbPage().current && select < 0) select = item;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    selectItem(window, select >= 0 ? select : (SendMessageA(list, LB_GETCOUNT, 0, 0) > 0 ? 0 : -1));
}

void applyBulbFilter(HWND window, int command) {
    BulbCategory* category = nullptr;
    if (command == kShowBuiltInCommand)
        category = findCategory(kBuiltInCategory);
    else if (command == kShowAddOnCommand)
        category = findCategory(kAddOnCategory);
    else if (command >= kShowCategoryCommand)
        category = categoryAt(size_t(command - kShowCategoryCommand));
    if (command != kShowAllCommand && !category) return;
    for (BulbObject* bulb = firstBulb(); bulb; bulb = bulb->next())
        bulb->setListVisible(command == kShowAllCommand || category->isMember(bulb->id()));
    bulbPage().filter = command;
    bulbPage().current = kNoBulb;  // the first item is selected
    fillBulbList(window);
}

void selectBulbInList(HWND window, int32_t id) {
    BulbObject* bulb = findBulbById(id);
    if (!bulb) return;
    if (!bulb->listVisible() || itemOfBulb(window, id) < 0) applyBulbFilter(window, kShowAllCommand);
    selectItem(window, itemOfBulb(window, id));
}

void updateEditButton(HWND window) {
    BulbObject* bulb = listBulb(window, int(SendMessageA(bulbList(window), LB_GETCURSEL, 0, 0)));
    EnableWindow(GetDlgItem(window, IDC_EDIT_BULB), bulb && canEditBulb(bulbFlags(*bulb)));
}

void drawBulbListItem(const DRAWITEMSTRUCT& item) {
    if (int(item.itemID) < 0) return;
    BulbObject* bulb = findBulbById(int32_t(item.itemData));
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool selected = item.itemState & ODS_SELECTED;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (!bulb) return;
    {
        SelectPaletteScope palette(dc, programPalette(bulbContext()));
        RECT picture = bulb->frameRect(kPosList, 0, 0);
        int pw = picture.right - picture.left, ph = picture.bottom - picture.top;
        bulb->drawListPicture(r.left + kPictureLeft + (kPictureColumn - pw) / 2, r.top + (r.bottom - r.top - ph) / 2,
                              dc);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text{r.left + kTextLeft, r.top + 2, r.right - 2, r.bottom - 1};
    {
        SelectObjectScope bold(dc, bulbPage().boldFont.get());
        RECT measure = text;
        DrawTextA(dc, bulb->name(), -1, &measure, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        DrawTextA(dc, bulb->name(), -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        text.top = measure.bottom;
    }
    SelectObjectScope normal(dc, bulbPage().normalFont.get());
    DrawTextA(dc, bulb->description(), -1, &text, DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void openBulbMenu(HWND window, MenuSource source, BulbObject* bulb, POINT screen) {
    BulbMenuPlan plan = planBulbMenu(bulb ? source : MenuSource::ListEmptyPart, bulb ? bulbFlags(*bulb) : BulbFlags{});
    if (!bulb && !plan.show) return;
    unique_hmenu menu(LoadMenuA(settingsResources(), "BulbMenu"));
    check(bool(menu));
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (plan.show) {
        fillShowMenu(GetSubMenu(popup, 0));
    } else {
        DeleteMenu(popup, 0, MF_BYPOSITION);  // "Show"
        DeleteMenu(popup, 0, MF_BYPOSITION);  // and its separator
    }
    if (!bulb) {
        while (GetMenuItemCount(popup) > 1) DeleteMenu(popup, 1, MF_BYPOSITION);
    } else {
        if (!plan.edit) DeleteMenu(popup, IDM_BULB_EDIT, MF_BYCOMMAND);
        if (plan.editCategoriesOnly)
            ModifyMenuA(popup, IDM_BULB_EDIT, MF_BYCOMMAND | MF_STRING, IDM_BULB_EDIT, "Edit Categories...");
        if (plan.edit) SetMenuDefaultItem(popup, IDM_BULB_EDIT, FALSE);
        if (!plan.remove) DeleteMenu(popup, IDM_BULB_REMOVE, MF_BYCOMMAND);
        if (!plan.send) DeleteMenu(popup, IDM_BULB_SEND, MF_BYCOMMAND);
        if (!plan.credits) DeleteMenu(popup, IDM_BULB_CREDITS, MF_BYCOMMAND);
    }
    int32_t id = bulb ? bulb->id() : kNoBulb;
    int command = int(TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.x, screen.y,
                                       window, nullptr));
    if (command) runBulbMenuCommand(window, command, id);
}

void runBulbMenuCommand(HWND window, int command, int32_t id) {
    if (command == kShowAllCommand || command == kShowBuiltInCommand || command == kShowAddOnCommand ||
        command >= kShowCategoryCommand) {
        applyBulbFilter(window, command);
        return;
    }
    BulbObject* bulb = findBulbById(id);
    if (!bulb) return;
    switch (command) {
    case IDM_BULB_EDIT: editBulb(window, id); break;
    case IDM_BULB_REMOVE:
        if (bulb->removable()) removeBulb(window, *bulb);
        break;
    case IDM_BULB_SEND:
        if (bulb->sendable()) openSharingDialog(window, bulb);
        break;
    case IDM_BULB_CREDITS: showCredits(window, *bulb); break;
    }
}

void editBulb(HWND window, int32_t id) {
    if (!findBulbById(id)) return;
    // The editor is modal; what it saved is shown when it returns.
    openBulbFactory(window, id);
}

void addBulbFromFile(HWND window) {
    char path[MAX_PATH] = {};
    const SettingsHost& host = settingsHost();
    if (!host.chooseFile || !host.chooseFile(window, path, sizeof path, kBulbFileFilter)) return;
    importIntoLibrary(path);
}

void importDroppedBulb(HWND, HDROP drop) {
    char path[MAX_PATH] = {};
    UINT length = DragQueryFileA(drop, 0, path, sizeof path);
    DragFinish(drop);
    if (length > 0 && length < sizeof path) importIntoLibrary(path);
}

}  // namespace lumarel
