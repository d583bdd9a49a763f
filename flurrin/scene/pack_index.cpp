#include "scene/pack_index.h"

#include <cstdint>

namespace flurrin {

namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

// Fields of the index after its three header lines: separated by commas or
// line breaks, blanks trimmed, surrounding quotes removed.
std::vector<std::string_view> index_fields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(",\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view field = text.substr(pos, end - pos);
        while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
        while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
        if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = field.substr(1, field.size() - 2);
        bool line_break = end < text.size() && text[end] != ',';
        // An empty line (the LF of CR LF, or a trailing break) is not a field.
        if (!(field.empty() && line_break && (end == pos))) fields.push_back(field);
        pos = end + 1;
    }
    return fields;
}

std::optional<int32_t> parse_count(std::string_view field) {
    if (field.empty() || field.size() > 10) return std::nullopt;
    int64_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > INT32_MAX) return std::nullopt;
    return int32_t(value);
}

}  // namespace

bool copy_loop(uint64_t size, const std::function<bool(uint8_t*, size_t)>& read,
               const std::function<bool(const uint8_t*, size_t)>& write) {
    std::vector<uint8_t> buffer(kCopyChunk);
    uint64_t chunk = size < kCopyChunk ? size : kCopyChunk;
    for (uint64_t position = 0; position < size;) {
        if (!read(buffer.data(), size_t(chunk)) || !write(buffer.data(), size_t(chunk))) return false;
        position += chunk;
        if (position < size && position + chunk > size) chunk = size - position;
    }
    return true;
}

bool valid_member_name(std::string_view name) {
    if (name.empty() || name.size() > kMaxMemberName) return false;
    for (char c : name) {
        if (is_separator(c) || c == ':' || c == ',' || c == '"' || static_cast<unsigned char>(c) < 32) return false;
    }
    return name != "." && name != "..";
}

std::optional<std::string> temp_member_name(std::string_view member_name) {
    if (!valid_member_name(member_name)) return std::nullopt;
    std::string_view extension = member_name.size() > 3 ? member_name.substr(member_name.size() - 3) : member_name;
    for (char c : extension) {
        bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!word) return std::nullopt;
    }
    return "img_xyz." + std::string(extension);
}

std::optional<PackIndex> parse_pack_index(std::string_view text) {
    // The product, maker and web address lines are not read.
    size_t pos = 0;
    for (int line = 0; line < 3; ++line) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) return std::nullopt;
        pos = end + 1;
    }
    std::vector<std::string_view> fields = index_fields(text.substr(pos));
    if (fields.empty()) return std::nullopt;
    auto count = parse_count(fields[0]);
    if (!count || *count > kMaxPackMembers || fields.size() < 1 + 2 * size_t(*count)) return std::nullopt;
    PackIndex index;
    index.names.reserve(size_t(*count));
    index.sizes.reserve(size_t(*count));
    for (int32_t k = 0; k < *count; ++k) {
        std::string_view name = fields[1 + 2 * size_t(k)];
        auto size = parse_count(fields[2 + 2 * size_t(k)]);
        if (!valid_member_name(name) || !size) return std::nullopt;
        index.names.emplace_back(name);
        index.sizes.push_back(*size);
    }
    return index;
}

std::string format_pack_index(const PackIndex& index) {
    std::string text = std::string(kPackProduct) + "\r\n" + kPackMaker + "\r\n" + kPackWebAddress + "\r\n";
    text += std::to_string(index.names.size()) + "\r\n";
    for (size_t k = 0; k < index.names.size(); ++k)
        text += index.names[k] + "\r\n" + std::to_string(index.sizes[k]) + "\r\n";
    return text;
}

std::string file_name_of(std::string_view path) {
    size_t cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace flurrin
