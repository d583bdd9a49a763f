// Bulb files made by our writers and read back as add-on bulb kinds: frames,
// drawing, masks, regions and their cache, damage, categories, compaction.
#include "bulbs/extra_bulb.h"

#include <gtest/gtest.h>

#include <cstring>

#include "bulbs/bulb_writer.h"
#include "bulbs/crc32.h"
#include "bulbs/gif_decoder.h"
#include "bulbs_test_support.h"
#include "base/failure.h"
#include "engine/bulb_categories.h"

using namespace lumarel;

namespace {

// Frame f of the animation: a 4 × 4 square of colour (f % 3) + 1 at (f, 2)
// on a transparent background.
std::vector<uint8_t> movingSquare(int frames, int width = 20, int height = 10) {
    return bulbtest::makeGif(width, height, frames, true, [](int f, int x, int y) {
        return x >= f && x < f + 4 && y >= 2 && y < 6 ? (f % 3) + 1 : 0;
    });
}

struct ExtraBulb : ::testing::Test {
    std::string folder;
    void SetUp() override {
        destroyAllBulbs();
        clearCategories();
        folder = bulbtest::scratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        destroyAllBulbs();
        clearCategories();
        setCompactionStepHook(nullptr);
    }
    // A new bulb file from a GIF, like the library makes one.
    std::string newBulb(const std::string& name, const std::vector<uint8_t>& gif, int32_t id = 4242) {
        std::string gifPath = folder + name + ".gif", bulbPath = folder + name + ".bul";
        bulbtest::writeFile(gifPath, gif);
        bulbtest::writeFile(bulbPath, {});
        writeNewBulbFile(bulbPath.c_str(), gifPath.c_str(), id, name.c_str(), "An Author", "Copyright 2026 An Author");
        return bulbPath;
    }
};

// Reads back pixels drawn into a 24-bit memory bitmap.
struct Canvas {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap;
    HGDIOBJ old;
    Canvas(int w, int h) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, w, h, WHITENESS);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    COLORREF at(int x, int y) { return GetPixel(dc, x, y); }
};

TEST_F(ExtraBulb, NewFileLoadsWithItsTextsFramesAndFlags) {
    std::string path = newBulb("Mover", movingSquare(5));
    auto* bulb = new ExtraBulbObject(path.c_str());
    EXPECT_STREQ(bulb->name(), "Mover");
    EXPECT_STREQ(bulb->description(), "No description is available for this bulb.");
    EXPECT_STREQ(bulb->author(), "An Author");
    EXPECT_EQ(bulb->id(), 4242);
    EXPECT_TRUE(bulb->isAddOn());
    EXPECT_TRUE(bulb->editable());
    EXPECT_TRUE(bulb->sendable());
    EXPECT_FALSE(bulb->uniform()) << "the square moves, so the masks differ";
    EXPECT_EQ(bulb->phaseCount(kPosTop), 5);
    RECT third = bulb->frameRect(kPosBottom, 0, 2);
    EXPECT_EQ(third.left, 40);
    EXPECT_EQ(third.right, 60);
    EXPECT_EQ(third.bottom, 10);
    RECT wrapped = bulb->frameRect(kPosRight, 3, 7);  // flavor wraps to the only one, phase 7 to 2
    EXPECT_EQ(wrapped.left, 40);
    RECT preview = bulb->frameRect(kPosList, 0, 0);  // the 32 × 32 square cut to the 20 × 10 frame
    EXPECT_EQ(preview.right - preview.left, 20);
    EXPECT_EQ(preview.bottom - preview.top, 10);
    ASSERT_NE(findCategory("_1"), nullptr);
    EXPECT_TRUE(findCategory("_1")->isMember(bulb->id()));
    EXPECT_FALSE(bulb->damaged());
}

