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

}  // namespace flurrin
