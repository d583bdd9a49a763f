#include "frame/saver_session.h"

#include <utility>

#include "frame/handles.h"
#include "frame/saver.h"
#include "frame/wallpaper.h"
#include "scene/picture_loader.h"
#include "scene/transitions.h"

namespace flurrin {

namespace {
constexpr int kBuiltinPictures = 10;
constexpr int kBuiltinTracks = 4;
constexpr int kSheetMember = 15, kMaskMember = 16;
constexpr int kFramedWidth = 800, kFramedHeight = 600;

uint32_t seed_for(const Settings& settings) {
    if (settings.random_seed != 0) return uint32_t(settings.random_seed);
    return GetTickCount() ^ GetCurrentProcessId();
}
}  // namespace

SaverSession::SaverSession(SaverContext context)
    : context_(std::move(context)), generator_(seed_for(context_.settings)) {}

SaverSession::~SaverSession() = default;

double SaverSession::random_unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(generator_); }

void SaverSession::start(const SaverView& view) {
    if (phase_ != Phase::Idle) return;
    view_ = view;
    if (!context_.test_mode) {
        password_.begin();
        hide_cursor();
    }
    init_saver();
    uint32_t now = context_.clock.now_ms();
    scene_start_ = music_check_start_ = now;
    pacer_.start(now);
    phase_ = Phase::Animating;
}

void SaverSession::init_saver() {
    const Settings& s = context_.settings;
    int tracks = s.custom_music_flag == 1 ? int(s.custom_audio_paths.size()) : kBuiltinTracks;
    music_track_ = tracks > 0 ? int(random_unit() * tracks + 1) - 1 : 0;
    block_order_ = shuffle_blocks([this] { return random_unit(); });
    pack_ = std::make_unique<Pack>(temp_folder());
    pack_base_ = context_.install_path + "images";
    pack_->pack_open(pack_base_);
    for (auto [member, sheet] : {std::pair{kSheetMember, &surfaces_.sprite}, std::pair{kMaskMember, &surfaces_.mask}}) {
        std::string file = pack_member(member);
        if (!file.empty()) load_picture_into(file.c_str(), *sheet);
    }
    load_border_tiles(surfaces_.border);
    scene_setup();
    objects_setup();
}

std::string SaverSession::pack_member(int member) {
    std::string file = pack_->pack_extract(pack_base_, member);
    return file == kPackFailed ? std::string() : file;
}

// scene_setup: scene size and frame, first picture (always at random).
void SaverSession::scene_setup() {
    const Settings& s = context_.settings;
    RECT client;
    GetClientRect(view_.form, &client);
    scene_w_ = s.scale_background == 1 ? client.right : kFramedWidth;
    scene_h_ = s.scale_background == 1 ? client.bottom : kFramedHeight;
    frame_ = frame_scene(client.right, client.bottom, scene_w_, scene_h_);
    MoveWindow(view_.screen, frame_.scene.left, frame_.scene.top, scene_w_, scene_h_, FALSE);
    surfaces_.size_scene(scene_w_, scene_h_);
    picture_index_ = 0;
    std::string file = choose_picture(true);
    if (!file.empty()) {
        if (unique_hbitmap picture = load_picture_file(file)) paint_fitted(picture.get(), surfaces_.main);
    }
    BitBlt(surfaces_.work.dc(), 0, 0, scene_w_, scene_h_, surfaces_.main.dc(), 0, 0, SRCCOPY);
    InvalidateRect(view_.form, nullptr, FALSE);
    ShowWindow(view_.form, SW_SHOW);
    UpdateWindow(view_.form);
}

void SaverSession::objects_setup() {
    const Settings& s = context_.settings;
    engine_ = std::make_unique<SpriteEngine>([this] { return random_unit(); });
    ObjectOptions options{s.crystals == 1, s.circles == 1, s.ornaments == 1, s.sprite_active};
    engine_->setup(scene_w_, scene_h_, options, s.objects_off == 1);
    target_ = std::make_unique<GdiSpriteTarget>(surfaces_.main.dc(), surfaces_.work.dc(), surfaces_.sprite.dc(),
                                                surfaces_.mask.dc(), scene_w_, scene_h_);
}

// The file of the next picture (first: at random), or "" when none is usable.
std::string SaverSession::choose_picture(bool first) {
    const Settings& s = context_.settings;
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
    return pack_member(picture_index_);
}

uint32_t SaverSession::wait_ms() {
    if (!running()) return INFINITE;
    if (stop_requested_) return 0;
    uint32_t now = context_.clock.now_ms();
    return phase_ == Phase::Transition ? player_.wait(now) : pacer_.wait(now);
}

void SaverSession::tick() {
    if (phase_ == Phase::Transition) {
        transition_tick();
    } else if (phase_ == Phase::Animating) {
        if (stop_requested_) stop_or_resume();
        else if (pacer_.due(context_.clock.now_ms())) frame_tick();
    }
}

void SaverSession::frame_tick() {
    const Settings& s = context_.settings;
    Clock& clock = context_.clock;
    pacer_.frame_started(clock.now_ms(), s.frame_rate);
    run_frame();
    if (s.mute_audio == 0 && music_check_due(clock.now_ms(), music_check_start_)) {
        next_music();
        music_check_start_ = clock.now_ms();
    }
    if (s.show_time == 1) show_time();
    if (scene_due(clock.now_ms(), scene_start_, s.scene_duration)) begin_scene_change();
}

