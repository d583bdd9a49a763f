#include "frame/welcome.h"

#include "frame/app.h"
#include "frame/form.h"

namespace flurrin {

namespace {

enum { kShowAgain = 101, kContinue = 102 };

class WelcomeForm final : public Form {
protected:
    std::string caption() const override { return std::string("Welcome To ") + kProductName; }
    SIZE client_size() const override { return {420, 250}; }

    void on_load() override {
        add_control("STATIC",
                    "Flurrin is an animated screen saver that displays beautiful scenic Winter images while snow "
                    "falls over each scene. Several background music arrangements accompany the screen saver.",
                    0, 12, 12, 396, 48, 0);
        add_control("STATIC",
                    "This screen saver has several features that you can customize. Including the ability to add "
                    "your own pictures and music files, change how long each scene is displayed, change the speed "
                    "of the animation, and more!",
                    0, 12, 70, 396, 62, 0);
        add_control("STATIC", "Click on \"More Options\"", 0, 12, 140, 396, 20, 0);
        add_control("BUTTON", "Display This Screen Next Time", BS_AUTOCHECKBOX | WS_TABSTOP, 12, 210, 220, 22,
                    kShowAgain);
        add_control("BUTTON", "&Continue...", BS_DEFPUSHBUTTON | WS_TABSTOP, 300, 208, 108, 28, kContinue);
        set_checked(kShowAgain, app().settings.welcome == 1);
    }

    void on_command(int id, int) override {
        if (id == kContinue || id == IDCANCEL) close();
    }

    void on_unload() override {
        app().settings.welcome = checked(kShowAgain) ? 1 : 0;
        if (app().store) settings_save_welcome(app().settings, *app().store);
    }
};

}  // namespace

void show_welcome(HWND owner) {
    WelcomeForm form;
    form.show_modal(owner);
}

}  // namespace flurrin
