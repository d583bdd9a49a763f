// Flash patterns and animation timing, without Windows: how many phase copies
// a world pre-renders, which phase of each bulb goes into each copy, and when
// the animation advances.
#pragma once
#include <cstdint>

namespace lumarel {

enum FlashPattern : int32_t {
    kDontFlash = 0,
    kFlashTogether = 1,
    kAlternating = 2,
    kBulbChase = 3,
    kRandomFlashing = 4,
};

constexpr int kRandomPhaseCopies = 8;
constexpr int kDontFlashTicks = 10;

// Phase copies of a world whose bulbs (corners included for the top and
// bottom worlds) have at most `largestPhaseCount` phases; never below 1.
int phaseCopies(int32_t pattern, int largestPhaseCount);

// The phase of an edge bulb in copy `copy` of `copies`, reduced modulo the
// kind's own phase count. `random` is consulted only by "Random Flashing".
int edgeBulbPhase(int32_t pattern, int copy, int copies, int sequence, int kindPhases, int random);
// Corner bulbs show phase `copy` whatever the pattern.
int cornerBulbPhase(int copy, int kindPhases);

// Sequence numbers along one world's string: start at 1, and only bulbs with
// more than one phase advance them (spacers do not).
class SequenceCounter {
public:
    // The number of the bulb being placed now.
    int place(int kindPhases) {
        int number = next_;
        if (kindPhases > 1) ++next_;
        return number;
    }

private:
    int next_ = 1;
};

// Ticks of 60 ms counted against the flash interval.
class AnimationClock {
public:
    // Counts one tick; true when the animation advances on it (every
    // `interval` ticks, clamped to 1..9, or every 10 under "Don't Flash").
    bool tick(int32_t interval, int32_t pattern);
    // After a drawn tick that advanced.
    void advanced() {
        ticks_ = 0;
        ++step_;
    }
    int32_t step() const { return step_; }
    int32_t ticks() const { return ticks_; }

private:
    int32_t ticks_ = 0;
    int32_t step_ = 0;
};

// The period the slider position (0..8) gives: interval 9 - position ticks.
int32_t intervalForSlider(int position);

}  // namespace lumarel
