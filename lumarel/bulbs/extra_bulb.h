// An add-on bulb kind, built from one bulb file. Its pictures are decoded on
// first use and can be dropped again; a picture that cannot be decoded marks
// the bulb damaged, after which it shows the warning picture everywhere.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "base/failure.h"
#include "base/handles.h"
#include "bulbs/bulb_file.h"
#include "engine/bitmap.h"
#include "engine/bulb_object.h"
#include "engine/region_builder.h"

namespace lumarel {

inline constexpr const char* kDamagedDescription = "This bulb is damaged and may cause problems.";

class ExtraBulbObject : public BulbObject {
public:
    // Loads and validates the file and inserts the kind into the global list.
    // Throws 'asrt' for a damaged file, a system error code when it cannot
    // be read.
    explicit ExtraBulbObject(const char* path);
    ~ExtraBulbObject() override;

    RECT frameRect(BulbPosition position, int flavor, int phase) override;
    bool drawFrame(BulbPosition position, int flavor, int phase, int x, int y, HDC dc, bool onDesktop) override;
    void drawFrameMask(BulbPosition position, int flavor, int phase, int x, int y, HDC dc, MaskKind maskKind) override;
    void addFrameRegion(BulbPosition position, int flavor, int phase, int x, int y, HRGN region) override;
    void drawListPicture(int x, int y, HDC dc) override;
    std::unique_ptr<QuickMaskedBitmap> makeDragPicture(HDC dc) override;
    bool editable() override { return header_.foreign == 0; }
    bool viewable() override { return true; }
    bool sendable() override { return header_.foreign == 0 && header_.sendPending != 0; }
    bool removable() override { return true; }
    bool deleteFile() override;
    void dropCache() override;
    void categoriesChanged() override;
    int phaseCount(BulbPosition position) override;
    const char* name() override { return header_.name; }
    const char* description() override { return damaged_ ? kDamagedDescription : header_.description; }
    const char* copyright() override { return header_.copyright; }
    const char* author() override { return header_.author; }
    const char* categoryText() override { return categories_.c_str(); }
    int gapHorizontal() override { return 0; }
    int gapVertical() override { return 0; }

    // Appends the sender text to the file and records it (failures ignored).
    void appendSenderText(const char* text);

    // The screen saver's floating bulbs. All three throw while the bulb is
    // damaged or has no picture.
    int pickPicture(int n);
    // Size of one frame of the picture; its frame count through `frames`.
    SIZE pictureFrameSize(int picture, int& frames);
    void drawPictureFrame(int picture, int frame, int x, int y, HDC dc);

    bool damaged() const { return damaged_; }
    bool uniform() const { return uniform_; }
    const BulbHeader& header() const { return header_; }
    const char* path() const { return filePath().c_str(); }
    // Reads from another file from now on: a saved copy of its own file.
    void useFile(const char* path) { setFilePath(path); }

private:
    struct Picture {
        int frames = 0;
        int frameWidth = 0;
        int height = 0;
        std::unique_ptr<Bitmap> image;
        std::unique_ptr<Bitmap> mask;
        std::unique_ptr<Bitmap> combined;
        const uint8_t* maskBits = nullptr;  // the mask strip's DIB bits
        unique_hrgn region;
        FrameRegionCache framePieces;  // cleared with the region
        bool loaded() const { return image && mask && combined; }
        void freeBitmaps();
    };

    struct Loaded;
    ExtraBulbObject(Loaded loaded, const char* path);
    static Loaded load(const char* path);

    // The picture of a position, decoded if needed. Throws on failure; a
    // picture that cannot be decoded sets the damaged flag first.
    Picture& picture(int position, int flavor, int& index);
    // use(picture, index) with the picture of (position, flavor); otherwise()
    // when it cannot be had (it draws the warning when the file is damaged).
    template <typename Use, typename Otherwise>
    auto withPicture(BulbPosition position, int flavor, Use use, Otherwise otherwise);
    // Marks the bulb damaged when the failure was the file's fault.
    void noteFailure(const Failure& failure);
    Picture& loadPicture(int index);
    RECT pictureFrame(const Picture& p, int position, int phase) const;
    HRGN pictureRegion(int index, Picture& p);
    void freeAll();

    BulbHeader header_;
    std::string categories_;
    Picture pictures_[kPictureCount];
    bool damaged_ = false;
    bool uniform_ = true;
};

// The 32 × 32 picture shown for a damaged bulb (one for the whole program).
QuickMaskedBitmap& warningPicture(HDC dc);

}  // namespace lumarel
