// Read-only views of the bytes of a resource and of a whole file.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/handles.h"

namespace lumarel {

// The bytes of a resource of this module; empty when there is none.
class ResourceBytes {
public:
    ResourceBytes(HINSTANCE instance, const char* name, const char* type);
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// A whole file mapped read-only; empty when it cannot be opened or mapped
// (an empty file too).
class MappedFile {
public:
    explicit MappedFile(const char* path);
    const uint8_t* data() const { return static_cast<const uint8_t*>(view_.get()); }
    size_t size() const { return size_; }
    explicit operator bool() const { return bool(view_); }

private:
    unique_file file_;
    unique_handle mapping_;
    unique_view view_;
    size_t size_ = 0;
};

}  // namespace lumarel
