#include "saver/saver_modules.h"

#include <cstring>
#include <vector>

#include "base/failure.h"
#include "bulbs/extra_bulb.h"
#include "engine/bulb_object.h"
#include "engine/bulb_world.h"
#include "engine/included_bulb.h"
#include "saver/animation_table.h"
#include "saver/balloon_field.h"
#include "saver/saver_floaters.h"
#include "saver/snow_field.h"
#include "ui/settings_store.h"

namespace lumarel {

MaskedStrip::MaskedStrip(std::unique_ptr<Bitmap> image, std::unique_ptr<Bitmap> mask)
    : image_(std::move(image)), mask_(std::move(mask)) {
    check(image_ && mask_ && image_->handle() && mask_->handle());
    const RECT r = image_->size();
    size_ = {r.right - r.left, r.bottom - r.top};
    imageDc_ = std::make_unique<MemoryDc>(nullptr, image_->handle());
    maskDc_ = std::make_unique<MemoryDc>(nullptr, mask_->handle());
}

namespace {
std::unique_ptr<Bitmap> loadBitmap(HINSTANCE instance, const char* name, UINT flags) {
    return std::make_unique<Bitmap>(static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, flags)));
}
}  // namespace

MaskedStrip::MaskedStrip(HINSTANCE instance, const char* image, const char* mask)
    : MaskedStrip(loadBitmap(instance, image, LR_CREATEDIBSECTION), loadBitmap(instance, mask, 0)) {}

void MaskedStrip::draw(const RECT& source, int x, int y, HDC dc) const {
    const int w = source.right - source.left, h = source.bottom - source.top;
    // A one-bit mask turns into the destination's text (0) and background
    // (1) colours: black keeps nothing, white keeps all.
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, w, h, maskDc_->get(), source.left, source.top, SRCAND);
    BitBlt(dc, x, y, w, h, imageDc_->get(), source.left, source.top, SRCPAINT);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

namespace {

// "Snow" (round flakes) and "Snow Flakes" (crystals from a strip).
class SnowFlakeModule : public ScreenSaverModule, private SnowCanvas {
public:
    SnowFlakeModule(SceneTarget& target, int style)
        : target_(target),
          style_(style),
          field_(target.area.right, target.area.bottom, target.preview, *target.random) {
        if (style_ == 1) strip_ = std::make_unique<MaskedStrip>(target.resources, "flake", "flakemask");
    }

    void step(bool) override { field_.step(*target_.random, *this); }

private:
    void paint(const Flake& f, HDC dc) {
        const int x = int(f.x), y = int(f.y);
        if (f.size <= 1) {
            SetPixelV(dc, x, y, RGB(255, 255, 255));
        } else if (f.size == 2) {
            PatBlt(dc, x, y, 2, 2, WHITENESS);
        } else if (style_ == 1 && strip_) {
            const int left = f.size * 9 - 27;
            strip_->draw(RECT{left, 0, left + 9, 9}, x, y, dc);
        } else {
            Ellipse(dc, x, y, x + f.size, y + f.size);
        }
    }
    void landFlake(const Flake& f) override {
        paint(f, target_.background);
        paint(f, target_.back);
    }
    void drawFlake(const Flake& f) override { paint(f, target_.back); }
    bool hitEmpty(int x, int y) override { return target_.worlds && target_.worlds->hitEmpty(x, y); }
    void markPixel(int x, int y) override {
        if (target_.worlds) target_.worlds->markPixel(x, y);
    }

    SceneTarget& target_;
    int style_;
    SnowField field_;
    std::unique_ptr<MaskedStrip> strip_;
};

class BalloonModule : public ScreenSaverModule {
public:
    explicit BalloonModule(SceneTarget& target)
        : target_(target),
          strip_(target.resources, target.preview ? "balloonsmall" : "balloon",
                 target.preview ? "balloonmasksmall" : "balloonmask"),
          cellWidth_(target.preview ? 5 : 21),
          field_(target.area.right, target.area.bottom, target.preview, cellWidth_, target.preview ? 7 : 40,
                 *target.random) {}

