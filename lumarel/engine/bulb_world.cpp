#include "engine/bulb_world.h"

#include <algorithm>
#include <cstdlib>

#include "base/failure.h"
#include "engine/bulb_object.h"
#include "engine/flash_pattern.h"
#include "engine/flash_state.h"
#include "engine/palette.h"

namespace lumarel {

namespace {

constexpr COLORREF kMarkLit = RGB(255, 255, 255);
constexpr COLORREF kMarkDark = RGB(0x99, 0x99, 0x99);

RECT toRect(const LayoutRect& r) { return {r.left, r.top, r.right, r.bottom}; }
LayoutRect toLayout(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

int wrapPhase(int32_t step, int count) {
    if (count <= 1) return 0;
    int r = int(step % count);
    return r < 0 ? r + count : r;
}

// Shows the wait cursor while a world set is made and puts the old one back.
class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(old_); }

private:
    HCURSOR old_;
};

// Some display drivers fill a fresh one-bit bitmap wrongly; then the mask is
// tiled with a 30 x 30 all-white one instead.
void fillMaskWhite(HDC mask, int width, int height) {
    PatBlt(mask, 0, 0, width, height, WHITENESS);
    if (GetPixel(mask, 0, 0) != RGB(0, 0, 0)) return;
    static const uint8_t kWhiteRows[30 * 4] = {
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    unique_hbitmap white(CreateBitmap(30, 30, 1, 1, kWhiteRows));
    check(bool(white));
    MemoryDc tile(mask, white.get());
    for (int y = 0; y < height; y += 30)
        for (int x = 0; x < width; x += 30) BitBlt(mask, x, y, 30, 30, tile.get(), 0, 0, SRCCOPY);
}

bool inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

BulbWorld::BulbWorld(const EngineContext& context, BulbPosition side, const RECT& usable, HWND layout)
    : context_(context), side_(side), layoutWindow_(layout), usable_(usable) {
    const auto& row = flashState().arrangement[size_t(side & 3)];
    for (int slot = 0; slot < 6; ++slot)
        if (row[size_t(slot)] != kNoBulb && bulbKindExists(row[size_t(slot)])) edgeIds_.push_back(row[size_t(slot)]);
    if (horizontal()) {
        cornerIds_[0] = row[6];
        cornerIds_[1] = row[7];
    }
    slowRegion_.reset(CreateRectRgn(0, 0, 0, 0));
    check(bool(slowRegion_));
}

BulbWorld::~BulbWorld() {
    if (picture_) {
        picture_.reset();
        if (layoutWindow_ && layoutWindow_ != context_.saverWindow && IsWindow(layoutWindow_)) {
            InvalidateRect(layoutWindow_, &place_, TRUE);
            GdiFlush();
        }
    }
}

void BulbWorld::measure() {
    WorldInput in;
    in.side = side_;
    in.usable = toLayout(usable_);
    in.pattern = flashState().pattern;
    for (int32_t id : edgeIds_) {
        BulbObject* kind = findBulbById(id);
        if (!kind) continue;
        EdgeKind edge;
        try {
            edge.phases = std::max(1, kind->phaseCount(side_));
            edge.gap = horizontal() ? kind->gapHorizontal() : kind->gapVertical();
        } catch (...) {
            continue;
        }
        BulbPosition side = side_;
        edge.frame = [kind, side](int flavor) {
            try {
                RECT r = kind->frameRect(side, flavor, 0);
                return LayoutSize{r.right - r.left, r.bottom - r.top};
            } catch (...) {
                return LayoutSize{};
            }
        };
        in.edges.push_back(std::move(edge));
    }
    if (horizontal()) {
        const BulbPosition positions[2] = {cornerPosition(side_, false), cornerPosition(side_, true)};
        for (int c = 0; c < 2; ++c) {
            BulbObject* kind = cornerIds_[c] == kNoBulb ? nullptr : findBulbById(cornerIds_[c]);
            if (!kind) continue;
            try {
                RECT r = kind->frameRect(positions[c], 0, 0);
                CornerKind corner{std::max(1, kind->phaseCount(positions[c])), kind->gapHorizontal(),
                                  {std::max<LONG>(0, r.right - r.left), std::max<LONG>(0, r.bottom - r.top)}};
                (c == 0 ? in.leftCorner : in.rightCorner) = corner;
            } catch (...) {
            }
        }
    }
    layout_ = layoutWorld(in);
    place_ = toRect(layout_.place);
    thickness_ = layout_.thickness;
    bulbCount_ = layout_.bulbCount;
    spread_ = layout_.spread;
    halfLeftover_ = layout_.halfLeftover;
    phaseCount_ = layout_.phaseCopies;
    LayoutSize picture = layout_.pictureSize();
    pictureSize_ = {picture.width, picture.height};
    scratchSize_ = {place_.right - place_.left, place_.bottom - place_.top};
}

bool BulbWorld::render(HDC dc) {
    if (!layout_.usable) return false;  // nothing along this side
    const EngineContext& a = context_;
    const int w = pictureSize_.cx, h = pictureSize_.cy;
    picture_ = Surface(dc, unique_hbitmap(CreateCompatibleBitmap(dc, w, h)));
    PatBlt(picture_.get(), 0, 0, w, h, BLACKNESS);
    mask_ = Surface(dc, unique_hbitmap(CreateBitmap(w, h, 1, 1, nullptr)));
    fillMaskWhite(mask_.get(), w, h);
    backgroundMask_ = Surface(dc, unique_hbitmap(CreateBitmap(w, h, 1, 1, nullptr)));
    fillMaskWhite(backgroundMask_.get(), w, h);
    scratch_ = Surface(dc, unique_hbitmap(CreateCompatibleBitmap(dc, scratchSize_.cx, scratchSize_.cy)));
    // One-bit masks blitted onto colour pictures: 0 is black, 1 is white.
    for (HDC colour : {picture_.get(), scratch_.get()}) {
        SetTextColor(colour, RGB(0, 0, 0));
        SetBkColor(colour, RGB(255, 255, 255));
    }

    const bool onTop = a.onTop() && !a.saverWindow;
    phaseRegions_.clear();
    if (onTop)
        for (int p = 0; p < phaseCount_; ++p) {
            phaseRegions_.emplace_back(CreateRectRgn(0, 0, 0, 0));
            check(bool(phaseRegions_.back()));
        }
    const bool onDesktop = a.runMode == kRunNormal && a.bulbLocation == kOnDesktop;
    const MaskKind maskKind = onDesktop ? kMaskOutline : kMaskOwn;
    SelectPaletteScope palette(picture_.get(), programPalette(bulbContext()));

    // One frame of one copy, at (x, y) inside the copy.
    auto drawOne = [&](BulbObject* kind, BulbPosition position, int flavor, int phase, int copy, int x, int y,
                       const LayoutSize& frame) {
        POINT o = copyOrigin(copy);
        try {
            kind->drawFrameMask(position, flavor, phase, o.x + x, o.y + y, mask_.get(), maskKind);
            if (!phaseRegions_.empty())
                kind->addFrameRegion(position, flavor, phase, place_.left + x, place_.top + y,
                                     phaseRegions_[size_t(copy)].get());
            if (kind->drawFrame(position, flavor, phase, o.x + x, o.y + y, picture_.get(), onDesktop)) {
                slow_ = true;
                if (copy == 0) {
                    unique_hrgn box(CreateRectRgn(x, y, x + frame.width, y + frame.height));
                    if (box) CombineRgn(slowRegion_.get(), slowRegion_.get(), box.get(), RGN_OR);
                }
                kind->drawFrameMask(position, flavor, phase, o.x + x, o.y + y, backgroundMask_.get(),
                                    kMaskBackground);
            }
        } catch (...) {
            // a failing kind draws nothing for this bulb
        }
    };
    auto at = [this](int32_t along, int32_t across) {
        return horizontal() ? POINT{along, across} : POINT{across, along};
    };

    for (const PlacedCorner& c : layout_.corners) {
        BulbPosition position = cornerPosition(side_, c.right);
        BulbObject* kind = findBulbById(cornerIds_[c.right ? 1 : 0]);
        if (!kind) continue;
        int phases = std::max(1, kind->phaseCount(position));
        for (int p = 0; p < phaseCount_; ++p)
            drawOne(kind, position, 0, cornerBulbPhase(p, phases), p, c.along, c.across, c.frame);
    }
    for (const PlacedBulb& b : layout_.bulbs) {
        BulbObject* kind = findBulbById(edgeIds_[size_t(b.slot)]);
        if (!kind) continue;
        int phases = std::max(1, kind->phaseCount(side_));
        POINT pt = at(b.along, b.across);
        for (int p = 0; p < phaseCount_; ++p) {
            int phase = edgeBulbPhase(flashState().pattern, p, phaseCount_, b.sequence, phases, rand());
            drawOne(kind, side_, b.flavor, phase, p, pt.x, pt.y, b.frame);
        }
    }
    GdiFlush();
    return slow_;
}

void BulbWorld::drawPhase(HDC dc, int32_t step) {
    if (!hasPictures()) return;
    const EngineContext& a = context_;
    POINT o = copyOrigin(wrapPhase(step, phaseCount_));
    const int w = scratchSize_.cx, h = scratchSize_.cy;
    const bool boost = a.runMode == kRunNormal;
    if (boost) SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    if (a.saverWindow || !a.onTop()) {
        HDC s = scratch_.get();
        BitBlt(s, 0, 0, w, h, dc, place_.left, place_.top, SRCCOPY);
        BitBlt(s, 0, 0, w, h, mask_.get(), o.x, o.y, SRCAND);
        BitBlt(s, 0, 0, w, h, picture_.get(), o.x, o.y, SRCPAINT);
        BitBlt(dc, place_.left, place_.top, w, h, s, 0, 0, SRCCOPY);
    } else {
        BitBlt(dc, place_.left, place_.top, w, h, picture_.get(), o.x, o.y, SRCCOPY);
    }
    if (boost) SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

void BulbWorld::refreshBackground(HRGN pending) {
    if (!slow_ || !pending || context_.runMode != kRunNormal || !hasPictures() || !backgroundMask_) return;
    RECT bounds, clip;
    if (GetRgnBox(pending, &bounds) == NULLREGION) return;
    if (!IntersectRect(&clip, &place_, &bounds)) return;
    const int ox = clip.left - place_.left, oy = clip.top - place_.top;
    const int cw = clip.right - clip.left, ch = clip.bottom - clip.top;
    {
        WindowDc screen(layoutWindow_);
        if (!screen) return;
        BitBlt(scratch_.get(), ox, oy, cw, ch, screen.get(), clip.left, clip.top, SRCCOPY);
    }
    unique_hrgn region(CreateRectRgn(0, 0, 0, 0));
    if (!region) return;
    CombineRgn(region.get(), pending, nullptr, RGN_COPY);
    OffsetRgn(region.get(), -place_.left, -place_.top);
    HDC pic = picture_.get();
    for (int p = 0; p < phaseCount_; ++p) {
        POINT o = copyOrigin(p);
        if (p > 0) {
            POINT prev = copyOrigin(p - 1);
            OffsetRgn(region.get(), o.x - prev.x, o.y - prev.y);
        }
        SelectClipRgn(pic, region.get());
        BitBlt(pic, o.x + ox, o.y + oy, cw, ch, scratch_.get(), ox, oy, SRCINVERT);
        BitBlt(pic, o.x + ox, o.y + oy, cw, ch, backgroundMask_.get(), o.x + ox, o.y + oy, SRCAND);
        BitBlt(pic, o.x + ox, o.y + oy, cw, ch, scratch_.get(), ox, oy, SRCINVERT);
    }
    SelectClipRgn(pic, nullptr);
}

void BulbWorld::addPhaseRegion(HRGN target, int32_t step) const {
    if (phaseRegions_.empty() || !target) return;
    CombineRgn(target, target, phaseRegions_[size_t(wrapPhase(step, int(phaseRegions_.size())))].get(), RGN_OR);
}

bool BulbWorld::hitEmpty(int x, int y) {
    if (!inside(place_, x, y) || !hasPictures()) return false;
    int rx = x - place_.left, ry = y - place_.top;
    if (slow_ && PtInRegion(slowRegion_.get(), rx, ry)) return false;
    return GetPixel(picture_.get(), rx, ry) == RGB(0, 0, 0);
}

void BulbWorld::markPixel(int x, int y) {
    if (!inside(place_, x, y) || !picture_) return;
    int rx = x - place_.left, ry = y - place_.top;
    COLORREF colour = GetPixel(picture_.get(), rx, ry) != RGB(0, 0, 0) ? kMarkLit : kMarkDark;
    for (int p = 0; p < phaseCount_; ++p) {
        POINT o = copyOrigin(p);
        SetPixel(picture_.get(), o.x + rx, o.y + ry, colour);
    }
}

COLORREF BulbWorld::maskPixel(int x, int y, int phase) const {
    if (!mask_) return CLR_INVALID;
    POINT o = copyOrigin(phase);
    return GetPixel(mask_.get(), x + o.x, y + o.y);
}

// --- the world set ---

BulbWorldSet::BulbWorldSet(EngineContext& context, HWND layout, const RECT& rectangle)
    : context_(context), layout_(layout), last_(rectangle) {
    WaitCursor wait;
    palette_.reset(copySystemPalette());
    WindowDc dc(layout);
    if (dc && palette_) SelectPaletteScope realise(dc.get(), palette_.get(), true);
}

BulbWorldSet::~BulbWorldSet() { destroyWorlds(); }

void BulbWorldSet::destroyWorlds() {
    for (BulbPosition side : {kPosTop, kPosRight, kPosBottom, kPosLeft}) worlds_[side].reset();
}

bool BulbWorldSet::update(const RECT& rectangle, HDC dc) {
    if (built() && EqualRect(&rectangle, &last_)) return false;
    last_ = rectangle;
    rebuild(dc);
    return true;
}

void BulbWorldSet::rebuild(HDC dc) {
    WaitCursor wait;
    EngineContext& a = context_;
    if (a.bulbWindow && IsWindowVisible(a.bulbWindow)) ShowWindow(a.bulbWindow, SW_HIDE);
    destroyWorlds();
    anySlow_ = false;
    failed_ = false;
    working_ = last_;
    // Top and bottom take their bands first; the sides fit between them.
    try {
        for (BulbPosition side : {kPosTop, kPosBottom, kPosRight, kPosLeft}) {
            auto& world = worlds_[side];
            world = std::make_unique<BulbWorld>(context_, side, working_, layout_);
            world->measure();
            anySlow_ |= world->render(dc);
            const RECT place = world->place();
            switch (side) {
            case kPosTop: working_.top = place.bottom; break;
            case kPosBottom: working_.bottom = place.top; break;
            case kPosRight: working_.right = place.left; break;
            default: break;
            }
        }
    } catch (...) {
        destroyWorlds();
        failed_ = true;
        return;
    }
    a.pendingRepaint.reset();
    if (anySlow_ && a.runMode == kRunNormal) {
        if (a.onTop()) {
            if (a.warnSlowBulbsOnTop) a.warnSlowBulbsOnTop();
        } else {
            a.pendingRepaint.reset(CreateRectRgnIndirect(&last_));
        }
    }
}

void BulbWorldSet::draw(const RECT&, HDC dc, int32_t step) {
    SelectPaletteScope palette(dc, palette_.get(), true);
    EngineContext& a = context_;
    const BulbPosition order[4] = {kPosTop, kPosLeft, kPosRight, kPosBottom};
    if (a.pendingRepaint) {
        for (BulbPosition side : order)
            if (BulbWorld* w = world(side)) w->refreshBackground(a.pendingRepaint.get());
        a.pendingRepaint.reset();
    }
    for (BulbPosition side : order)
        if (BulbWorld* w = world(side)) w->drawPhase(dc, step);
}

unique_hrgn BulbWorldSet::windowRegion(int32_t step) const {
    bool any = false;
    for (const auto& w : worlds_) any = any || (w && w->hasRegions());
    if (!any) return {};
    unique_hrgn region(CreateRectRgn(0, 0, 0, 0));
    if (!region) return {};
    for (const auto& w : worlds_)
        if (w) w->addPhaseRegion(region.get(), step);
    return region;
}

bool BulbWorldSet::hitEmpty(int x, int y) {
    for (const auto& w : worlds_)
        if (w && w->hitEmpty(x, y)) return true;
    return false;
}

void BulbWorldSet::markPixel(int x, int y) {
    for (const auto& w : worlds_)
        if (w) w->markPixel(x, y);
}

}  // namespace lumarel
