// What every Windows benchmark here shares: a millisecond clock, the median
// of a set of timings, a pump for the messages a step leaves behind, and the
// full-screen copy the figures are measured against.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

inline double now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// The reference every figure is divided by: one full-screen copy from a
// memory bitmap to the window, the median of 30.
inline double fullScreenBlit(HWND window, int width, int height) {
    HDC screen = GetDC(window);
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
    ReleaseDC(window, screen);
    return median(times);
}

// Marks the start and the end of one piece of measured work for
// bench/count-requests, which counts the window server requests between the
// marks (what timings on a busy machine hide). Silent unless BENCH_MARKS is
// set: a mark is itself a few requests.
class Marked {
public:
    // "what" or "what, detail"; nothing is made unless this one is marked,
    // so an unmarked scope costs the timing nothing.
    Marked(const char* what, const char* detail, bool when) {
        if (!when || !marking()) return;
        what_ = what;
        if (detail) what_ = what_ + ", " + detail;
        OutputDebugStringA(("BEGIN " + what_).c_str());
    }
    ~Marked() {
        if (!what_.empty()) OutputDebugStringA(("END " + what_).c_str());
    }
    Marked(const Marked&) = delete;
    Marked& operator=(const Marked&) = delete;

private:
    static bool marking() {
        static const bool on = getenv("BENCH_MARKS") != nullptr;
        return on;
    }
    std::string what_;
};

}  // namespace bench
