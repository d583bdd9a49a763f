#include "settings/version_info.h"

namespace flurrin {

namespace {

constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr size_t kFixedInfoSize = 52;
constexpr char16_t kKey[] = u"VS_VERSION_INFO";

uint16_t word_at(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t dword_at(const uint8_t* p) { return uint32_t(word_at(p)) | uint32_t(word_at(p + 2)) << 16; }

}  // namespace

std::optional<FileVersion> read_file_version(const uint8_t* data, size_t size) {
    // wLength, wValueLength, wType, then the key in UTF-16 with its zero.
    if (!data || size < 6) return std::nullopt;
    size_t length = word_at(data);
    if (length > size) return std::nullopt;
    size_t value_length = word_at(data + 2);
    size_t at = 6;
    for (char16_t c : kKey) {  // the array's own zero is compared too
        if (at + 2 > length || word_at(data + at) != c) return std::nullopt;
        at += 2;
    }
    at = (at + 3) & ~size_t(3);  // the value starts on a 32-bit boundary
    if (value_length < kFixedInfoSize || at + kFixedInfoSize > length) return std::nullopt;
    const uint8_t* fixed = data + at;
    if (dword_at(fixed) != kFixedSignature) return std::nullopt;
    uint32_t ms = dword_at(fixed + 8), ls = dword_at(fixed + 12);
    return FileVersion{int(ms >> 16), int(ms & 0xFFFF), int(ls >> 16), int(ls & 0xFFFF)};
}

std::string version_text(const FileVersion& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.revision);
}

}  // namespace flurrin
