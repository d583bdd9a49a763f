#include "saver/saver_floaters.h"

#include <vector>

#include "base/failure.h"
#include "base/handles.h"
#include "bulbs/extra_bulb.h"
#include "bulbs/gif_bitmaps.h"
#include "engine/bitmap.h"
#include "engine/included_bulb.h"
#include "engine/resource_bytes.h"
#include "saver/animation_table.h"

namespace lumarel {

void ScreenSaverFloater::setUp(int width, int height, int frames, int number) {
    check(frames > 0 && width > 0 && height > 0);
    size = {0, 0, width, height};
    motion.width = width;
    motion.height = height;
    frameCount = int16_t(frames);
    frame = int16_t(number % frames);
}

void ScreenSaverFloater::step(SceneTarget& target, const FloaterSpace& space, bool advance) {
    const FloaterStop stop = moveFloater(motion, space, *target.random);
    if (stop.painted) {
        // Resting and landed floaters stay painted into the background.
        draw(target.background, int(stop.x), int(stop.y));
        draw(target.back, int(stop.x), int(stop.y));
    }
    ++motion.framesAlive;
    if (advance && ++frame >= frameCount) frame = 0;
    draw(target.back, int(motion.x), int(motion.y));
}

void CachedFramesFloater::cacheFrames() {
    const int w = size.right, h = size.bottom, stripWidth = w * frameCount;
    WindowDc screen(nullptr);
    check(bool(screen));
    unique_hbitmap onBlack(CreateCompatibleBitmap(screen.get(), stripWidth, h));
    unique_hbitmap onWhite(CreateCompatibleBitmap(screen.get(), stripWidth, h));
    unique_hbitmap mask(CreateBitmap(stripWidth, h, 1, 1, nullptr));
    check(onBlack && onWhite && mask);
    {
        MemoryDc black(screen.get(), onBlack.get()), white(screen.get(), onWhite.get());
        MemoryDc bits(screen.get(), mask.get());
        PatBlt(black.get(), 0, 0, stripWidth, h, BLACKNESS);
        PatBlt(white.get(), 0, 0, stripWidth, h, WHITENESS);
        for (int i = 0; i < frameCount; ++i) {
            drawSource(i, i * w, 0, black.get());
            drawSource(i, i * w, 0, white.get());
        }
        // Where the grounds still differ nothing was drawn: black XOR white
        // is white (transparent), a drawn pixel XOR itself black (opaque).
        BitBlt(white.get(), 0, 0, stripWidth, h, black.get(), 0, 0, SRCINVERT);
        SetBkColor(white.get(), RGB(255, 255, 255));
        BitBlt(bits.get(), 0, 0, stripWidth, h, white.get(), 0, 0, SRCCOPY);
    }
    strip_ = std::make_unique<MaskedStrip>(std::make_unique<Bitmap>(onBlack.release()),
                                           std::make_unique<Bitmap>(mask.release()));
}

void CachedFramesFloater::draw(HDC dc, int x, int y) {
    const int left = frame * size.right;
    strip_->draw(RECT{left, 0, left + size.right, size.bottom}, x, y, dc);
}

IncludedBulbScreenSaverFloater::IncludedBulbScreenSaverFloater(IncludedBulbObject& kind, const FloaterRecord& record,
                                                               int number)
    : kind_(kind) {
    const int count = record.frameCount < 1 ? 0 : record.frameCount > 8 ? 8 : record.frameCount;
    for (int i = 0; i < count; ++i) frames_[i] = record.frames[i];
    const RECT first = count ? kind.frameNumberRect(frames_[0]) : RECT{};
    setUp(first.right - first.left, first.bottom - first.top, count, number);
    cacheFrames();
}

void IncludedBulbScreenSaverFloater::drawSource(int frame, int x, int y, HDC dc) {
    kind_.drawFrameNumber(frames_[frame], x, y, dc);
}

AddOnBulbScreenSaverFloater::AddOnBulbScreenSaverFloater(ExtraBulbObject& kind, int number) : kind_(kind) {
    picture_ = kind.pickPicture(number);
    int frames = 0;
    const SIZE cell = kind.pictureFrameSize(picture_, frames);
    setUp(cell.cx, cell.cy, frames, number);
    cacheFrames();
}

void AddOnBulbScreenSaverFloater::drawSource(int frame, int x, int y, HDC dc) {
    kind_.drawPictureFrame(picture_, frame, x, y, dc);
}

GIFScreenSaverFloater::GIFScreenSaverFloater(std::shared_ptr<GifFloaterStrip> strip, int number)
    : strip_(std::move(strip)) {
    check(strip_ && strip_->strip);
    setUp(strip_->cellWidth, strip_->height, strip_->cells, number);
}

void GIFScreenSaverFloater::draw(HDC dc, int x, int y) {
    const int left = frame * strip_->cellWidth;
    strip_->strip->draw(RECT{left, 0, left + strip_->cellWidth, strip_->height}, x, y, dc);
}

namespace {

// The picture (8 bits with its colours) or mask (1 bit) at another size.
std::unique_ptr<Bitmap> scaledCopy(HBITMAP source, int fromW, int fromH, int toW, int toH, bool mask,
                                   const RGBQUAD* colours, int colourCount) {
    void* bits = nullptr;
    unique_hbitmap copy = mask ? unique_hbitmap(CreateBitmap(toW, toH, 1, 1, nullptr))
                               : makeDibSection(toW, toH, 8, colours, colourCount, bits);
    check(bool(copy));
    MemoryDc from(nullptr, source);
    MemoryDc to(nullptr, copy.get());
    SetStretchBltMode(to.get(), COLORONCOLOR);
    StretchBlt(to.get(), 0, 0, toW, toH, from.get(), 0, 0, fromW, fromH, SRCCOPY);
    return std::make_unique<Bitmap>(copy.release());
}

}  // namespace

std::shared_ptr<GifFloaterStrip> loadGifFloaterStrip(const SceneTarget& target, int number) {
    const ResourceBytes bytes(target.resources, MAKEINTRESOURCEA(number), RT_RCDATA);
    check(bytes.data() && bytes.size() > 0);
    GifBitmaps gif = decodeGifBitmaps(bytes.data(), bytes.size());
    check(gif.frameCount > 0 && gif.image && gif.mask);
    auto result = std::make_shared<GifFloaterStrip>();
    const int width = gif.frameWidth * gif.frameCount;
    const StripSize size = previewStripSize(width, gif.height, gif.frameCount, target.scale);
    check(size.width > 0 && size.height > 0);
    std::unique_ptr<Bitmap> image = std::move(gif.image), mask = std::move(gif.mask);
    if (size.width != width || size.height != gif.height) {
        RGBQUAD colours[256];
        int count = 0;
        {
            MemoryDc dc(nullptr, image->handle());
            count = int(GetDIBColorTable(dc.get(), 0, 256, colours));
        }
        image = scaledCopy(image->handle(), width, gif.height, size.width, size.height, false, colours, count);
        mask = scaledCopy(mask->handle(), width, gif.height, size.width, size.height, true, nullptr, 0);
    }
    result->strip = std::make_unique<MaskedStrip>(std::move(image), std::move(mask));
    result->cells = gif.frameCount;
    result->cellWidth = size.width / gif.frameCount;
    result->height = size.height;
    return result;
}

}  // namespace lumarel
