#include "poll_wait.h"

namespace saverstub {

PollResult pollUntilFound(PollSubject& subject, uint32_t limitMs, uint32_t stepMs) {
    const uint32_t start = subject.now();
    for (;;) {
        if (subject.found()) return PollResult::Found;
        // Unsigned difference: right across the clock's wrap after 49.7 days.
        uint32_t elapsed = subject.now() - start;
        if (elapsed > limitMs) return PollResult::TimedOut;
        uint32_t left = limitMs - elapsed + 1;
        if (subject.pauseUntilEnded(left < stepMs ? left : stepMs)) {
            // It may have handed over to a running copy before ending.
            return subject.found() ? PollResult::Found : PollResult::Ended;
        }
    }
}

}  // namespace saverstub
