#include "engine/bulb_categories.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/failure.h"
#include "base/text.h"

namespace lumarel {

namespace {

// Owned here so that references handed out stay valid while others are added.
std::vector<std::unique_ptr<BulbCategory>>& categories() {
    static std::vector<std::unique_ptr<BulbCategory>> list;
    return list;
}

bool isHidden(const std::string& name) { return !name.empty() && name[0] == '_'; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool BulbCategory::isMember(int32_t key) const {
    return std::find(members_.begin(), members_.end(), key) != members_.end();
}

void BulbCategory::removeMember(int32_t key) {
    members_.erase(std::remove(members_.begin(), members_.end(), key), members_.end());
}

BulbCategory* findCategory(const char* name) {
    for (auto& c : categories())
        if (c->name() == name) return c.get();
    return nullptr;
}

BulbCategory& findOrCreateCategory(const char* name) {
    if (BulbCategory* found = findCategory(name)) return *found;
    check(strlen(name) <= kMaxCategoryName);
    auto& list = categories();
    auto created = std::make_unique<BulbCategory>(name);
    auto place = list.end();
    if (!isHidden(created->name())) {
        place = std::find_if(list.begin(), list.end(), [&](const auto& c) {
            return isHidden(c->name()) || compareNoCase(c->name().c_str(), name) > 0;
        });
    }
    return **list.insert(place, std::move(created));
}

size_t categoryCount() { return categories().size(); }

BulbCategory* categoryAt(size_t n) { return n < categories().size() ? categories()[n].get() : nullptr; }

void removeFromAllCategories(int32_t key) {
    for (auto& c : categories()) c->removeMember(key);
}

void clearCategories() { categories().clear(); }

std::optional<std::string> categoryPiece(const char* text, int i) {
    if (!text || i < 0) return std::nullopt;
    std::string_view all(text, strnlen(text, kMaxCategoryText));
    for (int n = 0;; ++n) {
        size_t bar = all.find('|');
        std::string_view piece = all.substr(0, bar);
        while (!piece.empty() && isBlank(piece.front())) piece.remove_prefix(1);
        while (!piece.empty() && isBlank(piece.back())) piece.remove_suffix(1);
        if (piece.empty()) return std::nullopt;
        if (n == i) return std::string(piece);
        if (bar == std::string_view::npos) return std::nullopt;
        all.remove_prefix(bar + 1);
    }
}

}  // namespace lumarel
