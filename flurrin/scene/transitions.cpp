#include "scene/transitions.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace flurrin {

namespace {

// Strip sizes never reach 0, so pictures narrower than the strip count still
// get a finite number of steps.
int strip(int size, int count) { return std::max(1, size / count); }

// Adds a copy clipped to the picture (source and destination move together).
void add(EffectStep& step, int sx, int sy, int dx, int dy, int w, int h, int width, int height) {
    int left = std::max({0, -sx, -dx}), top = std::max({0, -sy, -dy});
    sx += left, dx += left, w -= left;
    sy += top, dy += top, h -= top;
    w = std::min({w, width - sx, width - dx});
    h = std::min({h, height - sy, height - dy});
    if (w > 0 && h > 0) step.copies.push_back({sx, sy, dx, dy, w, h});
}

void same_place(EffectStep& step, int x, int y, int w, int h, int width, int height) {
    add(step, x, y, x, y, w, h, width, height);
}

using Steps = std::vector<EffectStep>;

// Effects 1-4: strips in order along one axis.
Steps wipe(int width, int height, bool vertical_strips, bool reverse) {
    int size = vertical_strips ? width : height;
    int s = strip(size, 100), n = size / s + 1;
    Steps steps{size_t(n), EffectStep{}};
    for (int i = 1; i <= n; ++i) {
        int k = reverse ? n + 1 - i : i, at = s * (k - 1);
        EffectStep& step = steps[size_t(i - 1)];
        step.wait_ms = 20;
        if (vertical_strips) same_place(step, at, 0, s + 1, height, width, height);
        else same_place(step, 0, at, width, s + 1, width, height);
    }
    return steps;
}

// Effects 5-6: strips from both ends meeting in the middle.
Steps close_in(int width, int height, bool columns) {
    int size = columns ? width : height;
    int s = strip(size, 100), n = (size / s) / 2 + 1;
    Steps steps{size_t(n), EffectStep{}};
    for (int i = 1; i <= n; ++i) {
        EffectStep& step = steps[size_t(i - 1)];
        step.wait_ms = 20;
        int near = s * (i - 1), far = size - 1 - s * i;
        if (columns) {
            same_place(step, near, 0, s + 1, height, width, height);
            same_place(step, far, 0, s + 1, height, width, height);
        } else {
            same_place(step, 0, near, width, s + 1, width, height);
            same_place(step, 0, far, width, s + 1, width, height);
        }
    }
    return steps;
}

// Effects 7-10: the picture slides in from one edge.
Steps slide(int width, int height, bool vertical, bool from_start) {
    int size = vertical ? height : width;
    int s = strip(size, 80), n = size / s + 1;
    Steps steps{size_t(n), EffectStep{}};
    for (int i = 1; i <= n; ++i) {
        EffectStep& step = steps[size_t(i - 1)];
        step.wait_ms = 20;
        int shown = std::min(s * i, size);
        int src = from_start ? size - shown : 0, dst = from_start ? 0 : size - shown;
        if (vertical) add(step, 0, src, 0, dst, width, shown, width, height);
        else add(step, src, 0, dst, 0, shown, height, width, height);
    }
    return steps;
}

// Effects 11-14: odd bands first, then all of them; skipped bands still wait.
Steps interlace(int width, int height, bool rows, bool reverse) {
    int size = rows ? height : width;
    int s = strip(size, 100), n = size / s + 1;
    Steps steps;
    for (int pass = 1; pass <= 2; ++pass) {
        for (int i = 1; i <= n; ++i) {
            int k = reverse ? n + 1 - i : i;
            EffectStep step;
            step.wait_ms = 8;
            if (pass == 2 || k % 2 == 1) {
                int at = s * (k - 1);
                if (rows) same_place(step, 0, at, width, s + 1, width, height);
                else same_place(step, at, 0, s + 1, height, width, height);
            }
            steps.push_back(std::move(step));
        }
    }
    return steps;
}

// Effect 15: blocks in the random order. Block edges are spread over the
// whole picture, so sizes that 40 does not divide are covered too.
Steps dissolve(int width, int height, const std::vector<int>& order) {
    Steps steps;
    for (int number : order) {
        if (number < 1 || number > kBlockCount) continue;
        int row = (number - 1) / kBlockSide, column = (number - 1) % kBlockSide;
        int x0 = column * width / kBlockSide, x1 = (column + 1) * width / kBlockSide;
        int y0 = row * height / kBlockSide, y1 = (row + 1) * height / kBlockSide;
        EffectStep step;
        step.wait_ms = 1;
        same_place(step, x0, y0, x1 - x0 + 1, y1 - y0 + 1, width, height);
        steps.push_back(std::move(step));
    }
    return steps;
}

// Effects 16-19: ten bands, each sliding its own part of the picture in over
// ten steps; the tenth step shows each band whole.
Steps banded(int width, int height, bool rows, bool from_start) {
    int size = rows ? height : width;
    int b = size / 10 + 1;
    Steps steps(10);
    for (int k = 1; k <= 10; ++k) {
        EffectStep& step = steps[size_t(k - 1)];
        step.wait_ms = 30;
        for (int j = 0; j < 10; ++j) {
            int start = j * b, band = std::min(b, size - start);
            if (band <= 0) break;
            int shown = std::max(1, (k * band + 9) / 10);
            int src = from_start ? start + band - shown : start, dst = from_start ? start : start + band - shown;
            if (rows) add(step, 0, src, 0, dst, width, shown, width, height);
            else add(step, src, 0, dst, 0, shown, height, width, height);
        }
    }
    return steps;
}

// Effect 20: a box growing from the centre.
Steps centre_box(int width, int height) {
    int dx = width / 80 + 1, dy = height / 80 + 1;
    int left = width / 2 - dx, top = height / 2 - dy, right = width / 2 + dx, bottom = height / 2 + dy;
    Steps steps(40);
    for (EffectStep& step : steps) {
        step.wait_ms = 25;
        same_place(step, left, top, right - left, bottom - top, width, height);
        left -= dx, top -= dy, right += dx, bottom += dy;
    }
    return steps;
}

}  // namespace

