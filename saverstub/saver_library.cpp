#include "saver_library.h"

#include <cstdint>
#include <cstdlib>

#include "saver_ids.h"
#include "switches.h"

namespace saverstub {
namespace {

constexpr char kWindowClass[] = "WindowsScreenSaverClass";
constexpr int kMoveSlack = 2;  // pixels a resting mouse may jitter

using VerifyPassword = BOOL(WINAPI*)(HWND);
using ChangePassword = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);

// The library's one state: how this run was asked for and what ends it.
struct Library {
    HINSTANCE instance = nullptr;
    bool preview = false;
    bool havePoint = false;  // the first mouse report only says where the pointer is
    POINT firstPoint{};
    bool closing = false;
    VerifyPassword verifyPassword = nullptr;  // 9x with a password only
};
Library library;

bool isWindows9x() { return (GetVersion() & 0x80000000u) != 0; }

// 9x keeps the password check in the control panel's password module; NT
// locks the workstation itself, so there is nothing to load there.
void loadPasswordCheck() {
    if (!isWindows9x()) return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    DWORD use = 0, type = 0, size = sizeof use;
    bool wanted = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, &type, reinterpret_cast<BYTE*>(&use),
                                   &size) == ERROR_SUCCESS &&
                  type == REG_DWORD && use != 0;
    RegCloseKey(key);
    if (!wanted) return;
    if (HMODULE module = LoadLibraryA("password.cpl"))
        library.verifyPassword =
            reinterpret_cast<VerifyPassword>(reinterpret_cast<void*>(GetProcAddress(module, "VerifyScreenSavePwd")));
}

void changePassword(HWND parent) {
    if (!isWindows9x()) return;
    HMODULE module = LoadLibraryA("mpr.dll");
    if (!module) return;
    auto change =
        reinterpret_cast<ChangePassword>(reinterpret_cast<void*>(GetProcAddress(module, "PwdChangePasswordA")));
    if (change) change("SCRSAVE", parent, 0, nullptr);
    FreeLibrary(module);
}

void askToClose(HWND window) {
    if (!library.closing) {
        library.closing = true;
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

bool isRealMove(LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!library.havePoint) {
        library.havePoint = true;
        library.firstPoint = p;
        return false;
    }
    return abs(p.x - library.firstPoint.x) > kMoveSlack || abs(p.y - library.firstPoint.y) > kMoveSlack;
}

// A full-screen saver ends when asked to close, unless 9x's password check
// says no; the next move then counts from where the pointer is.
void onClose(HWND window) {
    if (!library.preview && library.verifyPassword && !library.verifyPassword(window)) {
        library.closing = false;
        library.havePoint = false;
        return;
    }
    DestroyWindow(window);
}

bool registerWindowClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ScreenSaverProc;
    wc.hInstance = library.instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kWindowClass;
    return RegisterClassA(&wc) != 0;
}

int runMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

int runSaver(HWND parent) {
    library.preview = parent != nullptr;
    if (!registerWindowClass()) return 0;
    char title[64] = {};
    LoadStringA(library.instance, IDS_APP_NAME, title, sizeof title);
    HWND window;
    if (library.preview) {
        // A child filling the host: Windows destroys it with the host.
        RECT host;
        if (!IsWindow(parent) || !GetClientRect(parent, &host)) return 0;
        window = CreateWindowExA(0, kWindowClass, title, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, host.right,
                                 host.bottom, parent, nullptr, library.instance, nullptr);
    } else {
        loadPasswordCheck();
        window = CreateWindowExA(WS_EX_TOPMOST, kWindowClass, title, WS_POPUP | WS_VISIBLE, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                 library.instance, nullptr);
    }
    if (!window) return 0;
    if (!library.preview) SetForegroundWindow(window);
    return runMessageLoop();
}

// Input that a full-screen saver ends on, and that a preview ignores.
bool isInput(UINT message) {
    switch (message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: case WM_CHAR: case WM_SYSCHAR:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONUP:
    case WM_MBUTTONUP: case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

LRESULT fullScreenMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_MOUSEMOVE:
        if (isRealMove(lParam)) askToClose(window);
        return 0;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_MOUSEWHEEL:
        askToClose(window);
        return 0;
    case WM_SYSCOMMAND:
        // No second saver, no close from the system menu: input ends this one.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_CLOSE) return FALSE;
        break;
    default:
        if (isInput(message)) return 0;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool isPreview() { return library.preview; }

}  // namespace saverstub

using namespace saverstub;

LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        onClose(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    if (library.preview) return isInput(message) ? 0 : DefWindowProcA(window, message, wParam, lParam);
    return fullScreenMessage(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    library.instance = instance;
    SaverSwitches switches = parseSwitches(GetCommandLineA(), UINTPTR_MAX);
    HWND named = reinterpret_cast<HWND>(static_cast<UINT_PTR>(switches.window));
    switch (switches.action) {
    case SaverAction::Run:
        return runSaver(nullptr);
    case SaverAction::Preview:
        return IsWindow(named) ? runSaver(named) : 0;
    case SaverAction::Configure:
        if (!RegisterDialogClasses(instance)) return 0;
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONFIGURE), named ? named : GetForegroundWindow(),
                        reinterpret_cast<DLGPROC>(ScreenSaverConfigureDialog), 0);
        return 0;
    case SaverAction::ChangePassword:
        if (IsWindow(named)) changePassword(named);
        return 0;
    case SaverAction::Nothing:
        break;
    }
    return 0;
}
