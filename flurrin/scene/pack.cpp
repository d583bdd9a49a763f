#include "scene/pack.h"

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include <io.h>
#else
#include <dirent.h>
#endif

namespace flurrin {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File open_file(const std::string& path, const char* mode) { return File(std::fopen(path.c_str(), mode)); }

bool seek(std::FILE* f, int64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(f, offset, origin) == 0;
#else
    return fseeko(f, off_t(offset), origin) == 0;
#endif
}

int64_t tell(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return int64_t(ftello(f));
#endif
}

int64_t length_of(std::FILE* f) {
    if (!seek(f, 0, SEEK_END)) return -1;
    int64_t length = tell(f);
    return seek(f, 0, SEEK_SET) ? length : -1;
}

bool is_separator(char c) { return c == '\\' || c == '/'; }

std::string with_separator(std::string folder) {
    if (!folder.empty() && !is_separator(folder.back())) folder += kPathSeparator;
    return folder;
}

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

bool file_exists(const std::string& path) {
    File f = open_file(path, "rb");
    return f && length_of(f.get()) > 1;
}

std::string file_name_of(std::string_view path) {
    size_t cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

Pack::Pack(std::string temp_folder) : temp_folder_(with_separator(std::move(temp_folder))) {}

bool Pack::pack_open(const std::string& base) {
    index_ = {};
    std::string path = base + ".icf";
    if (!file_exists(path)) return true;
    File f = open_file(path, "rb");
    if (!f) return true;
    int64_t length = length_of(f.get());
    // An index is a few kilobytes; anything huge is not one of ours.
    if (length <= 0 || length > (1 << 22)) return true;
    std::string text(size_t(length), '\0');
    if (std::fread(text.data(), 1, text.size(), f.get()) != text.size()) return true;
    if (auto index = parse_pack_index(text)) index_ = std::move(*index);
    return true;
}

std::string Pack::pack_extract(const std::string& base, int32_t k) {
    if (k < 1 || k > count()) return kPackFailed;
    int64_t offset = 0;
    for (int32_t i = 1; i < k; ++i) offset += index_.sizes[size_t(i - 1)];
    int64_t size = index_.sizes[size_t(k - 1)];
    auto name = temp_member_name(index_.names[size_t(k - 1)]);
    if (!name) return kPackFailed;

    File data = open_file(base + ".img", "rb");
    if (!data) return kPackFailed;
    int64_t data_length = length_of(data.get());
    if (data_length < 0 || offset + size > data_length || !seek(data.get(), offset, SEEK_SET)) return kPackFailed;

    std::string temp_path = temp_folder_ + *name;
    std::remove(temp_path.c_str());
    File out = open_file(temp_path, "wb");
    if (!out) return kPackFailed;
    bool copied = copy_loop(
        uint64_t(size), [&](uint8_t* p, size_t n) { return std::fread(p, 1, n, data.get()) == n; },
        [&](const uint8_t* p, size_t n) { return std::fwrite(p, 1, n, out.get()) == n; });
    bool closed = std::fclose(out.release()) == 0;
    if (!copied || !closed) {
        std::remove(temp_path.c_str());
        return kPackFailed;
    }
    return temp_path;
}

void Pack::pack_cleanup() {
    std::vector<std::string> doomed;
#ifdef _WIN32
    _finddata_t found{};
    intptr_t search = _findfirst((temp_folder_ + "img_xyz*.*").c_str(), &found);
    if (search != -1) {
        do {
            if (!(found.attrib & _A_SUBDIR)) doomed.push_back(found.name);
        } while (_findnext(search, &found) == 0);
        _findclose(search);
    }
#else
    if (DIR* dir = opendir(temp_folder_.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string_view name = entry->d_name;
            if (name.substr(0, 7) == "img_xyz" && name.find('.') != std::string_view::npos) doomed.emplace_back(name);
        }
        closedir(dir);
    }
#endif
    for (const std::string& name : doomed) std::remove((temp_folder_ + name).c_str());
}

bool pack_build(std::string folder, const std::string& base, const std::vector<std::string>& sources) {
    folder = with_separator(std::move(folder));
    PackIndex index;
    for (const std::string& source : sources) {
        // A name the index cannot carry would make the whole pack unreadable.
        if (!valid_member_name(file_name_of(source))) return false;
    }
    File index_file = open_file(folder + base + ".icf", "wb");
    if (!index_file) return false;
    std::string data_path = folder + base + ".img";
    std::remove(data_path.c_str());
    File data = open_file(data_path, "wb");
    if (!data) return false;

    for (const std::string& source : sources) {
        File in = open_file(source, "rb");
        if (!in) return false;
        int64_t size = length_of(in.get());
        if (size < 0 || size > INT32_MAX) return false;
        index.names.push_back(file_name_of(source));
        index.sizes.push_back(int32_t(size));
        bool copied = copy_loop(
            uint64_t(size), [&](uint8_t* p, size_t n) { return std::fread(p, 1, n, in.get()) == n; },
            [&](const uint8_t* p, size_t n) { return std::fwrite(p, 1, n, data.get()) == n; });
        if (!copied) return false;
    }
    std::string text = format_pack_index(index);
    if (std::fwrite(text.data(), 1, text.size(), index_file.get()) != text.size()) return false;
    return std::fclose(index_file.release()) == 0 && std::fclose(data.release()) == 0;
}

}  // namespace flurrin
