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

// The process at high priority while it lives, back to normal after (also
// when a world's drawing throws).
class HighPriority {
public:
    explicit HighPriority(bool raise) : raised_(raise && SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS)) {}
    ~HighPriority() {
        if (raised_) SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    }
    HighPriority(const HighPriority&) = delete;
    HighPriority& operator=(const HighPriority&) = delete;

private:
    bool raised_;
};

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
        // The icon view repaints where the bulbs were; a window just hides.
        if (onDesktop_ && layoutWindow_ && IsWindow(layoutWindow_)) {
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
    const int32_t pattern = flashState().pattern;

    // Which phase every frame shows in every copy, decided now (random
    // flashing draws its numbers here), so identical copies are known before
    // anything is drawn.
    frames_.clear();
    for (const PlacedCorner& c : layout_.corners)
        frames_.push_back({cornerIds_[c.right ? 1 : 0], cornerPosition(side_, c.right), 0, {c.along, c.across}, c.frame});
    const size_t cornerCount = frames_.size();
    auto at = [this](int32_t along, int32_t across) {
        return horizontal() ? POINT{along, across} : POINT{across, along};
    };
    for (const PlacedBulb& b : layout_.bulbs)
        frames_.push_back({edgeIds_[size_t(b.slot)], side_, b.flavor, at(b.along, b.across), b.frame});
    phases_.assign(size_t(phaseCount_), std::vector<int>(frames_.size(), 0));
    for (size_t f = 0; f < frames_.size(); ++f) {
        BulbObject* kind = findBulbById(frames_[f].id);
        int phases = 1;
        try {
            if (kind) phases = std::max(1, kind->phaseCount(frames_[f].position));
        } catch (...) {
        }
        int sequence = f < cornerCount ? 0 : layout_.bulbs[f - cornerCount].sequence;
        for (int p = 0; p < phaseCount_; ++p)
            phases_[size_t(p)][f] = f < cornerCount ? cornerBulbPhase(p, phases)
                                                    : edgeBulbPhase(pattern, p, phaseCount_, sequence, phases, rand());
    }
    slotOfCopy_ = shareIdenticalCopies(phases_);
    storedCopies_ = 1 + *std::max_element(slotOfCopy_.begin(), slotOfCopy_.end());
    rendered_.assign(size_t(storedCopies_), false);

    const int w = horizontal() ? layout_.length : thickness_ * storedCopies_;
    const int h = horizontal() ? thickness_ * storedCopies_ : layout_.length;
    pictureSize_ = {w, h};
    blackPixels_.clear();
    blackRead_ = false;
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

    withRegions_ = a.inBulbWindow();
    shapes_.clear();
    shapeOfSlot_.assign(size_t(storedCopies_), -1);
    onDesktop_ = a.onIconView();
    // Copy 0 holds every frame once: after it, the slow flag is known.
    renderCopy(0);
    return slow_;
}

void BulbWorld::renderCopy(int copy) {
    const int slot = slotOfCopy(copy);
    if (rendered_.empty() || rendered_[size_t(slot)]) return;
    rendered_[size_t(slot)] = true;
    const MaskKind maskKind = onDesktop_ ? kMaskOutline : kMaskOwn;
    SelectPaletteScope palette(picture_.get(), programPalette(bulbContext()));
    unique_hrgn shape;
    // A kind that keeps its shape across phases gives every copy copy 0's
    // region, so only slow worlds build more than one.
    const bool newShape = withRegions_ && (slot == 0 || slow_);
    if (newShape) {
        shape.reset(CreateRectRgn(0, 0, 0, 0));
        check(bool(shape));
    }
    const POINT o = slotOrigin(slot);
    for (size_t f = 0; f < frames_.size(); ++f) {
        const Frame& frame = frames_[f];
        BulbObject* kind = findBulbById(frame.id);
        if (!kind) continue;
        const int phase = phases_[size_t(copy)][f];
        const int x = frame.at.x, y = frame.at.y;
        try {
            kind->drawFrameMask(frame.position, frame.flavor, phase, o.x + x, o.y + y, mask_.get(), maskKind);
            if (shape)
                kind->addFrameRegion(frame.position, frame.flavor, phase, place_.left + x, place_.top + y, shape.get());
            if (kind->drawFrame(frame.position, frame.flavor, phase, o.x + x, o.y + y, picture_.get(), onDesktop_)) {
                slow_ = true;
                if (slot == 0) {
                    unique_hrgn box(CreateRectRgn(x, y, x + frame.size.width, y + frame.size.height));
                    if (box) CombineRgn(slowRegion_.get(), slowRegion_.get(), box.get(), RGN_OR);
                }
                kind->drawFrameMask(frame.position, frame.flavor, phase, o.x + x, o.y + y, backgroundMask_.get(),
                                    kMaskBackground);
            }
        } catch (...) {
            // a failing kind draws nothing for this bulb
        }
    }
    if (withRegions_) {
        int found = 0;  // a copy of an unchanging world shows copy 0's shape
        if (shape) {
            found = -1;
            for (size_t i = 0; i < shapes_.size() && found < 0; ++i)
                if (EqualRgn(shapes_[i].get(), shape.get())) found = int(i);
            if (found < 0) {
                found = int(shapes_.size());
                shapes_.push_back(std::move(shape));
            }
        }
        shapeOfSlot_[size_t(slot)] = found;
    }
    GdiFlush();
}

