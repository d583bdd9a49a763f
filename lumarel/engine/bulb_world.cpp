#include "engine/bulb_world.h"

#include <algorithm>
#include <cstdlib>

#include "engine/bulb_object.h"
#include "engine/flash_pattern.h"
#include "engine/flash_state.h"
#include "engine/palette.h"
#include "frame/app.h"
#include "frame/failure.h"
#include "ui/settings_store.h"

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

void makeSurface(WorldSurface& surface, HBITMAP bitmap, HDC compatible) {
    surface.bitmap.reset(bitmap);
    check(bool(surface.bitmap));
    surface.dc = std::make_unique<MemoryDc>(compatible, surface.bitmap.get());
}

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

BulbWorld::BulbWorld(int side, const RECT& usable, HWND layout)
    : side_(side), layoutWindow_(layout), usable_(usable) {
    const auto& row = flashState().arrangement[size_t(side & 3)];
    for (int slot = 0; slot < 6; ++slot)
        if (row[size_t(slot)] != kNoBulb && bulbKindExists(row[size_t(slot)])) edgeIds_.push_back(row[size_t(slot)]);
    if (side == 0 || side == 2) {
        cornerIds_[0] = row[6];
        cornerIds_[1] = row[7];
    }
    slowRegion_.reset(CreateRectRgn(0, 0, 0, 0));
    check(bool(slowRegion_));
}

BulbWorld::~BulbWorld() {
    if (picture_) {
        picture_.reset();
        HWND saver = app().saverWindow;
        if (layoutWindow_ && layoutWindow_ != saver && IsWindow(layoutWindow_)) {
            InvalidateRect(layoutWindow_, &place_, TRUE);
            GdiFlush();
        }
    }
}

