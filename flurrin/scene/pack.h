// Pack files: a text index (<base>.icf) and the members' bytes back to back
// (<base>.img). Members are copied out to temporary files one at a time.
// Portable (C stdio), so the build-time pack tool uses the same code.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flurrin {

inline constexpr size_t kCopyChunk = 60000;
inline constexpr const char* kPackFailed = "False";
inline constexpr const char* kPackProduct = "Flurrin";
inline constexpr const char* kPackMaker = "Vessaro";
inline constexpr const char* kPackWebAddress = "http://www.vessaro.example/flurrin";
// Index limits: more members than this, or longer names, mean a broken index.
inline constexpr int32_t kMaxPackMembers = 10000;
inline constexpr size_t kMaxMemberName = 260;

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Copies size bytes in chunks of kCopyChunk (the last one shorter) through
// one reusable buffer. read and write return false on failure.
bool copy_loop(uint64_t size, const std::function<bool(uint8_t*, size_t)>& read,
               const std::function<bool(const uint8_t*, size_t)>& write);

struct PackIndex {
    std::vector<std::string> names;  // member k is names[k - 1]
    std::vector<int32_t> sizes;
};

// Nothing when the index lies: a count or size that is not a number in range,
// fewer members than the count, or a member name that could leave the folder.
std::optional<PackIndex> parse_pack_index(std::string_view text);
std::string format_pack_index(const PackIndex& index);
bool valid_member_name(std::string_view name);
// "img_xyz." + the last three characters of the member's name.
std::optional<std::string> temp_member_name(std::string_view member_name);

// True when the file is longer than one byte.
bool file_exists(const std::string& path);
// The text after the last path separator.
std::string file_name_of(std::string_view path);

class Pack {
public:
    explicit Pack(std::string temp_folder);

    // Loads <base>.icf; no index (or a lying one) leaves the count at 0.
    bool pack_open(const std::string& base);
    // Path of the temporary copy of member k, or "False".
    std::string pack_extract(const std::string& base, int32_t k);
    // Deletes every img_xyz*.* file in the temporary folder.
    void pack_cleanup();

    int32_t count() const { return int32_t(index_.names.size()); }
    const PackIndex& index() const { return index_; }
    const std::string& temp_folder() const { return temp_folder_; }

private:
    std::string temp_folder_;
    PackIndex index_;
};

bool pack_build(std::string folder, const std::string& base, const std::vector<std::string>& sources);

}  // namespace flurrin
