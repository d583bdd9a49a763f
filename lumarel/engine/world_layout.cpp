#include "engine/world_layout.h"

#include <algorithm>

#include "engine/flash_pattern.h"

namespace lumarel {

namespace {

int32_t alongOf(const LayoutSize& s, bool horizontal) { return horizontal ? s.width : s.height; }
int32_t acrossOf(const LayoutSize& s, bool horizontal) { return horizontal ? s.height : s.width; }

LayoutSize frameOf(const EdgeKind& kind, int flavor) {
    LayoutSize s = kind.frame ? kind.frame(flavor) : LayoutSize{};
    return {std::max<int32_t>(0, s.width), std::max<int32_t>(0, s.height)};
}

}  // namespace

LayoutSize WorldLayout::pictureSize() const {
    int32_t across = thickness * phaseCopies;
    return horizontal() ? LayoutSize{length, across} : LayoutSize{across, length};
}

WorldLayout layoutWorld(const WorldInput& input) {
    WorldLayout w;
    w.side = input.side;
    const bool horizontal = w.horizontal();
    const LayoutRect& r = input.usable;
    const int32_t start = horizontal ? r.left : r.top;
    const int32_t end = horizontal ? r.right : r.bottom;
    w.length = std::max<int32_t>(0, end - start);

    int largest = 1;
    for (const EdgeKind& kind : input.edges) largest = std::max(largest, kind.phases);

    // Corners: their extent along the top or bottom edge, and their height.
    if (horizontal) {
        if (input.leftCorner) {
            const CornerKind& c = *input.leftCorner;
            w.leftExtent = std::max<int32_t>(0, c.frame.width + c.gap);
            w.thickness = std::max(w.thickness, c.frame.height);
            largest = std::max(largest, c.phases);
        }
        if (input.rightCorner) {
            const CornerKind& c = *input.rightCorner;
            w.rightExtent = std::max<int32_t>(0, c.frame.width + c.gap);
            w.thickness = std::max(w.thickness, c.frame.height);
            largest = std::max(largest, c.phases);
        }
    }
    w.largestPhaseCount = largest;

    // The run: cyclic edge bulbs while the next step still fits.
    const int64_t runStart = int64_t(start) + w.leftExtent;
    const int64_t limit = int64_t(end) - w.rightExtent;
    int64_t position = runStart;
    std::vector<std::pair<int, int>> taken;  // (slot, flavor)
    if (!input.edges.empty()) {
        const int count = int(input.edges.size());
        for (int n = 0;; ++n) {
            const EdgeKind& kind = input.edges[size_t(n % count)];
            LayoutSize frame = frameOf(kind, n / count);
            int64_t step = int64_t(alongOf(frame, horizontal)) + 2 * int64_t(kind.gap);
            if (step < 1 || position + step > limit) break;
            position += step;
            w.thickness = std::max(w.thickness, acrossOf(frame, horizontal));
            taken.emplace_back(n % count, n / count);
        }
    }
    w.bulbCount = int(taken.size());
    if (w.bulbCount > 0 && position != limit) {
        int64_t leftover = limit - position;
        w.spread = double(leftover) / w.bulbCount;
        w.halfLeftover = int32_t(leftover / 2);
    }

    // Place: top and left from the rectangle's start, bottom and right from its end.
    switch (w.side) {
    case kPosTop: w.place = {r.left, r.top, r.right, r.top + w.thickness}; break;
    case kPosBottom: w.place = {r.left, r.bottom - w.thickness, r.right, r.bottom}; break;
    case kPosLeft: w.place = {r.left, r.top, r.left + w.thickness, r.bottom}; break;
    default: w.place = {r.right - w.thickness, r.top, r.right, r.bottom}; break;
    }
    const bool outerEnd = w.side == kPosRight || w.side == kPosBottom;  // aligned to the far edge of a copy

    w.phaseCopies = phaseCopies(input.pattern, largest);
    if (w.thickness <= 0 || w.length <= 0 || w.thickness > kMaxPictureExtent || w.length > kMaxPictureExtent)
        return w;  // nothing to draw, or more than a blit can address
    w.phaseCopies = std::clamp(w.phaseCopies, 1, int(kMaxPictureExtent / w.thickness));
    w.usable = true;

    auto acrossFor = [&](const LayoutSize& frame) {
        return outerEnd ? w.thickness - acrossOf(frame, horizontal) : 0;
    };
    if (horizontal) {
        if (input.leftCorner)
            w.corners.push_back({false, 0, acrossFor(input.leftCorner->frame), input.leftCorner->frame});
        if (input.rightCorner)
            w.corners.push_back({true, w.length - input.rightCorner->frame.width,
                                 acrossFor(input.rightCorner->frame), input.rightCorner->frame});
    }

    SequenceCounter sequence;
    double x = w.leftExtent;
    for (auto [slot, flavor] : taken) {
        const EdgeKind& kind = input.edges[size_t(slot)];
        LayoutSize frame = frameOf(kind, flavor);
        x += kind.gap;
        PlacedBulb b;
        b.slot = slot;
        b.flavor = flavor;
        b.sequence = sequence.place(kind.phases);
        b.along = int32_t(x);
        b.across = acrossFor(frame);
        b.frame = frame;
        w.bulbs.push_back(b);
        x += kind.gap + alongOf(frame, horizontal) + w.spread;
    }
    return w;
}

std::vector<int> shareIdenticalCopies(const std::vector<std::vector<int>>& phasesByCopy) {
    std::vector<int> slots;
    slots.reserve(phasesByCopy.size());
    int stored = 0;
    for (size_t copy = 0; copy < phasesByCopy.size(); ++copy) {
        int slot = -1;
        for (size_t earlier = 0; earlier < copy && slot < 0; ++earlier)
            if (phasesByCopy[earlier] == phasesByCopy[copy]) slot = slots[earlier];
        slots.push_back(slot >= 0 ? slot : stored++);
    }
    return slots;
}

}  // namespace lumarel
