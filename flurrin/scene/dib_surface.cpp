#include "scene/dib_surface.h"

#include <utility>

namespace flurrin {

bool DibSurface::create(int width, int height) {
    reset();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
    info.bmiHeader.biSizeImage = DWORD((size_t(width) * 3 + 3) & ~size_t(3)) * DWORD(height);
    void* bits = nullptr;
    WindowDc screen(nullptr);
    unique_hbitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    unique_hdc dc(CreateCompatibleDC(screen.get()));
    if (!bitmap || !dc || !bits) return false;
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    selection_ = Selection(dc_.get(), bitmap_.get());
    bits_ = static_cast<uint8_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void DibSurface::reset() {
    selection_.reset();
    dc_.reset();
    bitmap_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}

bool DibSurface::set_picture(HBITMAP picture) {
    BITMAP info{};
    if (!picture || !GetObjectA(picture, sizeof info, &info)) return false;
    int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (!(width_ == info.bmWidth && height_ == height) && !create(info.bmWidth, height)) return false;
    unique_hdc source(CreateCompatibleDC(dc()));
    SelectObjectScope keep(source.get(), picture);
    return BitBlt(dc(), 0, 0, width_, height_, source.get(), 0, 0, SRCCOPY) != 0;
}

void DibSurface::clear() {
    if (dc_) PatBlt(dc(), 0, 0, width_, height_, BLACKNESS);
}

unique_hbitmap DibSurface::release_bitmap() {
    selection_.reset();
    unique_hbitmap handed = std::move(bitmap_);
    reset();
    return handed;
}

}  // namespace flurrin
