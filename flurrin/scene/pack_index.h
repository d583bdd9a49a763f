// The pack index format and the rules for member names: plain text in,
// plain data out, no files touched (the fuzzer and the pack tool use it too).
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

// The text after the last path separator.
std::string file_name_of(std::string_view path);

}  // namespace flurrin
