// Pack files: a text index (<base>.icf) and the members' bytes back to back
// (<base>.img). Members are copied out to temporary files one at a time.
// Standard C++ files only, so the build-time pack tool uses the same code.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "scene/pack_index.h"

namespace flurrin {

inline constexpr char kPathSeparator = char(std::filesystem::path::preferred_separator);

// True when the file is longer than one byte.
bool file_exists(const std::string& path);

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
