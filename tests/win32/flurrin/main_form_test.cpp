#include <gtest/gtest.h>

#include "frame/app.h"
#include "frame/main_form.h"
#include "frame/music.h"
#include "frame/saver.h"
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

struct Probe {
    HWND main = nullptr;
    LONG_PTR exstyle = 0;
    int cursor = 0;
    uint32_t frames_seen = 0;
};
Probe g_probe;

// Looks at the running test saver a while after it starts, then presses a key.
void CALLBACK press_key_later(HWND, UINT, UINT_PTR id, DWORD) {
    g_probe.main = find_main();
    if (!g_probe.main) return;
    if (saver_stats().frames < 10) return;
    KillTimer(nullptr, id);
    g_probe.exstyle = GetWindowLongPtrA(g_probe.main, GWL_EXSTYLE);
    g_probe.cursor = ShowCursor(TRUE);
    ShowCursor(FALSE);
    g_probe.frames_seen = saver_stats().frames;
    PostMessageA(g_probe.main, WM_KEYDOWN, VK_SPACE, 0);
}

TEST(MainForm, TestRunAnimatesLeavesCursorAndZOrderAloneAndEndsOnAKey) {
    auto* store = new testing::MemoryStore;
    app().store.reset(store);
    app().install_path = program_folder();
    app().settings = Settings{};
    app().settings.mute_audio = 1;
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
    EXPECT_GE(g_probe.frames_seen, 10u);
    EXPECT_EQ(g_probe.exstyle & WS_EX_TOPMOST, 0) << "test runs are not top-most";
    EXPECT_EQ(g_probe.cursor, cursor_before) << "test runs keep the cursor";
    EXPECT_EQ(find_main(), nullptr) << "the form is gone after the key";
    EXPECT_GE(saver_stats().picture_index, 0);
    app().store.reset();
}

TEST(MainForm, ObjectsOffAndAMissingPackStillRunAndEnd) {
    app().store.reset(new testing::MemoryStore);
    app().install_path = "C:\\no such folder\\";
    app().settings = Settings{};
    app().settings.objects_off = 1;
    app().settings.mute_audio = 0;  // no pack: no song either, and no hang
    app().settings.scale_background = 0;
    g_probe = {};
    UINT_PTR timer = SetTimer(nullptr, 0, 50, press_key_later);
    run_test(nullptr);
    KillTimer(nullptr, timer);
    EXPECT_GE(g_probe.frames_seen, 10u);
    EXPECT_EQ(find_main(), nullptr);
    app().store.reset();
}

DWORD g_key_at = 0;

// Presses a key 300 ms into the first scene change (the transition then
// still runs: the shortest effect takes 300 ms, most take one to two seconds).
void CALLBACK press_during_transition(HWND, UINT, UINT_PTR id, DWORD) {
    HWND main = find_main();
    if (!main || saver_stats().last_effect == 0) return;
    static DWORD seen = 0;
    if (!seen) seen = GetTickCount();
    if (GetTickCount() - seen < 300) return;
    KillTimer(nullptr, id);
    seen = 0;
    g_key_at = GetTickCount();
    PostMessageA(main, WM_KEYDOWN, VK_SPACE, 0);
}

TEST(MainForm, AKeyDuringATransitionStopsItAndTheSaver) {
    app().store.reset(new testing::MemoryStore);
    app().install_path = program_folder();
    app().settings = Settings{};
    app().settings.mute_audio = 1;
    app().settings.scene_duration = 1;
    g_key_at = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, press_during_transition);
    DWORD start = GetTickCount();
    run_test(nullptr);
    KillTimer(nullptr, timer);
    ASSERT_NE(g_key_at, 0u) << "no transition started within the run";
    DWORD after_key = GetTickCount() - g_key_at;
    EXPECT_LT(after_key, 500u) << "effect " << saver_stats().last_effect << " was not cut short";
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_EQ(saver_stats().scene_changes, 1u) << "the interrupted change still completes its bookkeeping";
    app().store.reset();
}

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
