#include <gtest/gtest.h>

#include "frame/app.h"
#include "frame/music.h"
#include "frame/saver.h"
#include "frame/saver_window.h"
#include "settings/saver_run.h"
#include "test_support.h"

namespace flurrin {
namespace {

std::string program_folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

HWND find_main() { return FindWindowA(nullptr, kMainFormCaption); }

Settings quiet_settings() {
    Settings s;
    s.mute_audio = 1;
    return s;
}

// ---- Runs on the real clock, through the saver's own message loop ----

struct Probe {
    HWND main = nullptr;
    LONG_PTR exstyle = 0;
    int cursor = 0;
    int ticks_seen = 0;
    uint32_t frames_seen = 0;
    SaverWindow* window = nullptr;  // when the test made the window itself
};
Probe g_probe;

// Looks at the running saver a while after it starts, then presses a key.
void CALLBACK press_key_later(HWND, UINT, UINT_PTR id, DWORD) {
    g_probe.main = find_main();
    if (!g_probe.main) return;
    uint32_t frames = g_probe.window ? g_probe.window->session().stats().frames : 0;
    if (g_probe.window ? frames < 10 : ++g_probe.ticks_seen < 10) return;
    KillTimer(nullptr, id);
    g_probe.exstyle = GetWindowLongPtrA(g_probe.main, GWL_EXSTYLE);
    g_probe.cursor = ShowCursor(TRUE);
    ShowCursor(FALSE);
    g_probe.frames_seen = frames;
    PostMessageA(g_probe.main, WM_KEYDOWN, VK_SPACE, 0);
}

TEST(SaverWindow, TestRunLeavesCursorAndZOrderAloneAndEndsOnAKey) {
    app().store.reset(new testing::MemoryStore);
    app().install_path = program_folder();
    app().settings = quiet_settings();
    app().settings.circles = 1;
    app().settings.ornaments = 1;
    ASSERT_TRUE(test_run_available());
    g_probe = {};
    int cursor_before = ShowCursor(TRUE);
    ShowCursor(FALSE);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, press_key_later);
    DWORD start = GetTickCount();
    run_test(nullptr);
    KillTimer(nullptr, timer);
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_FALSE(app().test_mode) << "a test run clears test_mode";
    EXPECT_NE(g_probe.main, nullptr);
    EXPECT_EQ(g_probe.exstyle & WS_EX_TOPMOST, 0) << "test runs are not top-most";
    EXPECT_EQ(g_probe.cursor, cursor_before) << "test runs keep the cursor";
    EXPECT_EQ(find_main(), nullptr) << "the form is gone after the key";
    app().store.reset();
}

TEST(SaverWindow, ARunAnimatesUntilAKey) {
    Settings s = quiet_settings();
    s.circles = 1;
    g_probe = {};
    SaverStats stats;
    {
        SystemClock clock;
        SaverWindow window({s, program_folder(), true, clock});
        g_probe.window = &window;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, press_key_later);
        ASSERT_TRUE(window.open());
        run_saver_loop(window);
        KillTimer(nullptr, timer);
        EXPECT_TRUE(window.session().finished());
        stats = window.session().stats();
        window.unload();
        g_probe.window = nullptr;
    }
    EXPECT_GE(g_probe.frames_seen, 10u);
    EXPECT_GE(stats.picture_index, 0);
    EXPECT_EQ(find_main(), nullptr);
}

TEST(SaverWindow, ObjectsOffAndAMissingPackStillRunAndEnd) {
    Settings s;
    s.objects_off = 1;
    s.mute_audio = 0;  // no pack: no song either, and no hang
    s.scale_background = 0;
    g_probe = {};
    SystemClock clock;
    SaverWindow window({s, "C:\\no such folder\\", true, clock});
    g_probe.window = &window;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, press_key_later);
    ASSERT_TRUE(window.open());
    run_saver_loop(window);
    KillTimer(nullptr, timer);
    g_probe.window = nullptr;
    EXPECT_GE(g_probe.frames_seen, 10u);
    window.unload();
    EXPECT_EQ(find_main(), nullptr);
}

DWORD g_key_at = 0;
SaverWindow* g_transition_window = nullptr;

