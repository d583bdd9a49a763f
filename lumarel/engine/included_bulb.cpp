#include "engine/included_bulb.h"

#include <vector>

#include "base/failure.h"
#include "engine/animation.h"
#include "engine/bulb_categories.h"
#include "engine/flash_state.h"
#include "engine/palette.h"
#include "engine/region_builder.h"

namespace lumarel {

namespace {

RECT toRect(const FrameBox& b) { return {b.left, b.top, b.right, b.bottom}; }

}  // namespace

IncludedBulbObject::IncludedBulbObject(int row) : BulbObject(builtInRow(row).id, false), row_(row) {
    insertIntoList();
}

IncludedBulbObject::~IncludedBulbObject() = default;

bool IncludedBulbObject::preview() const { return bulbContext().runMode == kRunPreview; }

RECT IncludedBulbObject::frameRect(BulbPosition position, int flavor, int phase) {
    return toRect(frameBox(row(), position, flavor, phase, preview()));
}

RECT IncludedBulbObject::frameNumberRect(int frame) { return toRect(frameNumberBox(row(), frame, preview())); }

void IncludedBulbObject::loadPictures() {
    if (strip_ && mask_) return;
    try {
        HINSTANCE instance = bulbContext().resources();
        strip_ = std::make_unique<Bitmap>(instance, nullptr, MAKEINTRESOURCEA(row().stripResource));
        mask_ = std::make_unique<Bitmap>(instance, nullptr, MAKEINTRESOURCEA(row().maskResource));
    } catch (...) {
        strip_.reset();
        mask_.reset();
        throw;
    }
}

HRGN IncludedBulbObject::bulbRegion() {
    if (region_) return region_.get();
    loadPictures();
    RECT all = mask_->size();
    int width = all.right, height = all.bottom;
    // Read the mask once as 32-bit pixels, rows top first: black (0) is opaque.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    {
        WindowDc screen(nullptr);
        check(GetDIBits(screen.get(), mask_->handle(), 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS) ==
              height);
    }
    const BulbTableRow& r = row();
    RegionBuilder region;
    for (int y = 0; y < height; ++y) {
        // The preview frames are left out: they are never shown full size.
        int end = y > r.smallY ? std::min(width, std::max(0, int(r.smallX))) : width;
        const uint32_t* line = &pixels[size_t(y) * size_t(width)];
        for (int x = 0; x < end;) {
            if ((line[x] & 0xFFFFFF) != 0) {
                ++x;
                continue;
            }
            int start = x;
            while (x < end && (line[x] & 0xFFFFFF) == 0) ++x;
            region.addRun(start, x, y);
        }
    }
    region_ = region.finish();
    return region_.get();
}

bool IncludedBulbObject::drawFrame(BulbPosition position, int flavor, int phase, int x, int y, HDC dc, bool) {
    try {
        loadPictures();
        strip_->blit(frameRect(position, flavor, phase), x, y, dc, SRCCOPY);
    } catch (...) {
        // a kind that cannot draw leaves a gap; the animation goes on
    }
    return false;
}

void IncludedBulbObject::drawFrameMask(BulbPosition position, int flavor, int, int x, int y, HDC dc, MaskKind maskKind) {
    try {
        RECT frame = frameRect(position, flavor, 0);
        if (maskKind == kMaskBackground) {
            PatBlt(dc, x, y, frame.right - frame.left, frame.bottom - frame.top, WHITENESS);
            return;
        }
        loadPictures();
        mask_->blit(frame, x, y, dc, SRCCOPY);
    } catch (...) {
    }
}

void IncludedBulbObject::addFrameRegion(BulbPosition position, int flavor, int, int x, int y, HRGN region) {
    try {
        HRGN whole = bulbRegion();
        frameRegions_.add(whole, frameRect(position, flavor, 0), x, y, region);
    } catch (...) {
    }
}

void IncludedBulbObject::drawListPicture(int x, int y, HDC dc) {
    try {
        loadPictures();
        strip_->drawMasked(*mask_, frameRect(kPosList, 0, 0), x, y, dc, programPalette(bulbContext()));
    } catch (...) {
    }
}

void IncludedBulbObject::drawFrameNumber(int frame, int x, int y, HDC dc) {
    try {
        loadPictures();
        strip_->drawMasked(*mask_, frameNumberRect(frame), x, y, dc, programPalette(bulbContext()));
    } catch (...) {
    }
}

std::unique_ptr<QuickMaskedBitmap> IncludedBulbObject::makeDragPicture(HDC dc) {
    loadPictures();
    RECT frame = frameRect(kPosList, 0, 0);
    int w = frame.right - frame.left, h = frame.bottom - frame.top;
    auto picture = std::make_unique<QuickMaskedBitmap>(dc, w, h);
    picture->fillFrom(strip_->handle(), mask_->handle(), frame, RECT{0, 0, w, h});
    return picture;
}

void IncludedBulbObject::dropCache() {
    strip_.reset();
    mask_.reset();
    frameRegions_.clear();
    region_.reset();
}

void IncludedBulbObject::categoriesChanged() {
    removeFromAllCategories(id());
    registerCategories();
}

int IncludedBulbObject::phaseCount(BulbPosition) { return row().phases; }

const char* IncludedBulbObject::categoryText() {
    const EngineContext& context = bulbContext();
    if (context.userCategories && context.userCategories(row().name, categories_)) return categories_;
    return row().categories;
}

// --- services of the engine to the frame ------------------------------------

void createBuiltInBulbs() {
    for (int row = 0; row < kBuiltInKinds; ++row) new IncludedBulbObject(row);
}

void dropBulbCaches() { dropAllBulbCaches(); }

bool bulbKindExists(int32_t id) {
    BulbObject* kind = findBulbById(id);
    return kind && kind->usable();
}

void drawSlowMarker(int x, int y, HDC dc) {
    const EngineContext& context = bulbContext();
    if (!context.onTop()) return;
    Bitmap(context.resources(), nullptr, "SLOW").draw(RECT{0, 0, 21, 9}, x, y, dc);
}

}  // namespace lumarel
