#include "saver/animation_table.h"

#include <cstring>

namespace lumarel {
namespace {

// The resource numbers of the animated GIF floaters.
constexpr int16_t kSingingTree = 3100, kDancingDemon = 3101, kSkeleton = 3102, kGingerbreadMan = 3103,
                  kAngel = 3104, kSanta = 3105;

#define GIF(name, resource) {name, int16_t(-(resource)), {}}
// A run of frames a to a + 7, a to a + 3, a to a + 1.
#define RUN8(k, a) {k, 8, {a, a + 1, a + 2, a + 3, a + 4, a + 5, a + 6, a + 7}}
#define RUN4(k, a) {k, 4, {a, a + 1, a + 2, a + 3}}
#define RUN2(k, a) {k, 2, {a, a + 1}}
#define ONE(k, a) {k, 1, {a}}

const AnimationEntry kTable[kAnimationEntries] = {
    GIF("Angel", kAngel),
    {"Baubles", 4, {RUN2(6, 1), RUN2(6, 3), RUN2(6, 5), RUN2(6, 7)}},
    {"Carolers", 6,
     {{10, 8, {1, 2, 3, 4, 5, 6, 2, 1}},
      {10, 8, {7, 8, 9, 10, 11, 12, 8, 7}},
      {10, 8, {13, 14, 15, 16, 17, 18, 14, 13}},
      {10, 8, {19, 20, 21, 22, 23, 24, 20, 19}},
      {10, 8, {25, 26, 27, 28, 29, 30, 26, 25}},
      {10, 8, {31, 32, 31, 32, 31, 32, 31, 32}}}},
    GIF("Dancing Demon", kDancingDemon),
    {"Dreidels", 4, {RUN4(13, 1), RUN4(13, 5), RUN4(13, 9), RUN4(13, 13)}},
    {"Easter Eggs", 10,
     {RUN8(20, 1), RUN8(20, 17), RUN8(20, 33), RUN8(20, 9), RUN8(20, 25), RUN8(20, 41), RUN4(19, 1), RUN4(19, 5),
      RUN4(19, 17), RUN4(19, 21)}},
    {"Flags", 10,
     {RUN8(42, 1),
      RUN8(42, 9),
      RUN8(42, 17),
      {42, 8, {3, 4, 5, 6, 7, 8, 1, 2}},
      {42, 8, {11, 12, 13, 14, 15, 16, 9, 10}},
      {42, 8, {19, 20, 21, 22, 23, 24, 17, 18}},
      {42, 8, {5, 6, 7, 8, 1, 2, 3, 4}},
      {42, 8, {13, 14, 15, 16, 9, 10, 11, 12}},
      {42, 8, {21, 22, 23, 24, 17, 18, 19, 20}},
      ONE(42, 1)}},
    GIF("Gingerbread Man", kGingerbreadMan),
    {"Halloween", 10,
     {{23, 4, {2, 3, 4, 2}},
      ONE(23, 1),
      {24, 8, {1, 2, 3, 4, 4, 3, 2, 1}},
      ONE(24, 1),
      {25, 8, {5, 5, 6, 7, 8, 8, 7, 6}},
      {25, 8, {1, 1, 2, 3, 4, 4, 3, 2}},
      RUN2(26, 1),
      {23, 4, {2, 3, 4, 2}},
      {24, 8, {1, 2, 3, 4, 4, 3, 2, 1}},
      RUN2(26, 1)}},
    {"Happy Faces", 2, {{32, 4, {1, 1, 2, 3}}, ONE(32, 1)}},
    {"Heavens Above", 3, {{39, 4, {2, 3, 4, 1}}, RUN4(40, 1), RUN4(41, 1)}},
    {"Leaves", 8,
     {ONE(27, 1), ONE(27, 2), ONE(27, 3), ONE(27, 4), ONE(27, 5), ONE(27, 6), ONE(27, 7), ONE(27, 8)}},
    GIF("Santa", kSanta),
    {"Shamrocks", 8,
     {RUN8(18, 17), RUN8(18, 33), RUN8(18, 25), RUN8(18, 41), RUN8(18, 1), RUN8(18, 9), RUN8(18, 49),
      RUN8(18, 57)}},
    {"Schtanna", 1, {{37, 8, {1, 2, 3, 4, 1, 5, 6, 7}}}},
    GIF("Singing Tree", kSingingTree),
    GIF("Skeleton", kSkeleton),
    {"Snow Family", 4, {ONE(2, 1), ONE(2, 2), ONE(2, 3), ONE(2, 4)}},
    {"Thanksgiving", 5, {{29, 4, {1, 2, 1, 3}}, ONE(30, 1), {27, 2, {1, 3}}, {27, 2, {2, 4}}, RUN2(28, 1)}},
    {"Valentine's Hearts", 10,
     {{15, 8, {1, 2, 3, 4, 1, 2, 3, 4}},
      RUN8(15, 5),
      {15, 8, {20, 19, 18, 17, 16, 15, 14, 13}},
      RUN4(16, 5),
      RUN4(16, 17),
      RUN4(16, 1),
      RUN4(16, 21),
      RUN4(16, 9),
      RUN4(16, 25),
      RUN2(17, 1)}},
};

#undef GIF
#undef RUN8
#undef RUN4
#undef RUN2
#undef ONE

}  // namespace

const AnimationEntry& animationEntry(int index) {
    return kTable[index >= 0 && index < kAnimationEntries ? index : 0];
}

const AnimationEntry* findAnimation(const char* name) {
    if (!name) return nullptr;
    for (const AnimationEntry& e : kTable)
        if (strcmp(e.name, name) == 0) return &e;
    return nullptr;
}

}  // namespace lumarel
