#include "settings/option_values.h"

#include <algorithm>

namespace flurrin {

int32_t take_scroll_value(Settings& settings, const ScrollOption& option) {
    int32_t& value = settings.*option.value;
    value = option.range.clamp(value);
    return value;
}

int32_t scroll_position(const ScrollOption& option, int32_t current, ScrollAction action, int32_t track) {
    int64_t next = current;
    switch (action) {
    case ScrollAction::LineDown: next += option.small_step; break;
    case ScrollAction::LineUp: next -= option.small_step; break;
    case ScrollAction::PageDown: next += option.large_step; break;
    case ScrollAction::PageUp: next -= option.large_step; break;
    case ScrollAction::Track: next = track; break;
    case ScrollAction::Top: next = option.range.low; break;
    case ScrollAction::Bottom: next = option.range.high; break;
    case ScrollAction::Other: break;
    }
    return int32_t(std::clamp<int64_t>(next, option.range.low, option.range.high));
}

std::string frame_rate_label(int32_t frames) { return std::to_string(frames) + " Frames Per Second"; }

bool list_has_entries(const std::vector<std::string>& list) {
    return std::any_of(list.begin(), list.end(), [](const std::string& path) { return !path.empty(); });
}

int32_t choose_after_list(Settings& settings, const OptionPair& option) {
    int32_t& flag = settings.*option.flag;
    flag = list_has_entries(settings.*option.list) ? 1 : 0;
    return flag;
}

}  // namespace flurrin
