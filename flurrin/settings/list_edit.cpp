#include "settings/list_edit.h"

#include <utility>

namespace flurrin {

int move_entry(std::vector<std::string>& list, int index, int delta) {
    if (index < 0 || index >= int(list.size())) return -1;
    int target = index + delta;
    if (target < 0 || target >= int(list.size()) || (delta != -1 && delta != 1)) return index;
    std::swap(list[size_t(index)], list[size_t(target)]);
    return target;
}

bool remove_entry(std::vector<std::string>& list, int index) {
    if (index < 0 || index >= int(list.size())) return false;
    list.erase(list.begin() + index);
    return true;
}

}  // namespace flurrin
