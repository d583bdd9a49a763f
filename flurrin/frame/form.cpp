#include "frame/form.h"

#include <commctrl.h>

namespace flurrin {

namespace {

constexpr const char* kFormClass = "FlurrinForm";

int default_sink(HWND owner, const std::string& text, const std::string& title, UINT flags) {
    return MessageBoxA(owner, text.c_str(), title.c_str(), flags);
}

MessageSink g_sink = default_sink;

bool register_form_class() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcA;  // replaced per window on creation
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kFormClass;
        return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

}  // namespace

int show_message(HWND owner, const std::string& text, const std::string& title, UINT flags) {
    return g_sink(owner, text, title, flags);
}

MessageSink set_message_sink(MessageSink sink) {
    MessageSink previous = g_sink;
    g_sink = sink ? sink : default_sink;
    return previous;
}

Form::~Form() { unload(); }

bool Form::load(HWND owner) {
    if (hwnd_) return true;
    if (!register_form_class()) return false;
    RECT r{0, 0, client_size().cx, client_size().cy};
    AdjustWindowRectEx(&r, style(), FALSE, ex_style());
    HWND created = CreateWindowExA(ex_style(), kFormClass, caption().c_str(), style(), CW_USEDEFAULT, CW_USEDEFAULT,
                                   r.right - r.left, r.bottom - r.top, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!created) return false;
    hwnd_ = created;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(window_proc));
    on_load();
    return hwnd_ != nullptr;
}

void Form::show() {
    if (!hwnd_) return;
    // Centre on the screen the first time it appears.
    RECT r;
    GetWindowRect(hwnd_, &r);
    int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    if (!IsWindowVisible(hwnd_) && !(style() & WS_CHILD)) SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

void Form::show_modal(HWND owner) {
    if (!load(owner)) return;
    bool owner_was_enabled = owner && IsWindowEnabled(owner);
    if (owner_was_enabled) EnableWindow(owner, FALSE);
    modal_ = true;
    show();
    MSG msg;
    while (hwnd_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(int(msg.wParam));
            break;
        }
        if (!dialog_message(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    modal_ = false;
    if (owner_was_enabled) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
    unload();
}

void Form::unload() {
    if (!hwnd_) return;
    HWND doomed = hwnd_;
    on_unload();
    SetWindowLongPtrA(doomed, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    focus_ = nullptr;
    DestroyWindow(doomed);  // takes the tip window, which it owns, along
    tips_ = nullptr;
}

void Form::set_tip(int id, const char* text) {
    if (!tips_) {
        static const bool initialised = [] {
            INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
            return InitCommonControlsEx(&init) != FALSE;
        }();
        (void)initialised;
        tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        if (!tips_) return;
        SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 320);
    }
    // The first version of the structure: every comctl32 since Windows 95
    // takes it, with or without a manifest.
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(item(id));
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string Form::tip(int id) const {
    if (!tips_) return {};
    char text[512] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(item(id));
    tool.lpszText = text;
    SendMessageA(tips_, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

void Form::set_first_focus(int id) {
    focus_ = item(id);
    SetFocus(focus_);
}

bool Form::dialog_message(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND active = GetActiveWindow();
    if (!active || (msg.hwnd != active && !IsChild(active, msg.hwnd))) return false;
    char cls[32] = {};
    GetClassNameA(active, cls, sizeof cls);
    if (lstrcmpA(cls, kFormClass) != 0) return false;
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(active, GWLP_USERDATA));
    if (!form) return false;
    if (form->on_key(msg)) return true;
    return IsDialogMessageA(active, &msg) != FALSE;
}

HWND Form::add_control(const char* window_class, const char* text, DWORD style, int x, int y, int width, int height,
                       int id, DWORD ex_style) {
    HWND control = CreateWindowExA(ex_style, window_class, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                   hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                   nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

LRESULT Form::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        on_command(LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_CLOSE:
        if (on_query_unload()) unload();
        return 0;
    case WM_HSCROLL:
        on_hscroll(reinterpret_cast<HWND>(lparam), LOWORD(wparam), short(HIWORD(wparam)));
        return 0;
    case DM_GETDEFID:
        return default_button_ ? MAKELRESULT(default_button_, DC_HASDEFID) : 0;
    case WM_ACTIVATE:
        // Keep the keyboard on the control it was on, as dialogs do.
        if (LOWORD(wparam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) focus_ = focus;
        } else if (focus_ && IsWindow(focus_) && IsChild(hwnd_, focus_)) {
            SetFocus(focus_);
            return 0;
        }
        return DefWindowProcA(hwnd_, message, wparam, lparam);
    default:
        return DefWindowProcA(hwnd_, message, wparam, lparam);
    }
}

LRESULT CALLBACK Form::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!form) return DefWindowProcA(hwnd, message, wparam, lparam);
    // Nothing may unwind through the system's code: a failure in a handler
    // (out of memory) drops that one message.
    try {
        return form->on_message(message, wparam, lparam);
    } catch (...) {
        return 0;
    }
}

}  // namespace flurrin
