// The desktop watcher's cost to the shell's desktop thread, as ratios to a
// reference measured in the same run:
//   1. a thread with the desktop's window chain (a Unicode icon view, as
//      the shell's) drains 100,000 posted messages, hooked by the watcher
//      against unhooked, and against a bare hook that only passes each
//      message on (what any hook costs on this system);
//   2. the stand-in desktop (another process) repaints its icon view while
//      hooked, against unhooked; the difference, the notice's delay, is set
//      against one cross-process SendMessage.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../bench_timing.h"
#include "frame/desktop_watcher.h"
#include "helper/watch_block.h"

using namespace lumarel;

namespace {

using bench::median;
using bench::now;
using bench::pump;

DesktopWatcher* watcher = nullptr;
HWND noticedView = nullptr;

// Takes the notice as the frame does: the painting byte, and the view's
// update region read across processes and invalidated again.
LRESULT CALLBACK mainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == watch::kDesktopPaintMessage) {
        if (watcher) watcher->notePainting();
        if (HRGN update = CreateRectRgn(0, 0, 0, 0)) {
            GetUpdateRgn(noticedView, update, FALSE);
            InvalidateRgn(noticedView, update, TRUE);
            DeleteObject(update);
        }
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

// --- 1. draining posted messages on a thread with the desktop chain

constexpr int kMessages = 100000;
constexpr int kBatch = 5000;  // below the 10,000 messages a queue holds

struct DrainThread {
    HANDLE thread = nullptr;
    DWORD id = 0;
    HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE go = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWND progman = nullptr, view = nullptr;
    double drainMs = 0;
    bool quit = false;

    static DWORD WINAPI run(void* self) { return static_cast<DrainThread*>(self)->body(); }
    DWORD body() {
        progman = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP, 0, 0, 64, 64, nullptr,
                                  nullptr, nullptr, nullptr);
        HWND defView = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD, 0, 0, 64, 64, progman, nullptr, nullptr,
                                       nullptr);
        view = CreateWindowExW(0, L"SysListView32", L"", WS_CHILD, 0, 0, 64, 64, defView, nullptr, nullptr, nullptr);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        SetEvent(ready);
        for (;;) {
            // Wait for the go sign while still serving our queue (the hook's
            // first message arrives here).
            while (MsgWaitForMultipleObjects(1, &go, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) pump();
            if (quit) break;
            drainMs = 0;
            for (int sent = 0; sent < kMessages; sent += kBatch) {
                for (int i = 0; i < kBatch; ++i) PostMessageW(view, WM_APP + 1, i, 0);
                const double begin = now();
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
                drainMs += now() - begin;
            }
            SetEvent(done);
        }
        DestroyWindow(progman);
        return 0;
    }
    double measure() {
        SetEvent(go);
        while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) pump();
        return drainMs;
    }
};

void registerClass(const char* name, WNDPROC proc) {
    WNDCLASSA c{};
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = name;
    RegisterClassA(&c);
}

void registerClassW(const wchar_t* name) {
    WNDCLASSW c{};
    c.lpfnWndProc = DefWindowProcW;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = name;
    RegisterClassW(&c);
}

HHOOK bareHook = nullptr;
LRESULT CALLBACK passOn(int code, WPARAM wp, LPARAM lp) { return CallNextHookEx(bareHook, code, wp, lp); }

// Waits, handling messages, until the condition holds (at most 10 s).
template <typename Condition>
bool waitFor(Condition condition) {
    const DWORD begin = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - begin > 10000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pump();
    }
    return true;
}

void benchDrain() {
    registerClassW(L"Progman");
    registerClassW(L"SHELLDLL_DefView");
    registerClassW(L"SysListView32");
    DrainThread drain;
    drain.thread = CreateThread(nullptr, 0, &DrainThread::run, &drain, 0, &drain.id);
    WaitForSingleObject(drain.ready, INFINITE);
    std::vector<double> plain, bare, hooked;
    for (int round = 0; round < 5; ++round) {
        plain.push_back(drain.measure());
        bareHook = SetWindowsHookExA(WH_GETMESSAGE, passOn, nullptr, drain.id);
        bare.push_back(drain.measure());
        UnhookWindowsHookEx(bareHook);
        const LONG_PTR unhooked = GetWindowLongPtrW(drain.view, GWLP_WNDPROC);
        DesktopWatcher w;
        w.start();
        if (!w.hookHandle() || !waitFor([&] { return GetWindowLongPtrW(drain.view, GWLP_WNDPROC) != unhooked; })) {
            printf("drain: the watcher did not hook the thread\n");
            break;
        }
        hooked.push_back(drain.measure());
        w.release();
    }
    drain.quit = true;
    SetEvent(drain.go);
    WaitForSingleObject(drain.thread, 10000);
    CloseHandle(drain.thread);
    const double p = median(plain), b = median(bare), h = median(hooked);
    printf("drain %d posted messages (medians of %zu): unhooked %.1f ms, a bare hook %.1f ms, the watcher's hook "
           "%.1f ms\n",
           kMessages, hooked.size(), p, b, h);
    printf("  hooked against unhooked: %.2fx (target at most 1.25x); against the bare hook: %.2fx\n",
           p > 0 ? h / p : 0, b > 0 ? h / b : 0);
}

// --- 2. the notice's delay to a paint of the stand-in desktop

void benchNotice() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string command(path);
    command = "\"" + command.substr(0, command.find_last_of('\\') + 1) + "stand_in_desktop.exe\" 120000";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        printf("notice: no stand-in desktop\n");
        return;
    }
    HWND progman = nullptr;
    waitFor([&] { return (progman = FindWindowA("Progman", "Program Manager")) != nullptr; });
    registerClass(watch::kMainClass, mainProc);
    DWORD_PTR view = 0;
    SendMessageTimeoutA(progman, WM_APP + 6, 0, 0, SMTO_NORMAL, 5000, &view);
    noticedView = reinterpret_cast<HWND>(view);
    HWND main = CreateWindowExA(0, watch::kMainClass, watch::kMainTitle, WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
    auto timed = [&](UINT question, int times) {
        std::vector<double> each;
        for (int i = 0; i < times; ++i) {
            const double begin = now();
            DWORD_PTR answer;
            SendMessageTimeoutA(progman, WM_APP + question, 0, 0, SMTO_NORMAL, 5000, &answer);
            each.push_back(now() - begin);
        }
        return median(each);
    };
    constexpr UINT kAskPaints = 0, kPaintNow = 7, kAskOwnProcedure = 2;
    const double send = timed(kAskPaints, 2000);
    const double plainPaint = timed(kPaintNow, 500);
    DesktopWatcher w;
    watcher = &w;
    w.start();
    DWORD_PTR own = 1;
    waitFor([&] {
        SendMessageTimeoutA(progman, WM_APP + kAskOwnProcedure, 0, 0, SMTO_NORMAL, 5000, &own);
        return own == 0;
    });
    const double hookedPaint = own == 0 ? timed(kPaintNow, 500) : 0;
    w.release();
    watcher = nullptr;
    const double added = hookedPaint - plainPaint;
    printf("one cross-process SendMessage: %.3f ms (median)\n", send);
    printf("paint: unhooked %.3f ms, with the notice %.3f ms: the notice adds %.3f ms = %.2fx one SendMessage "
           "(target at most 2x)%s\n",
           plainPaint, hookedPaint, added, send > 0 ? added / send : 0, own == 0 ? "" : " (NOT HOOKED)");
    DestroyWindow(main);
    PostMessageA(progman, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

int main() {
    benchDrain();
    benchNotice();
    return 0;
}
