// Times one screen saver frame (background copy, module, bulbs, text and the
// copy to the window) for each module in a full-screen window of this
// process, against one full-screen BitBlt. Prints medians, ratios and the
// working set while the saver runs. With an argument, only that module.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../bench_timing.h"
#include "engine/animation.h"
#include "engine/bulb_object.h"
#include "engine/engine_context.h"
#include "engine/flash_state.h"
#include "saver/scene_random.h"
#include "saver/screen_saver.h"
#include "ui/settings_store.h"

using namespace lumarel;

namespace {

using bench::median;
using bench::now;
using bench::pump;
using bench::fullScreenBlit;

LRESULT CALLBACK saverProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND) return 1;
    return DefWindowProcA(w, m, wp, lp);
}


size_t workingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

}  // namespace

int main(int argc, char** argv) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.rfind('\\') + 1);
    HMODULE program = LoadLibraryExA((folder + "lumarel.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) {
        fprintf(stderr, "bench_saver: lumarel.exe must be beside this program\n");
        return 1;
    }
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    WNDCLASSA c{};
    c.lpfnWndProc = saverProc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "Saver Bench";
    RegisterClassA(&c);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "Saver Bench", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                  nullptr, nullptr, nullptr, nullptr);
    EngineContext context;
    ScopedBulbContext use(context);
    context.instance = program;
    context.runMode = kRunSaver;
    context.saverWindow = window;
    createBuiltInBulbs();
    flashState() = FlashState{};
    flashState().interval = 1;
    SeededRandom random(42);
    setSaverRandom(&random);
    setSaverMessage("Happy Holidays!");
    setPictureName("Santa Candle.BMP");
    pump();

    const double blit = fullScreenBlit(window, width, height);
    printf("screen %dx%d; reference: one full-screen BitBlt %.3f ms\n", width, height, blit);
    printf("%-34s %9s %9s %7s %12s\n", "module", "frame ms", "blit ms", "ratio", "working set");
    struct Case {
        const char* module;
        int movement;
        bool bulbs = true, message = true;
    } cases[] = {{"(None)", 0, false, false}, {"(None)", 0, true, false}, {"(None)", 0},        {"Snow", 0},           {"Snow Flakes", 0},    {"Balloons", 0},
                 {"Santa", 0},         {"Snow Family", 0},    {"Snow Family", 1},    {"Snow Family", 2},
                 {"Snow Family", 3}};
    const char* movements[] = {"bouncing", "gravity well", "falling leaves", "attraction"};
    for (const Case& k : cases) {
        if (argc > 1 && strcmp(argv[1], k.module) != 0) continue;
        setSaverModule(k.module);
        setMovementType(k.movement);
        setSaverMessage(k.message ? "Happy Holidays!" : "");
        flashState().arrangement = defaultArrangement();
        if (!k.bulbs)
            for (auto& side : flashState().arrangement) side.fill(-1);
        Animation animation(context);
        startScreenSaver(window);
        if (!context.saverCanvas) {
            printf("%-34s could not start\n", k.module);
            continue;
        }
        for (int i = 0; i < 5; ++i) animation.step();  // the worlds are built
        pump();
        std::vector<double> frames;
        for (int i = 0; i < 120; ++i) {
            const double start = now();
            animation.step();
            GdiFlush();
            frames.push_back(now() - start);
            pump();
        }
        std::string name = k.module;
        if (strcmp(k.module, "Snow Family") == 0) name += std::string(", ") + movements[k.movement];
        if (!k.bulbs) name += ", no bulbs";
        if (!k.message) name += ", no message";
        // The machine's load changes while the cases run: each is set
        // against a reference measured just after it.
        const double reference = fullScreenBlit(window, width, height);
        const double frame = median(frames);
        printf("%-34s %9.3f %9.3f %7.2f %9zu KB\n", name.c_str(), frame, reference, frame / reference,
               workingSet() / 1024);
        stopScreenSaver();
        animation.step();
    }
    setSaverRandom(nullptr);
    destroyAllBulbs();
    DestroyWindow(window);
    return 0;
}