// Presses a key 100 ms into the first scene change (the transition then
// still runs: the shortest effect takes 300 ms, most take one to two seconds).
void CALLBACK press_during_transition(HWND, UINT, UINT_PTR id, DWORD) {
    HWND main = find_main();
    if (!main || !g_transition_window) return;
    const SaverSession& session = g_transition_window->session();
    if (!session.in_transition() || session.stats().scene_changes != 0) return;
    static DWORD seen = 0;
    if (!seen) seen = GetTickCount();
    if (GetTickCount() - seen < 100) return;
    KillTimer(nullptr, id);
    seen = 0;
    g_key_at = GetTickCount();
    PostMessageA(main, WM_KEYDOWN, VK_SPACE, 0);
}

TEST(SaverWindow, AKeyDuringATransitionStopsItAndTheSaverAtOnce) {
    Settings s = quiet_settings();
    s.scene_duration = 1;
    g_key_at = 0;
    SystemClock clock;
    SaverWindow window({s, program_folder(), true, clock});
    g_transition_window = &window;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, press_during_transition);
    DWORD start = GetTickCount();
    ASSERT_TRUE(window.open());
    run_saver_loop(window);
    KillTimer(nullptr, timer);
    g_transition_window = nullptr;
    ASSERT_NE(g_key_at, 0u) << "no transition started within the run";
    DWORD after_key = GetTickCount() - g_key_at;
    EXPECT_LT(after_key, 500u) << "effect " << window.session().stats().last_effect << " was not cut short";
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_EQ(window.session().stats().scene_changes, 1u) << "the interrupted change still completes its bookkeeping";
    window.unload();
}

// ---- The session on a clock the test moves: no waiting ----

class FedClock : public ::testing::Test {
protected:
    testing::ManualClock clock;
    Settings settings = quiet_settings();
    std::unique_ptr<SaverWindow> window;

    SaverSession& open() {
        window = std::make_unique<SaverWindow>(SaverContext{settings, program_folder(), true, clock});
        EXPECT_TRUE(window->open());
        return window->session();
    }
    // Ticks once the session is due, moving the clock on to that moment.
    void tick_when_due(SaverSession& session) {
        clock.now += session.wait_ms();
        session.tick();
    }
};

TEST_F(FedClock, FramesAtTwentyPerSecondStartEvery48Ms) {
    settings.frame_rate = 20;
    SaverSession& session = open();
    EXPECT_EQ(session.wait_ms(), 0u) << "the first frame is due at once";
    session.tick();
    EXPECT_EQ(session.stats().frames, 1u);
    EXPECT_EQ(session.wait_ms(), 48u);
    clock.now += 47;
    session.tick();
    EXPECT_EQ(session.stats().frames, 1u) << "47 ms are not yet a frame at 20 frames a second";
    EXPECT_EQ(session.wait_ms(), 1u);
    clock.now += 1;
    session.tick();
    EXPECT_EQ(session.stats().frames, 2u);
    settings.frame_rate = 60;
    clock.now += 48;
    session.tick();
    EXPECT_EQ(session.wait_ms(), 17u);
}

TEST_F(FedClock, TheSceneChangesAfterItsDurationThroughATransitionAStepPerTick) {
    settings.scene_duration = 2;
    SaverSession& session = open();
    uint32_t started = clock.now;
    while (!session.in_transition() && clock.now - started < 10000) tick_when_due(session);
    ASSERT_TRUE(session.in_transition());
    EXPECT_GT(clock.now - started, 2000u);
    EXPECT_LT(clock.now - started, 2000u + 48u * 2);
    uint32_t frames = session.stats().frames;
    uint32_t steps = 0;
    while (session.in_transition()) {
        tick_when_due(session);
        if (session.in_transition()) {
            ++steps;
            EXPECT_EQ(session.stats().transition_steps, steps) << "one step per tick";
        }
    }
    EXPECT_GT(steps, 0u);
    EXPECT_EQ(session.stats().frames, frames) << "no frames during the transition";
    EXPECT_EQ(session.stats().scene_changes, 1u);
    // The next scene's time starts after the transition.
    uint32_t after = clock.now;
    while (session.stats().scene_changes == 1 && !session.in_transition() && clock.now - after < 10000)
        tick_when_due(session);
    EXPECT_GT(clock.now - after, 2000u);
}

