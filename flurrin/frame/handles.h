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
}  // namespace detail

using unique_hkey = Unique<HKEY, detail::close_key>;
using unique_hdc = Unique<HDC, detail::delete_dc>;
using unique_hmodule = Unique<HMODULE, detail::free_library>;
using unique_hwnd = Unique<HWND, detail::destroy_window>;
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
