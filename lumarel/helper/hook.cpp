#include "helper/hook.h"

#include <cstdint>

#include "base/handles.h"
#include "base/shell_view.h"
#include "helper/watch_block.h"

using namespace lumarel;

namespace {

// Everything here lives in the process the hook was loaded into (the shell's)
// and is touched only by the hooked thread.
struct HookState {
    unique_handle mapping;
    unique_view view;
    HWND subclassed = nullptr;
    WNDPROC previous = nullptr;
    bool notices = false;  // off once released; the procedure may stay a pass-through
    bool pinned = false;
    HWND mainWindow = nullptr;  // the notice's addressee, found on first use
};
HookState state;

volatile watch::Block* block() {
    if (!state.view) {
        // Opened, never created: without the program's block there is
        // nothing to report to.
        state.mapping.reset(OpenFileMappingA(FILE_MAP_WRITE, FALSE, watch::kBlockName));
        if (!state.mapping) return nullptr;
        state.view.reset(MapViewOfFile(state.mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(watch::Block)));
        if (!state.view) {
            state.mapping.reset();
            return nullptr;
        }
    }
    return static_cast<volatile watch::Block*>(state.view.get());
}

HHOOK blockHook(volatile watch::Block* b) {
    return reinterpret_cast<HHOOK>(static_cast<uintptr_t>(b->hook));
}

// Synchronous, so the main window takes the update region before the paint
// validates it; bounded, so a hung lumarel cannot hang the desktop.
bool sendNotice(HWND main) {
    DWORD_PTR answer;
    return SendMessageTimeoutA(main, watch::kDesktopPaintMessage, 0, 0, SMTO_ABORTIFHUNG, watch::kNoticeTimeoutMs,
                               &answer) != 0;
}

// The main window is looked up again only when the one we know has gone (a
// lumarel started anew): a paint should cost the desktop little more than
// the notice itself. A hung one is not asked twice.
void notifyMainWindow() {
    if (state.mainWindow && (sendNotice(state.mainWindow) || GetLastError() != ERROR_INVALID_WINDOW_HANDLE)) return;
    state.mainWindow = FindWindowA(watch::kMainClass, watch::kMainTitle);
    if (state.mainWindow) sendNotice(state.mainWindow);
}

LRESULT CALLBACK iconViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    volatile watch::Block* b = block();
    if (message == WM_PAINT && state.notices && b && !b->suspended) notifyMainWindow();
    WNDPROC previous = state.previous;
    if (message == WM_NCDESTROY) {
        // The view goes: the next hook call subclasses its successor.
        state.subclassed = nullptr;
        state.previous = nullptr;
        state.notices = false;
    }
    const LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
    if (message == WM_PAINT && b) b->painting = 0;
    return result;
}

// The icon view may call our procedure for as long as it lives, even after
// the hook is gone: the library stays loaded in this process from the first
// subclass on, so no unload can leave it calling freed code.
void pinLibrary() {
    if (state.pinned) return;
    HMODULE self;
    state.pinned = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                      reinterpret_cast<LPCWSTR>(&iconViewProc), &self) != FALSE;
}

void subclassIconView() {
    if (state.subclassed) {
        state.notices = true;  // a pass-through left by a release serves again
        return;
    }
    HWND view = findDesktopIconView();
    if (!view || GetWindowThreadProcessId(view, nullptr) != GetCurrentThreadId()) return;
    pinLibrary();
    // The "W" functions keep the icon view a Unicode window: an "A" subclass
    // would turn it ANSI and lose characters outside the code page.
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&iconViewProc)));
    if (!previous) return;
    state.subclassed = view;
    state.previous = previous;
    state.notices = true;
}

// Puts the previous procedure back only while ours is the current one: a
// later subclass on top of ours still calls us, so we stay a quiet
// pass-through.
void restoreIconView() {
    state.notices = false;
    if (!state.subclassed) return;
    const auto ours = reinterpret_cast<LONG_PTR>(&iconViewProc);
    if (GetWindowLongPtrW(state.subclassed, GWLP_WNDPROC) != ours) return;
    SetWindowLongPtrW(state.subclassed, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state.previous));
    state.subclassed = nullptr;
    state.previous = nullptr;
}

}  // namespace

extern "C" LRESULT CALLBACK HookCallback3(int code, WPARAM wParam, LPARAM lParam) {
    volatile watch::Block* b = block();
    if (!b) return CallNextHookEx(nullptr, code, wParam, lParam);
    HHOOK hook = blockHook(b);
    const LRESULT result = hook ? CallNextHookEx(hook, code, wParam, lParam) : lParam;
    if (b->unhookRequest) {
        restoreIconView();
        if (hook) UnhookWindowsHookEx(hook);
        b->hook = 0;
        b->unhookRequest = 0;
    } else if (hook) {
        subclassIconView();
    }
    return result;
}
