#include "base/dialog_helpers.h"

#include <commdlg.h>

#include <cstring>

#include "base/failure.h"
#include "base/global_block.h"
#include "base/handles.h"
#include "base/text.h"

namespace lumarel {

namespace {
constexpr const char* kSavedTextProperty = "DynDlg_TextSave";
}

void showDialogControl(HWND control, bool show) {
    HANDLE saved = GetPropA(control, kSavedTextProperty);
    if (show) {
        if (saved) {
            SetWindowTextA(control, static_cast<const char*>(GlobalLock(saved)));
            GlobalUnlock(saved);
            unique_hglobal taken(RemovePropA(control, kSavedTextProperty));
        }
        ShowWindow(control, SW_SHOW);
        return;
    }
    ShowWindow(control, SW_HIDE);
    if (saved || (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS)) return;
    int length = GetWindowTextLengthA(control);
    StHandle text(length + 1);
    char* bytes = static_cast<char*>(GlobalLock(text.get()));
    GetWindowTextA(control, bytes, length + 1);
    bool hasMnemonic = strchr(bytes, '&') != nullptr;
    GlobalUnlock(text.get());
    if (!hasMnemonic) return;
    if (SetPropA(control, kSavedTextProperty, text.get())) {
        text.release();  // the property owns it now
        SetWindowTextA(control, "");
    }
}

void dialogControlText(HWND control, char* buffer, int size) {
    if (size <= 0) return;
    if (HANDLE saved = GetPropA(control, kSavedTextProperty)) {
        buffer[0] = '\0';
        try {
            boundedCopyN(buffer, size, static_cast<const char*>(GlobalLock(saved)), size - 1);
        } catch (const Failure&) {
        }
        GlobalUnlock(saved);
        return;
    }
    GetWindowTextA(control, buffer, size);
}

void freeSavedControlTexts(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        unique_hglobal saved(RemovePropA(child, kSavedTextProperty));
}

bool chooseFileToOpen(HWND owner, char* buffer, DWORD size, const char* filter) {
    if (size) buffer[0] = '\0';
    OPENFILENAMEA dialog{};
    OSVERSIONINFOA os{sizeof os};
    GetVersionExA(&os);
    bool modern = os.dwPlatformId == VER_PLATFORM_WIN32_NT && os.dwMajorVersion >= 5;
    dialog.lStructSize = modern ? sizeof dialog : OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = size;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&dialog)) return true;
    DWORD error = CommDlgExtendedError();
    if (error == 0) return false;
    fail(int32_t(error));
}

}  // namespace lumarel
