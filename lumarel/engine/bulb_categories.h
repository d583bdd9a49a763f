// The category index over all bulb kinds: named categories in display order,
// each with the ids of its member kinds in the order they joined. Portable: no
// Windows headers, so the order rules are tested natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumarel {

// Hidden categories: every built-in kind is a member of "_0", every add-on
// kind of "_1". Names starting with '_' are never offered to the user.
inline constexpr const char* kBuiltInCategory = "_0";
inline constexpr const char* kAddOnCategory = "_1";
constexpr size_t kMaxCategoryName = 255;
constexpr size_t kMaxCategoryText = 259;

class BulbCategory {
public:
    explicit BulbCategory(std::string name) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }
    size_t memberCount() const { return members_.size(); }
    int32_t member(size_t i) const { return members_.at(i); }
    bool isMember(int32_t key) const;
    void addMember(int32_t key) { members_.push_back(key); }
    void removeMember(int32_t key);

private:
    std::string name_;
    std::vector<int32_t> members_;
};

// Exact name (letter case counts); null when there is none.
BulbCategory* findCategory(const char* name);
// Finds or creates the category. A new name starting with '_' goes to the
// end; any other before the first name that is greater without regard to case
// or that starts with '_'. A name longer than 255 characters throws 'asrt'.
BulbCategory& findOrCreateCategory(const char* name);
size_t categoryCount();
// The n-th category in display order; null past the end.
BulbCategory* categoryAt(size_t n);
// Removes every membership of the key; categories stay, possibly empty.
void removeFromAllCategories(int32_t key);
// Forgets every category (tests and shutdown).
void clearCategories();

// Piece i of a "|"-joined category text, blanks trimmed at both ends. Only
// the first 259 characters of the text count. A missing piece, or one that is
// empty after trimming, ends the list (so later pieces are never reached).
std::optional<std::string> categoryPiece(const char* text, int i);

}  // namespace lumarel
