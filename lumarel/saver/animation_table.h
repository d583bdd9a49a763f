// The built-in floater animations a "GenericModule" is made from: each entry
// is either one animated GIF resource or up to 12 records of a built-in
// bulb kind with the frame numbers it shows in turn.
#pragma once
#include <cstdint>

namespace lumarel {

struct FloaterRecord {
    int16_t kind;           // built-in bulb kind id
    int16_t frameCount;     // 1 to 8
    int16_t frames[8];      // frame numbers of the kind, the first frameCount used
};

struct AnimationEntry {
    char name[20];
    // Records used; below 1, the entry is the GIF resource numbered -count.
    int16_t count;
    FloaterRecord records[12];

    bool isGif() const { return count < 1; }
    int gifResource() const { return -count; }
};

constexpr int kAnimationEntries = 20;
const AnimationEntry& animationEntry(int index);
// Exact comparison of the name; null when there is none.
const AnimationEntry* findAnimation(const char* name);

}  // namespace lumarel
