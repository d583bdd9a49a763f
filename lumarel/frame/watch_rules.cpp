#include "frame/watch_rules.h"

namespace lumarel {

WatchStart chooseWatchStart(const WatchFacts& f) {
    if (f.blockHook != 0) {
        // A program that records no owner cannot be checked; its handle
        // stays, as it always has.
        if (f.ownerProcess == 0) return WatchStart::Keep;
        const bool onTheView = f.iconViewThread != 0 && f.hookedThread == f.iconViewThread;
        if (f.ownerAlive && onTheView) return WatchStart::Keep;
    }
    if (f.iconViewThread == 0) return WatchStart::NoIconView;
    if (!f.sameBitness) return WatchStart::OtherBitness;
    return WatchStart::Hook;
}

bool PaintingWatch::holds(bool flag, uint32_t nowMs) {
    stale_ = false;
    if (!flag) {
        known_ = false;
        return false;
    }
    // A flag we did not see set (left by an earlier run) counts from now.
    if (!known_) set(nowMs);
    if (nowMs - since_ > kLimitMs) {  // unsigned: the tick count may wrap
        known_ = false;
        stale_ = true;
        return false;
    }
    return true;
}

}  // namespace lumarel