TEST_F(ExtraBulb, DrawsFramesMasksAndTheirRegions) {
    auto* bulb = new ExtraBulbObject(newBulb("Mover", movingSquare(3)).c_str());
    Canvas canvas(64, 32);
    bool slow = bulb->drawFrame(kPosTop, 0, 1, 10, 5, canvas.dc, false);
    EXPECT_TRUE(slow);
    EXPECT_EQ(canvas.at(10 + 1, 5 + 2), RGB(0, 255, 0)) << "frame 1 is green at x 1";
    EXPECT_EQ(canvas.at(10 + 0, 5 + 2), RGB(0, 0, 0)) << "transparent colour drawn black";
    EXPECT_EQ(canvas.at(9, 5), RGB(255, 255, 255)) << "nothing outside the frame";

    Canvas masks(64, 32);
    bulb->drawFrameMask(kPosTop, 0, 1, 0, 0, masks.dc, kMaskOwn);
    EXPECT_EQ(masks.at(1, 2), RGB(0, 0, 0));
    EXPECT_EQ(masks.at(0, 2), RGB(255, 255, 255));
    bulb->drawFrameMask(kPosTop, 0, 1, 30, 0, masks.dc, kMaskOutline);  // opaque wherever any frame is
    EXPECT_EQ(masks.at(30 + 0, 2), RGB(0, 0, 0));
    EXPECT_EQ(masks.at(30 + 5, 2), RGB(0, 0, 0)) << "the last frame's square ends at x 5";
    EXPECT_EQ(masks.at(30 + 6, 2), RGB(255, 255, 255));
    bulb->drawFrameMask(kPosTop, 0, 0, 0, 10, masks.dc, kMaskBackground);  // the outline, with frame 0's own shape merged in
    EXPECT_EQ(masks.at(0, 12), RGB(255, 255, 255)) << "opaque in frame 0 itself";
    EXPECT_EQ(masks.at(5, 12), RGB(0, 0, 0)) << "opaque only in another frame";
    EXPECT_EQ(masks.at(7, 12), RGB(255, 255, 255));

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    bulb->addFrameRegion(kPosTop, 0, 2, 100, 50, region);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ(box.left, 102);
    EXPECT_EQ(box.top, 52);
    EXPECT_EQ(box.right, 106);
    EXPECT_EQ(box.bottom, 56);
    DeleteObject(region);
}

TEST_F(ExtraBulb, RegionIsCachedInTheFileAndReadByTheNextLoad) {
    std::string path = newBulb("Cached", movingSquare(2));
    size_t before = bulbtest::readFile(path).size();
    {
        auto* bulb = new ExtraBulbObject(path.c_str());
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        bulb->addFrameRegion(kPosTop, 0, 0, 0, 0, region);
        DeleteObject(region);
        delete bulb;
    }
    std::vector<uint8_t> bytes = bulbtest::readFile(path);
    ASSERT_GT(bytes.size(), before);
    BulbHeader header = parseBulbHeader(bytes.data());
    EXPECT_EQ(header.recordedSize, bytes.size());
    ASSERT_TRUE(regionData(header, 0, bytes.data(), bytes.size()));

    // Spoil the cached rectangles: a new load must use them as stored.
    ByteSpan cached = regionData(header, 0, bytes.data(), bytes.size());
    size_t firstRect = static_cast<size_t>(cached.data - bytes.data()) + 32;
    int32_t wide = 200;
    std::memcpy(&bytes[firstRect + 8], &wide, 4);
    bulbtest::writeFile(path, bytes);
    auto* again = new ExtraBulbObject(path.c_str());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    again->addFrameRegion(kPosTop, 0, 1, 0, 0, region);  // frame 1 spans x 20..40 of the strip
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ(box.right, 20) << "the stored region, cut to the frame";
    DeleteObject(region);
    EXPECT_EQ(bulbtest::readFile(path).size(), bytes.size()) << "nothing stored again";
}

TEST_F(ExtraBulb, CorruptPictureLoadsThenShowsTheWarningOnceDrawn) {
    std::string path = newBulb("Broken", movingSquare(2));
    std::vector<uint8_t> bytes = bulbtest::readFile(path);
    BulbHeader header = parseBulbHeader(bytes.data());
    bytes[header.pictures[0].offset + 3] = '0';  // "GIF0..." is no GIF
    bulbtest::writeFile(path, bytes);

    auto* bulb = new ExtraBulbObject(path.c_str());
    EXPECT_FALSE(bulb->damaged());
    EXPECT_STREQ(bulb->description(), "No description is available for this bulb.");
    Canvas canvas(40, 40);
    bulb->drawFrame(kPosTop, 0, 0, 0, 0, canvas.dc, false);
    EXPECT_TRUE(bulb->damaged());
    EXPECT_STREQ(bulb->description(), kDamagedDescription);
    RECT r = bulb->frameRect(kPosTop, 3, 5);
    EXPECT_EQ(r.right, 32);
    EXPECT_EQ(r.bottom, 32);
    EXPECT_EQ(bulb->phaseCount(kPosTop), 1);
    EXPECT_NE(canvas.at(16, 20), RGB(255, 255, 255)) << "the warning picture was drawn";
    EXPECT_THROW(bulb->pickPicture(0), Failure);
}

