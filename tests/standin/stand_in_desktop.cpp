// A stand-in for the shell's desktop, for the desktop watcher's tests: the
// chain "Progman" -> "SHELLDLL_DefView" -> "SysListView32" in a process of
// its own, as the shell has it. The icon view is a Unicode window whose
// paints record whether lumarel was told first (the shared painting byte is
// already 1) and whether the view's procedure is its own.
//
//   stand_in_desktop [ms]   lives ms (default 60000) or until "Progman" is closed
//
// Questions, sent to the "Progman" window (the answer is the result):
//   WM_APP+0  paints of the icon view so far
//   WM_APP+1  paints that found the painting byte set (the notice came first)
//   WM_APP+2  1 when the view's window procedure is its own now
//   WM_APP+3  1 while the view is a Unicode window
//   WM_APP+4  repaints the view in the colour wParam (RGB); answers the paints so far
//   WM_APP+5  puts a procedure of its own on top of the view's current one
//   WM_APP+6  the icon view's handle
//   WM_APP+7  invalidates the view and paints it before answering
#include <windows.h>

#include <cstdlib>

namespace {

constexpr const char* kBlockName = "DesktopWatcherDLLLumarelVer3";
constexpr int kPaintingByte = 5;

HWND view = nullptr;
LONG paints = 0, noticed = 0;
COLORREF colour = RGB(0, 96, 128);
WNDPROC underWrapper = nullptr;

bool paintingByteSet() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kBlockName);
    if (!mapping) return false;
    bool set = false;
    if (auto* bytes = static_cast<const volatile unsigned char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 8))) {
        set = bytes[kPaintingByte] == 1;
        UnmapViewOfFile(const_cast<unsigned char*>(bytes));
    }
    CloseHandle(mapping);
    return set;
}

LRESULT CALLBACK viewProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
        ++paints;
        if (paintingByteSet()) ++noticed;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(w, &ps);
        return 0;
    }
    if (m == WM_ERASEBKGND) return 1;
    return DefWindowProcW(w, m, wp, lp);
}

LRESULT CALLBACK wrapperProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(underWrapper, w, m, wp, lp);
}

LRESULT answer(UINT question, WPARAM wp) {
    switch (question) {
    case 0: return paints;
    case 1: return noticed;
    case 2: return GetWindowLongPtrW(view, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&viewProc);
    case 3: return IsWindowUnicode(view) ? 1 : 0;
    case 4:
        colour = COLORREF(wp);
        InvalidateRect(view, nullptr, TRUE);
        return paints;
    case 5:
        underWrapper = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&wrapperProc)));
        return underWrapper != nullptr;
    case 6: return reinterpret_cast<LRESULT>(view);
    case 7:
        InvalidateRect(view, nullptr, TRUE);
        UpdateWindow(view);
        return paints;
    }
    return -1;
}

LRESULT CALLBACK progmanProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m >= WM_APP && m <= WM_APP + 7) return answer(m - WM_APP, wp);
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(w, m, wp, lp);
}

void registerClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSW c{};
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = name;
    RegisterClassW(&c);
}

}  // namespace

int main(int argc, char** argv) {
    const UINT lifetime = argc > 1 ? UINT(strtoul(argv[1], nullptr, 10)) : 60000;
    registerClass(L"Progman", progmanProc);
    registerClass(L"SHELLDLL_DefView", DefWindowProcW);
    registerClass(L"SysListView32", viewProc);
    const int width = 320, height = 240;
    HWND progman = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP | WS_VISIBLE, 0, 0,
                                   width, height, nullptr, nullptr, nullptr, nullptr);
    HWND defView = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, progman,
                                   nullptr, nullptr, nullptr);
    view = CreateWindowExW(0, L"SysListView32", L"FolderView", WS_CHILD | WS_VISIBLE, 0, 0, width, height, defView,
                           nullptr, nullptr, nullptr);
    if (!view) return 1;
    SetTimer(nullptr, 0, lifetime, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd) break;
        DispatchMessageW(&msg);
    }
    return 0;
}
