// The four edge worlds: each lays its string of bulbs out along one side of
// the drawing rectangle and pre-renders every phase copy into an off-screen
// picture, a one-bit mask, a background mask and (on top of all windows) one
// window region per phase. The world set holds the four together.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/handles.h"
#include "engine/bitmap.h"
#include "engine/bulb_position.h"
#include "engine/engine_context.h"
#include "engine/world_layout.h"

namespace lumarel {

class BulbObject;

// One side's world: top, right, bottom or left.
class BulbWorld {
public:
    // `layout` is the window whose client coordinates the world lives in.
    BulbWorld(const EngineContext& context, BulbPosition side, const RECT& usable, HWND layout);
    ~BulbWorld();

    void measure();
    // Makes the pictures and renders the first phase copy; the others are
    // rendered when first shown, and copies that show the same phase of
    // every bulb are stored once. True when a kind on this side is slow.
    bool render(HDC dc);
    // Sets (x, y) of every copy to the colour phase 0 decides.
    void markPixel(int x, int y);
    COLORREF maskPixel(int x, int y, int phase);

    // Puts phase copy (step mod phase count) on dc.
    void drawPhase(HDC dc, int32_t step);
    // Takes the desktop behind slow bulbs again where `pending` repainted.
    void refreshBackground(HRGN pending);
    // ORs this world's region of the step's phase into target.
    void addPhaseRegion(HRGN target, int32_t step);
    // Which of the world's distinct shapes the step shows (-1 without
    // regions): equal numbers are equal regions.
    int shapeOfStep(int32_t step);
    bool hitEmpty(int x, int y);

    BulbPosition side() const { return side_; }
    bool horizontal() const { return side_ == kPosTop || side_ == kPosBottom; }
    RECT place() const { return place_; }
    int phaseCount() const { return phaseCount_; }
    int thickness() const { return thickness_; }
    int bulbCount() const { return bulbCount_; }
    bool slow() const { return slow_; }
    bool hasPictures() const { return picture_ && mask_ && scratch_; }
    bool hasRegions() const { return withRegions_; }
    const WorldLayout& layout() const { return layout_; }
    HDC pictureDc() const { return picture_.get(); }
    // Copies held in the picture (identical phase copies share one).
    int storedCopies() const { return storedCopies_; }
    // Where phase copy `copy` is in the picture and masks.
    POINT copyOrigin(int copy) const { return slotOrigin(slotOfCopy(copy)); }
    // Renders every copy not rendered yet (before changing them all).
    void renderAllCopies();

    BulbWorld(const BulbWorld&) = delete;
    BulbWorld& operator=(const BulbWorld&) = delete;

private:
    // One frame to render in every copy: a corner or an edge bulb.
    struct Frame {
        int32_t id;
        BulbPosition position;
        int flavor;
        POINT at;  // inside a copy
        LayoutSize size;
    };
    // Stored copies stack across the side.
    POINT slotOrigin(int slot) const {
        return horizontal() ? POINT{0, slot * thickness_} : POINT{slot * thickness_, 0};
    }
    int slotOfCopy(int copy) const {
        return copy >= 0 && size_t(copy) < slotOfCopy_.size() ? slotOfCopy_[size_t(copy)] : 0;
    }
    void renderCopy(int copy);
    void ensureCopy(int copy) {
        if (!rendered_.empty() && !rendered_[size_t(slotOfCopy(copy))]) renderCopy(copy);
    }

    const EngineContext& context_;
    BulbPosition side_;
    HWND layoutWindow_;
    Surface picture_, mask_, backgroundMask_, scratch_;
    std::vector<int32_t> edgeIds_;
    int32_t cornerIds_[2] = {-1, -1};
    RECT usable_;
    RECT place_{};
    SIZE pictureSize_{}, scratchSize_{};
    int thickness_ = 0;
    int bulbCount_ = 0;
    double spread_ = 0;
    int32_t halfLeftover_ = 0;
    int phaseCount_ = 1;
    bool slow_ = false;
    unique_hrgn slowRegion_;
    // Which pixels of the first copy's picture are black, read on the first
    // question: falling snow asks thousands a frame, and GetPixel is a trip
    // through GDI each time. Empty after a failed read (then GetPixel).
    std::vector<uint8_t> blackPixels_;
    bool blackRead_ = false;
    void readBlackPixels();
    WorldLayout layout_;
    std::vector<Frame> frames_;
    std::vector<std::vector<int>> phases_;  // per copy, per frame
    std::vector<int> slotOfCopy_;
    std::vector<bool> rendered_;            // per stored copy
    int storedCopies_ = 0;
    bool onDesktop_ = false;                // drawn through masks into the icon view
    bool withRegions_ = false;              // drawn into the bulb window
    std::vector<unique_hrgn> shapes_;       // the distinct regions
    std::vector<int> shapeOfSlot_;          // per stored copy, -1 until rendered
};

class BulbWorldSet {
public:
    // Remembers the rectangle and copies the system palette (realised in the
    // layout window's DC); the worlds are built by the first update.
    BulbWorldSet(EngineContext& context, HWND layout, const RECT& rectangle);
    ~BulbWorldSet();

    // Rebuilds unless the top world exists and the rectangle is the last one.
    // True when a rebuild was made (successful or not).
    bool update(const RECT& rectangle, HDC dc);
    void draw(const RECT& rectangle, HDC dc, int32_t step);
    // Every world's region for the step; empty without any.
    unique_hrgn windowRegion(int32_t step);
    // Names the shape windowRegion(step) has: equal keys, equal regions.
    using ShapeKey = std::array<int, 4>;
    ShapeKey shapeKey(int32_t step);
    bool hitEmpty(int x, int y);
    void markPixel(int x, int y);

    bool anySlow() const { return anySlow_; }
    bool built() const { return worlds_[kPosTop] != nullptr; }
    bool lastRebuildFailed() const { return failed_; }
    BulbWorld* world(int side) const { return side >= 0 && side < 4 ? worlds_[side].get() : nullptr; }

    BulbWorldSet(const BulbWorldSet&) = delete;
    BulbWorldSet& operator=(const BulbWorldSet&) = delete;

private:
    void rebuild(HDC dc);
    void destroyWorlds();

    EngineContext& context_;
    HWND layout_;
    std::unique_ptr<BulbWorld> worlds_[4];  // by side: top, right, bottom, left
    unique_hpalette palette_;
    RECT last_{};
    bool anySlow_ = false;
    bool failed_ = false;
    RECT working_{};
};

}  // namespace lumarel
