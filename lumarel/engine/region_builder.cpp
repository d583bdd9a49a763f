#include "engine/region_builder.h"

#include <cstring>

#include "base/failure.h"

namespace lumarel {
namespace {

constexpr size_t kRunsPerBatch = 2000;

}  // namespace

RegionBuilder::RegionBuilder() : region_(CreateRectRgn(0, 0, 0, 0)) {
    check(bool(region_));
    runs_.reserve(kRunsPerBatch);
}

void RegionBuilder::addRun(LONG left, LONG right, LONG y) {
    runs_.push_back({left, y, right, y + 1});
    if (runs_.size() == kRunsPerBatch) flush();
}

void RegionBuilder::flush() {
    if (runs_.empty()) return;
    std::vector<uint8_t> block(sizeof(RGNDATAHEADER) + runs_.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(block.data());
    RECT bounds = runs_[0];
    for (const RECT& r : runs_) UnionRect(&bounds, &bounds, &r);
    *header = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(runs_.size()), DWORD(runs_.size() * sizeof(RECT)), bounds};
    memcpy(block.data() + sizeof(RGNDATAHEADER), runs_.data(), runs_.size() * sizeof(RECT));
    unique_hrgn part(ExtCreateRegion(nullptr, DWORD(block.size()), reinterpret_cast<RGNDATA*>(block.data())));
    check(bool(part));
    CombineRgn(region_.get(), region_.get(), part.get(), RGN_OR);
    runs_.clear();
}

unique_hrgn RegionBuilder::finish() {
    flush();
    return std::move(region_);
}

void FrameRegionCache::add(HRGN strip, const RECT& frame, int x, int y, HRGN target) {
    HRGN piece = nullptr;
    for (const Piece& p : pieces_)
        if (EqualRect(&p.frame, &frame)) piece = p.region.get();
    if (!piece) {
        unique_hrgn cut(CreateRectRgnIndirect(&frame));
        check(bool(cut));
        check(CombineRgn(cut.get(), cut.get(), strip, RGN_AND) != ERROR);
        OffsetRgn(cut.get(), -frame.left, -frame.top);
        piece = cut.get();
        pieces_.push_back({frame, std::move(cut)});
    }
    // Moved there and back: a region has no cheaper way to be added at an offset.
    OffsetRgn(piece, x, y);
    const int result = CombineRgn(target, target, piece, RGN_OR);
    OffsetRgn(piece, -x, -y);
    check(result != ERROR);
}

}  // namespace lumarel