void BulbWorld::renderAllCopies() {
    for (int copy = 0; copy < phaseCount_; ++copy) ensureCopy(copy);
}

void BulbWorld::drawPhase(HDC dc, int32_t step) {
    if (!hasPictures()) return;
    const int copy = wrapPhase(step, phaseCount_);
    ensureCopy(copy);
    POINT o = copyOrigin(copy);
    const int w = scratchSize_.cx, h = scratchSize_.cy;
    if (!withRegions_) {
        HDC s = scratch_.get();
        BitBlt(s, 0, 0, w, h, dc, place_.left, place_.top, SRCCOPY);
        BitBlt(s, 0, 0, w, h, mask_.get(), o.x, o.y, SRCAND);
        BitBlt(s, 0, 0, w, h, picture_.get(), o.x, o.y, SRCPAINT);
        BitBlt(dc, place_.left, place_.top, w, h, s, 0, 0, SRCCOPY);
    } else {
        BitBlt(dc, place_.left, place_.top, w, h, picture_.get(), o.x, o.y, SRCCOPY);
    }
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
    renderAllCopies();
    CombineRgn(region.get(), pending, nullptr, RGN_COPY);
    OffsetRgn(region.get(), -place_.left, -place_.top);
    HDC pic = picture_.get();
    for (int p = 0; p < storedCopies_; ++p) {
        POINT o = slotOrigin(p);
        if (p > 0) {
            POINT prev = slotOrigin(p - 1);
            OffsetRgn(region.get(), o.x - prev.x, o.y - prev.y);
        }
        SelectClipRgn(pic, region.get());
        BitBlt(pic, o.x + ox, o.y + oy, cw, ch, scratch_.get(), ox, oy, SRCINVERT);
        BitBlt(pic, o.x + ox, o.y + oy, cw, ch, backgroundMask_.get(), o.x + ox, o.y + oy, SRCAND);
        BitBlt(pic, o.x + ox, o.y + oy, cw, ch, scratch_.get(), ox, oy, SRCINVERT);
    }
    SelectClipRgn(pic, nullptr);
    blackRead_ = false;  // read again on the next question
}

int BulbWorld::shapeOfStep(int32_t step) {
    if (!withRegions_ || rendered_.empty()) return -1;
    const int copy = wrapPhase(step, phaseCount_);
    ensureCopy(copy);
    return shapeOfSlot_[size_t(slotOfCopy(copy))];
}

void BulbWorld::addPhaseRegion(HRGN target, int32_t step) {
    const int shape = shapeOfStep(step);
    if (shape < 0 || size_t(shape) >= shapes_.size() || !target) return;
    CombineRgn(target, target, shapes_[size_t(shape)].get(), RGN_OR);
}

