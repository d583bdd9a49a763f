// The twenty transition effects as geometry: which rectangles of the staging
// picture S each step copies to where in the target T, and how long the step
// waits. The Win32 side only performs the copies, so the geometry is tested
// here: every effect ends with all of T copied from S, and no rectangle
// reaches outside the picture.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace flurrin {

inline constexpr int kEffectCount = 20;
inline constexpr int kBlockSide = 40;  // effect 15: 40 x 40 blocks
inline constexpr int kBlockCount = kBlockSide * kBlockSide;

struct PieceCopy {
    int src_x, src_y;
    int dst_x, dst_y;
    int width, height;
};

struct EffectStep {
    std::vector<PieceCopy> copies;
    int wait_ms = 0;
};

struct FitRect {
    double x, y, width, height;
};

// Where a picture of picture_w x picture_h goes inside the area: scaled to
// percentage of it with its proportions kept, centred, never at a negative
// position. Fit mode 0 keeps a picture smaller than the area at its size.
FitRect fit_picture(double left, double top, double area_w, double area_h, double picture_w, double picture_h,
                    double percentage, int fit_mode);

// A uniform random number in [0, 1).
using Rnd = std::function<double()>;

// The numbers 1..1600 in the random order of effect 15: four rounds of
// swapping each entry with a randomly chosen one.
std::vector<int> shuffle_blocks(const Rnd& rnd);

// The steps of effect 1..20 for a picture of width x height (empty for any
// other number or an empty picture). block_order is used by effect 15.
std::vector<EffectStep> effect_steps(int effect, int width, int height, const std::vector<int>& block_order);

// Effect number floor(rnd * 20 + 1).
int random_effect(double rnd);

}  // namespace flurrin
