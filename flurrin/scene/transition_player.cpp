#include "scene/transition_player.h"

#include <utility>

namespace flurrin {

uint32_t ms_until(uint32_t due, uint32_t now) {
    int32_t left = int32_t(due - now);  // signed: right across the wrap
    return left > 0 ? uint32_t(left) : 0;
}

void TransitionPlayer::start(std::vector<EffectStep> steps, uint32_t now) {
    steps_ = std::move(steps);
    next_ = 0;
    due_ = now;
    playing_ = true;
}

void TransitionPlayer::stop() { playing_ = false; }

uint32_t TransitionPlayer::wait(uint32_t now) const { return playing_ ? ms_until(due_, now) : 0; }

const EffectStep* TransitionPlayer::advance(uint32_t now) {
    if (!playing_ || ms_until(due_, now) > 0) return nullptr;
    if (next_ == steps_.size()) {
        playing_ = false;
        return nullptr;
    }
    const EffectStep& step = steps_[next_++];
    due_ += uint32_t(step.wait_ms);
    return &step;
}

}  // namespace flurrin
