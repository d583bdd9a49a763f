// Where the saver takes its time from. The session asks a clock instead of
// the system, so tests can feed it time instead of sleeping.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

namespace flurrin {

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
    int seconds_since_midnight() const { return hour * 3600 + minute * 60 + second; }
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a counter that wraps every 49.7 days.
    virtual uint32_t now_ms() = 0;
    virtual TimeOfDay time_of_day() = 0;
};

// timeGetTime: its resolution follows timeBeginPeriod, so a finer system
// timer makes the frame waits finer too (GetTickCount's would not).
class SystemClock final : public Clock {
public:
    uint32_t now_ms() override { return timeGetTime(); }
    TimeOfDay time_of_day() override {
        SYSTEMTIME now;
        GetLocalTime(&now);
        return {now.wHour, now.wMinute, now.wSecond};
    }
};

// Windows keeps its timer at 15.6 ms unless a program asks for finer: the
// frame and transition waits ask for the finest (1 ms on most machines)
// while the saver runs, and give it back when it ends.
class FineTimerScope {
public:
    FineTimerScope() {
        TIMECAPS caps{};
        if (timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR) return;
        UINT period = caps.wPeriodMin > 1 ? caps.wPeriodMin : 1;
        if (timeBeginPeriod(period) == TIMERR_NOERROR) period_ = period;
    }
    ~FineTimerScope() {
        if (period_) timeEndPeriod(period_);
    }
    FineTimerScope(const FineTimerScope&) = delete;
    FineTimerScope& operator=(const FineTimerScope&) = delete;
    UINT period() const { return period_; }  // 0: the system's own

private:
    UINT period_ = 0;
};

}  // namespace flurrin
