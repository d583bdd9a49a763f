// The screen saver's random draws: one non-negative integer of at least 15
// bits per draw. The program draws from the C library; tests seed their own
// source so that a scene can be replayed.
#pragma once
#include <cstdint>

namespace lumarel {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int next() = 0;
};

// "random mod range". A range of 0 or less (a floater wider than a preview,
// an empty area) gives 0 instead of a division by zero.
inline int randomMod(RandomSource& random, int range) { return range > 0 ? random.next() % range : 0; }

// A small linear congruential source with 31-bit results.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(uint32_t seed) : state_(seed) {}
    int next() override {
        state_ = state_ * 1103515245u + 12345u;
        return int((state_ >> 1) & 0x7FFFFFFFu);
    }

private:
    uint32_t state_;
};

}  // namespace lumarel
