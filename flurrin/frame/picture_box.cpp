#include "frame/picture_box.h"

#include "frame/handles.h"

namespace flurrin {

namespace {
constexpr const char* kPictureClass = "FlurrinPicture";

bool register_picture_class(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kPictureClass;
        return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}
}  // namespace

PictureBox::~PictureBox() { destroy(); }

bool PictureBox::create(HWND parent, int x, int y, int width, int height, int id) {
    destroy();
    if (!register_picture_class(window_proc)) return false;
    DWORD style = parent ? WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS : WS_POPUP;
    hwnd_ = CreateWindowExA(0, kPictureClass, "", style, x, y, width, height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return false;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return resize_image(width, height);
}

void PictureBox::destroy() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    free_image();
}

void PictureBox::free_image() {
    if (dc_) {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        dc_ = nullptr;
    }
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    width_ = height_ = 0;
}

bool PictureBox::resize_image(int width, int height) {
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    // The same size keeps the DC, which the scene engine holds on to.
    if (dc_ && width == width_ && height == height_) {
        clear();
        return true;
    }
    free_image();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
    void* bits = nullptr;
    WindowDc screen(nullptr);
    HBITMAP made = CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!made) return false;
    dc_ = CreateCompatibleDC(screen.get());
    if (!dc_) {
        DeleteObject(made);
        return false;
    }
    bitmap_ = made;
    previous_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    return true;
}

bool PictureBox::set_picture(HBITMAP picture) {
    BITMAP info{};
    if (!picture || !GetObjectA(picture, sizeof info, &info)) return false;
    if (!resize_image(info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight)) return false;
    unique_hdc source(CreateCompatibleDC(dc_));
    SelectObjectScope keep(source.get(), picture);
    return BitBlt(dc_, 0, 0, width_, height_, source.get(), 0, 0, SRCCOPY) != 0;
}

void PictureBox::clear() {
    if (dc_) PatBlt(dc_, 0, 0, width_, height_, BLACKNESS);
}

void PictureBox::refresh() const {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::paint(HDC target) const {
    RECT client;
    GetClientRect(hwnd_, &client);
    if (paint_source_ && paint_source_->dc()) {
        BitBlt(target, 0, 0, client.right, client.bottom, paint_source_->dc(), 0, 0, SRCCOPY);
        return;
    }
    if (!dc_) {
        FillRect(target, &client, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    if (stretch_) {
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, 0, 0, client.right, client.bottom, dc_, 0, 0, width_, height_, SRCCOPY);
    } else {
        BitBlt(target, 0, 0, client.right, client.bottom, dc_, 0, 0, SRCCOPY);
    }
}

LRESULT CALLBACK PictureBox::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* box = reinterpret_cast<PictureBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (box) box->paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (box) box->paint(reinterpret_cast<HDC>(wparam));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
        if (box && box->forward_input_ && GetParent(hwnd)) return SendMessageA(GetParent(hwnd), message, wparam, lparam);
        break;
    case WM_NCDESTROY:
        if (box) box->hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace flurrin