void SaverSession::run_frame() {
    WindowDc screen(view_.screen);
    target_->set_screen(screen.get());
    engine_->restore_background(*target_);
    if (context_.settings.objects_off == 0) engine_->move_objects();
    engine_->draw_objects(*target_);
    engine_->present_frame(*target_);
    target_->set_screen(nullptr);
    ++stats_.frames;
}

// change_scene: the next picture, fitted into main, reaches the screen
// through one of the twenty effects, a step per tick.
void SaverSession::begin_scene_change() {
    std::string file = choose_picture(false);
    unique_hbitmap picture = file.empty() ? unique_hbitmap() : load_picture_file(file);
    if (!picture) {
        finish_scene_change(false);  // the old scene stays
        return;
    }
    paint_fitted(picture.get(), surfaces_.main);
    int effect = random_effect(random_unit());
    stats_.last_effect = effect;
    player_.start(effect_steps(effect, scene_w_, scene_h_, block_order_), context_.clock.now_ms());
    phase_ = Phase::Transition;
}

void SaverSession::transition_tick() {
    if (stop_requested_) {
        // Cut short by input, the saver is stopping: no final paint.
        player_.stop();
        finish_scene_change(false);
        return;
    }
    uint32_t now = context_.clock.now_ms();
    if (player_.wait(now) > 0) return;
    if (const EffectStep* step = player_.advance(now)) {
        WindowDc screen(view_.screen);
        copy_step(*step, surfaces_.main.dc(), screen.get());
        ++stats_.transition_steps;
    } else if (!player_.playing()) {
        finish_scene_change(true);
    }
}

void SaverSession::finish_scene_change(bool paint_whole) {
    if (paint_whole) {
        WindowDc screen(view_.screen);
        BitBlt(screen.get(), 0, 0, scene_w_, scene_h_, surfaces_.main.dc(), 0, 0, SRCCOPY);
    }
    BitBlt(surfaces_.work.dc(), 0, 0, scene_w_, scene_h_, surfaces_.main.dc(), 0, 0, SRCCOPY);
    engine_->restore_background(*target_);  // forget the old frame's rectangles
    // The scene's time starts after its transition.
    uint32_t now = context_.clock.now_ms();
    scene_start_ = now;
    pacer_.start(now);
    ++stats_.scene_changes;
    stats_.picture_index = picture_index_;
    phase_ = Phase::Animating;
}

// The end of the animation: where the saver must ask for the password, a
// wrong or cancelled one resumes it.
void SaverSession::stop_or_resume() {
    stop_requested_ = false;
    if (!context_.test_mode && password_.saver_asks()) {
        show_cursor();
        if (!password_.verify(view_.form)) {
            hide_cursor();
            uint32_t now = context_.clock.now_ms();
            scene_start_ = music_check_start_ = now;
    pacer_.start(now);
            return;
        }
    }
    phase_ = Phase::Finished;
}

void SaverSession::key_or_click() {
    if (running()) stop_requested_ = true;
}

void SaverSession::mouse_moved() {
    if (!running()) return;
    int seconds = context_.clock.time_of_day().seconds_since_midnight();
    if (mouse_.on_move(seconds, context_.settings.mouse_sensitivity)) stop_requested_ = true;
}

bool SaverSession::may_close() {
    mouse_.move_count = 0;
    if (!running()) return true;
    stop_requested_ = true;
    return false;
}

void SaverSession::next_music() {
    if (music_.playing()) return;
    const Settings& s = context_.settings;
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
        file = pack_member(music_track_ + 10);
    }
    if (!file.empty()) music_.play_music_file(file, view_.form, s);
}

void SaverSession::show_time() {
    TimeOfDay now = context_.clock.time_of_day();
    if (now.second == last_second_) return;
    last_second_ = now.second;
    char am[16] = "AM", pm[16] = "PM";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S1159, am, sizeof am);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S2359, pm, sizeof pm);
    SetWindowTextA(view_.time_box, format_time_of_day(now.hour, now.minute, now.second, am, pm).c_str());
}

void SaverSession::paint_backdrop(HDC dc, const RECT& client) const {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (surfaces_.border && context_.settings.scale_background != 1)
        for (const FrameTile& t : frame_.tiles) BitBlt(dc, t.x, t.y, 8, 8, surfaces_.border.dc(), t.src_x, t.src_y, SRCCOPY);
}

void SaverSession::end() {
    if (phase_ == Phase::Idle) return;
    const Settings& s = context_.settings;
    music_.stop_music();
    if (s.save_wallpaper == 1 && engine_ && target_) {
        if (s.objects_off == 0) {
            engine_->restore_background(*target_);
            engine_->draw_objects(*target_);
        }
        save_scene_wallpaper(surfaces_.work);
    }
    target_.reset();
    engine_.reset();
    surfaces_.reset();
    if (!context_.test_mode) {
        show_cursor();
        password_.end();
    }
    if (pack_) pack_->pack_cleanup();
    phase_ = Phase::Finished;
}

}  // namespace flurrin
