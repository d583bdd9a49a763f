// The desktop watcher's decisions, apart from the Windows calls that gather
// their facts: whether a start installs a hook, and when a painting flag has
// been left set for too long.
#pragma once
#include <cstdint>

namespace lumarel {

// What a start finds in the shared blocks and on the desktop.
struct WatchFacts {
    uint32_t blockHook = 0;     // the handle in the shared block
    uint32_t ownerProcess = 0;  // who put it there (0: unknown)
    bool ownerAlive = false;
    uint32_t hookedThread = 0;     // the thread the handle hooks
    uint32_t iconViewThread = 0;   // the icon view's thread now, 0 without one
    bool sameBitness = true;       // our process and the icon view's
};

enum class WatchStart {
    Keep,          // a live hook on the icon view's thread: use it as it is
    Hook,          // install a hook (replacing a stale handle)
    NoIconView,    // nothing to hook now; the next rebuild tries again
    OtherBitness,  // our library cannot run inside the icon view's process
};

WatchStart chooseWatchStart(const WatchFacts& facts);

// The painting flag is set on each notice and cleared by the icon view after
// its paint. A shell that dies mid-paint leaves it set, and the bulbs would
// stop until the next rebuild: a flag set for longer than the limit is
// treated as cleared.
class PaintingWatch {
public:
    static constexpr uint32_t kLimitMs = 1000;

    // The program set the flag at `nowMs`.
    void set(uint32_t nowMs) {
        known_ = true;
        since_ = nowMs;
    }
    // True when the tick must skip its step; false when the flag is clear or
    // has been set for longer than the limit (the caller then clears it).
    bool holds(bool flag, uint32_t nowMs);
    // The last answer was false for a set flag: it is stale.
    bool stale() const { return stale_; }

private:
    bool known_ = false;  // since_ holds when the flag was (first seen) set
    uint32_t since_ = 0;
    bool stale_ = false;
};

}  // namespace lumarel
