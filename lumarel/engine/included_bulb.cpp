#include "engine/included_bulb.h"

#include <vector>

#include "engine/animation.h"
#include "engine/bulb_categories.h"
#include "engine/flash_state.h"
#include "frame/app.h"
#include "frame/failure.h"
#include "ui/settings_store.h"

namespace lumarel {

namespace {

RECT toRect(const FrameBox& b) { return {b.left, b.top, b.right, b.bottom}; }

HINSTANCE resources() { return app().instance ? app().instance : GetModuleHandleA(nullptr); }

// Region data holds this many one-pixel-high rectangles at a time.
constexpr DWORD kRectsPerBatch = 2000;

class RegionBatch {
public:
    explicit RegionBatch(HRGN target) : target_(target) { data_.reserve(kRectsPerBatch); }
    void add(LONG left, LONG top, LONG right) {
        data_.push_back({left, top, right, top + 1});
        if (data_.size() == kRectsPerBatch) flush();
    }
    void flush() {
        if (data_.empty()) return;
        std::vector<uint8_t> block(sizeof(RGNDATAHEADER) + data_.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(block.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = DWORD(data_.size());
        header->nRgnSize = DWORD(data_.size() * sizeof(RECT));
        RECT bounds = data_[0];
        for (const RECT& r : data_) {
            bounds.left = std::min(bounds.left, r.left);
            bounds.top = std::min(bounds.top, r.top);
            bounds.right = std::max(bounds.right, r.right);
            bounds.bottom = std::max(bounds.bottom, r.bottom);
        }
        header->rcBound = bounds;
        memcpy(block.data() + sizeof(RGNDATAHEADER), data_.data(), data_.size() * sizeof(RECT));
        unique_hrgn part(ExtCreateRegion(nullptr, DWORD(block.size()), reinterpret_cast<RGNDATA*>(block.data())));
        check(bool(part));
        CombineRgn(target_, target_, part.get(), RGN_OR);
        data_.clear();
    }

private:
    HRGN target_;
    std::vector<RECT> data_;
};

}  // namespace

IncludedBulbObject::IncludedBulbObject(int row) : BulbObject(builtInRow(row).id, false), row_(row) {
    insertIntoList();
}

IncludedBulbObject::~IncludedBulbObject() = default;

bool IncludedBulbObject::preview() const { return app().runMode == kRunPreview; }

RECT IncludedBulbObject::frameRect(int position, int flavor, int phase) {
    return toRect(frameBox(row(), position, flavor, phase, preview()));
}

RECT IncludedBulbObject::frameNumberRect(int frame) { return toRect(frameNumberBox(row(), frame, preview())); }

void IncludedBulbObject::loadPictures() {
    if (strip_ && mask_) return;
    try {
        HINSTANCE instance = resources();
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
    unique_hrgn region(CreateRectRgn(0, 0, 0, 0));
    check(bool(region));
    RECT all = mask_->size();
    int width = all.right, height = all.bottom;
    // Read the mask once as 32-bit pixels, rows top first: black (0) is opaque.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    HDC screen = GetDC(nullptr);
    int got = GetDIBits(screen, mask_->handle(), 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    check(got == height);
    const BulbTableRow& r = row();
    RegionBatch batch(region.get());
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
            batch.add(start, y, x);
        }
    }
    batch.flush();
    region_ = std::move(region);
    return region_.get();
}

bool IncludedBulbObject::drawFrame(int position, int flavor, int phase, int x, int y, HDC dc, bool) {
    try {
        loadPictures();
        strip_->blit(frameRect(position, flavor, phase), x, y, dc, SRCCOPY);
    } catch (...) {
        // a kind that cannot draw leaves a gap; the animation goes on
    }
    return false;
}

void IncludedBulbObject::drawFrameMask(int position, int flavor, int, int x, int y, HDC dc, int maskKind) {
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

void IncludedBulbObject::addFrameRegion(int position, int flavor, int, int x, int y, HRGN region) {
    try {
        RECT frame = frameRect(position, flavor, 0);
        unique_hrgn part(CreateRectRgnIndirect(&frame));
        check(bool(part));
        CombineRgn(part.get(), part.get(), bulbRegion(), RGN_AND);
        OffsetRgn(part.get(), x - frame.left, y - frame.top);
        CombineRgn(region, region, part.get(), RGN_OR);
    } catch (...) {
    }
}

void IncludedBulbObject::drawListPicture(int x, int y, HDC dc) {
    try {
        loadPictures();
        strip_->drawMasked(mask_->handle(), frameRect(kPosList, 0, 0), x, y, dc);
    } catch (...) {
    }
}

void IncludedBulbObject::drawFrameNumber(int frame, int x, int y, HDC dc) {
    try {
        loadPictures();
        strip_->drawMasked(mask_->handle(), frameNumberRect(frame), x, y, dc);
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
    region_.reset();
}

void IncludedBulbObject::categoriesChanged() {
    removeFromAllCategories(id());
    registerCategories();
}

int IncludedBulbObject::phaseCount(int) { return row().phases; }

const char* IncludedBulbObject::categoryText() {
    if (getIncludedBulbCategories(row().name, categories_)) return categories_;
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
    if (app().bulbLocation != kOnTop) return;
    static std::unique_ptr<Bitmap> marker;
    if (!marker) marker = std::make_unique<Bitmap>(resources(), nullptr, "SLOW");
    marker->draw(RECT{0, 0, 21, 9}, x, y, dc);
}

}  // namespace lumarel
