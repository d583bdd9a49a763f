// frmMain: the full-screen saver window. It shows what the session draws and
// hands the session the user's input; the message loop below ticks the
// session between window events.
#pragma once
#include <windows.h>

#include <string>

#include "frame/form.h"
#include "frame/picture_box.h"
#include "frame/saver_session.h"

namespace flurrin {

class SaverWindow final : public Form {
public:
    explicit SaverWindow(SaverContext context)
        : settings_(context.settings), test_mode_(context.test_mode), session_(std::move(context)) {}
    ~SaverWindow() override { unload(); }

    // Loads and shows the window and starts the session; false when the
    // window could not be made.
    bool open();
    SaverSession& session() { return session_; }

protected:
    std::string caption() const override;
    SIZE client_size() const override;
    DWORD style() const override { return WS_POPUP | WS_CLIPCHILDREN; }
    // Top-most from the start too: Wine does not always honour the later
    // SetWindowPos on a full-screen pop-up.
    DWORD ex_style() const override { return test_mode_ ? 0 : WS_EX_TOPMOST; }

    void on_load() override;
    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;
    // Form_QueryUnload: a running session is asked to stop instead; the loop
    // then unloads the form.
    bool on_query_unload() override { return session_.may_close(); }
    void on_unload() override;

private:
    void place_boxes();

    const Settings& settings_;
    bool test_mode_;
    SaverSession session_;
    PictureBox ascreen_;
    HWND time_box_ = nullptr, info_box_ = nullptr;
    unique_hfont time_font_;
};

// The saver's message loop: waits for a window event or for the session's
// next tick, whichever comes first, and returns once the session has
// finished or the window is gone. A WM_QUIT is posted again for the loop
// outside.
void run_saver_loop(SaverWindow& window);

}  // namespace flurrin
