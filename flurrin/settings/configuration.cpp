#include "settings/configuration.h"

#include "frame/app.h"
#include "frame/form.h"
#include "frame/handles.h"
#include "frame/welcome.h"
#include "settings/about.h"
#include "settings/control_ids.h"
#include "settings/options.h"
#include "settings/saver_run.h"

namespace flurrin {

namespace {

using namespace ids;
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
        add_style_pictures();
        add_control("BUTTON", "&Exit", BS_DEFPUSHBUTTON | WS_TABSTOP, 236, 12, 112, 28, kExit);
        add_control("BUTTON", "&Preview", WS_TABSTOP, 236, 48, 112, 28, kPreview);
        add_control("BUTTON", "More &Options", WS_TABSTOP, 236, 84, 112, 28, kMoreOptions);
        add_control("BUTTON", "&About", WS_TABSTOP, 236, 120, 112, 28, kAbout);
        add_control("BUTTON", "See more seasonal titles from Vessaro...", WS_TABSTOP, 12, 200, 336, 32, kMoreTitles);
        EnableWindow(item(kPreview), test_run_available());
        set_tip(kCrystals, " Check this box to let snow crystals fall");
        set_tip(kCircles, " Check this box to let snow circles fall");
        set_tip(kOrnaments, " Check this box to let ornaments fall");
        set_tip(kExit, " Save your settings and exit");
        set_tip(kPreview, " Preview the screen saver with these settings");
        set_tip(kMoreOptions, " Change the music, pictures, speed and other settings");
        set_tip(kAbout, " Show the version of this screen saver");
        set_tip(kMoreTitles, " Visit our web site to see more seasonal titles");
        set_default_button(kExit);
        set_first_focus(kExit);
        const Settings& s = app().settings;
        set_checked(kCrystals, s.crystals == 1);
        set_checked(kCircles, s.circles == 1);
        set_checked(kOrnaments, s.ornaments == 1);
    }

    // Picture2 to Picture5: what each snow style looks like, with the hint
    // that they combine.
    void add_style_pictures() {
        const char* names[] = {"STYLE_CRYSTALS", "STYLE_CIRCLES", "STYLE_ORNAMENTS", "STYLE_ALL"};
        for (int i = 0; i < 4; ++i) {
            int id = kStylePictures + i;
            HWND picture = add_control("STATIC", "", SS_BITMAP | SS_NOTIFY, 12 + i * 52, 136, 48, 48, id);
            styles_[i].reset(static_cast<HBITMAP>(
                LoadImageA(GetModuleHandleA(nullptr), names[i], IMAGE_BITMAP, 48, 48, LR_CREATEDIBSECTION)));
            if (styles_[i]) SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(styles_[i].get()));
            set_tip(id, " You can select more than one snow style!");
        }
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
        case kMoreOptions: show_options(hwnd()); break;
        case kAbout: show_about(hwnd()); break;
        case kMoreTitles: open_web_page(hwnd(), kMoreTitlesPage); break;
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
    unique_hbitmap styles_[4];
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
