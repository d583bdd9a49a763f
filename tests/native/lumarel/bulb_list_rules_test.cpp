// The Bulb Factory page's list rules: the "Show" submenu with its counts,
// the bulb menu for each place it opens from, and the item selected after a
// removal.
#include "ui/bulb_list_rules.h"

#include <gtest/gtest.h>

using namespace lumarel;

namespace {

std::vector<std::string> texts(const std::vector<FilterItem>& items) {
    std::vector<std::string> out;
    for (const FilterItem& item : items) out.push_back(std::to_string(item.command) + " " + item.text);
    return out;
}

}  // namespace

TEST(ShowMenu, CountsEveryGroupAndListsUserCategoriesByIndex) {
    // Display order: two user categories, an empty one, then the hidden ones.
    std::vector<CategoryCount> categories = {{"Christmas", 12}, {"Empty", 0}, {"Spring", 3}, {"_0", 47}, {"_1", 2}};
    EXPECT_EQ(texts(filterMenuItems(49, 47, 2, categories)),
              (std::vector<std::string>{"1006 All Bulbs (49)", "1007 Built-In Bulbs (47)", "1008 Add-On Bulbs (2)",
                                        "2000 Christmas (12)", "2002 Spring (3)"}));
}

TEST(ShowMenu, EmptyGroupsKeepOrLoseTheirItem) {
    // No add-on bulbs: that item goes. No built-in ones: plain text stays.
    EXPECT_EQ(texts(filterMenuItems(47, 47, 0, {})),
              (std::vector<std::string>{"1006 All Bulbs (47)", "1007 Built-In Bulbs (47)"}));
    EXPECT_EQ(texts(filterMenuItems(3, 0, 3, {{"_0", 0}, {"_1", 3}})),
              (std::vector<std::string>{"1006 All Bulbs (3)", "1007 Built-In Bulbs", "1008 Add-On Bulbs (3)"}));
    EXPECT_EQ(texts(filterMenuItems(0, 0, 0, {})),
              (std::vector<std::string>{"1006 All Bulbs (0)", "1007 Built-In Bulbs"}));
}

TEST(ShowMenu, UserCategoriesAreThoseNotStartingWithAnUnderscore) {
    EXPECT_TRUE(isUserCategory("Halloween"));
    EXPECT_TRUE(isUserCategory("a_b"));
    EXPECT_FALSE(isUserCategory("_0"));
    EXPECT_FALSE(isUserCategory("_hidden"));
    EXPECT_FALSE(isUserCategory(""));
}

TEST(BulbMenu, OffersWhatTheBulbAndThePlaceAllow) {
    BulbFlags own{true, true, true, true};       // made in the Bulb Factory, not sent yet
    BulbFlags builtIn{false, false, false, false};
    BulbFlags foreign{false, true, true, false};  // an add-on bulb made elsewhere

    BulbMenuPlan plan = planBulbMenu(MenuSource::ListItem, own);
    EXPECT_TRUE(plan.show && plan.edit && plan.remove && plan.send && plan.credits);
    EXPECT_FALSE(plan.editCategoriesOnly);

    // A built-in bulb is only re-categorised, never removed or sent.
    plan = planBulbMenu(MenuSource::ListItem, builtIn);
    EXPECT_TRUE(plan.show && plan.edit && plan.editCategoriesOnly && plan.credits);
    EXPECT_FALSE(plan.remove || plan.send);

    plan = planBulbMenu(MenuSource::ListItem, foreign);
    EXPECT_TRUE(plan.editCategoriesOnly && plan.remove);
    EXPECT_FALSE(plan.send);

    // From a box: no filter, and removing is for the list only.
    plan = planBulbMenu(MenuSource::Box, own);
    EXPECT_FALSE(plan.show || plan.remove);
    EXPECT_TRUE(plan.edit && plan.send && plan.credits);

    // Below the last item: the filter alone.
    plan = planBulbMenu(MenuSource::ListEmptyPart, own);
    EXPECT_TRUE(plan.show);
    EXPECT_FALSE(plan.edit || plan.remove || plan.send || plan.credits);
}

TEST(BulbMenu, EditButtonNeedsAnEditableOrViewableBulb) {
    EXPECT_TRUE(canEditBulb({true, false, false, false}));
    EXPECT_TRUE(canEditBulb({false, true, false, false}));
    EXPECT_FALSE(canEditBulb({false, false, true, true}));
}

TEST(BulbList, SelectionAfterRemovalStaysInPlaceOrStepsBack) {
    EXPECT_EQ(selectionAfterRemoval(2, 5), 2);   // the next item moved up
    EXPECT_EQ(selectionAfterRemoval(0, 1), 0);
    EXPECT_EQ(selectionAfterRemoval(4, 4), 3);   // the last one went: the one before
    EXPECT_EQ(selectionAfterRemoval(0, 0), -1);  // empty
    EXPECT_EQ(selectionAfterRemoval(-1, 3), 0);  // the bulb was not listed
}