FitRect fit_picture(double left, double top, double area_w, double area_h, double picture_w, double picture_h,
                    double percentage, int fit_mode) {
    FitRect r{left, top, picture_w, picture_h};
    if (picture_w <= 0 || picture_h <= 0) return {left, top, 0, 0};
    if (!(fit_mode == 0 && picture_w < area_w && picture_h < area_h)) {
        double p = percentage / 100, aspect = picture_w / picture_h;
        if (picture_w >= picture_h) {
            r.width = p * area_w;
            r.height = r.width / aspect;
            if (r.height > p * area_h) {
                r.height = p * area_h;
                r.width = aspect * r.height;
            }
        } else {
            r.height = p * area_h;
            r.width = aspect * r.height;
        }
    }
    r.x = std::max(0.0, left + (area_w - r.width) / 2);
    r.y = std::max(0.0, top + (area_h - r.height) / 2);
    return r;
}

std::vector<int> shuffle_blocks(const Rnd& rnd) {
    std::vector<int> order(kBlockCount);
    for (int i = 0; i < kBlockCount; ++i) order[size_t(i)] = i + 1;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < kBlockCount; ++i) {
            int j = std::clamp(int(std::floor(rnd() * kBlockCount)), 0, kBlockCount - 1);
            std::swap(order[size_t(i)], order[size_t(j)]);
        }
    }
    return order;
}

std::vector<EffectStep> effect_steps(int effect, int width, int height, const std::vector<int>& block_order) {
    if (width <= 0 || height <= 0) return {};
    switch (effect) {
    case 1: return wipe(width, height, true, false);
    case 2: return wipe(width, height, true, true);
    case 3: return wipe(width, height, false, false);
    case 4: return wipe(width, height, false, true);
    case 5: return close_in(width, height, true);
    case 6: return close_in(width, height, false);
    case 7: return slide(width, height, true, true);
    case 8: return slide(width, height, true, false);
    case 9: return slide(width, height, false, true);
    case 10: return slide(width, height, false, false);
    case 11: return interlace(width, height, true, false);
    case 12: return interlace(width, height, true, true);
    case 13: return interlace(width, height, false, false);
    case 14: return interlace(width, height, false, true);
    case 15: return dissolve(width, height, block_order);
    case 16: return banded(width, height, true, true);
    case 17: return banded(width, height, true, false);
    case 18: return banded(width, height, false, true);
    case 19: return banded(width, height, false, false);
    case 20: return centre_box(width, height);
    default: return {};
    }
}

int random_effect(double rnd) { return std::clamp(int(std::floor(rnd * kEffectCount + 1)), 1, kEffectCount); }

}  // namespace flurrin