TEST_F(ExtraBulb, SameIdentifierLoadsTwiceWithTheNextFreeKey) {
    auto* first = new ExtraBulbObject(newBulb("One", movingSquare(1), 77).c_str());
    auto* second = new ExtraBulbObject(newBulb("Two", movingSquare(2), 77).c_str());
    EXPECT_EQ(first->id(), 77);
    EXPECT_EQ(second->id(), 78);
    EXPECT_EQ(parseBulbHeader(bulbtest::readFile(folder + "Two.bul").data()).id, 77) << "the file keeps its own";
    auto* third = new ExtraBulbObject(newBulb("Three", movingSquare(1), -1).c_str());
    EXPECT_NE(third->id(), -1);
}

TEST_F(ExtraBulb, PicturesAreStoredOncePerContentAndAtMost37) {
    std::string path = newBulb("Many", movingSquare(1));
    WinFile file(path.c_str(), true);
    std::vector<uint8_t> bytes(kBulbHeaderSize);
    file.read(0, bytes.data(), static_cast<DWORD>(bytes.size()));
    BulbHeader header = parseBulbHeader(bytes.data());
    std::string gif = folder + "same.gif";
    bulbtest::writeFile(gif, movingSquare(1));
    AddedPicture again = addGifPicture(file, gif.c_str(), header);
    EXPECT_TRUE(again.reused);
    EXPECT_EQ(again.index, 0);
    for (int i = 1; i < kPictureCount; ++i) {
        bulbtest::writeFile(gif, movingSquare(1 + i % 3, 8 + i, 5));
        AddedPicture added = addGifPicture(file, gif.c_str(), header);
        ASSERT_EQ(added.index, i);
        header.pictures[i].references = 1;
    }
    bulbtest::writeFile(gif, movingSquare(2, 50, 5));
    EXPECT_EQ(bulbtest::faultOf<BulbFileFault>([&] { addGifPicture(file, gif.c_str(), header); }),
              BulbFileFault::PictureTableFull);
    std::string notGif = folder + "junk.gif";
    bulbtest::writeFile(notGif, {'G', 'I', 'F', '8', '9', 'a', 0, 0});
    EXPECT_EQ(bulbtest::faultOf<GifFault>([&] { addGifPicture(file, notGif.c_str(), header); }), GifFault::NoTrailer);
    std::string noImage = folder + "empty.gif";
    bulbtest::writeFile(noImage, {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'});
    EXPECT_EQ(bulbtest::faultOf<BulbFileFault>([&] { addGifPicture(file, noImage.c_str(), header); }),
              BulbFileFault::PictureWithoutFrames);
}

TEST_F(ExtraBulb, CategoryBlockSenderTextAndSentFlag) {
    std::string path = newBulb("Seasonal", movingSquare(1));
    auto* bulb = new ExtraBulbObject(path.c_str());
    EXPECT_STREQ(bulb->categoryText(), "");
    appendCategoryBlock(path.c_str(), "Winter | Snow");
    bulb->categoriesChanged();
    EXPECT_STREQ(bulb->categoryText(), "Winter | Snow");
    ASSERT_NE(findCategory("Snow"), nullptr);
    EXPECT_TRUE(findCategory("Snow")->isMember(bulb->id()));
    appendCategoryBlock(path.c_str(), "Summer");
    bulb->categoriesChanged();
    EXPECT_FALSE(findCategory("Snow")->isMember(bulb->id()));
    EXPECT_TRUE(findCategory("Summer")->isMember(bulb->id()));

    bulb->appendSenderText("Sam <sam@example.org>");
    std::vector<uint8_t> bytes = bulbtest::readFile(path);
    BulbHeader header = parseBulbHeader(bytes.data());
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + header.senderOffset), "Sam <sam@example.org>");
    EXPECT_EQ(header.recordedSize, bytes.size());
    markBulbSent(path.c_str());
    bulb->categoriesChanged();
    EXPECT_FALSE(bulb->sendable());
}

