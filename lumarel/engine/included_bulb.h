// A bulb kind built into the program: one row of the built-in table, drawn
// from a pair of bitmap resources (the frame strip and its mask strip).
#pragma once
#include <memory>

#include "engine/bitmap.h"
#include "engine/bulb_object.h"
#include "engine/bulb_table.h"
#include "engine/region_builder.h"

namespace lumarel {

class IncludedBulbObject : public BulbObject {
public:
    // Makes the kind of table row `row` and links it into the bulb list.
    explicit IncludedBulbObject(int row);
    ~IncludedBulbObject() override;

    RECT frameRect(BulbPosition position, int flavor, int phase) override;
    bool drawFrame(BulbPosition position, int flavor, int phase, int x, int y, HDC dc, bool onDesktop) override;
    void drawFrameMask(BulbPosition position, int flavor, int phase, int x, int y, HDC dc, MaskKind maskKind) override;
    void addFrameRegion(BulbPosition position, int flavor, int phase, int x, int y, HRGN region) override;
    void drawListPicture(int x, int y, HDC dc) override;
    std::unique_ptr<QuickMaskedBitmap> makeDragPicture(HDC dc) override;
    bool viewable() override { return true; }
    void dropCache() override;
    void categoriesChanged() override;
    int phaseCount(BulbPosition position) override;
    const char* name() override { return row().name; }
    const char* description() override { return row().description; }
    const char* copyright() override { return row().copyright; }
    const char* author() override { return row().author; }
    const char* categoryText() override;
    int gapHorizontal() override { return row().gapHorizontal; }
    int gapVertical() override { return row().gapVertical; }

    // By frame number, for the screen saver's floating bulbs.
    RECT frameNumberRect(int frame);
    void drawFrameNumber(int frame, int x, int y, HDC dc);

    const BulbTableRow& row() const { return builtInRow(row_); }

private:
    // Loads both strips on first use; a failure frees both and throws.
    void loadPictures();
    // Every opaque pixel of the mask strip, made on first use.
    HRGN bulbRegion();
    bool preview() const;

    int row_;
    std::unique_ptr<Bitmap> strip_, mask_;
    unique_hrgn region_;
    FrameRegionCache frameRegions_;
    char categories_[260] = {};
};

}  // namespace lumarel
