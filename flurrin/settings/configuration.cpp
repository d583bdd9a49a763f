#include "settings/configuration.h"

#include <shellapi.h>

#include "frame/app.h"
#include "frame/form.h"
#include "frame/welcome.h"
#include "settings/saver_run.h"

namespace flurrin {

namespace {

enum { kCrystals = 101, kCircles, kOrnaments, kExit = 110, kPreview, kMoreOptions, kAbout, kMoreTitles = 120 };
constexpr UINT kShowWelcome = WM_APP + 1;
constexpr const char* kMoreTitlesPage = "http://www.vessaro.example/seasonal";

class ConfigurationForm final : public Form {
protected:
    std::string caption() const override { return std::string(kProductName) + " - Configuration"; }
    SIZE client_size() const override { return {360, 250}; }

    void on_load() override {
        add_control("BUTTON", "Snow Styles", BS_GROUPBOX, 12, 8, 200, 120, 0);
        add_control("BUTTON", "&Crystals", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 24, 30, 170, 22, kCrystals);
        add_control("BUTTON", "&Circles", BS_AUTOCHECKBOX | WS_TABSTOP, 24, 56, 170, 22, kCircles);
        add_control("BUTTON", "&Ornaments", BS_AUTOCHECKBOX | WS_TABSTOP, 24, 82, 170, 22, kOrnaments);
        add_control("STATIC", " You can select more than one snow style!", 0, 12, 136, 200, 20, 0);
        add_control("BUTTON", "&Exit", BS_DEFPUSHBUTTON | WS_TABSTOP, 236, 12, 112, 28, kExit);
        add_control("BUTTON", "&Preview", WS_TABSTOP, 236, 48, 112, 28, kPreview);
        // The options and about forms are not part of this program yet.
        EnableWindow(add_control("BUTTON", "More &Options", WS_TABSTOP, 236, 84, 112, 28, kMoreOptions), FALSE);
        EnableWindow(add_control("BUTTON", "&About", WS_TABSTOP, 236, 120, 112, 28, kAbout), FALSE);
        add_control("BUTTON", "See more seasonal titles from Vessaro...", WS_TABSTOP, 12, 200, 336, 32, kMoreTitles);
        EnableWindow(item(kPreview), test_run_available());
        const Settings& s = app().settings;
        set_checked(kCrystals, s.crystals == 1);
        set_checked(kCircles, s.circles == 1);
        set_checked(kOrnaments, s.ornaments == 1);
    }

    void on_command(int id, int code) override {
        Settings& s = app().settings;
        switch (id) {
        case kCrystals: s.crystals = checked(kCrystals) ? 1 : 0; break;
        case kCircles: s.circles = checked(kCircles) ? 1 : 0; break;
        case kOrnaments: s.ornaments = checked(kOrnaments) ? 1 : 0; break;
        case kExit:
        case IDCANCEL: close(); break;
        case kPreview:
            if (app().store) settings_save(s, *app().store);
            run_test(hwnd());
            break;
        case kMoreTitles: {
            auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(hwnd(), "open", kMoreTitlesPage, nullptr, nullptr, SW_SHOWNORMAL));
            if (result < 33) show_message(hwnd(), "Shell Execute Error. (No default browser?)", kProductName, MB_OK);
            break;
        }
        default: (void)code; break;
        }
    }

    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE && app().settings.welcome == 1 && !welcome_shown_) {
            welcome_shown_ = true;
            PostMessageA(hwnd(), kShowWelcome, 0, 0);
        } else if (message == kShowWelcome) {
            RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            show_welcome(hwnd());
            return 0;
        }
        return Form::on_message(message, wparam, lparam);
    }

    void on_unload() override {
        if (app().store) settings_save(app().settings, *app().store);
        // The root form of a "/C" run: the program ends with it.
        PostQuitMessage(0);
    }

private:
    bool welcome_shown_ = false;
};

ConfigurationForm& form() {
    static ConfigurationForm instance;
    return instance;
}

}  // namespace

bool configuration_show() {
    if (!form().load()) return false;
    form().show();
    return true;
}

bool configuration_loaded() { return form().loaded(); }
HWND configuration_window() { return form().hwnd(); }

}  // namespace flurrin
