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
    image_.reset();
}

bool PictureBox::resize_image(int width, int height) {
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    // The same size keeps the DC, which the scene engine holds on to.
    if (image_ && width == image_.width() && height == image_.height()) {
        image_.clear();
        return true;
    }
    return image_.create(width, height);
}

bool PictureBox::set_picture(HBITMAP picture) { return image_.set_picture(picture); }

void PictureBox::clear() { image_.clear(); }

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
    if (!image_) {
        FillRect(target, &client, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    if (stretch_) {
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, 0, 0, client.right, client.bottom, dc(), 0, 0, width(), height(), SRCCOPY);
    } else {
        BitBlt(target, 0, 0, client.right, client.bottom, dc(), 0, 0, SRCCOPY);
    }
}

LRESULT CALLBACK PictureBox::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* box = reinterpret_cast<PictureBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDc paint(hwnd);
        if (box) box->paint(paint.get());
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
