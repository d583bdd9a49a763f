// One open registry key. A key that could not be opened is null, and every
// operation on it does nothing and reports failure, so settings then read as
// their defaults and writes are dropped.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/handles.h"

namespace lumarel {

class RegKey {
public:
    RegKey() = default;
    // Opens or creates subKey under root with full access.
    RegKey(HKEY root, const char* subKey) { create(root, subKey); }

    bool create(HKEY root, const char* subKey);
    // Opens an existing key for reading only; never creates it.
    bool openExisting(HKEY root, const char* subKey);
    void close() { key_.reset(); }
    HKEY get() const { return key_.get(); }
    explicit operator bool() const { return bool(key_); }

    // Reads a value of the given type into buffer. Returns the byte count, or 0
    // when the value is missing, of another type, or larger than maxSize.
    // Strings (REG_SZ, REG_EXPAND_SZ) are always terminated within the buffer.
    DWORD read(const char* name, void* buffer, DWORD maxSize, DWORD type) const;
    // A REG_SZ value into a text buffer; false (and the buffer untouched)
    // when absent.
    bool readString(const char* name, char* buffer, DWORD size) const;
    // A REG_DWORD of exactly four bytes.
    bool readDword(const char* name, DWORD& value) const;
    // The whole value's bytes; nothing when absent, empty or unreadable.
    std::optional<std::vector<uint8_t>> readBytes(const char* name) const;

    bool writeString(const char* name, const char* text) const;
    bool writeDword(const char* name, DWORD value) const;
    bool writeBinary(const char* name, const void* data, DWORD size) const;
    bool writeTyped(const char* name, DWORD type, const void* data, DWORD size) const;
    bool deleteValue(const char* name) const;

    // Stored size in bytes, 0 when absent.
    DWORD valueSize(const char* name) const;
    // Stored type, REG_NONE when absent.
    DWORD valueType(const char* name) const;
    // Sub-key name at index into a 260-byte buffer; false past the end.
    bool enumSubKey(DWORD index, char* name, DWORD size) const;

private:
    unique_hkey key_;
};

// Deletes a key with everything below it (RegDeleteKey alone refuses a key
// with sub-keys on the NT family).
bool deleteKeyTree(HKEY root, const char* subKey);

}  // namespace lumarel
