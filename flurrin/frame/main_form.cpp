#include "frame/main_form.h"

#include <mmsystem.h>
#include <shlobj.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "frame/app.h"
#include "frame/form.h"
#include "frame/handles.h"
#include "frame/music.h"
#include "frame/picture_box.h"
#include "frame/saver.h"
#include "frame/saver_logic.h"
#include "scene/gdi_drawing.h"
#include "scene/pack.h"
#include "scene/picture_loader.h"
#include "scene/sprites.h"
#include "scene/transitions.h"
#include "settings/saver_run.h"

namespace flurrin {

namespace {

constexpr UINT kStartSaver = WM_APP + 10;
constexpr int kBuiltinPictures = 10;
constexpr int kBuiltinTracks = 4;
constexpr int kSheetMember = 15, kMaskMember = 16;
constexpr int kFramedWidth = 800, kFramedHeight = 600;

SaverStats g_stats;

double random_unit() {
    static std::mt19937 generator(GetTickCount() ^ GetCurrentProcessId());
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

std::string executable_name() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name = file_name_of(path);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// frmGraphics: the hidden form holding the off-screen pictures.
class GraphicsForm final : public Form {
public:
    PictureBox main, work, sprite, mask, border;

protected:
    std::string caption() const override { return "Graphics For Your App"; }
    SIZE client_size() const override { return {100, 100}; }
    void on_load() override {
        // Do not modify or change these two picture controls!
        for (PictureBox* p : {&main, &work, &sprite, &mask, &border}) p->create(hwnd(), 0, 0, 1, 1);
    }
    void on_unload() override {
        for (PictureBox* p : {&main, &work, &sprite, &mask, &border}) p->destroy();
    }
};

class MainForm final : public Form {
public:
    bool running = false;
    bool keep_running = false;
    bool exit_requested = false;

protected:
    std::string caption() const override { return kMainFormCaption; }
    SIZE client_size() const override { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }
    DWORD style() const override { return WS_POPUP | WS_CLIPCHILDREN; }
    // Top-most from the start too: Wine does not always honour the later
    // SetWindowPos on a full-screen pop-up.
    DWORD ex_style() const override { return app().test_mode ? 0 : WS_EX_TOPMOST; }

    void on_load() override {
        start_guard_ = 0;
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ascreen_.create(hwnd(), 0, 0, client_size().cx, client_size().cy);
        ascreen_.set_forward_input(true);
        time_font_.reset(CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, "Arial"));
        time_box_ = add_control("STATIC", "", SS_CENTER, 0, 0, 160, 26, 1);
        SendMessageA(time_box_, WM_SETFONT, reinterpret_cast<WPARAM>(time_font_.get()), FALSE);
        info_box_ = add_control("EDIT", "Info Box", ES_READONLY, 0, 0, 100, 22, 2);
        ShowWindow(time_box_, SW_HIDE);
        ShowWindow(info_box_, SW_HIDE);  // placed, never written
    }

    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE && start_guard_ == 0 && !started_) {
                started_ = true;
                PostMessageA(hwnd(), kStartSaver, 0, 0);
            }
            break;
        case kStartSaver: form_activate(); return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: key_press_or_click(); return 0;
        case WM_MOUSEMOVE: mouse_move(); return 0;
        case WM_SETCURSOR:
            if (!app().test_mode) {
                SetCursor(nullptr);
                return TRUE;
            }
            break;
        case MM_MCINOTIFY: music_.on_notify(UINT(lparam)); return 0;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lparam) == time_box_) {
                SetTextColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
                SetBkColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 0));
                return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
            }
            break;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd(), &ps);
            paint_frame(dc);
            EndPaint(hwnd(), &ps);
            return 0;
        }
        default: break;
        }
        return Form::on_message(message, wparam, lparam);
    }

    // Form_QueryUnload: a running loop is asked to stop and unloads the form itself.
    bool on_query_unload() override {
        mouse_.move_count = 0;
        if (running) {
            keep_running = false;
            exit_requested = true;
            return false;
        }
        return true;
    }

    void on_unload() override { form_unload(); }

