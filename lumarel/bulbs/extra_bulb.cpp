#include "bulbs/extra_bulb.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/failure.h"
#include "bulbs/bit_rows.h"
#include "bulbs/bulb_writer.h"
#include "bulbs/gif_bitmaps.h"
#include "bulbs/gif_decoder.h"
#include "bulbs/win_file.h"
#include "engine/bulb_categories.h"
#include "engine/palette.h"
#include "engine/region_builder.h"

namespace lumarel {
namespace {

constexpr DWORD kAndNotSource = 0x00220326;  // clears the target where the mask is white
constexpr DWORD kMergePaint = 0x00BB0226;
constexpr RECT kWarningRect{0, 0, 32, 32};

BulbFileInfo readBulbFile(const char* path) {
    WinFile file(path, false);
    FileMapping map(file);
    return loadBulbFile(map.data(), map.size());
}

// A key no other kind has: the file's own, counted up past -1 and past keys
// in use (the file keeps its identifier).
int32_t freeBulbId(int32_t id) {
    while (id == kNoBulb || findBulbById(id)) id = static_cast<int32_t>(static_cast<uint32_t>(id) + 1);
    return id;
}

void blitBitmap(HBITMAP bitmap, const RECT& source, int x, int y, HDC dc, DWORD rop) {
    MemoryDc from(dc, bitmap);
    BitBlt(dc, x, y, source.right - source.left, source.bottom - source.top, from.get(), source.left, source.top,
           rop);
}

// Our own warning picture, for when the program carries none: a yellow
// triangle with an exclamation mark.
std::unique_ptr<QuickMaskedBitmap> drawnWarning(HDC dc) {
    auto picture = std::make_unique<QuickMaskedBitmap>(dc, 32, 32);
    const POINT triangle[3] = {{16, 2}, {30, 28}, {2, 28}};
    {
        MemoryDc image(dc, picture->handle());
        PatBlt(image.get(), 0, 0, 32, 32, BLACKNESS);
        unique_hbrush yellow(CreateSolidBrush(RGB(255, 208, 0)));
        unique_gdi<HPEN> outline(CreatePen(PS_SOLID, 1, RGB(96, 64, 0)));
        SelectObjectScope brush(image.get(), yellow.get());
        SelectObjectScope pen(image.get(), outline.get());
        Polygon(image.get(), triangle, 3);
        RECT bar{15, 10, 18, 20}, dot{15, 22, 18, 25};
        FillRect(image.get(), &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(image.get(), &dot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    MemoryDc mask(dc, picture->mask());
    PatBlt(mask.get(), 0, 0, 32, 32, WHITENESS);
    SelectObjectScope brush(mask.get(), GetStockObject(BLACK_BRUSH));
    SelectObjectScope pen(mask.get(), GetStockObject(BLACK_PEN));
    Polygon(mask.get(), triangle, 3);
    return picture;
}

}  // namespace

QuickMaskedBitmap& warningPicture(HDC dc) {
    static std::unique_ptr<QuickMaskedBitmap> warning;
    if (!warning) {
        try {
            warning = std::make_unique<QuickMaskedBitmap>(bulbContext().instance, dc, "WARNING", "WARNINGMASK");
        } catch (const Failure&) {
            warning = drawnWarning(dc);
        }
    }
    return *warning;
}

struct ExtraBulbObject::Loaded {
    BulbFileInfo info;
    int32_t id;
};

ExtraBulbObject::Loaded ExtraBulbObject::load(const char* path) {
    BulbFileInfo info = readBulbFile(path);
    int32_t id = freeBulbId(info.header.id);
    return {std::move(info), id};
}

ExtraBulbObject::ExtraBulbObject(const char* path) : ExtraBulbObject(load(path), path) {}

ExtraBulbObject::ExtraBulbObject(Loaded loaded, const char* path)
    : BulbObject(loaded.id, true), header_(loaded.info.header), categories_(std::move(loaded.info.categories)),
      uniform_(loaded.info.uniform) {
    setFilePath(path);
    insertIntoList();
}

ExtraBulbObject::~ExtraBulbObject() = default;

void ExtraBulbObject::Picture::freeBitmaps() {
    image.reset();
    mask.reset();
    combined.reset();
    maskBits = nullptr;
    frames = frameWidth = height = 0;
}

void ExtraBulbObject::freeAll() {
    for (Picture& p : pictures_) {
        p.freeBitmaps();
        p.framePieces.clear();
        p.region.reset();
    }
}

ExtraBulbObject::Picture& ExtraBulbObject::loadPicture(int index) {
    check(index >= 0 && index < kPictureCount);
    Picture& p = pictures_[index];
    if (p.loaded()) return p;
    try {
        GifBitmaps gif;
        {
            WinFile file(path(), false);
            FileMapping map(file);
            ByteSpan data = pictureData(header_, index, map.data(), map.size());
            gif = decodeGifBitmaps(data.data, data.size);
        }
        check(gif.frameCount > 0 && gif.image && gif.mask);
        const int stripWidth = gif.frameWidth * gif.frameCount;
        uint8_t* combinedBits = nullptr;
        p.combined = makeMaskDib(gif.frameWidth, gif.height, combinedBits);
        combineMaskFrames(gif.maskBits, gifMaskStride(stripWidth), gif.frameWidth, gif.frameCount, gif.height,
                          combinedBits, gifMaskStride(gif.frameWidth));
        p.image = std::move(gif.image);
        p.mask = std::move(gif.mask);
        p.maskBits = gif.maskBits;
        p.frames = gif.frameCount;
        p.frameWidth = gif.frameWidth;
        p.height = gif.height;
    } catch (const Failure& failure) {
        p.freeBitmaps();
        p.framePieces.clear();
        p.region.reset();
        noteFailure(failure);
        throw;
    }
    return p;
}

ExtraBulbObject::Picture& ExtraBulbObject::picture(int position, int flavor, int& index) {
    check(!damaged_);
    // The header was checked at load, so only a position outside 0..8 fails
    // here: the caller's mistake, not damage.
    index = pictureIndexFor(header_, position, flavor, false);
    return loadPicture(index);
}

RECT ExtraBulbObject::pictureFrame(const Picture& p, int position, int phase) const {
    if (position == kPosList) {
        int left = std::clamp(header_.previewLeft, 0, p.frameWidth);
        int top = std::clamp(header_.previewTop, 0, p.height);
        return {left, top, std::min(left + 32, p.frameWidth), std::min(top + 32, p.height)};
    }
    int frame = ((phase % p.frames) + p.frames) % p.frames;
    return {frame * p.frameWidth, 0, (frame + 1) * p.frameWidth, p.height};
}

template <typename Use, typename Otherwise>
auto ExtraBulbObject::withPicture(BulbPosition position, int flavor, Use use, Otherwise otherwise) {
    try {
        int index = 0;
        Picture& p = picture(position, flavor, index);
        return use(p, index);
    } catch (const Failure&) {
        return otherwise();
    }
}

RECT ExtraBulbObject::frameRect(BulbPosition position, int flavor, int phase) {
    return withPicture(
        position, flavor, [&](Picture& p, int) { return pictureFrame(p, position, phase); },
        [] { return kWarningRect; });
}

bool ExtraBulbObject::drawFrame(BulbPosition position, int flavor, int phase, int x, int y, HDC dc, bool onDesktop) {
    return withPicture(
        position, flavor,
        [&](Picture& p, int index) {
            RECT frame = pictureFrame(p, position, phase);
            if (onDesktop) p.combined->blit({0, 0, p.frameWidth, p.height}, x, y, dc, kAndNotSource);
            p.image->draw(frame, x, y, dc);
            return header_.pictures[index].uniformMask == 0;
        },
        [&] {
            if (damaged_) warningPicture(dc).blit(kWarningRect, x, y, dc, SRCCOPY);
            return false;
        });
}

void ExtraBulbObject::drawFrameMask(BulbPosition position, int flavor, int phase, int x, int y, HDC dc, MaskKind maskKind) {
    if (maskKind != kMaskOwn && maskKind != kMaskBackground && maskKind != kMaskOutline) return;
    withPicture(
        position, flavor,
        [&](Picture& p, int) {
            RECT frame = pictureFrame(p, position, phase);
            RECT whole{0, 0, p.frameWidth, p.height};
            if (maskKind == kMaskOwn) {
                p.mask->blit(frame, x, y, dc, SRCCOPY);
            } else {
                p.combined->blit(whole, x, y, dc, SRCCOPY);
                if (maskKind == kMaskBackground) p.mask->blit(frame, x, y, dc, kMergePaint);
            }
        },
        [&] {
            if (damaged_) blitBitmap(warningPicture(dc).mask(), kWarningRect, x, y, dc, SRCCOPY);
        });
}

HRGN ExtraBulbObject::pictureRegion(int index, Picture& p) {
    if (p.region) return p.region.get();
    try {  // the cache in the file, when it is sound
        WinFile file(path(), false);
        FileMapping map(file);
        if (map.size() >= kBulbHeaderSize) {
            BulbHeader onDisk = parseBulbHeader(map.data());
            ByteSpan cached = regionData(onDisk, index, map.data(), map.size());
            if (cached) {
                std::vector<uint8_t> aligned(cached.data, cached.data + cached.size);
                p.region.reset(ExtCreateRegion(nullptr, static_cast<DWORD>(aligned.size()),
                                               reinterpret_cast<const RGNDATA*>(aligned.data())));
                if (p.region) return p.region.get();
            }
        }
    } catch (const Failure&) {
    }

    RegionBuilder runs;
    const int stripWidth = p.frameWidth * p.frames;
    forEachOpaqueRun(p.maskBits, gifMaskStride(stripWidth), stripWidth, p.height,
                     [&](int left, int right, int y) { runs.addRun(left, right, y); });
    unique_hrgn region = runs.finish();

    // Cache it in the file for the next run; a failure only costs the scan.
    DWORD size = GetRegionData(region.get(), 0, nullptr);
    if (size > 0) {
        std::vector<uint8_t> bytes(size);
        if (GetRegionData(region.get(), size, reinterpret_cast<RGNDATA*>(bytes.data())) == size)
            storeRegionBlock(path(), index, bytes.data(), bytes.size());
    }
    p.region = std::move(region);
    return p.region.get();
}

void ExtraBulbObject::addFrameRegion(BulbPosition position, int flavor, int phase, int x, int y, HRGN region) {
    withPicture(
        position, flavor,
        [&](Picture& p, int index) {
            RECT frame = pictureFrame(p, position, phase);
            HRGN whole = pictureRegion(index, p);
            p.framePieces.add(whole, frame, x, y, region);
        },
        [&] {
            if (!damaged_) return;
            unique_hrgn square(CreateRectRgn(x, y, x + 32, y + 32));
            if (square) CombineRgn(region, region, square.get(), RGN_OR);
        });
}

void ExtraBulbObject::drawListPicture(int x, int y, HDC dc) {
    HPALETTE palette = programPalette(bulbContext());
    withPicture(
        kPosList, 0,
        [&](Picture& p, int) {
            p.image->drawMasked(*p.mask, pictureFrame(p, kPosList, 0), x, y, dc, palette);
        },
        [&] {
            if (!damaged_) return;
            QuickMaskedBitmap& warning = warningPicture(dc);
            warning.drawMasked(warning.mask(), kWarningRect, x, y, dc, palette);
        });
    if (!uniform_) {
        try {
            drawSlowMarker(x + 2, y + 25, dc);
        } catch (const Failure&) {  // a missing marker only loses the hint
        }
    }
}

std::unique_ptr<QuickMaskedBitmap> ExtraBulbObject::makeDragPicture(HDC dc) {
    return withPicture(
        kPosList, 0,
        [&](Picture& p, int) {
            RECT square = pictureFrame(p, kPosList, 0);
            int w = square.right - square.left, h = square.bottom - square.top;
            auto drag = std::make_unique<QuickMaskedBitmap>(dc, std::max(w, 1), std::max(h, 1));
            drag->fillFrom(p.image->handle(), p.mask->handle(), square, {0, 0, w, h});
            return drag;
        },
        [&] {
            QuickMaskedBitmap& warning = warningPicture(dc);
            auto drag = std::make_unique<QuickMaskedBitmap>(dc, 32, 32);
            drag->fillFrom(warning.handle(), warning.mask(), kWarningRect, kWarningRect);
            return drag;
        });
}

void ExtraBulbObject::noteFailure(const Failure& failure) {
    // System errors (a file briefly in use, a full disk) are not the file's fault.
    if (failure.code == kFailAsrt || failure.code == kFailUnknownGifBlock) damaged_ = true;
}

bool ExtraBulbObject::deleteFile() { return DeleteFileA(path()) != FALSE; }

void ExtraBulbObject::dropCache() {
    for (Picture& p : pictures_) p.freeBitmaps();
}

void ExtraBulbObject::categoriesChanged() {
    freeAll();
    try {
        BulbFileInfo info = readBulbFile(path());
        header_ = info.header;
        categories_ = std::move(info.categories);
        uniform_ = info.uniform;
    } catch (const Failure& failure) {
        noteFailure(failure);
    }
    removeFromAllCategories(id());
    registerCategories();
}

int ExtraBulbObject::phaseCount(BulbPosition position) {
    if (damaged_) return 1;
    try {
        int index = 0;
        if (position >= kPosTop && position <= kPosLeft) {
            int most = 1;
            for (int f = 0; f < flavorCount(header_, position); ++f) most = std::max(most, picture(position, f, index).frames);
            return most;
        }
        return picture(position, 0, index).frames;
    } catch (const Failure&) {
        return 1;
    }
}

void ExtraBulbObject::appendSenderText(const char* text) {
    lumarel::appendSenderText(path(), text);
    try {
        header_.senderOffset = readBulbFile(path()).header.senderOffset;
    } catch (const Failure&) {
    }
}

int ExtraBulbObject::pickPicture(int n) {
    check(!damaged_);
    int used = 0;
    for (const PictureEntry& e : header_.pictures) used += e.size != 0;
    check(used > 0);
    int wanted = static_cast<int>(static_cast<unsigned>(n) % static_cast<unsigned>(used));
    for (int i = 0; i < kPictureCount; ++i)
        if (header_.pictures[i].size != 0 && wanted-- == 0) return i;
    fail();
}

SIZE ExtraBulbObject::pictureFrameSize(int picture, int& frames) {
    check(!damaged_);
    Picture& p = loadPicture(picture);
    frames = p.frames;
    return {p.frameWidth, p.height};
}

void ExtraBulbObject::drawPictureFrame(int picture, int frame, int x, int y, HDC dc) {
    check(!damaged_);
    Picture& p = loadPicture(picture);
    p.image->drawMasked(*p.mask, pictureFrame(p, kPosTop, frame), x, y, dc, programPalette(bulbContext()));
}

}  // namespace lumarel
