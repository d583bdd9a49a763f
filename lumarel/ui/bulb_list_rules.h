// The Bulb Factory page's list and menu rules: what the "Show" submenu
// offers, which bulb menu items apply, and which item is selected after a
// removal. Plain data only, tested without a window.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lumarel {

constexpr int kShowAllCommand = 1006;
constexpr int kShowBuiltInCommand = 1007;
constexpr int kShowAddOnCommand = 1008;
constexpr int kShowCategoryCommand = 2000;  // plus the category's index

struct CategoryCount {
    std::string name;
    int members = 0;
};

struct FilterItem {
    int command;
    std::string text;
};
// The "Show" submenu: every bulb, the built-in ones (plain text when there
// are none), the add-on ones (left out when there are none), then each
// category the user can see that has members, by its display index.
std::vector<FilterItem> filterMenuItems(int total, int builtIn, int addOn,
                                        const std::vector<CategoryCount>& categories);
// Names starting with '_' are the program's own groups, never offered.
bool isUserCategory(std::string_view name);

struct BulbFlags {
    bool editable = false;
    bool viewable = false;
    bool removable = false;
    bool sendable = false;
};
enum class MenuSource { ListItem, ListEmptyPart, Box };
struct BulbMenuPlan {
    bool show = false;               // the "Show" submenu
    bool edit = false;
    bool editCategoriesOnly = false; // the edit item reads "Edit Categories..."
    bool remove = false;
    bool send = false;
    bool credits = false;
};
BulbMenuPlan planBulbMenu(MenuSource source, const BulbFlags& bulb);

// The Edit button works for bulbs the Bulb Factory can open in full or show.
bool canEditBulb(const BulbFlags& bulb);

// After removing item `removed` of a list that now holds `remaining` items:
// the item now at the same place, the one before it at the end, or -1.
int selectionAfterRemoval(int removed, int remaining);

}  // namespace lumarel