void BulbWorld::measureSide() {
    const bool horizontal = side_ == 0 || side_ == 2;
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
            edge.gap = horizontal ? kind->gapHorizontal() : kind->gapVertical();
        } catch (...) {
            continue;
        }
        int side = side_;
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
    if (horizontal) {
        const int positions[2] = {side_ == 0 ? kPosTopLeft : kPosBottomLeft,
                                  side_ == 0 ? kPosTopRight : kPosBottomRight};
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

bool BulbWorld::renderSide(HDC dc) {
    if (!layout_.usable) return false;  // nothing along this side
    const App& a = app();
    const int w = pictureSize_.cx, h = pictureSize_.cy;
    makeSurface(picture_, CreateCompatibleBitmap(dc, w, h), dc);
    PatBlt(picture_.get(), 0, 0, w, h, BLACKNESS);
    makeSurface(mask_, CreateBitmap(w, h, 1, 1, nullptr), dc);
    fillMaskWhite(mask_.get(), w, h);
    makeSurface(backgroundMask_, CreateBitmap(w, h, 1, 1, nullptr), dc);
    fillMaskWhite(backgroundMask_.get(), w, h);
    makeSurface(scratch_, CreateCompatibleBitmap(dc, scratchSize_.cx, scratchSize_.cy), dc);
    // One-bit masks blitted onto colour pictures: 0 is black, 1 is white.
    for (HDC colour : {picture_.get(), scratch_.get()}) {
        SetTextColor(colour, RGB(0, 0, 0));
        SetBkColor(colour, RGB(255, 255, 255));
    }

    const bool onTop = a.bulbLocation == kOnTop && !a.saverWindow;
    phaseRegions_.clear();
    if (onTop)
        for (int p = 0; p < phaseCount_; ++p) {
            phaseRegions_.emplace_back(CreateRectRgn(0, 0, 0, 0));
            check(bool(phaseRegions_.back()));
        }
    const bool onDesktop = a.runMode == kRunNormal && a.bulbLocation == kOnDesktop;
    const int maskKind = onDesktop ? kMaskOutline : kMaskOwn;
    SelectPaletteScope palette(picture_.get(), programPalette());

    // One frame of one copy, at (x, y) inside the copy.
    auto drawOne = [&](BulbObject* kind, int position, int flavor, int phase, int copy, int x, int y,
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
    const bool horizontal = side_ == 0 || side_ == 2;
    auto at = [horizontal](int32_t along, int32_t across) {
        return horizontal ? POINT{along, across} : POINT{across, along};
    };

    for (const PlacedCorner& c : layout_.corners) {
        int position = side_ == 0 ? (c.right ? kPosTopRight : kPosTopLeft) : (c.right ? kPosBottomRight : kPosBottomLeft);
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
    const App& a = app();
    POINT o = copyOrigin(wrapPhase(step, phaseCount_));
    const int w = scratchSize_.cx, h = scratchSize_.cy;
    const bool boost = a.runMode == kRunNormal;
    if (boost) SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    if (a.saverWindow || a.bulbLocation == kOnDesktop) {
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
    if (!slow_ || !pending || app().runMode != kRunNormal || !hasPictures() || !backgroundMask_) return;
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

void BulbWorld::markAcrossCopies(int x, int y) {
    if (!inside(place_, x, y) || !picture_) return;
    int rx = x - place_.left, ry = y - place_.top;
    COLORREF colour = GetPixel(picture_.get(), rx, ry) != RGB(0, 0, 0) ? kMarkLit : kMarkDark;
    for (int p = 0; p < phaseCount_; ++p) {
        POINT o = copyOrigin(p);
        SetPixel(picture_.get(), o.x + rx, o.y + ry, colour);
    }
}

COLORREF HorizontalBulbWorld::maskPixel(int x, int y, int phase) {
    return mask_ ? GetPixel(mask_.get(), x, y + phase * thickness_) : CLR_INVALID;
}

COLORREF VerticalBulbWorld::maskPixel(int x, int y, int phase) {
    return mask_ ? GetPixel(mask_.get(), x + phase * thickness_, y) : CLR_INVALID;
}

// --- the world set ---

BulbWorldSet::BulbWorldSet(HWND layout, const RECT& rectangle) : layout_(layout), last_(rectangle) {
    WaitCursor wait;
    palette_.reset(copySystemPalette());
    WindowDc dc(layout);
    if (dc && palette_) SelectPaletteScope realise(dc.get(), palette_.get(), true);
}

BulbWorldSet::~BulbWorldSet() { destroyWorlds(); }

void BulbWorldSet::destroyWorlds() {
    top_.reset();
    right_.reset();
    bottom_.reset();
    left_.reset();
}

BulbWorld* BulbWorldSet::world(int side) const {
    switch (side) {
    case 0: return top_.get();
    case 1: return right_.get();
    case 2: return bottom_.get();
    case 3: return left_.get();
    }
    return nullptr;
}

bool BulbWorldSet::update(const RECT& rectangle, HDC dc) {
    if (top_ && EqualRect(&rectangle, &last_)) return false;
    last_ = rectangle;
    rebuild(dc);
    return true;
}

void BulbWorldSet::rebuild(HDC dc) {
    WaitCursor wait;
    App& a = app();
    if (a.bulbWindow && IsWindowVisible(a.bulbWindow)) ShowWindow(a.bulbWindow, SW_HIDE);
    destroyWorlds();
    anySlow_ = false;
    failed_ = false;
    working_ = last_;
    try {
        top_ = std::make_unique<TopBulbWorld>(working_, layout_);
        top_->measure();
        anySlow_ |= top_->render(dc);
        working_.top = top_->place().bottom;
        bottom_ = std::make_unique<BottomBulbWorld>(working_, layout_);
        bottom_->measure();
        anySlow_ |= bottom_->render(dc);
        working_.bottom = bottom_->place().top;
        right_ = std::make_unique<RightBulbWorld>(working_, layout_);
        right_->measure();
        anySlow_ |= right_->render(dc);
        working_.right = right_->place().left;
        left_ = std::make_unique<LeftBulbWorld>(working_, layout_);
        left_->measure();
        anySlow_ |= left_->render(dc);
    } catch (...) {
        destroyWorlds();
        failed_ = true;
        return;
    }
    if (a.pendingRepaint) {
        DeleteObject(a.pendingRepaint);
        a.pendingRepaint = nullptr;
    }
    if (anySlow_ && a.runMode == kRunNormal) {
        if (a.bulbLocation == kOnTop) {
            if (!getPreventSlowBulbWarning()) {
                MessageBoxA(a.mainWindow,
                            "You're using one or more slow bulbs on top of all windows. (Slow bulbs are those "
                            "that change shape while they animate.)\r\n\r\nDepending on your computer, the "
                            "extra computing power required to draw these bulbs might slow down Lumarel or "
                            "other applications, making the bulb animation less smooth and attractive.\r\n\r\n"
                            "If this is a problem, choose bulbs that aren't marked \"slow\" in the Bulb "
                            "Factory, or set the bulbs to draw only on your desktop.",
                            "Slow Bulb Reminder", MB_ICONWARNING | MB_OK);
                setPreventSlowBulbWarning(1);
            }
        } else {
            a.pendingRepaint = CreateRectRgnIndirect(&last_);
        }
    }
}

void BulbWorldSet::draw(const RECT&, HDC dc, int32_t step) {
    SelectPaletteScope palette(dc, palette_.get(), true);
    App& a = app();
    BulbWorld* order[4] = {top_.get(), left_.get(), right_.get(), bottom_.get()};
    if (a.pendingRepaint) {
        for (BulbWorld* w : order)
            if (w) w->refreshBackground(a.pendingRepaint);
        DeleteObject(a.pendingRepaint);
        a.pendingRepaint = nullptr;
    }
    for (BulbWorld* w : order)
        if (w) w->drawPhase(dc, step);
}

HRGN BulbWorldSet::windowRegion(int32_t step) const {
    bool any = false;
    for (BulbWorld* w : {top_.get(), right_.get(), bottom_.get(), left_.get()})
        any = any || (w && w->hasRegions());
    if (!any) return nullptr;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (!region) return nullptr;
    for (BulbWorld* w : {top_.get(), right_.get(), bottom_.get(), left_.get()})
        if (w) w->addPhaseRegion(region, step);
    return region;
}

bool BulbWorldSet::hitEmpty(int x, int y) {
    for (BulbWorld* w : {top_.get(), bottom_.get(), left_.get(), right_.get()})
        if (w && w->hitEmpty(x, y)) return true;
    return false;
}

void BulbWorldSet::markPixel(int x, int y) {
    for (BulbWorld* w : {top_.get(), right_.get(), bottom_.get(), left_.get()})
        if (w) w->markPixel(x, y);
}

}  // namespace lumarel