void BulbWorld::readBlackPixels() {
    blackRead_ = true;
    blackPixels_.clear();
    const int w = scratchSize_.cx, h = scratchSize_.cy;
    if (w <= 0 || h <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    unique_hbitmap copy(CreateDIBSection(picture_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!copy || !bits) return;
    {
        MemoryDc dc(picture_.get(), copy.get());
        if (!BitBlt(dc.get(), 0, 0, w, h, picture_.get(), 0, 0, SRCCOPY)) return;
        GdiFlush();
    }
    const uint32_t* pixel = static_cast<const uint32_t*>(bits);
    blackPixels_.resize(size_t(w) * size_t(h));
    for (size_t i = 0; i < blackPixels_.size(); ++i) blackPixels_[i] = (pixel[i] & 0xFFFFFF) == 0;
}

bool BulbWorld::hitEmpty(int x, int y) {
    if (!inside(place_, x, y) || !hasPictures()) return false;
    int rx = x - place_.left, ry = y - place_.top;
    if (slow_ && PtInRegion(slowRegion_.get(), rx, ry)) return false;
    if (!blackRead_) readBlackPixels();
    if (blackPixels_.empty()) return GetPixel(picture_.get(), rx, ry) == RGB(0, 0, 0);
    return blackPixels_[size_t(ry) * size_t(scratchSize_.cx) + size_t(rx)] != 0;
}

void BulbWorld::markPixel(int x, int y) {
    if (!inside(place_, x, y) || !picture_) return;
    int rx = x - place_.left, ry = y - place_.top;
    COLORREF colour = GetPixel(picture_.get(), rx, ry) != RGB(0, 0, 0) ? kMarkLit : kMarkDark;
    renderAllCopies();  // a copy rendered later would lose the mark
    for (int p = 0; p < storedCopies_; ++p) {
        POINT o = slotOrigin(p);
        SetPixel(picture_.get(), o.x + rx, o.y + ry, colour);
    }
    if (!blackPixels_.empty()) blackPixels_[size_t(ry) * size_t(scratchSize_.cx) + size_t(rx)] = 0;  // never black
}

COLORREF BulbWorld::maskPixel(int x, int y, int phase) {
    if (!mask_) return CLR_INVALID;
    ensureCopy(phase);
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
    // A window that keeps showing bulbs keeps its place on the display (a
    // hide and show costs Wine a full-screen remap); the new shape and
    // picture follow in the same step.
    if (a.bulbWindow && IsWindowVisible(a.bulbWindow) && !a.inBulbWindow()) ShowWindow(a.bulbWindow, SW_HIDE);
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
    if (a.suspendDesktopWatcher) a.suspendDesktopWatcher();
    a.pendingRepaint.reset();
    if (anySlow_ && a.runMode == kRunNormal) {
        if (a.onTop()) {
            if (a.warnSlowBulbsOnTop) a.warnSlowBulbsOnTop();
        } else if (a.onIconView()) {
            a.pendingRepaint.reset(CreateRectRgnIndirect(&last_));
            if (a.startDesktopWatcher) a.startDesktopWatcher();
        }
    }
}

void BulbWorldSet::draw(const RECT&, HDC dc, int32_t step) {
    // Only a display of 256 colours maps through the palette; elsewhere
    // realising it each tick costs and changes nothing.
    const bool paletteDevice = (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0;
    SelectPaletteScope palette(dc, paletteDevice ? palette_.get() : nullptr, true);
    EngineContext& a = context_;
    const BulbPosition order[4] = {kPosTop, kPosLeft, kPosRight, kPosBottom};
    if (a.pendingRepaint) {
        for (BulbPosition side : order)
            if (BulbWorld* w = world(side)) w->refreshBackground(a.pendingRepaint.get());
        a.pendingRepaint.reset();
    }
    // A normal run draws at high priority, so the masked copies reach the
    // screen together. The four worlds are drawn back to back under one
    // raise: each change of class is a trip to the window server, dearer
    // than a world's copies.
    HighPriority boost(a.runMode == kRunNormal);
    for (BulbPosition side : order)
        if (BulbWorld* w = world(side)) w->drawPhase(dc, step);
}

BulbWorldSet::ShapeKey BulbWorldSet::shapeKey(int32_t step) {
    ShapeKey key{-1, -1, -1, -1};
    for (int side = 0; side < 4; ++side)
        if (worlds_[side]) key[size_t(side)] = worlds_[side]->shapeOfStep(step);
    return key;
}

unique_hrgn BulbWorldSet::windowRegion(int32_t step) {
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
