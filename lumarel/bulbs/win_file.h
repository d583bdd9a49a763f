// A file handle with positioned reads and writes, and counted whole-file
// memory mappings over it. Failures raise the system's error code.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/handles.h"

namespace lumarel {

class WinFile {
public:
    static constexpr int64_t kCurrent = -1;  // position arguments
    static constexpr int64_t kEnd = -2;

    // Read-only opens share reading and writing, so a bulb that another
    // part of the program is writing to is still readable; writable opens
    // share nothing. `disposition` is CreateFileA's (OPEN_EXISTING, CREATE_NEW...).
    WinFile(const char* path, bool writable, DWORD disposition = OPEN_EXISTING);
    virtual ~WinFile();
    virtual void seek(int64_t position);
    // Reads exactly `count` bytes; a short read raises ERROR_HANDLE_EOF.
    virtual void read(int64_t position, void* buffer, DWORD count);
    virtual void write(int64_t position, const void* buffer, DWORD count);

    WinFile(const WinFile&) = delete;
    WinFile& operator=(const WinFile&) = delete;

    uint32_t size() const;
    FILETIME time() const;
    bool writable() const { return writable_; }
    HANDLE handle() const { return file_.get(); }
    // Writes buffered data through to the disk.
    void flush();

private:
    friend class FileMapping;
    unique_file file_;
    bool writable_;
    int mappings_ = 0;
    unique_handle mapping_;
    unique_view view_;
};

// Maps the whole file (read-write when the file is writable). Mappings of one
// file share one view; the last one destroyed unmaps it.
class FileMapping {
public:
    explicit FileMapping(WinFile& file);
    ~FileMapping();
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    uint8_t* data() const { return static_cast<uint8_t*>(file_.view_.get()); }
    uint32_t size() const { return size_; }

private:
    WinFile& file_;
    uint32_t size_;
};

// Raises GetLastError's code (or `fallback` when it reports none).
[[noreturn]] void failWithLastError(int32_t fallback = 0x61737274);

}  // namespace lumarel
