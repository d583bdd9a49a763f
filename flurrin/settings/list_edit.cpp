#include "settings/list_edit.h"

#include <algorithm>
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

std::string join_path(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

size_t add_entries(std::vector<std::string>& list, const std::string& folder, const std::vector<std::string>& names,
                   size_t limit) {
    size_t room = list.size() < limit ? limit - list.size() : 0;
    size_t taken = std::min(room, names.size());
    list.reserve(list.size() + taken);
    for (size_t i = 0; i < taken; ++i) list.push_back(join_path(folder, names[i]));
    return names.size() - taken;
}

void remove_selected(std::vector<std::string>& list, std::vector<int> selected) {
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) remove_entry(list, *it);
}

std::vector<std::string> real_entries(const std::vector<std::string>& list) {
    std::vector<std::string> out;
    for (const std::string& path : list)
        if (!path.empty()) out.push_back(path);
    return out;
}

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Wildcard match with backtracking to the last '*' only: linear enough for
// file names, and no recursion on hostile patterns.
bool matches(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") return true;
    size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool matches_patterns(std::string_view patterns, std::string_view name) {
    size_t pos = 0;
    while (pos <= patterns.size()) {
        size_t end = patterns.find(';', pos);
        if (end == std::string_view::npos) end = patterns.size();
        if (end > pos && matches(patterns.substr(pos, end - pos), name)) return true;
        pos = end + 1;
    }
    return false;
}

bool is_plain_name(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

}  // namespace flurrin