TEST_F(ExtraBulb, NewFileNamesAreReservedInTurn) {
    bulbtest::writeFile(folder + "Tree.bul", {1, 2, 3});
    char path[MAX_PATH];
    for (const char* expected : {"Tree 2.bul", "Tree 3.bul"}) {
        reserveNewFile(path, folder.c_str(), "Tree", ".bul");
        EXPECT_EQ(path, folder + expected);
        EXPECT_TRUE(bulbtest::exists(path));
        EXPECT_TRUE(bulbtest::readFile(path).empty());
    }
    EXPECT_EQ(bulbtest::readFile(folder + "Tree.bul"), (std::vector<uint8_t>{1, 2, 3})) << "a taken name is left alone";
    DeleteFileA((folder + "Tree 2.bul").c_str());
    reserveNewFile(path, folder.c_str(), "Tree", ".bul");
    EXPECT_EQ(path, folder + "Tree 2.bul") << "a name given back is free again";
    reserveNewFile(path, folder.c_str(), "comp", ".tmp");
    EXPECT_EQ(path, folder + "comp.tmp");

    std::string missing = folder + "no such folder\\";
    EXPECT_EQ(bulbtest::failureCode([&] { reserveNewFile(path, missing.c_str(), "Tree", ".bul"); }),
              ERROR_PATH_NOT_FOUND);
    std::string longName(MAX_PATH - folder.size() - 4, 'n');
    EXPECT_EQ(bulbtest::failureCode([&] { reserveNewFile(path, folder.c_str(), longName.c_str(), ".bul"); }),
              kFailAsrt);
}

int failingStep = 0;
void failAt(int step) {
    if (step == failingStep) throw Failure{kFailAsrt};
}

TEST_F(ExtraBulb, CompactionReplacesTheFileInOneStepAndSurvivesEveryFailure) {
    std::string path = newBulb("Compact", movingSquare(2));
    {
        WinFile file(path.c_str(), true);
        std::vector<uint8_t> bytes(kBulbHeaderSize);
        file.read(0, bytes.data(), static_cast<DWORD>(bytes.size()));
        BulbHeader header = parseBulbHeader(bytes.data());
        std::string gif = folder + "flavor.gif";
        bulbtest::writeFile(gif, movingSquare(3));
        int index = addGifPicture(file, gif.c_str(), header).index;
        header.pictures[index].references = 2;
        header.flavors[1][1] = index;
        header.flavors[1][3] = index;  // a hole at 2
        bulbtest::writeFile(gif, movingSquare(4));
        addGifPicture(file, gif.c_str(), header);  // never referenced: dead
        std::vector<uint8_t> out = serializeBulbHeader(header);
        file.write(0, out.data(), static_cast<DWORD>(out.size()));
    }
    appendCategoryBlock(path.c_str(), "Old");
    appendCategoryBlock(path.c_str(), "New");
    const std::vector<uint8_t> original = bulbtest::readFile(path);

    setCompactionStepHook(failAt);
    for (failingStep = 1; failingStep <= 4; ++failingStep) {
        EXPECT_THROW(compactBulb(path.c_str(), folder.c_str()), Failure) << failingStep;
        EXPECT_EQ(bulbtest::readFile(path), original) << "step " << failingStep << " left the original";
        EXPECT_FALSE(bulbtest::exists(folder + "comp.tmp")) << "step " << failingStep;
    }
    setCompactionStepHook(nullptr);

    compactBulb(path.c_str(), folder.c_str());
    EXPECT_FALSE(bulbtest::exists(folder + "comp.tmp"));
    std::vector<uint8_t> compacted = bulbtest::readFile(path);
    EXPECT_LT(compacted.size(), original.size());
    BulbFileInfo info = loadBulbFile(compacted.data(), compacted.size());
    EXPECT_EQ(info.categories, "New");
    EXPECT_NE(info.header.flavors[1][2], kNoPicture);
    EXPECT_EQ(info.header.flavors[1][3], kNoPicture);
    auto* bulb = new ExtraBulbObject(path.c_str());
    EXPECT_EQ(bulb->phaseCount(kPosRight), 3);
}

}  // namespace
