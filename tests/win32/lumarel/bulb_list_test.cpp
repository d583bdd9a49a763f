// The global bulb list: order, look-ups and category registration, with
// stand-in kinds that draw nothing.
#include <gtest/gtest.h>

#include <string>

#include "base/failure.h"
#include "engine/bitmap.h"
#include "engine/bulb_categories.h"
#include "engine/bulb_object.h"

using namespace lumarel;

namespace {

class FakeKind : public BulbObject {
public:
    FakeKind(int32_t id, bool addOn, std::string name, std::string categories = "",
             std::string path = "")
        : BulbObject(id, addOn), name_(std::move(name)), categories_(std::move(categories)) {
        setFilePath(path.c_str());
        insertIntoList();
    }
    RECT frameRect(BulbPosition, int, int) override { return {0, 0, 1, 1}; }
    bool drawFrame(BulbPosition, int, int, int, int, HDC, bool) override { return false; }
    void drawFrameMask(BulbPosition, int, int, int, int, HDC, MaskKind) override {}
    void addFrameRegion(BulbPosition, int, int, int, int, HRGN) override {}
    void drawListPicture(int, int, HDC) override {}
    std::unique_ptr<QuickMaskedBitmap> makeDragPicture(HDC) override { return nullptr; }
    int phaseCount(BulbPosition) override { return 1; }
    const char* name() override { return name_.c_str(); }
    const char* description() override { return ""; }
    const char* copyright() override { return ""; }
    const char* author() override { return ""; }
    const char* categoryText() override { return categories_.c_str(); }
    int gapHorizontal() override { return 0; }
    int gapVertical() override { return 0; }
    void dropCache() override { ++drops; }
    int drops = 0;

private:
    std::string name_, categories_;
};

struct BulbList : ::testing::Test {
    void SetUp() override {
        destroyAllBulbs();
        clearCategories();
    }
    void TearDown() override {
        destroyAllBulbs();
        clearCategories();
    }
    std::string names() {
        std::string all;
        for (BulbObject* k = firstBulb(); k; k = k->next()) all += std::string(k->name()) + ",";
        return all;
    }
};

}  // namespace

TEST_F(BulbList, BuiltInKindsComeFirstInCreationOrderThenAddOnsByName) {
    new FakeKind(100, true, "delta");
    new FakeKind(0, false, "Zeta");
    new FakeKind(101, true, "Alpha");
    new FakeKind(1, false, "Beta");
    new FakeKind(102, true, "charlie");
    EXPECT_EQ(names(), "Zeta,Beta,Alpha,charlie,delta,");
    EXPECT_EQ(bulbCount(), 5);
    EXPECT_EQ(findBulbByIndex(2)->id(), 101);
    EXPECT_EQ(findBulbByIndex(5), nullptr);
    EXPECT_EQ(findBulbByIndex(-1), nullptr);
    EXPECT_EQ(findBulbById(1)->listIndex(), 1);
    EXPECT_EQ(findBulbById(7), nullptr);
}

TEST_F(BulbList, DeletingAKindUnlinksItAndDropsItsMemberships) {
    auto* a = new FakeKind(0, false, "A", "Winter | Christmas");
    new FakeKind(1, false, "B", "Winter");
    ASSERT_NE(findCategory("Winter"), nullptr);
    EXPECT_EQ(findCategory("Winter")->memberCount(), 2u);
    EXPECT_TRUE(findCategory("_0")->isMember(0));
    delete a;
    EXPECT_EQ(names(), "B,");
    EXPECT_EQ(findCategory("Winter")->memberCount(), 1u);
    EXPECT_EQ(findCategory("Christmas")->memberCount(), 0u);
    EXPECT_FALSE(findCategory("_0")->isMember(0));
}

TEST_F(BulbList, HiddenCategoriesSeparateBuiltInFromAddOnKinds) {
    new FakeKind(0, false, "Inside", "Christmas");
    new FakeKind(500, true, "Outside", "Christmas|Mine");
    EXPECT_TRUE(findCategory("_0")->isMember(0));
    EXPECT_FALSE(findCategory("_0")->isMember(500));
    EXPECT_TRUE(findCategory("_1")->isMember(500));
    EXPECT_EQ(categoryAt(0)->name(), "Christmas");
    EXPECT_EQ(categoryAt(1)->name(), "Mine");
}

TEST_F(BulbList, AFailedRegistrationLeavesTheKindUnlinked) {
    std::string tooLong(300, 'x');
    EXPECT_THROW(FakeKind(9, true, "Broken", tooLong.substr(0, 256)), Failure);
    EXPECT_EQ(bulbCount(), 0);
}

TEST_F(BulbList, AddOnLookupByPathIgnoresCaseAndBuiltInKinds) {
    new FakeKind(0, false, "Inside");
    new FakeKind(300, true, "Tree", "", "C:\\Bulbs\\Tree.bul");
    ASSERT_NE(findAddOnBulbByFileName("c:\\bulbs\\TREE.BUL"), nullptr);
    EXPECT_EQ(findAddOnBulbByFileName("c:\\bulbs\\TREE.BUL")->id(), 300);
    EXPECT_EQ(findAddOnBulbByFileName(""), nullptr);
    EXPECT_EQ(findAddOnBulbByFileName("C:\\Bulbs\\Other.bul"), nullptr);
}

TEST_F(BulbList, DropCachesReachesEveryKind) {
    auto* a = new FakeKind(0, false, "A");
    auto* b = new FakeKind(400, true, "B");
    dropAllBulbCaches();
    EXPECT_EQ(a->drops, 1);
    EXPECT_EQ(b->drops, 1);
}
