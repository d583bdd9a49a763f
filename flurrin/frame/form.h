// A small base for the saver's forms: a top-level window that owns its child
// controls, with modeless and modal showing.
#pragma once
#include <windows.h>

#include <string>

namespace flurrin {

class Form {
public:
    Form() = default;
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool loaded() const { return hwnd_ != nullptr; }

    // Creates the window (hidden); false when the window could not be made.
    bool load(HWND owner = nullptr);
    void show();
    // Shows the form and runs its own message loop until it is unloaded; the
    // owner stays disabled meanwhile. Returns at once if the form cannot load.
    void show_modal(HWND owner);
    // Closes the form as the user would (Form_QueryUnload may refuse).
    void close() { if (hwnd_) SendMessageA(hwnd_, WM_CLOSE, 0, 0); }
    void unload();

    // The tool tip of a control, as the tip window holds it ("" for none).
    std::string tip(int id) const;

    // Gives a message to the keyboard handling of the thread's active form
    // (Tab, Enter, Esc, Alt + a marked letter); true when it was used there.
    // Every message loop that shows forms calls it before dispatching.
    static bool dialog_message(MSG& msg);

protected:
    // The caption and client size of the new window, and its style.
    virtual std::string caption() const = 0;
    virtual SIZE client_size() const = 0;
    virtual DWORD style() const { return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; }
    virtual DWORD ex_style() const { return 0; }

    virtual void on_load() {}
    virtual void on_command(int /*id*/, int /*code*/) {}
    // False keeps the form (Form_QueryUnload with Cancel).
    virtual bool on_query_unload() { return true; }
    virtual void on_unload() {}
    virtual void on_hscroll(HWND /*bar*/, int /*code*/, int /*position*/) {}
    // A key for the form before the dialog keys are applied; true when used.
    virtual bool on_key(const MSG& /*msg*/) { return false; }
    virtual LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam);

    // A child control with the form's font.
    HWND add_control(const char* window_class, const char* text, DWORD style, int x, int y, int width,
                     int height, int id, DWORD ex_style = 0);
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }
    bool checked(int id) const { return SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void set_checked(int id, bool on) { SendMessageA(item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    // A tip shown when the mouse rests on the control.
    void set_tip(int id, const char* text);
    // The button Enter presses when the focus is not on another button.
    void set_default_button(int id) { default_button_ = id; }
    // Where the keyboard starts, and comes back to when the form is active again.
    void set_first_focus(int id);

private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    HWND hwnd_ = nullptr;
    HWND tips_ = nullptr;
    HWND focus_ = nullptr;
    int default_button_ = 0;
    bool modal_ = false;
};

// A message box, routed through a replaceable function so tests can see the
// messages instead of blocking on them.
using MessageSink = int (*)(HWND owner, const std::string& text, const std::string& title, UINT flags);
int show_message(HWND owner, const std::string& text, const std::string& title, UINT flags);
MessageSink set_message_sink(MessageSink sink);

}  // namespace flurrin
