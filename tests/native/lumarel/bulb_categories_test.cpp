#include "engine/bulb_categories.h"

#include <gtest/gtest.h>

#include "base/failure.h"

#include <string>

using namespace lumarel;

namespace {

struct Categories : ::testing::Test {
    void SetUp() override { clearCategories(); }
    void TearDown() override { clearCategories(); }
    std::vector<std::string> order() {
        std::vector<std::string> names;
        for (size_t i = 0; categoryAt(i); ++i) names.push_back(categoryAt(i)->name());
        return names;
    }
};

}  // namespace

TEST_F(Categories, VisibleNamesSortWithoutCaseAndHiddenOnesFollowInCreationOrder) {
    findOrCreateCategory("_1");
    findOrCreateCategory("Banana");
    findOrCreateCategory("_0");
    findOrCreateCategory("apple");
    findOrCreateCategory("cherry");
    EXPECT_EQ(order(), (std::vector<std::string>{"apple", "Banana", "cherry", "_1", "_0"}));
}

TEST_F(Categories, FindIsExactAndFindOrCreateReturnsTheSameCategory) {
    BulbCategory& first = findOrCreateCategory("Winter");
    EXPECT_EQ(&findOrCreateCategory("Winter"), &first);
    EXPECT_EQ(findCategory("winter"), nullptr);
    EXPECT_EQ(findCategory("Winter"), &first);
    // "winter" differs in case, so it is a second category next to the first.
    findOrCreateCategory("winter");
    EXPECT_EQ(categoryCount(), 2u);
}

TEST_F(Categories, ReferencesStayValidWhileOthersAreInserted) {
    BulbCategory& zebra = findOrCreateCategory("Zebra");
    zebra.addMember(7);
    for (char c = 'a'; c < 'z'; ++c) findOrCreateCategory(std::string(1, c).c_str());
    EXPECT_EQ(zebra.name(), "Zebra");
    EXPECT_TRUE(zebra.isMember(7));
}

TEST_F(Categories, MembershipsKeepTheirOrderAndRemovalLeavesEmptyCategories) {
    BulbCategory& c = findOrCreateCategory("Christmas");
    BulbCategory& w = findOrCreateCategory("Winter");
    c.addMember(0);
    c.addMember(2);
    c.addMember(1);
    w.addMember(2);
    removeFromAllCategories(2);
    ASSERT_EQ(c.memberCount(), 2u);
    EXPECT_EQ(c.member(0), 0);
    EXPECT_EQ(c.member(1), 1);
    EXPECT_EQ(w.memberCount(), 0u);
    EXPECT_EQ(findCategory("Winter"), &w);  // never deleted
}

TEST_F(Categories, OverlongNameFails) {
    std::string name(256, 'x');
    EXPECT_THROW(findOrCreateCategory(name.c_str()), Failure);
    EXPECT_NO_THROW(findOrCreateCategory(name.substr(0, 255).c_str()));
}

TEST(CategoryPiece, TrimsBlanksAroundBars) {
    EXPECT_EQ(categoryPiece("  Christmas |  Light Bulbs ", 0), "Christmas");
    EXPECT_EQ(categoryPiece("  Christmas |  Light Bulbs ", 1), "Light Bulbs");
    EXPECT_EQ(categoryPiece("  Christmas |  Light Bulbs ", 2), std::nullopt);
}

TEST(CategoryPiece, EmptyPieceEndsTheList) {
    EXPECT_EQ(categoryPiece("A||B", 0), "A");
    EXPECT_EQ(categoryPiece("A||B", 1), std::nullopt);
    EXPECT_EQ(categoryPiece("A||B", 2), std::nullopt);
    EXPECT_EQ(categoryPiece("", 0), std::nullopt);
    EXPECT_EQ(categoryPiece("   ", 0), std::nullopt);
    EXPECT_EQ(categoryPiece(nullptr, 0), std::nullopt);
}

TEST(CategoryPiece, OnlyTheFirst259CharactersCount) {
    std::string text = std::string(250, 'a') + "|bcdefghijklmnop";
    EXPECT_EQ(categoryPiece(text.c_str(), 1), "bcdefghi");  // cut after 259 characters
}
