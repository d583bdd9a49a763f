#include "engine/resource_bytes.h"

namespace lumarel {

ResourceBytes::ResourceBytes(HINSTANCE instance, const char* name, const char* type) {
    HRSRC found = FindResourceA(instance, name, type);
    if (!found) return;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded) return;
    data_ = static_cast<const uint8_t*>(LockResource(loaded));
    size_ = data_ ? SizeofResource(instance, found) : 0;
    if (size_ == 0) data_ = nullptr;
}

MappedFile::MappedFile(const char* path) {
    file_.reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file_.get(), &length) || length.QuadPart <= 0 ||
        uint64_t(length.QuadPart) > SIZE_MAX / 2)
        return;
    mapping_.reset(CreateFileMappingA(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping_) return;
    view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
    if (view_) size_ = size_t(length.QuadPart);
}

}  // namespace lumarel
