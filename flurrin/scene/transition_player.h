// Plays one transition effect a step at a time, so a frame loop can run it
// from its ticks: each step is due when the waits of the steps before it
// have passed since the start. Behind schedule, the next step is due at once,
// so a coarse timer slows no effect down.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/transitions.h"

namespace flurrin {

// Milliseconds from now until due on a wrapping millisecond counter; 0 once
// it is past.
uint32_t ms_until(uint32_t due, uint32_t now);

class TransitionPlayer {
public:
    void start(std::vector<EffectStep> steps, uint32_t now);
    // Cut short: nothing more is due.
    void stop();
    // Started, and not yet over or stopped.
    bool playing() const { return playing_; }
    // Milliseconds from now until the next step (or the end) is due.
    uint32_t wait(uint32_t now) const;
    // When due: the step to copy now, or nullptr when the last step's wait is
    // over and the effect has ended (playing() is then false). Before it is
    // due, or when not playing: nullptr and nothing changes.
    const EffectStep* advance(uint32_t now);
    size_t steps_done() const { return next_; }

private:
    std::vector<EffectStep> steps_;
    size_t next_ = 0;
    uint32_t due_ = 0;
    bool playing_ = false;
};

}  // namespace flurrin