TEST_F(FedClock, AKeyDuringATransitionEndsItWithoutTheFinalPaintAndThenTheSaver) {
    settings.scene_duration = 1;
    SaverSession& session = open();
    while (!session.in_transition()) tick_when_due(session);
    tick_when_due(session);
    tick_when_due(session);
    uint32_t steps = session.stats().transition_steps;
    PostMessageA(find_main(), WM_KEYDOWN, VK_SPACE, 0);
    testing::pump_until(0);
    EXPECT_EQ(session.wait_ms(), 0u) << "a stop is due at once";
    session.tick();
    EXPECT_FALSE(session.in_transition());
    EXPECT_EQ(session.stats().transition_steps, steps);
    EXPECT_EQ(session.stats().scene_changes, 1u);
    EXPECT_FALSE(session.finished());
    session.tick();
    EXPECT_TRUE(session.finished());
}

TimeOfDay at(int seconds) { return {seconds / 3600, seconds / 60 % 60, seconds % 60}; }

TEST_F(FedClock, TheEighthMouseMoveWithinTenSecondsStopsTheSaver) {
    settings.mouse_sensitivity = 7;
    SaverSession& session = open();
    session.tick();
    int seconds = 13 * 3600;
    for (int i = 0; i < 20; ++i) {
        clock.time = at(seconds += 6);
        session.mouse_moved();
    }
    session.tick();
    EXPECT_FALSE(session.finished()) << "moves spread over more than ten seconds never stop it";
    clock.time = at(seconds += 60);
    session.mouse_moved();  // past the window: counting starts afresh
    for (int i = 0; i < 7; ++i) session.mouse_moved();
    session.tick();
    EXPECT_FALSE(session.finished()) << "seven moves are tolerated";
    session.mouse_moved();
    EXPECT_EQ(session.wait_ms(), 0u);
    session.tick();
    EXPECT_TRUE(session.finished());
}

TEST_F(FedClock, CloseRequestsStopARunningSaverInsteadOfUnloadingIt) {
    SaverSession& session = open();
    session.tick();
    window->close();
    EXPECT_TRUE(window->loaded()) << "the running session keeps its form";
    session.tick();
    EXPECT_TRUE(session.finished());
    window->close();
    EXPECT_FALSE(window->loaded());
}

TEST_F(FedClock, TheTimeBoxShowsTheClocksTimeOfDayOncePerSecond) {
    settings.show_time = 1;
    SaverSession& session = open();
    HWND box = FindWindowExA(find_main(), nullptr, "STATIC", nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(IsWindowVisible(box));
    char pm[16] = "PM";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S2359, pm, sizeof pm);
    clock.time = {13, 2, 3};
    session.tick();
    char text[64] = {};
    GetWindowTextA(box, text, sizeof text);
    EXPECT_EQ(std::string(text), std::string("01:02:03 ") + pm);
    clock.time = {13, 2, 4};
    tick_when_due(session);
    GetWindowTextA(box, text, sizeof text);
    EXPECT_EQ(std::string(text), std::string("01:02:04 ") + pm);
}

TEST_F(FedClock, TheSameSeedGivesTheSamePicturesAndEffects) {
    settings.random_seed = 77;
    settings.scene_duration = 1;
    settings.random_pictures = 1;
    auto run = [&] {
        SaverSession& session = open();
        std::vector<std::pair<int, int>> seen;
        while (seen.size() < 4) {
            tick_when_due(session);
            if (session.stats().scene_changes > seen.size())
                seen.emplace_back(session.stats().last_effect, session.stats().picture_index);
        }
        window.reset();
        return seen;
    };
    std::vector<std::pair<int, int>> first = run();
    EXPECT_EQ(run(), first);
    settings.random_seed = 78;
    EXPECT_NE(run(), first) << "another seed, another run";
}

// ---- Music ----

TEST(Music, DeviceTypeFollowsTheExtensionAndTheSettings) {
    Settings s;
    s.midi_devicename = "MySequencer";
    EXPECT_EQ(music_device_type("C:\\songs\\a.mid", s), "MySequencer");
    EXPECT_EQ(music_device_type("b.RMI", s), "MySequencer");
    EXPECT_EQ(music_device_type("c.Wav", s), "WaveAudio");
    EXPECT_EQ(music_device_type("d.mp3", s), "MPEGVideo");
    EXPECT_EQ(music_device_type("e.ogg", s), "");
    EXPECT_EQ(music_device_type("mp", s), "");
}

TEST(Music, AFileThatCannotBeOpenedIsNotPlaying) {
    MusicPlayer player;
    player.play_music_file("C:\\no such folder\\song.mid", nullptr, Settings{});
    EXPECT_FALSE(player.playing()) << "the next check must move on to another song";
    player.stop_music();
    EXPECT_FALSE(player.playing());
}

}  // namespace
}  // namespace flurrin
