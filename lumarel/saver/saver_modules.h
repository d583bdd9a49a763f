// The screen saver's animation modules: falling snow or snow flakes, rising
// balloons, or up to 12 floaters that move by one of four movement types.
// Each paints the physics of its portable core into the scene's buffers.
#pragma once
#include <windows.h>

#include <memory>

#include "base/handles.h"
#include "engine/bitmap.h"
#include "saver/scene_layout.h"
#include "saver/scene_random.h"

namespace lumarel {

class BulbWorldSet;

// Everything a module draws into or asks about.
struct SceneTarget {
    HDC background = nullptr;  // landed things stay here
    HDC back = nullptr;        // this frame
    SceneRect area;
    bool preview = false;
    PreviewScale scale;
    RandomSource* random = nullptr;
    BulbWorldSet* worlds = nullptr;  // null until the bulbs are built
    HINSTANCE resources = nullptr;
};

class ScreenSaverModule {
public:
    virtual ~ScreenSaverModule() = default;
    // One frame; `advance` steps the floaters' animation frames.
    virtual void step(bool advance) = 0;
};

// A picture strip and its one-bit mask (black opaque), each kept selected in
// a memory DC so that drawing a cell costs two blits.
class MaskedStrip {
public:
    // Takes both pictures (null throws 'asrt').
    MaskedStrip(std::unique_ptr<Bitmap> image, std::unique_ptr<Bitmap> mask);
    // From two bitmap resources.
    MaskedStrip(HINSTANCE instance, const char* image, const char* mask);
    void draw(const RECT& source, int x, int y, HDC dc) const;
    SIZE size() const { return size_; }

private:
    std::unique_ptr<Bitmap> image_, mask_;
    std::unique_ptr<MemoryDc> imageDc_, maskDc_;
    SIZE size_{};
};

// "(None)" gives null; "Snow", "Snow Flakes", "Balloons"; any other name a
// module of floaters (none when the name is unknown).
std::unique_ptr<ScreenSaverModule> makeModule(const char* name, SceneTarget& target);

}  // namespace lumarel
