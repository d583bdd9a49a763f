// Owners for the Win32 handles flurrin uses; each frees its handle when its
// scope ends.
#pragma once
#include <windows.h>

#include <utility>

namespace flurrin {

template <typename H, auto Close>
class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(Unique&& other) noexcept : h_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != H(); }
    H release() { return std::exchange(h_, H()); }
    void reset(H h = H()) {
        if (h_ != H()) Close(h_);
        h_ = h;
    }

private:
    H h_ = H();
};

namespace detail {
inline void close_key(HKEY h) { RegCloseKey(h); }
inline void delete_dc(HDC h) { DeleteDC(h); }
inline void delete_gdi(HGDIOBJ h) { DeleteObject(h); }
inline void free_library(HMODULE h) { FreeLibrary(h); }
inline void destroy_window(HWND h) { DestroyWindow(h); }
inline void close_handle(HANDLE h) { CloseHandle(h); }
inline void free_global(HGLOBAL h) { GlobalFree(h); }
}  // namespace detail

using unique_hkey = Unique<HKEY, detail::close_key>;
using unique_hdc = Unique<HDC, detail::delete_dc>;
using unique_hmodule = Unique<HMODULE, detail::free_library>;
using unique_hwnd = Unique<HWND, detail::destroy_window>;
// Empty is nullptr: make these from CreateFileA with open_file below, which
// turns INVALID_HANDLE_VALUE into an empty owner.
using unique_handle = Unique<HANDLE, detail::close_handle>;
using unique_hglobal = Unique<HGLOBAL, detail::free_global>;
template <typename T>
using unique_gdi = Unique<T, detail::delete_gdi>;
using unique_hbitmap = unique_gdi<HBITMAP>;
using unique_hbrush = unique_gdi<HBRUSH>;
using unique_hfont = unique_gdi<HFONT>;

// Selects a GDI object into a DC and puts the previous one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectObjectScope() { SelectObject(dc_, previous_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A GDI object selected into a DC for as long as the owner lives; movable, so
// a surface can keep its selection as a member.
class Selection {
public:
    Selection() = default;
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(Selection&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
    Selection& operator=(Selection&& other) noexcept {
        if (this != &other) {
            reset();
            dc_ = std::exchange(other.dc_, nullptr);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }
    ~Selection() { reset(); }
    void reset() {
        if (dc_ && previous_) SelectObject(dc_, previous_);
        dc_ = nullptr;
        previous_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// BeginPaint and EndPaint of one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// CreateFileA with the share mode and disposition given; empty on failure.
inline unique_handle create_file(const char* path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE h = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return unique_handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace flurrin