    void step(bool) override {
        field_.step(*target_.random);
        const int height = strip_.size().cy;
        for (const Balloon& b : field_.balloons()) {
            const int left = b.colour * cellWidth_;
            strip_.draw(RECT{left, 0, left + cellWidth_, height}, int(b.x), int(b.y), target_.back);
        }
    }

private:
    SceneTarget& target_;
    MaskedStrip strip_;
    int cellWidth_;
    BalloonField field_;
};

constexpr int kFloaterSlots = 12;

class GenericModule : public ScreenSaverModule {
public:
    GenericModule(SceneTarget& target, const char* name) : target_(target) {
        space_.area = target.area;
        space_.preview = target.preview;
        space_.type = getMovementType();
        const AnimationEntry* entry = findAnimation(name);
        ExtraBulbObject* addOn = entry ? nullptr : findAddOn(name);
        std::shared_ptr<GifFloaterStrip> gif;
        uint64_t summedArea = 0;
        for (int n = 0; n < kFloaterSlots; ++n) {
            try {
                std::unique_ptr<ScreenSaverFloater> floater;
                if (entry && entry->isGif()) {
                    if (!gif) gif = loadGifFloaterStrip(target, entry->gifResource());
                    floater = std::make_unique<GIFScreenSaverFloater>(gif, n);
                } else if (entry) {
                    const FloaterRecord& record = entry->records[n % entry->count];
                    auto* kind = dynamic_cast<IncludedBulbObject*>(findBulbById(record.kind));
                    check(kind != nullptr);
                    floater = std::make_unique<IncludedBulbScreenSaverFloater>(*kind, record, n);
                } else if (addOn) {
                    floater = std::make_unique<AddOnBulbScreenSaverFloater>(*addOn, n);
                } else {
                    break;
                }
                startFloater(floater->motion, space_, *target.random);
                summedArea += uint64_t(floater->size.right) * uint64_t(floater->size.bottom);
                slots_[n] = std::move(floater);
            } catch (...) {
                continue;  // a floater that cannot be made leaves its slot empty
            }
            if (floatersFillArea(summedArea, target.area)) break;
        }
    }

    void step(bool advance) override {
        if (space_.type == kFallingLeaves) wind_ = nextLeafWind(wind_, *target_.random);
        for (int i = 0; i < kFloaterSlots; ++i) {
            if (!slots_[i]) continue;
            if (space_.type == kAttraction)
                for (int j = i + 1; j < kFloaterSlots; ++j)
                    if (slots_[j]) attractFloaters(slots_[i]->motion, slots_[j]->motion, space_.preview);
            if (space_.type == kFallingLeaves) slots_[i]->motion.x += wind_;
            slots_[i]->step(target_, space_, advance);
        }
    }

private:
    static ExtraBulbObject* findAddOn(const char* name) {
        for (BulbObject* b = firstBulb(); b; b = b->next())
            if (b->isAddOn() && strcmp(b->name(), name) == 0) return dynamic_cast<ExtraBulbObject*>(b);
        return nullptr;
    }

    SceneTarget& target_;
    FloaterSpace space_;
    float wind_ = 0;
    std::unique_ptr<ScreenSaverFloater> slots_[kFloaterSlots];
};

}  // namespace

std::unique_ptr<ScreenSaverModule> makeModule(const char* name, SceneTarget& target) {
    if (strcmp(name, "(None)") == 0) return nullptr;
    if (strcmp(name, "Snow") == 0) return std::make_unique<SnowFlakeModule>(target, 0);
    if (strcmp(name, "Snow Flakes") == 0) return std::make_unique<SnowFlakeModule>(target, 1);
    if (strcmp(name, "Balloons") == 0) return std::make_unique<BalloonModule>(target);
    return std::make_unique<GenericModule>(target, name);
}

}  // namespace lumarel
