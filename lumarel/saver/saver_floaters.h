// The floaters of a "GenericModule": built-in bulb frames, an add-on bulb's
// picture, or an animated GIF, each moved by floater_motion.
#pragma once
#include <windows.h>

#include <memory>

#include "saver/floater_motion.h"
#include "saver/saver_modules.h"

namespace lumarel {

class IncludedBulbObject;
class ExtraBulbObject;
struct FloaterRecord;

class ScreenSaverFloater {
public:
    virtual ~ScreenSaverFloater() = default;
    // Moves by the movement type, ages, takes the next frame when `advance`,
    // then draws into the back buffer.
    void step(SceneTarget& target, const FloaterSpace& space, bool advance);
    virtual void draw(HDC dc, int x, int y) = 0;

    FloaterMotion motion;
    int16_t frame = 0, frameCount = 1;
    RECT size{};  // from (0, 0): right is the width, bottom the height

protected:
    // Sets the size and the first frame (the floater's number modulo the
    // frame count); throws when there is no frame to show.
    void setUp(int width, int height, int frames, int number);
};

// A bulb's frames drawn once into a masked strip of the floater's own, so a
// frame costs two blits rather than the kind's compose through a scratch.
class CachedFramesFloater : public ScreenSaverFloater {
public:
    void draw(HDC dc, int x, int y) override;

protected:
    // After setUp: every frame through drawSource, once.
    void cacheFrames();
    virtual void drawSource(int frame, int x, int y, HDC dc) = 0;

private:
    std::unique_ptr<MaskedStrip> strip_;
};

class IncludedBulbScreenSaverFloater : public CachedFramesFloater {
public:
    IncludedBulbScreenSaverFloater(IncludedBulbObject& kind, const FloaterRecord& record, int number);

private:
    void drawSource(int frame, int x, int y, HDC dc) override;

    IncludedBulbObject& kind_;
    int16_t frames_[8] = {};
};

class AddOnBulbScreenSaverFloater : public CachedFramesFloater {
public:
    AddOnBulbScreenSaverFloater(ExtraBulbObject& kind, int number);

private:
    void drawSource(int frame, int x, int y, HDC dc) override;

    ExtraBulbObject& kind_;
    int picture_ = 0;
};

// One GIF's frames as cells of one masked strip, shared by the module's GIF
// floaters: the first makes it, the last one gone frees it.
struct GifFloaterStrip {
    std::unique_ptr<MaskedStrip> strip;
    int cells = 0, cellWidth = 0, height = 0;
};

class GIFScreenSaverFloater : public ScreenSaverFloater {
public:
    GIFScreenSaverFloater(std::shared_ptr<GifFloaterStrip> strip, int number);
    void draw(HDC dc, int x, int y) override;

private:
    std::shared_ptr<GifFloaterStrip> strip_;
};

// Decodes GIF resource `number` into a strip, scaled for the preview.
std::shared_ptr<GifFloaterStrip> loadGifFloaterStrip(const SceneTarget& target, int number);

}  // namespace lumarel
