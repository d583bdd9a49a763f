// The four edge worlds: each lays its string of bulbs out along one side of
// the drawing rectangle and pre-renders every phase copy into an off-screen
// picture, a one-bit mask, a background mask and (on top of all windows) one
// window region per phase. The world set holds the four together.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/bitmap.h"
#include "engine/world_layout.h"
#include "frame/handles.h"

namespace lumarel {

class BulbObject;

// A bitmap selected into its own memory DC; the DC goes first on destruction.
struct WorldSurface {
    unique_hbitmap bitmap;
    std::unique_ptr<MemoryDc> dc;
    HDC get() const { return dc ? dc->get() : nullptr; }
    explicit operator bool() const { return dc != nullptr; }
    void reset() {
        dc.reset();
        bitmap.reset();
    }
};

class BulbWorld {
public:
    // Side 0 top, 1 right, 2 bottom, 3 left; `layout` is the window whose
    // client coordinates the world lives in.
    BulbWorld(int side, const RECT& usable, HWND layout);
    virtual ~BulbWorld();                                 // 0
    virtual void measure() = 0;                           // 1
    virtual bool render(HDC dc) = 0;                      // 2
    virtual void markPixel(int x, int y) = 0;             // 3
    virtual COLORREF maskPixel(int x, int y, int phase) = 0;  // 4

    // Puts phase copy (step mod phase count) on dc.
    void drawPhase(HDC dc, int32_t step);
    // Takes the desktop behind slow bulbs again where `pending` repainted.
    void refreshBackground(HRGN pending);
    // ORs this world's region of the step's phase into target.
    void addPhaseRegion(HRGN target, int32_t step) const;
    bool hitEmpty(int x, int y);

    int side() const { return side_; }
    RECT place() const { return place_; }
    int phaseCount() const { return phaseCount_; }
    int thickness() const { return thickness_; }
    int bulbCount() const { return bulbCount_; }
    bool slow() const { return slow_; }
    bool hasPictures() const { return picture_ && mask_ && scratch_; }
    bool hasRegions() const { return !phaseRegions_.empty(); }
    const WorldLayout& layout() const { return layout_; }
    HDC pictureDc() const { return picture_.get(); }

    BulbWorld(const BulbWorld&) = delete;
    BulbWorld& operator=(const BulbWorld&) = delete;

protected:
    // Where phase copy `copy` starts in the picture.
    virtual POINT copyOrigin(int copy) const = 0;
    void measureSide();
    bool renderSide(HDC dc);
    // Sets (x, y) of every copy to the colour phase 0 decides.
    void markAcrossCopies(int x, int y);

    int side_;
    HWND layoutWindow_;
    WorldSurface picture_, mask_, backgroundMask_, scratch_;
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
    std::vector<unique_hrgn> phaseRegions_;  // only when the bulbs are on top
    WorldLayout layout_;
};

class HorizontalBulbWorld : public BulbWorld {
public:
    using BulbWorld::BulbWorld;
    void measure() override { measureSide(); }
    bool render(HDC dc) override { return renderSide(dc); }
    void markPixel(int x, int y) override { markAcrossCopies(x, y); }
    COLORREF maskPixel(int x, int y, int phase) override;

protected:
    POINT copyOrigin(int copy) const override { return {0, copy * thickness_}; }
};

class VerticalBulbWorld : public BulbWorld {
public:
    using BulbWorld::BulbWorld;
    void measure() override { measureSide(); }
    bool render(HDC dc) override { return renderSide(dc); }
    void markPixel(int x, int y) override { markAcrossCopies(x, y); }
    COLORREF maskPixel(int x, int y, int phase) override;

protected:
    POINT copyOrigin(int copy) const override { return {copy * thickness_, 0}; }
};

class TopBulbWorld : public HorizontalBulbWorld {
public:
    TopBulbWorld(const RECT& usable, HWND layout) : HorizontalBulbWorld(0, usable, layout) {}
};
class BottomBulbWorld : public HorizontalBulbWorld {
public:
    BottomBulbWorld(const RECT& usable, HWND layout) : HorizontalBulbWorld(2, usable, layout) {}
};
class LeftBulbWorld : public VerticalBulbWorld {
public:
    LeftBulbWorld(const RECT& usable, HWND layout) : VerticalBulbWorld(3, usable, layout) {}
};
class RightBulbWorld : public VerticalBulbWorld {
public:
    RightBulbWorld(const RECT& usable, HWND layout) : VerticalBulbWorld(1, usable, layout) {}
};

class BulbWorldSet {
public:
    // Remembers the rectangle and copies the system palette (realised in the
    // layout window's DC); the worlds are built by the first update.
    BulbWorldSet(HWND layout, const RECT& rectangle);
    ~BulbWorldSet();

    // Rebuilds unless the top world exists and the rectangle is the last one.
    // True when a rebuild was made (successful or not).
    bool update(const RECT& rectangle, HDC dc);
    void draw(const RECT& rectangle, HDC dc, int32_t step);
    // A new region: every world's region for the step; null without any.
    HRGN windowRegion(int32_t step) const;
    bool hitEmpty(int x, int y);
    void markPixel(int x, int y);

    bool anySlow() const { return anySlow_; }
    bool built() const { return top_ != nullptr; }
    bool lastRebuildFailed() const { return failed_; }
    BulbWorld* world(int side) const;

    BulbWorldSet(const BulbWorldSet&) = delete;
    BulbWorldSet& operator=(const BulbWorldSet&) = delete;

private:
    void rebuild(HDC dc);
    void destroyWorlds();

    HWND layout_;
    std::unique_ptr<BulbWorld> top_, right_, bottom_, left_;
    unique_hpalette palette_;
    RECT last_{};
    bool anySlow_ = false;
    bool failed_ = false;
    RECT working_{};
};

}  // namespace lumarel