private:
    // Form_Activate: the start sequence, then the frame loop.
    void form_activate() {
        start_guard_ = 1;
        App& a = app();
        if (!a.test_mode) {
            a.password_in_use = int16_t(parse_number(reg_read_text(HKEY_CURRENT_USER, kDesktopKey, "ScreenSaveUsePassword")));
            a.os_platform = query_os_platform();
            if (a.os_platform != VER_PLATFORM_WIN32_NT && a.password_in_use != 0)
                SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
            while (ShowCursor(FALSE) > -6) {}
        }
        init_saver();
        start_guard_ = 0;
        RECT client;
        GetClientRect(hwnd(), &client);
        if (a.settings.show_time == 1) {
            SetWindowPos(time_box_, HWND_TOP, (client.right - 160) / 2, 4, 160, 26, SWP_SHOWWINDOW);
        }
        SetWindowPos(info_box_, nullptr, 0, client.bottom - 22, client.right, 22, SWP_NOZORDER);
        if (!a.test_mode) SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, client.right, client.bottom, SWP_NOACTIVATE);
        main_loop();
    }

    void init_saver() {
        App& a = app();
        const Settings& s = a.settings;
        int tracks = s.custom_music_flag == 1 ? int(s.custom_audio_paths.size()) : kBuiltinTracks;
        music_track_ = tracks > 0 ? int(random_unit() * tracks + 1) - 1 : 0;
        block_order_ = shuffle_blocks(random_unit);
        pack_ = std::make_unique<Pack>(temp_folder());
        pack_base_ = a.install_path + "images";
        pack_->pack_open(pack_base_);
        graphics_.load(hwnd());
        load_member_into(kSheetMember, graphics_.sprite);
        load_member_into(kMaskMember, graphics_.mask);
        unique_hbitmap tiles(static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), "BORDER", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (tiles) graphics_.border.set_picture(tiles.get());
        scene_setup();
        objects_setup();
    }

    void load_member_into(int member, PictureBox& picture) {
        std::string file = pack_->pack_extract(pack_base_, member);
        if (file == kPackFailed) return;
        if (unique_hbitmap loaded = load_picture_file(file)) picture.set_picture(loaded.get());
    }

    // scene_setup: scene size and frame, first picture (always at random).
    void scene_setup() {
        const Settings& s = app().settings;
        RECT client;
        GetClientRect(hwnd(), &client);
        scene_w_ = s.scale_background == 1 ? client.right : kFramedWidth;
        scene_h_ = s.scale_background == 1 ? client.bottom : kFramedHeight;
        frame_ = frame_scene(client.right, client.bottom, scene_w_, scene_h_);
        MoveWindow(ascreen_.hwnd(), frame_.scene.left, frame_.scene.top, scene_w_, scene_h_, FALSE);
        exit_requested = false;
        graphics_.work.resize_image(scene_w_, scene_h_);
        graphics_.main.resize_image(scene_w_, scene_h_);
        ascreen_.set_paint_source(&graphics_.work);
        picture_index_ = 0;
        std::string file = choose_picture(true);
        if (!file.empty()) {
            if (unique_hbitmap picture = load_picture_file(file)) fit_into(picture.get(), graphics_.main);
        }
        BitBlt(graphics_.work.dc(), 0, 0, scene_w_, scene_h_, graphics_.main.dc(), 0, 0, SRCCOPY);
        InvalidateRect(hwnd(), nullptr, FALSE);
        ShowWindow(hwnd(), SW_SHOW);
        UpdateWindow(hwnd());
    }

    void objects_setup() {
        const Settings& s = app().settings;
        engine_ = std::make_unique<SpriteEngine>(random_unit);
        ObjectOptions options{s.crystals == 1, s.circles == 1, s.ornaments == 1, s.sprite_active};
        engine_->setup(scene_w_, scene_h_, options, s.objects_off == 1);
        target_ = std::make_unique<GdiSpriteTarget>(graphics_.main.dc(), graphics_.work.dc(), graphics_.sprite.dc(),
                                                    graphics_.mask.dc(), scene_w_, scene_h_);
        target_->set_yield([] { do_events(); });
    }

    // The file of the next picture (first: at random), or "" when none is usable.
    std::string choose_picture(bool first) {
        const Settings& s = app().settings;
        bool random = first || s.random_pictures == 1;
        if (s.custom_picture_flag == 1) {
            auto pick = next_entry(s.custom_picture_paths, picture_index_, random, random_unit());
            if (pick) {
                picture_index_ = *pick;
                return s.custom_picture_paths[size_t(*pick - 1)];
            }
            // No usable custom picture: the built-in ones serve.
        }
        picture_index_ = next_builtin(picture_index_, kBuiltinPictures, random, random_unit());
        std::string file = pack_->pack_extract(pack_base_, picture_index_);
        return file == kPackFailed ? std::string() : file;
    }

    // Paints a picture into the staging picture, fitted and centred on black.
    void fit_into(HBITMAP picture, PictureBox& staging) {
        BITMAP info{};
        GetObjectA(picture, sizeof info, &info);
        FitRect r = fit_picture(0, 0, scene_w_, scene_h_, info.bmWidth, std::abs(info.bmHeight), 100, 1);
        staging.resize_image(scene_w_, scene_h_);
        staging.clear();
        unique_hdc source(CreateCompatibleDC(staging.dc()));
        SelectObjectScope keep(source.get(), picture);
        SetStretchBltMode(staging.dc(), HALFTONE);
        SetBrushOrgEx(staging.dc(), 0, 0, nullptr);
        StretchBlt(staging.dc(), int(r.x), int(r.y), int(r.width), int(r.height), source.get(), 0, 0, info.bmWidth,
                   std::abs(info.bmHeight), SRCCOPY);
    }

    void main_loop() {
        running = true;
        keep_running = true;
        App& a = app();
        while (keep_running) {
            uint32_t music_check_start = GetTickCount();
            scene_start_ = GetTickCount();
            while (keep_running) {
                uint32_t frame_start = GetTickCount();
                run_frame();
                if (a.settings.mute_audio == 0 && music_check_due(GetTickCount(), music_check_start)) {
                    next_music();
                    music_check_start = GetTickCount();
                }
                if (scene_due(GetTickCount(), scene_start_, a.settings.scene_duration)) change_scene();
                if (a.settings.show_time == 1) show_time();
                pace_frame(frame_start);
            }
            if (!a.test_mode && a.os_platform != VER_PLATFORM_WIN32_NT && a.password_in_use != 0) {
                while (ShowCursor(TRUE) < 6) {}
                if (verify_password()) break;
                while (ShowCursor(FALSE) > -6) {}
                keep_running = true;
                exit_requested = false;
            }
        }
        running = false;
        unload();
    }

    void run_frame() {
        HDC screen = GetDC(ascreen_.hwnd());
        target_->set_screen(screen);
        engine_->restore_background(*target_);
        if (app().settings.objects_off == 0) engine_->move_objects();
        engine_->draw_objects(*target_);
        engine_->present_frame(*target_);
        target_->set_screen(nullptr);
        ReleaseDC(ascreen_.hwnd(), screen);
        ++g_stats.frames;
    }

    // Waits out the rest of the frame while handling window events; any event
    // that stops the saver ends the wait at once.
    void pace_frame(uint32_t frame_start) {
        int rate = app().settings.frame_rate;
        for (;;) {
            do_events();
            if (!keep_running) return;
            uint32_t elapsed = ticks_since(GetTickCount(), frame_start);
            if (frame_wait_over(elapsed, rate)) return;
            uint32_t frame_ms = 1000u / uint32_t(rate + 1) + 1;
            DWORD left = elapsed < frame_ms ? frame_ms - elapsed : 1;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT);
        }
    }

    void change_scene() {
        std::string file = choose_picture(false);
        show_transition(file);
        BitBlt(graphics_.work.dc(), 0, 0, scene_w_, scene_h_, graphics_.main.dc(), 0, 0, SRCCOPY);
        engine_->restore_background(*target_);  // forget the old frame's rectangles
        scene_start_ = GetTickCount();
        ++g_stats.scene_changes;
        g_stats.picture_index = picture_index_;
    }

    // show_transition: the new picture, fitted into the staging picture
    // (main), reaches the screen through one of the twenty effects.
    void show_transition(const std::string& file) {
        if (file.empty()) return;
        unique_hbitmap picture = load_picture_file(file);
        if (!picture) return;  // the old scene stays
        fit_into(picture.get(), graphics_.main);
        if (!exit_requested) {
            int effect = random_effect(random_unit());
            g_stats.last_effect = effect;
            HDC screen = GetDC(ascreen_.hwnd());
            bool whole = play_effect(effect_steps(effect, scene_w_, scene_h_, block_order_), graphics_.main.dc(),
                                     screen, [this](int ms) { return wait_ms(ms); });
            // Cut short by input, the saver is stopping: no final paint.
            if (whole) BitBlt(screen, 0, 0, scene_w_, scene_h_, graphics_.main.dc(), 0, 0, SRCCOPY);
            ReleaseDC(ascreen_.hwnd(), screen);
            if (whole)
                for (int i = 0; i < 3; ++i) do_events();
        }
        do_events();
        exit_requested = false;
    }

    // wait_ms: an interruptible pause; false when the transition must stop.
    bool wait_ms(int ms) {
        DWORD deadline = timeGetTime() + DWORD(ms);
        for (int passes = 0; int32_t(timeGetTime() - deadline) < 0; ++passes) {
            do_events();
            if (exit_requested || passes > 5000) break;
            if (ms > 2) Sleep(1);
        }
        return !exit_requested;
    }

    void next_music() {
        if (music_.playing()) return;
        const Settings& s = app().settings;
        std::string file;
        if (s.custom_music_flag == 1) {
            auto pick = next_entry(s.custom_audio_paths, music_track_, s.random_music == 1, random_unit());
            if (pick) {
                music_track_ = *pick;
                file = s.custom_audio_paths[size_t(*pick - 1)];
            }
        }
        if (file.empty()) {
            music_track_ = next_builtin(music_track_, kBuiltinTracks, s.random_music == 1, random_unit());
            file = pack_->pack_extract(pack_base_, music_track_ + 10);
            if (file == kPackFailed) file.clear();
        }
        if (!file.empty()) music_.play_music_file(file, hwnd(), s);
    }

    void show_time() {
        SYSTEMTIME now;
        GetLocalTime(&now);
        if (now.wSecond == last_second_) return;
        last_second_ = now.wSecond;
        char am[16] = "AM", pm[16] = "PM";
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S1159, am, sizeof am);
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S2359, pm, sizeof pm);
        SetWindowTextA(time_box_, format_time_of_day(now.wHour, now.wMinute, now.wSecond, am, pm).c_str());
    }

    void key_press_or_click() {
        if (!running) return;
        keep_running = false;
        exit_requested = true;
    }

    void mouse_move() {
        if (!running) return;
        SYSTEMTIME now;
        GetLocalTime(&now);
        int seconds = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
        if (mouse_.on_move(seconds, app().settings.mouse_sensitivity)) {
            keep_running = false;
            exit_requested = true;
        }
    }

    // The Windows 9x password check through the control panel's library.
    bool verify_password() {
        unique_hmodule library(LoadLibraryA("password.cpl"));
        if (!library) return true;
        using Verify = BOOL(WINAPI*)(HWND);
        auto verify = reinterpret_cast<Verify>(GetProcAddress(library.get(), "VerifyScreenSavePwd"));
        return !verify || verify(hwnd()) != 0;
    }

    void paint_frame(HDC dc) {
        RECT client;
        GetClientRect(hwnd(), &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (graphics_.border.dc() && app().settings.scale_background != 1)
            for (const FrameTile& t : frame_.tiles) BitBlt(dc, t.x, t.y, 8, 8, graphics_.border.dc(), t.src_x, t.src_y, SRCCOPY);
    }

    void form_unload() {
        App& a = app();
        music_.stop_music();
        if (a.settings.save_wallpaper == 1 && engine_ && target_) {
            if (a.settings.objects_off == 0) {
                engine_->restore_background(*target_);
                engine_->draw_objects(*target_);
            }
            save_wallpaper();
        }
        graphics_.unload();
        if (!a.test_mode) {
            while (ShowCursor(TRUE) < 6) {}
            if (a.os_platform != VER_PLATFORM_WIN32_NT && a.password_in_use != 0)
                SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
        }
        if (pack_) pack_->pack_cleanup();
        engine_.reset();
        target_.reset();
        ascreen_.destroy();
        if (!a.test_mode) PostQuitMessage(0);
    }

    void save_wallpaper() {
        std::string name = executable_name() + "_wallpaper.bmp";
        if (save_as_wallpaper(graphics_.work.bitmap(), 1, name)) return;
        // Current Windows does not let users write to the Windows folder: keep
        // the picture in the user's own application data instead.
        char folder[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder))) {
            std::string path = std::string(folder) + "\\" + name;
            if (save_bitmap_file(graphics_.work.bitmap(), path)) {
                set_wallpaper_stretched();
                apply_wallpaper(path);
            }
        }
    }

    GraphicsForm graphics_;
    PictureBox ascreen_;
    HWND time_box_ = nullptr, info_box_ = nullptr;
    unique_hfont time_font_;
    int16_t start_guard_ = 0;
    bool started_ = false;
    int scene_w_ = 0, scene_h_ = 0;
    SceneFrame frame_;
    std::unique_ptr<Pack> pack_;
    std::string pack_base_;
    std::unique_ptr<SpriteEngine> engine_;
    std::unique_ptr<GdiSpriteTarget> target_;
    std::vector<int> block_order_;
    uint32_t scene_start_ = 0;
    int picture_index_ = 0;
    int music_track_ = 0;
    int last_second_ = -1;
    MouseMoves mouse_;
    MusicPlayer music_;
};

std::unique_ptr<MainForm> g_main;

}  // namespace

const SaverStats& saver_stats() { return g_stats; }

bool saver_show() {
    g_stats = {};
    g_main = std::make_unique<MainForm>();
    if (!g_main->load()) return false;
    ShowWindow(g_main->hwnd(), SW_SHOWMAXIMIZED);
    SetForegroundWindow(g_main->hwnd());
    return true;
}

bool test_run_available() { return true; }

void run_test(HWND owner) {
    app().test_mode = true;
    g_stats = {};
    auto form = std::make_unique<MainForm>();
    form->show_modal(owner);
    app().test_mode = false;
}

}  // namespace flurrin
