#include "frame/preview.h"

#include "frame/app.h"
#include "frame/form.h"
#include "frame/handles.h"
#include "frame/picture_box.h"

namespace flurrin {

namespace {

constexpr UINT_PTR kTimerId = 1;
WNDPROC g_previous_proc = nullptr;

class PreviewForm final : public Form {
public:
    PictureBox picture;

protected:
    std::string caption() const override { return "frmPreview"; }
    SIZE client_size() const override { return {kPreviewWidth, kPreviewHeight}; }

    void on_load() override {
        picture.create(hwnd(), 0, 0, kPreviewWidth, kPreviewHeight);
        picture.set_stretch(true);
        unique_hbitmap art(static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), "PREVIEW", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (art) picture.set_picture(art.get());
    }

    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_TIMER && wparam == kTimerId) {
            if (!IsWindow(app().preview_parent) || !app().preview_active) {
                KillTimer(hwnd(), kTimerId);
                unload();
            }
            return 0;
        }
        return Form::on_message(message, wparam, lparam);
    }

    void on_unload() override {
        KillTimer(hwnd(), kTimerId);
        if (g_previous_proc && picture.hwnd())
            SetWindowLongPtrA(picture.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous_proc));
        g_previous_proc = nullptr;
        app().preview_active = false;
        picture.destroy();
        // With the preview gone no form is left: the program ends.
        PostQuitMessage(0);
    }

public:
    void start_timer() { SetTimer(hwnd(), kTimerId, kPreviewTimerMs, nullptr); }
};

PreviewForm& preview_form() {
    static PreviewForm form;
    return form;
}

}  // namespace

LRESULT CALLBACK preview_wnd_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!g_previous_proc) return 0;
    if (message == WM_CLOSE) {
        SetParent(hwnd, preview_form().hwnd());
        app().preview_active = false;
        return 0;
    }
    return CallWindowProcA(g_previous_proc, hwnd, message, wparam, lparam);
}

bool preview_start(HWND host) {
    PreviewForm& form = preview_form();
    app().preview_parent = host;
    if (!form.load()) return false;
    HWND picture = form.picture.hwnd();
    if (picture) {
        g_previous_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(picture, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(preview_wnd_proc)));
    }
    // A handle that is no window is left alone; the first tick then ends the run.
    if (picture && host && IsWindow(host)) {
        RECT client{};
        GetClientRect(host, &client);
        MoveWindow(picture, 0, 0, client.right - client.left, client.bottom - client.top, FALSE);
        SetParent(picture, host);
        app().preview_active = true;
        InvalidateRect(picture, nullptr, TRUE);
    }
    form.start_timer();
    return true;
}

bool preview_loaded() { return preview_form().loaded(); }

HWND preview_picture() { return preview_form().picture.hwnd(); }

}  // namespace flurrin
