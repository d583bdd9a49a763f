#include "base/reg_key.h"

#include <cstring>
#include <string>
#include <vector>

namespace lumarel {

bool RegKey::create(HKEY root, const char* subKey) {
    key_.reset();
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    key_.reset(key);
    return true;
}

bool RegKey::openExisting(HKEY root, const char* subKey) {
    key_.reset();
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    key_.reset(key);
    return true;
}

DWORD RegKey::read(const char* name, void* buffer, DWORD maxSize, DWORD type) const {
    if (!key_ || maxSize == 0) return 0;
    DWORD storedType = REG_NONE, size = maxSize;
    if (RegQueryValueExA(key_.get(), name, nullptr, &storedType, static_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return 0;
    bool textual = type == REG_SZ || type == REG_EXPAND_SZ;
    if (textual ? (storedType != REG_SZ && storedType != REG_EXPAND_SZ) : storedType != type) return 0;
    if (textual) {
        // A stored string may lack its terminator, or fill the buffer exactly.
        char* text = static_cast<char*>(buffer);
        if (size >= maxSize) size = maxSize - 1;
        text[size] = '\0';
        return size + 1;
    }
    return size;
}

bool RegKey::readString(const char* name, char* buffer, DWORD size) const {
    if (size == 0) return false;
    std::vector<char> scratch(size);
    if (read(name, scratch.data(), size, REG_SZ) == 0) return false;
    memcpy(buffer, scratch.data(), size);
    return true;
}

bool RegKey::readDword(const char* name, DWORD& value) const {
    DWORD stored = 0;
    if (read(name, &stored, sizeof stored, REG_DWORD) != sizeof stored) return false;
    value = stored;
    return true;
}

std::optional<std::vector<uint8_t>> RegKey::readBytes(const char* name) const {
    DWORD size = valueSize(name);
    if (size == 0) return std::nullopt;
    std::vector<uint8_t> bytes(size);
    DWORD got = size, type = REG_NONE;
    if (RegQueryValueExA(key_.get(), name, nullptr, &type, bytes.data(), &got) != ERROR_SUCCESS) return std::nullopt;
    bytes.resize(got);
    return bytes;
}

bool RegKey::writeTyped(const char* name, DWORD type, const void* data, DWORD size) const {
    return key_ && RegSetValueExA(key_.get(), name, 0, type, static_cast<const BYTE*>(data), size) ==
                       ERROR_SUCCESS;
}

bool RegKey::writeString(const char* name, const char* text) const {
    return writeTyped(name, REG_SZ, text, DWORD(strlen(text) + 1));
}

bool RegKey::writeDword(const char* name, DWORD value) const {
    return writeTyped(name, REG_DWORD, &value, sizeof value);
}

bool RegKey::writeBinary(const char* name, const void* data, DWORD size) const {
    return writeTyped(name, REG_BINARY, data, size);
}

bool RegKey::deleteValue(const char* name) const {
    return key_ && RegDeleteValueA(key_.get(), name) == ERROR_SUCCESS;
}

DWORD RegKey::valueSize(const char* name) const {
    DWORD size = 0;
    if (!key_ || RegQueryValueExA(key_.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return 0;
    return size;
}

DWORD RegKey::valueType(const char* name) const {
    DWORD type = REG_NONE;
    if (!key_ || RegQueryValueExA(key_.get(), name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return REG_NONE;
    return type;
}

bool RegKey::enumSubKey(DWORD index, char* name, DWORD size) const {
    if (!key_ || size == 0) return false;
    DWORD length = size;
    FILETIME written;
    if (RegEnumKeyExA(key_.get(), index, name, &length, nullptr, nullptr, nullptr, &written) !=
        ERROR_SUCCESS)
        return false;
    name[size - 1] = '\0';
    return true;
}

bool deleteKeyTree(HKEY root, const char* subKey) {
    {
        RegKey key;
        if (!key.openExisting(root, subKey)) return false;
        // Collect first: deleting while enumerating shifts the indexes.
        std::vector<std::string> children;
        char name[260];
        for (DWORD i = 0; key.enumSubKey(i, name, sizeof name); ++i) children.emplace_back(name);
        for (const auto& child : children) {
            std::string path = std::string(subKey) + "\\" + child;
            deleteKeyTree(root, path.c_str());
        }
    }
    return RegDeleteKeyA(root, subKey) == ERROR_SUCCESS;
}

}  // namespace lumarel
