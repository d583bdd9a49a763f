// The saver's own part: it draws nothing itself but hands its window to
// lumarel, running or started for it, and its configure button to lumarel's
// settings window.
#include <charconv>

#include "lumarel_link.h"
#include "saver_ids.h"
#include "saver_library.h"

namespace saverstub {
namespace {

constexpr UINT kHandOverMessage = WM_APP + 1;  // posted to ourselves once the window shows

// The one window this saver hands over, and whether lumarel came for it.
struct HandOver {
    HWND window = nullptr;
    bool cantFind = false;
};
HandOver handOver;

void handOverWindow(HWND window) {
    bool preview = isPreview();
    // A full-screen saver reuses a running lumarel; a preview always gets one
    // of its own.
    if (!preview && postToLumarel(false, kSaverWindowMessage, reinterpret_cast<WPARAM>(window), 0)) return;
    char parameters[32] = {preview ? 'p' : 's', ' '};
    auto written = std::to_chars(parameters + 2, parameters + sizeof parameters - 1, reinterpret_cast<UINT_PTR>(window));
    *written.ptr = 0;
    if (!startLumarel(parameters, preview)) {
        handOver.cantFind = true;
        InvalidateRect(window, nullptr, TRUE);
    }
}

void forgetWindow() {
    HWND window = handOver.window;
    handOver.window = nullptr;  // first: the stop may dispatch messages back to us
    stopLumarel(isPreview(), window);
}

void paintCantFind(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT text;
    GetClientRect(window, &text);
    text.left += 8;
    text.top += 8;
    text.right -= 8;
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, kCantFindText, -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    EndPaint(window, &paint);
}

LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        handOver.window = window;
        PostMessageA(window, kHandOverMessage, 0, 0);
        break;
    case kHandOverMessage:
        handOverWindow(window);
        return 0;
    case WM_PAINT:
        if (!handOver.cantFind) break;
        paintCantFind(window);
        return 0;
    case WM_DESTROY:
        if (handOver.window == window) forgetWindow();
        break;
    case WM_ACTIVATEAPP:
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
        // lumarel taking the activation must not end the saver.
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        break;
    }
    return DefScreenSaverProc(window, message, wParam, lParam);
}

}  // namespace
}  // namespace saverstub

using namespace saverstub;

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = onMessage(window, message, wParam, lParam);
    // A window destroyed without our seeing it go still stops lumarel.
    if (handOver.window && !IsWindow(handOver.window)) forgetWindow();
    return result;
}

BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // lumarel's settings window is the configuration; this dialog only
        // opens it.
        if (!postToLumarel(false, WM_COMMAND, kSettingsCommand, -1)) startLumarel("settings", false);
        EndDialog(dialog, kConfigureResult);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDC_CONFIGURE_OTHER) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

BOOL WINAPI RegisterDialogClasses(HANDLE) { return TRUE; }
