#include <gtest/gtest.h>

#include "frame/app.h"
#include "frame/main_form.h"
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

}  // namespace
}  // namespace flurrin
