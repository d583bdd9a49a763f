// The running saver as a session that ticks: the message loop asks how long
// until the session is due, waits that long while handling window events, and
// calls tick(). A tick draws one frame, or one step of a scene change's
// transition, or ends the session; none of them waits or pumps messages.
// Input only records that the saver should stop; the next tick acts on it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "frame/clock.h"
#include "frame/music.h"
#include "frame/password.h"
#include "frame/saver_logic.h"
#include "frame/scene_surfaces.h"
#include "scene/gdi_drawing.h"
#include "scene/pack.h"
#include "scene/sprites.h"
#include "scene/transition_player.h"
#include "settings/settings.h"

namespace flurrin {

// For tests and the benchmark: what the session has done so far.
struct SaverStats {
    uint32_t frames = 0;
    uint32_t scene_changes = 0;
    uint32_t transition_steps = 0;
    int picture_index = 0;
    int last_effect = 0;
};

struct SaverContext {
    const Settings& settings;
    std::string install_path;  // ends in "\"
    // A test run from the option forms: no password, no hidden cursor.
    bool test_mode = false;
    Clock& clock;
};

// The windows the session draws into and writes to.
struct SaverView {
    HWND form = nullptr;      // full-screen; owns the music notifications
    HWND screen = nullptr;    // ascreen, the visible drawing surface
    HWND time_box = nullptr;  // time of day
};

class SaverSession {
public:
    explicit SaverSession(SaverContext context);
    ~SaverSession();
    SaverSession(const SaverSession&) = delete;
    SaverSession& operator=(const SaverSession&) = delete;

    // The start sequence: password and cursor, pack, pictures, first scene,
    // objects. The session is running afterwards.
    void start(const SaverView& view);
    bool running() const { return phase_ == Phase::Animating || phase_ == Phase::Transition; }
    bool finished() const { return phase_ == Phase::Finished; }
    bool in_transition() const { return phase_ == Phase::Transition; }

    // Milliseconds until the next tick has work to do (0: now).
    uint32_t wait_ms();
    void tick();

    // Input while running: a key or button stops the saver; mouse moves do
    // once there are more than the sensitivity allows within ten seconds.
    void key_or_click();
    void mouse_moved();
    // Closing the form: a running session is asked to stop instead (false).
    bool may_close();
    void music_notify(UINT device) { music_.on_notify(device); }

    // The form's backdrop: black, with the tiled frame round a framed scene.
    void paint_backdrop(HDC dc, const RECT& client) const;
    const DibSurface& composed() const { return surfaces_.work; }
    // Form_Unload: music off, the wallpaper, the cursor back, temporary files
    // deleted.
    void end();

    const SaverStats& stats() const { return stats_; }

private:
    enum class Phase { Idle, Animating, Transition, Finished };

    double random_unit();
    void init_saver();
    void scene_setup();
    void objects_setup();
    std::string choose_picture(bool first);
    std::string pack_member(int member);

    void frame_tick();
    void run_frame();
    void begin_scene_change();
    void transition_tick();
    void finish_scene_change(bool paint_whole);
    void stop_or_resume();
    void next_music();
    void show_time();

    SaverContext context_;
    SaverView view_;
    Phase phase_ = Phase::Idle;
    bool stop_requested_ = false;
    std::mt19937 generator_;

    SceneSurfaces surfaces_;
    int scene_w_ = 0, scene_h_ = 0;
    SceneFrame frame_;
    std::unique_ptr<Pack> pack_;
    std::string pack_base_;
    std::unique_ptr<SpriteEngine> engine_;
    std::unique_ptr<GdiSpriteTarget> target_;
    std::vector<int> block_order_;
    TransitionPlayer player_;

    FramePacer pacer_;  // frames every 1000 / (frame_rate + 1) ms on average
    uint32_t scene_start_ = 0;
    uint32_t music_check_start_ = 0;
    int picture_index_ = 0;
    int music_track_ = 0;
    int last_second_ = -1;
    MouseMoves mouse_;
    MusicPlayer music_;
    SaverPassword password_;
    SaverStats stats_;
};

}  // namespace flurrin
