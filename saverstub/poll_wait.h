// Waiting for lumarel's window after starting it: a poll at a fixed step,
// safe across the wrap of the 32-bit millisecond clock.
#pragma once
#include <cstdint>

namespace saverstub {

// What the wait looks at; the stub's Win32 side and the tests fill it in.
class PollSubject {
public:
    virtual uint32_t now() = 0;                     // milliseconds, wrapping
    virtual bool found() = 0;                       // the window is there
    virtual bool pauseUntilEnded(uint32_t ms) = 0;  // waits; true when the started program ended

protected:
    ~PollSubject() = default;  // never deleted through this type
};

enum class PollResult { Found, Ended, TimedOut };

// Looks, then pauses stepMs, until found, the program ended, or more than
// limitMs have passed since the call.
PollResult pollUntilFound(PollSubject& subject, uint32_t limitMs, uint32_t stepMs);

}  // namespace saverstub
