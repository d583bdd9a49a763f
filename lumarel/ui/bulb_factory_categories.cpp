// The editor's category list: an owner-drawn list box whose items carry their
// check state as item data (1 checked), toggled by the space bar or a click on
// the check box; and the New Category question.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "base/failure.h"
#include "engine/bulb_categories.h"
#include "resources/resource_ids.h"
#include "ui/bulb_editor.h"
#include "ui/bulb_factory_state.h"

namespace lumarel {

namespace {

constexpr int kItemHeight = 16;
constexpr int kBoxLeft = 5, kBoxRight = 16, kBoxTop = 3;
constexpr int kTextLeft = 23, kHighlightLeft = 21;
constexpr int kClickLeft = 4, kClickRight = 17;

HWND categoryList(HWND dialog) { return GetDlgItem(dialog, IDC_BULB_CATEGORIES); }

void toggle(HWND list, int item) {
    if (item < 0 || item >= int(SendMessageA(list, LB_GETCOUNT, 0, 0))) return;
    LRESULT checked = SendMessageA(list, LB_GETITEMDATA, WPARAM(item), 0);
    SendMessageA(list, LB_SETITEMDATA, WPARAM(item), checked ? 0 : 1);
    RECT r;
    if (SendMessageA(list, LB_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(list, &r, FALSE);
}

LRESULT CALLBACK categoryListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = factory().categoryProc;
    switch (message) {
    case WM_CHAR:
        if (wParam == ' ') {
            toggle(list, int(SendMessageA(list, LB_GETCURSEL, 0, 0)));
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        LRESULT result = CallWindowProcA(original, list, message, wParam, lParam);
        int x = GET_X_LPARAM(lParam);
        if (x >= kClickLeft && x <= kClickRight) {
            POINT at{x, GET_Y_LPARAM(lParam)};
            ClientToScreen(list, &at);
            toggle(list, LBItemFromPt(list, at, FALSE));
        }
        return result;
    }
    }
    return CallWindowProcA(original, list, message, wParam, lParam);
}

void drawCheckBox(HDC dc, int left, int top, bool checked) {
    RECT box{left + kBoxLeft, top + kBoxTop, left + kBoxRight, top + kBoxTop + (kBoxRight - kBoxLeft)};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!checked) return;
    // Three short strokes, a tick two pixels thick.
    SelectObjectScope pen(dc, GetStockObject(BLACK_PEN));
    int x = box.left + 2, y = box.top + 5;
    for (int i = 0; i < 3; ++i) {
        MoveToEx(dc, x, y + i, nullptr);
        LineTo(dc, x + 2, y + 2 + i);
        LineTo(dc, x + 7, y - 3 + i);
    }
}

std::string itemText(HWND list, int item) {
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, WPARAM(item), 0);
    if (length <= 0) return {};
    std::string text(size_t(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, WPARAM(item), reinterpret_cast<LPARAM>(text.data()));
    text.resize(strlen(text.c_str()));
    return text;
}

int addItem(HWND list, const std::string& name, bool checked) {
    LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (item >= 0) SendMessageA(list, LB_SETITEMDATA, WPARAM(item), checked ? 1 : 0);
    return int(item);
}

// --- New Category ------------------------------------------------------------

std::string typedName(HWND dialog) {
    char text[kNewCategoryLimit + 2] = {};
    GetDlgItemTextA(dialog, IDC_NEW_CATEGORY_NAME, text, sizeof text);
    return newCategoryName(text);
}

void onNewCategoryOk(HWND dialog) {
    std::string name = typedName(dialog);
    if (name.empty()) return;
    if (!findCategory(name.c_str())) {
        try {
            findOrCreateCategory(name.c_str());
            HWND list = categoryList(GetParent(dialog));
            int item = addItem(list, name, true);
            SendMessageA(list, LB_SETCURSEL, WPARAM(item), 0);
        } catch (const Failure&) {
        }
    }
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK newCategoryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        if (factoryHost().centreWindow) factoryHost().centreWindow(dialog);
        SendDlgItemMessageA(dialog, IDC_NEW_CATEGORY_NAME, EM_LIMITTEXT, kNewCategoryLimit, 0);
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        SetFocus(GetDlgItem(dialog, IDC_NEW_CATEGORY_NAME));
        return FALSE;  // the focus is set
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_NEW_CATEGORY_NAME:
            if (HIWORD(wParam) == EN_CHANGE) EnableWindow(GetDlgItem(dialog, IDOK), !typedName(dialog).empty());
            return TRUE;
        case IDOK: onNewCategoryOk(dialog); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

void fillCategoryList(HWND dialog) {
    FactoryState& s = factory();
    HWND list = categoryList(dialog);
    s.categoryProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(categoryListProc)));
    for (size_t n = 0; BulbCategory* category = categoryAt(n); ++n)
        if (category->name()[0] != '_') addItem(list, category->name(), category->isMember(s.key));
}

void measureCategoryItem(MEASUREITEMSTRUCT& item) { item.itemHeight = kItemHeight; }

void drawCategoryItem(const DRAWITEMSTRUCT& item) {
    if (int(item.itemID) < 0) return;
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    std::string name = itemText(item.hwndItem, int(item.itemID));
    SelectObjectScope font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32A(dc, name.c_str(), int(name.size()), &extent);
    bool selected = item.itemState & ODS_SELECTED;
    if (selected) {
        RECT highlight{r.left + kHighlightLeft, r.top, std::min<LONG>(r.right, r.left + extent.cx + 26), r.bottom};
        FillRect(dc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    drawCheckBox(dc, r.left, r.top, item.itemData != 0);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text{r.left + kTextLeft, r.top, r.right, r.bottom};
    // Long names from other bulb files are cut at the list's edge.
    DrawTextA(dc, name.c_str(), int(name.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void askNewCategory(HWND dialog) {
    DialogBoxParamA(factoryResources(), "NEWCATEGORY", dialog, newCategoryProc, 0);
}

std::string checkedCategoryText(HWND dialog) {
    HWND list = categoryList(dialog);
    std::vector<CategoryItem> items;
    int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        items.push_back({itemText(list, i), SendMessageA(list, LB_GETITEMDATA, WPARAM(i), 0) != 0});
    return categoryListText(items);
}

}  // namespace lumarel
