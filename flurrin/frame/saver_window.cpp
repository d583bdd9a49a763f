#include "frame/saver_window.h"

#include <mmsystem.h>

#include "frame/app.h"
#include "frame/saver.h"
#include "settings/saver_run.h"

namespace flurrin {

namespace {
constexpr int kTimeBoxWidth = 160, kTimeBoxHeight = 26, kInfoBoxHeight = 22;
}  // namespace

std::string SaverWindow::caption() const { return kMainFormCaption; }

SIZE SaverWindow::client_size() const { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

void SaverWindow::on_load() {
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SIZE size = client_size();
    ascreen_.create(hwnd(), 0, 0, size.cx, size.cy);
    ascreen_.set_forward_input(true);
    ascreen_.set_paint_source(&session_.composed());
    time_font_.reset(CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, "Arial"));
    time_box_ = add_control("STATIC", "", SS_CENTER, 0, 0, kTimeBoxWidth, kTimeBoxHeight, 1);
    SendMessageA(time_box_, WM_SETFONT, reinterpret_cast<WPARAM>(time_font_.get()), FALSE);
    info_box_ = add_control("EDIT", "Info Box", ES_READONLY, 0, 0, 100, kInfoBoxHeight, 2);
    ShowWindow(time_box_, SW_HIDE);
    ShowWindow(info_box_, SW_HIDE);  // placed, never written
}

bool SaverWindow::open() {
    if (!load()) return false;
    ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
    SetForegroundWindow(hwnd());
    session_.start({hwnd(), ascreen_.hwnd(), time_box_});
    place_boxes();
    return true;
}

// The last steps of the start sequence, once the scene is set up.
void SaverWindow::place_boxes() {
    RECT client;
    GetClientRect(hwnd(), &client);
    if (settings_.show_time == 1)
        SetWindowPos(time_box_, HWND_TOP, (client.right - kTimeBoxWidth) / 2, 4, kTimeBoxWidth, kTimeBoxHeight,
                     SWP_SHOWWINDOW);
    SetWindowPos(info_box_, nullptr, 0, client.bottom - kInfoBoxHeight, client.right, kInfoBoxHeight, SWP_NOZORDER);
    if (!test_mode_) SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, client.right, client.bottom, SWP_NOACTIVATE);
}

LRESULT SaverWindow::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: session_.key_or_click(); return 0;
    case WM_MOUSEMOVE: session_.mouse_moved(); return 0;
    case WM_SETCURSOR:
        if (!test_mode_) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case MM_MCINOTIFY: session_.music_notify(UINT(lparam)); return 0;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lparam) == time_box_) {
            SetTextColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
            SetBkColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
        }
        break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintDc paint(hwnd());
        RECT client;
        GetClientRect(hwnd(), &client);
        session_.paint_backdrop(paint.get(), client);
        return 0;
    }
    default: break;
    }
    return Form::on_message(message, wparam, lparam);
}

void SaverWindow::on_unload() {
    session_.end();
    ascreen_.destroy();
}

void run_saver_loop(SaverWindow& window) {
    SaverSession& session = window.session();
    while (window.loaded() && !session.finished()) {
        DWORD wait = session.wait_ms();
        if (wait > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(int(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (window.loaded()) session.tick();
    }
}

namespace {
int run(bool test_mode, HWND owner) {
    FineTimerScope fine_timer;
    SystemClock clock;
    SaverWindow window({app().settings, app().install_path, test_mode, clock});
    bool owner_was_enabled = owner && IsWindowEnabled(owner);
    if (owner_was_enabled) EnableWindow(owner, FALSE);
    if (window.open()) run_saver_loop(window);
    window.unload();
    if (owner_was_enabled) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
    return 0;
}
}  // namespace

int run_saver() { return run(false, nullptr); }

bool test_run_available() { return true; }

void run_test(HWND owner) {
    app().test_mode = true;
    run(true, owner);
    app().test_mode = false;
}

}  // namespace flurrin
