#include "ui/bulb_list_rules.h"

#include <algorithm>

#include "ui/settings_rules.h"

namespace lumarel {

bool isUserCategory(std::string_view name) { return !name.empty() && name[0] != '_'; }

std::vector<FilterItem> filterMenuItems(int total, int builtIn, int addOn,
                                        const std::vector<CategoryCount>& categories) {
    std::vector<FilterItem> items;
    items.push_back({kShowAllCommand, filterItemText("All Bulbs", total)});
    items.push_back({kShowBuiltInCommand, builtIn > 0 ? filterItemText("Built-In Bulbs", builtIn) : "Built-In Bulbs"});
    if (addOn > 0) items.push_back({kShowAddOnCommand, filterItemText("Add-On Bulbs", addOn)});
    for (size_t i = 0; i < categories.size(); ++i)
        if (isUserCategory(categories[i].name) && categories[i].members > 0)
            items.push_back({kShowCategoryCommand + int(i), filterItemText(categories[i].name, categories[i].members)});
    return items;
}

BulbMenuPlan planBulbMenu(MenuSource source, const BulbFlags& bulb) {
    BulbMenuPlan plan;
    plan.show = source != MenuSource::Box;
    if (source == MenuSource::ListEmptyPart) return plan;
    plan.edit = true;
    plan.editCategoriesOnly = !bulb.editable;
    plan.remove = source == MenuSource::ListItem && bulb.removable;
    plan.send = bulb.sendable;
    plan.credits = true;
    return plan;
}

bool canEditBulb(const BulbFlags& bulb) { return bulb.editable || bulb.viewable; }

int selectionAfterRemoval(int removed, int remaining) {
    if (remaining <= 0) return -1;
    return std::clamp(removed, 0, remaining - 1);
}

}  // namespace lumarel
