// Times lumarel's animation step and world-set rebuild against one
// full-screen BitBlt, on a desktop icon view made in this process (the shell
// chain "Progman" -> "SHELLDLL_DefView" -> "SysListView32") and with the
// bulbs on top. Prints a table of medians and ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/animation.h"
#include "engine/bulb_categories.h"
#include "engine/bulb_object.h"
#include "engine/flash_state.h"
#include "frame/app.h"

using namespace lumarel;

namespace {

double now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

LRESULT CALLBACK viewProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(w, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        return 1;
    }
    return DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK bulbProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCHITTEST) return HTTRANSPARENT;
    if (m == WM_ERASEBKGND) return 1;
    return DefWindowProcA(w, m, wp, lp);
}

void registerClass(const char* name, WNDPROC proc) {
    WNDCLASSA c{};
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = name;
    RegisterClassA(&c);
}

// The reference: one full-screen copy from a memory bitmap to the view.
double fullScreenBlit(HWND view, int width, int height) {
    HDC screen = GetDC(view);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, width, height, WHITENESS);
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
        double start = now();
        BitBlt(screen, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        GdiFlush();
        times.push_back(now() - start);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(view, screen);
    return median(times);
}

struct Result {
    double rebuild = 0, perTick = 0, perAdvance = 0;
};

// Rebuild (with its first draw), then the mean cost per tick at the given
// interval, and the median per drawing step at interval 1.
Result measure(int pattern, int location, int interval) {
    app().bulbLocation = location;
    flashState().pattern = pattern;
    flashState().interval = 1;
    discardWorldSet();
    pump();
    Result r;
    double start = now();
    runAnimationStep();
    GdiFlush();
    r.rebuild = now() - start;
    pump();
    std::vector<double> advancing;
    for (int i = 0; i < 60; ++i) {
        start = now();
        runAnimationStep();
        GdiFlush();
        advancing.push_back(now() - start);
        pump();
    }
    r.perAdvance = median(advancing);
    flashState().interval = interval;
    std::vector<double> ticks;
    for (int i = 0; i < 200; ++i) {
        start = now();
        runAnimationStep();
        GdiFlush();
        ticks.push_back(now() - start);
        pump();
    }
    // Most ticks at interval 5 do not advance the animation: the mean is
    // what the timer costs the program over time.
    double sum = 0;
    for (double t : ticks) sum += t;
    r.perTick = sum / double(ticks.size());
    return r;
}

}  // namespace

int main() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.rfind('\\') + 1);
    HMODULE program = LoadLibraryExA((folder + "lumarel.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) {
        fprintf(stderr, "bench_worlds: lumarel.exe must be beside this program\n");
        return 1;
    }
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    registerClass("Progman", DefWindowProcA);
    registerClass("SHELLDLL_DefView", DefWindowProcA);
    registerClass("SysListView32", viewProc);
    registerClass("Lumarel Bulb Window Bench", bulbProc);
    HWND progman = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                   nullptr, nullptr, nullptr, nullptr);
    HWND defView = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, width, height, progman,
                                   nullptr, nullptr, nullptr);
    HWND view = CreateWindowExA(0, "SysListView32", "FolderView", WS_CHILD | WS_VISIBLE, 0, 0, width, height,
                                defView, nullptr, nullptr, nullptr);
    App& a = app();
    a.instance = program;
    a.runMode = kRunNormal;
    a.bulbWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "Lumarel Bulb Window Bench", "QuorvaneBulbs",
                                   WS_POPUP, 10, 10, 100, 100, nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(progman);
    pump();
    createBuiltInBulbs();
    flashState() = FlashState{};

    double blit = fullScreenBlit(view, width, height);
    printf("screen %dx%d; reference: one full-screen BitBlt %.3f ms\n", width, height, blit);
    printf("%-34s %10s %8s %12s %8s %12s %8s\n", "arrangement, place", "rebuild ms", "ratio", "tick ms", "ratio",
           "drawing ms", "ratio");
    struct Case {
        const char* name;
        int pattern, location;
    } cases[] = {{"default, on the desktop", 1, kOnDesktop},
                 {"default, on top", 1, kOnTop},
                 {"random flashing, on the desktop", 4, kOnDesktop},
                 {"random flashing, on top", 4, kOnTop}};
    for (const Case& c : cases) {
        Result r = measure(c.pattern, c.location, 5);
        printf("%-34s %10.2f %8.2f %12.3f %8.2f %12.3f %8.2f\n", c.name, r.rebuild, r.rebuild / blit, r.perTick,
               r.perTick / blit, r.perAdvance, r.perAdvance / blit);
    }
    printf("tick: mean over 200 ticks at flash interval 5; drawing: median over 60 steps at interval 1\n");
    discardWorldSet();
    DestroyWindow(a.bulbWindow);
    DestroyWindow(progman);
    return 0;
}
