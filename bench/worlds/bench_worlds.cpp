// Times lumarel's animation step and world-set rebuild against one
// full-screen BitBlt, in each place the bulbs can be: a desktop icon view
// made in this process (the shell chain "Progman" -> "SHELLDLL_DefView" ->
// "SysListView32"), on top, and the bulb window at the bottom of a desktop
// without an icon view. Prints a table of medians and ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../bench_timing.h"
#include "engine/animation.h"
#include "engine/bulb_categories.h"
#include "engine/bulb_object.h"
#include "engine/bulb_world.h"
#include "engine/flash_state.h"
#include "frame/app.h"

using namespace lumarel;

namespace {

using bench::median;
using bench::now;
using bench::pump;
using bench::fullScreenBlit;

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


struct Result {
    double rebuild = 0, laterCopies = 0, perTick = 0, perAdvance = 0;
};

// Rebuild (with its first draw), then the mean cost per tick at the given
// interval, and the median per drawing step at interval 1.
Result measure(const char* name, int pattern, int location, int interval) {
    app().bulbLocation = location;
    flashState().pattern = pattern;
    flashState().interval = 1;
    Result r;
    double start = 0;
    // The median of five rebuilds: one alone is at the mercy of whatever
    // else the machine does in that moment.
    std::vector<double> rebuilds;
    for (int i = 0; i < 5; ++i) {
        discardWorldSet();
        pump();
        start = now();
        {
            bench::Marked mark("rebuild", name, i == 4);
            runAnimationStep();
            GdiFlush();
        }
        rebuilds.push_back(now() - start);
        pump();
    }
    r.rebuild = median(rebuilds);
    // The copies a rebuild leaves for their first showing, all at once here:
    // the work the following steps share out.
    if (BulbWorldSet* set = currentWorldSet()) {
        start = now();
        for (int side = 0; side < 4; ++side)
            if (BulbWorld* w = set->world(side)) w->renderAllCopies();
        GdiFlush();
        r.laterCopies = now() - start;
    }
    pump();
    std::vector<double> advancing;
    for (int i = 0; i < 60; ++i) {
        start = now();
        {
            bench::Marked mark("drawing step", name, i == 30);
            runAnimationStep();
            GdiFlush();
        }
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
    printf("%-32s %10s %7s %10s %9s %7s %10s %7s\n", "arrangement, place", "rebuild ms", "ratio", "later ms",
           "tick ms", "ratio", "drawing ms", "ratio");
    // The icon view and on top first; then the icon view goes and the
    // desktop place falls back to the bulb window at the bottom.
    struct Case {
        const char* name;
        int pattern, location;
        bool iconView;
    } cases[] = {{"default, icon view", 1, kOnDesktop, true},
                 {"default, on top", 1, kOnTop, true},
                 {"random flashing, icon view", 4, kOnDesktop, true},
                 {"random flashing, on top", 4, kOnTop, true},
                 {"default, bottom window", 1, kOnDesktop, false},
                 {"random flashing, bottom window", 4, kOnDesktop, false}};
    for (const Case& c : cases) {
        if (!c.iconView && progman) {
            DestroyWindow(progman);
            progman = nullptr;
            pump();
        }
        // A pattern change with the bulbs in a window leaves the window
        // showing: measure that, not the one-off first showing of a
        // full-screen window (timed apart below).
        if (c.location == kOnTop && !IsWindowVisible(a.bulbWindow)) {
            app().bulbLocation = kOnTop;
            discardWorldSet();
            double start = now();
            runAnimationStep();
            GdiFlush();
            printf("%-32s %10.2f %7.1f\n", "(first showing of the bulb window)", now() - start, (now() - start) / blit);
            pump();
        }
        Result r = measure(c.name, c.pattern, c.location, 5);
        printf("%-32s %10.2f %7.1f %10.2f %9.3f %7.2f %10.3f %7.2f\n", c.name, r.rebuild, r.rebuild / blit,
               r.laterCopies, r.perTick, r.perTick / blit, r.perAdvance, r.perAdvance / blit);
    }
    printf("rebuild: the world set with its first draw (median of 5); later: the phase copies left for their first showing;\n"
           "tick: mean over 200 ticks at flash interval 5; drawing: median over 60 steps at interval 1\n");
    discardWorldSet();
    DestroyWindow(a.bulbWindow);
    if (progman) DestroyWindow(progman);
    return 0;
}
