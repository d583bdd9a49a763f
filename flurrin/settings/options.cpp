#include "settings/options.h"

#include "frame/app.h"
#include "settings/control_ids.h"
#include "settings/custom_list.h"
#include "settings/device_names.h"
#include "settings/saver_run.h"

namespace flurrin {

namespace {

using namespace ids;

struct ScrollControl {
    int id;
    const ScrollOption& option;
};
const ScrollControl kScrolls[] = {{kFrameRate, kFrameRateScroll},
                                  {kMouseSensitivity, kMouseSensitivityScroll},
                                  {kSpriteActive, kSpriteActiveScroll},
                                  {kSceneDuration, kSceneDurationScroll}};

struct CheckControl {
    int id;
    int32_t Settings::*value;
};
const CheckControl kChecks[] = {{kRandomMusic, &Settings::random_music},   {kMuteAudio, &Settings::mute_audio},
                                {kSaveWallpaper, &Settings::save_wallpaper}, {kShowTime, &Settings::show_time},
                                {kScaleBackground, &Settings::scale_background},
                                {kRandomPictures, &Settings::random_pictures},
                                {kObjectsOff, &Settings::objects_off}};

ScrollAction action_of(int code) {
    switch (code) {
    case SB_LINERIGHT: return ScrollAction::LineDown;
    case SB_LINELEFT: return ScrollAction::LineUp;
    case SB_PAGERIGHT: return ScrollAction::PageDown;
    case SB_PAGELEFT: return ScrollAction::PageUp;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return ScrollAction::Track;
    case SB_LEFT: return ScrollAction::Top;
    case SB_RIGHT: return ScrollAction::Bottom;
    default: return ScrollAction::Other;
    }
}

}  // namespace

OptionsForm::OptionsForm(Settings& settings, SettingsStore* store, ListOpener open_list)
    : settings_(settings), store_(store), open_list_(std::move(open_list)) {
    if (!open_list_) {
        open_list_ = [this](HWND owner, const OptionPair& pair) {
            show_custom_list(owner, pair.list == kPictureOption.list ? kPictureListWording : kMusicListWording,
                             settings_);
        };
    }
}

std::string OptionsForm::caption() const { return std::string(kProductName) + " - Configuration"; }

void OptionsForm::add_scroll(int id, const char* title, const char* less, const char* more, int x, int y) {
    // Every control starts a group of its own except the second button of
    // an option pair, so each pair is one group for the arrow keys.
    add_control("BUTTON", title, BS_GROUPBOX | WS_GROUP, x, y, 260, 74, 0);
    add_control("STATIC", less, WS_GROUP, x + 12, y + 20, 110, 16, 0);
    add_control("STATIC", more, SS_RIGHT | WS_GROUP, x + 138, y + 20, 110, 16, 0);
    add_control("SCROLLBAR", "", SBS_HORZ | WS_TABSTOP | WS_GROUP, x + 12, y + 38, 236, 18, id);
}

void OptionsForm::on_load() {
    loading_ = true;
    add_scroll(kFrameRate, "Target Frame Rate Of Animation", "Slower", "Faster", 12, 8);
    add_control("STATIC", "", SS_CENTER | WS_GROUP, 24, 64, 236, 16, kFrameRateLabel);
    add_scroll(kMouseSensitivity, "Mouse Sensitivity To Exit", "Less Sensitive", "More Sensitive", 12, 92);

    add_control("BUTTON", "Scene Properties", BS_GROUPBOX | WS_GROUP, 12, 176, 260, 200, 0);
    add_control("STATIC", "How Many Animated Objects?", WS_GROUP, 24, 196, 236, 16, 0);
    add_control("STATIC", "Less", WS_GROUP, 24, 214, 100, 16, 0);
    add_control("STATIC", "More", SS_RIGHT | WS_GROUP, 160, 214, 100, 16, 0);
    add_control("SCROLLBAR", "", SBS_HORZ | WS_TABSTOP | WS_GROUP, 24, 232, 236, 18, kSpriteActive);
    add_control("STATIC", "How Long To Display Each Scene?", WS_GROUP, 24, 262, 236, 16, 0);
    add_control("STATIC", "Shorter", WS_GROUP, 24, 280, 100, 16, 0);
    add_control("STATIC", "Longer", SS_RIGHT | WS_GROUP, 160, 280, 100, 16, 0);
    add_control("SCROLLBAR", "", SBS_HORZ | WS_TABSTOP | WS_GROUP, 24, 298, 236, 18, kSceneDuration);
    add_control("BUTTON", "Turn Off Animated Objects", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 24, 330, 236, 22,
                kObjectsOff);

    const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
    const DWORD first_option = BS_AUTORADIOBUTTON | BS_NOTIFY | WS_TABSTOP | WS_GROUP;
    const DWORD second_option = BS_AUTORADIOBUTTON | BS_NOTIFY;
    add_control("BUTTON", "Audio Properties", BS_GROUPBOX | WS_GROUP, 288, 8, 260, 150, 0);
    add_control("BUTTON", "Use Original Included Music", first_option, 300, 28, 236, 22, kIncludedMusic);
    add_control("BUTTON", "Select Music Files From Your System", second_option, 300, 50, 236, 22, kCustomMusic);
    add_control("BUTTON", "Play Music Files In A Random Order", check, 300, 76, 236, 22, kRandomMusic);
    add_control("BUTTON", "Mute All Audio", check, 300, 98, 236, 22, kMuteAudio);
    add_control("BUTTON", "&Device Types", WS_TABSTOP | WS_GROUP, 300, 124, 112, 26, kDeviceTypes);

    add_control("BUTTON", "Image Properties", BS_GROUPBOX | WS_GROUP, 288, 166, 260, 118, 0);
    add_control("BUTTON", "Use Original Included Images", first_option, 300, 186, 236, 22, kIncludedPictures);
    add_control("BUTTON", "Select Images From Your System", second_option, 300, 208, 236, 22, kCustomPictures);
    add_control("BUTTON", "Scale Images To Full Screen", check, 300, 232, 236, 22, kScaleBackground);
    add_control("BUTTON", "Display Images In A Random Order", check, 300, 254, 236, 22, kRandomPictures);

    add_control("BUTTON", "Misc Settings", BS_GROUPBOX | WS_GROUP, 288, 292, 260, 84, 0);
    add_control("BUTTON", "Save As Wallpaper When Exiting", check, 300, 312, 236, 22, kSaveWallpaper);
    add_control("BUTTON", "Show Time Of Day", check, 300, 336, 236, 22, kShowTime);

    add_control("BUTTON", "&Ok", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 316, 390, 112, 28, kOptionsOk);
    add_control("BUTTON", "&Preview", WS_TABSTOP | WS_GROUP, 436, 390, 112, 28, kOptionsPreview);
    EnableWindow(item(kOptionsPreview), test_run_available());

    set_tip(kFrameRate, " Slide to the right for smoother, faster animation; to the left to spare the computer");
    set_tip(kMouseSensitivity, " Slide to the right to end the screen saver on the slightest mouse movement");
    set_tip(kSpriteActive, " Slide to the right for more snow falling over each scene");
    set_tip(kSceneDuration, " Slide to the right to show each scene longer");
    set_tip(kRandomMusic, " Check this box to play the music files in a random order");
    set_tip(kMuteAudio, " Check this box to turn all audio OFF during the screen saver");
    set_tip(kSaveWallpaper, " Check this box to keep the last scene as your wallpaper when the screen saver ends");
    set_tip(kShowTime, " Check this box to show the time of day during the screen saver");
    set_tip(kScaleBackground, " Check this box to stretch each scene over the whole screen");
    set_tip(kRandomPictures, " Check this box to show the images in a random order");
    set_tip(kObjectsOff, " Check this box to show the scenes without falling objects");
    set_tip(kIncludedMusic, " Play the music included with this screen saver");
    set_tip(kCustomMusic, " Select music files from your system to play during the screen saver");
    set_tip(kIncludedPictures, " Show the images included with this screen saver");
    set_tip(kCustomPictures, " Select images from your system to show during the screen saver");
    set_tip(kDeviceTypes, " Change the device types used to play music files");
    set_tip(kOptionsOk, " Save your settings and exit");
    set_tip(kOptionsPreview, " Preview the screen saver with these settings");

    // Values the bars cannot show are held to their ranges, and the record
    // takes them: what is stored is what the user saw.
    for (const ScrollControl& s : kScrolls) {
        SendMessageA(item(s.id), SBM_SETRANGE, WPARAM(s.option.range.low), LPARAM(s.option.range.high));
        SendMessageA(item(s.id), SBM_SETPOS, WPARAM(take_scroll_value(settings_, s.option)), TRUE);
    }
    show_frame_rate();
    for (const CheckControl& c : kChecks) set_checked(c.id, settings_.*c.value == 1);
    show_pair(kMusicOption, kIncludedMusic, kCustomMusic);
    show_pair(kPictureOption, kIncludedPictures, kCustomPictures);
    set_default_button(kOptionsOk);
    set_first_focus(kOptionsOk);
    loading_ = false;
}

void OptionsForm::show_frame_rate() {
    SetWindowTextA(item(kFrameRateLabel), frame_rate_label(settings_.frame_rate).c_str());
}

void OptionsForm::show_pair(const OptionPair& pair, int included_id, int custom_id) {
    bool custom = settings_.*pair.flag == 1;
    set_checked(included_id, !custom);
    set_checked(custom_id, custom);
}

void OptionsForm::on_hscroll(HWND bar, int code, int position) {
    for (const ScrollControl& s : kScrolls) {
        if (item(s.id) != bar) continue;
        int32_t current = int32_t(SendMessageA(bar, SBM_GETPOS, 0, 0));
        int32_t next = scroll_position(s.option, current, action_of(code), position);
        SendMessageA(bar, SBM_SETPOS, WPARAM(next), TRUE);
        settings_.*s.option.value = next;
        show_frame_rate();
    }
}

void OptionsForm::open_list(const OptionPair& pair, int included_id, int custom_id) {
    busy_ = true;
    open_list_(hwnd(), pair);
    busy_ = false;
    if (!loaded()) return;
    choose_after_list(settings_, pair);
    show_pair(pair, included_id, custom_id);
}

void OptionsForm::option_clicked(const OptionPair& pair, int chosen_id, int index) {
    int included_id = pair.flag == kMusicOption.flag ? kIncludedMusic : kIncludedPictures;
    int custom_id = included_id + 1;
    // The click event of a button that was already chosen changes nothing.
    if (loading_ || busy_ || !checked(chosen_id) || settings_.*pair.flag == index) return;
    settings_.*pair.flag = index;
    if (index == 1) open_list(pair, included_id, custom_id);
}

void OptionsForm::on_command(int id, int code) {
    for (const CheckControl& c : kChecks) {
        if (c.id == id) {
            if (!loading_) settings_.*c.value = checked(id) ? 1 : 0;
            return;
        }
    }
    switch (id) {
    case kIncludedMusic:
    case kCustomMusic:
    case kIncludedPictures:
    case kCustomPictures: {
        const OptionPair& pair = id <= kCustomMusic ? kMusicOption : kPictureOption;
        int index = (id == kCustomMusic || id == kCustomPictures) ? 1 : 0;
        if (code == BN_CLICKED) {
            option_clicked(pair, id, index);
        } else if (code == BN_DOUBLECLICKED && index == 1 && settings_.*pair.flag == 1 && !loading_ && !busy_) {
            open_list(pair, id - 1, id);
        }
        break;
    }
    case kOptionsOk:
    case IDCANCEL: close(); break;
    case kOptionsPreview:
        if (store_) settings_save(settings_, *store_);
        run_test(hwnd());
        break;
    case kDeviceTypes: show_device_names(hwnd(), settings_); break;
    default: break;
    }
}

void OptionsForm::on_unload() {
    if (store_) settings_save(settings_, *store_);
}

void show_options(HWND owner) {
    OptionsForm form(app().settings, app().store.get());
    form.show_modal(owner);
}

}  // namespace flurrin
