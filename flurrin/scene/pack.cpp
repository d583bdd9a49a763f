#include "scene/pack.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace flurrin {

namespace {

namespace fs = std::filesystem;

bool is_separator(char c) { return c == '\\' || c == '/'; }

std::string with_separator(std::string folder) {
    if (!folder.empty() && !is_separator(folder.back())) folder += kPathSeparator;
    return folder;
}

// Size of a regular file, or -1.
int64_t size_of(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return -1;
    uintmax_t size = fs::file_size(path, error);
    return error ? -1 : int64_t(size);
}

}  // namespace

bool file_exists(const std::string& path) { return size_of(path) > 1; }

Pack::Pack(std::string temp_folder) : temp_folder_(with_separator(std::move(temp_folder))) {}

bool Pack::pack_open(const std::string& base) {
    index_ = {};
    std::string path = base + ".icf";
    int64_t length = size_of(path);
    // An index is a few kilobytes; anything huge is not one of ours.
    if (length <= 1 || length > (1 << 22)) return true;
    std::ifstream in(path, std::ios::binary);
    std::string text(size_t(length), '\0');
    if (!in.read(text.data(), std::streamsize(text.size()))) return true;
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

    std::string data_path = base + ".img";
    int64_t data_length = size_of(data_path);
    if (data_length < 0 || offset + size > data_length) return kPackFailed;
    std::ifstream data(data_path, std::ios::binary);
    if (!data || !data.seekg(std::streamoff(offset))) return kPackFailed;

    std::string temp_path = temp_folder_ + *name;
    std::error_code ignored;
    fs::remove(temp_path, ignored);
    bool copied;
    {
        std::ofstream out(temp_path, std::ios::binary | std::ios::trunc);
        if (!out) return kPackFailed;
        copied = copy_loop(
            uint64_t(size),
            [&](uint8_t* p, size_t n) { return bool(data.read(reinterpret_cast<char*>(p), std::streamsize(n))); },
            [&](const uint8_t* p, size_t n) { return bool(out.write(reinterpret_cast<const char*>(p), std::streamsize(n))); });
        out.close();
        copied = copied && !out.fail();
    }
    if (!copied) {
        fs::remove(temp_path, ignored);
        return kPackFailed;
    }
    return temp_path;
}

void Pack::pack_cleanup() {
    std::error_code error;
    std::vector<fs::path> doomed;
    for (fs::directory_iterator it(temp_folder_, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.compare(0, 7, "img_xyz") == 0 && name.find('.') != std::string::npos && !it->is_directory(error))
            doomed.push_back(it->path());
    }
    for (const fs::path& path : doomed) fs::remove(path, error);
}

bool pack_build(std::string folder, const std::string& base, const std::vector<std::string>& sources) {
    folder = with_separator(std::move(folder));
    PackIndex index;
    for (const std::string& source : sources) {
        // A name the index cannot carry would make the whole pack unreadable.
        if (!valid_member_name(file_name_of(source))) return false;
    }
    std::ofstream index_file(folder + base + ".icf", std::ios::binary | std::ios::trunc);
    if (!index_file) return false;
    std::ofstream data(folder + base + ".img", std::ios::binary | std::ios::trunc);
    if (!data) return false;

    for (const std::string& source : sources) {
        int64_t size = size_of(source);
        if (size < 0 || size > INT32_MAX) return false;
        std::ifstream in(source, std::ios::binary);
        if (!in) return false;
        index.names.push_back(file_name_of(source));
        index.sizes.push_back(int32_t(size));
        bool copied = copy_loop(
            uint64_t(size),
            [&](uint8_t* p, size_t n) { return bool(in.read(reinterpret_cast<char*>(p), std::streamsize(n))); },
            [&](const uint8_t* p, size_t n) { return bool(data.write(reinterpret_cast<const char*>(p), std::streamsize(n))); });
        if (!copied) return false;
    }
    std::string text = format_pack_index(index);
    index_file.write(text.data(), std::streamsize(text.size()));
    index_file.close();
    data.close();
    return !index_file.fail() && !data.fail();
}

}  // namespace flurrin
