// The screen-saver password on Windows 9x, where the saver itself must ask
// for it (the NT family asks on its own), and the hidden cursor of a real
// saver run.
#pragma once
#include <windows.h>

namespace flurrin {

class SaverPassword {
public:
    // Reads whether a password is in use and, where the saver must ask for
    // it, tells the system that a saver runs.
    void begin();
    // The system's password dialog: true when the saver may end.
    bool verify(HWND owner) const;
    void end();
    bool saver_asks() const { return saver_asks_; }

private:
    bool saver_asks_ = false;
};

void hide_cursor();
void show_cursor();

}  // namespace flurrin
