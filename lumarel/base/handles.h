// Owners for Win32 handles: each frees its handle when its scope ends, so an
// exception path leaks nothing. Modelled on WIL's unique_* types.
#pragma once
#include <windows.h>

#include <cstdint>
#include <utility>

namespace lumarel {

// MinusOneIsEmpty: for file handles, whose "no handle" is INVALID_HANDLE_VALUE.
template <typename H, auto Close, bool MinusOneIsEmpty = false>
class UniqueHandle {
    static H empty() {
        if constexpr (MinusOneIsEmpty) return reinterpret_cast<H>(static_cast<intptr_t>(-1));
        else return H();
    }

public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != empty(); }
    H release() { return std::exchange(h_, empty()); }
    void reset() { reset(empty()); }
    void reset(H h) {
        if (h_ != empty()) Close(h_);
        h_ = h;
    }
    H* put() {
        reset();
        return &h_;
    }

private:
    H h_ = empty();
};

namespace detail {
inline void closeHandle(HANDLE h) { CloseHandle(h); }
inline void closeKey(HKEY h) { RegCloseKey(h); }
inline void deleteDc(HDC h) { DeleteDC(h); }
inline void deleteGdi(HGDIOBJ h) { DeleteObject(h); }
inline void globalFree(HGLOBAL h) { GlobalFree(h); }
inline void destroyMenu(HMENU h) { DestroyMenu(h); }
inline void freeLibrary(HMODULE h) { FreeLibrary(h); }
inline void unmapView(void* p) { UnmapViewOfFile(p); }
}  // namespace detail

using unique_handle = UniqueHandle<HANDLE, detail::closeHandle>;
using unique_file = UniqueHandle<HANDLE, detail::closeHandle, true>;
using unique_hkey = UniqueHandle<HKEY, detail::closeKey>;
using unique_hdc = UniqueHandle<HDC, detail::deleteDc>;  // memory DCs
using unique_hglobal = UniqueHandle<HGLOBAL, detail::globalFree>;
using unique_hmenu = UniqueHandle<HMENU, detail::destroyMenu>;
using unique_hmodule = UniqueHandle<HMODULE, detail::freeLibrary>;
using unique_view = UniqueHandle<void*, detail::unmapView>;

template <typename T>
using unique_gdi = UniqueHandle<T, detail::deleteGdi>;
using unique_hbitmap = unique_gdi<HBITMAP>;
using unique_hrgn = unique_gdi<HRGN>;
using unique_hfont = unique_gdi<HFONT>;
using unique_hbrush = unique_gdi<HBRUSH>;
using unique_hpalette = unique_gdi<HPALETTE>;

// A DC obtained with GetDC (or GetDCEx), given back with ReleaseDC.
class WindowDc {
public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    WindowDc(WindowDc&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = other.window_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    ~WindowDc() { reset(); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() {
        if (dc_) ReleaseDC(window_, std::exchange(dc_, nullptr));
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// BeginPaint, and EndPaint at scope end.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects a GDI object into a DC and puts the old one back at scope end.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectObjectScope() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Selects a palette into a DC (and realises it) and puts the old one back.
class SelectPaletteScope {
public:
    SelectPaletteScope(HDC dc, HPALETTE palette, bool background = false)
        : dc_(dc), old_(palette ? SelectPalette(dc, palette, background) : nullptr) {
        if (palette) RealizePalette(dc);
    }
    ~SelectPaletteScope() {
        if (old_) SelectPalette(dc_, old_, TRUE);
    }
    SelectPaletteScope(const SelectPaletteScope&) = delete;
    SelectPaletteScope& operator=(const SelectPaletteScope&) = delete;

private:
    HDC dc_;
    HPALETTE old_;
};

}  // namespace lumarel
