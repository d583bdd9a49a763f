// The program's version from the bytes of its version resource, read without
// the system's version library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace flurrin {

struct FileVersion {
    int major = 0, minor = 0, build = 0, revision = 0;
};

// The fixed file version of a VS_VERSIONINFO block; nothing when the bytes
// are not one (wrong key, cut short, no fixed part, bad signature).
std::optional<FileVersion> read_file_version(const uint8_t* data, size_t size);
// "major.minor.revision": the fourth number is the one that counts releases.
std::string version_text(const FileVersion& version);

}  // namespace flurrin
