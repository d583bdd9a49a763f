#include "bulbs/win_file.h"

#include "base/failure.h"

namespace lumarel {

void failWithLastError(int32_t fallback) {
    DWORD error = GetLastError();
    fail(error ? static_cast<int32_t>(error) : fallback);
}

WinFile::WinFile(const char* path, bool writable, DWORD disposition) : writable_(writable) {
    DWORD access = GENERIC_READ | (writable ? GENERIC_WRITE : 0);
    DWORD share = writable ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    file_.reset(CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) failWithLastError();
}

WinFile::~WinFile() = default;

void WinFile::seek(int64_t position) {
    if (position == kCurrent) return;
    LARGE_INTEGER distance{};
    distance.QuadPart = position == kEnd ? 0 : position;
    check(position == kEnd || position >= 0);
    if (!SetFilePointerEx(file_.get(), distance, nullptr, position == kEnd ? FILE_END : FILE_BEGIN))
        failWithLastError();
}

void WinFile::read(int64_t position, void* buffer, DWORD count) {
    check(mappings_ == 0);
    seek(position);
    DWORD done = 0;
    if (!ReadFile(file_.get(), buffer, count, &done, nullptr)) failWithLastError();
    if (done != count) fail(ERROR_HANDLE_EOF);
}

void WinFile::write(int64_t position, const void* buffer, DWORD count) {
    check(mappings_ == 0);
    seek(position);
    DWORD done = 0;
    if (!WriteFile(file_.get(), buffer, count, &done, nullptr)) failWithLastError();
    if (done != count) fail(ERROR_DISK_FULL);
}

uint32_t WinFile::size() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size)) failWithLastError();
    check(size.QuadPart <= 0xFFFFFFFFll);  // offsets in bulb files are 32-bit
    return static_cast<uint32_t>(size.QuadPart);
}

FILETIME WinFile::time() const {
    FILETIME written{};
    if (!GetFileTime(file_.get(), nullptr, nullptr, &written)) failWithLastError();
    return written;
}

void WinFile::flush() {
    if (!FlushFileBuffers(file_.get())) failWithLastError();
}

FileMapping::FileMapping(WinFile& file) : file_(file), size_(file.size()) {
    if (file.mappings_ == 0) {
        check(size_ > 0);  // an empty file cannot be mapped
        unique_handle mapping(CreateFileMappingA(file.handle(), nullptr,
                                                 file.writable() ? PAGE_READWRITE : PAGE_READONLY, 0, 0, nullptr));
        if (!mapping) failWithLastError();
        unique_view view(MapViewOfFile(mapping.get(), file.writable() ? FILE_MAP_WRITE : FILE_MAP_READ, 0, 0, 0));
        if (!view) failWithLastError();
        file.mapping_ = std::move(mapping);
        file.view_ = std::move(view);
    }
    ++file.mappings_;
}

FileMapping::~FileMapping() {
    // More releases than mappings cannot happen: each object releases once.
    if (--file_.mappings_ == 0) {
        file_.view_.reset();
        file_.mapping_.reset();
    }
}

}  // namespace lumarel
