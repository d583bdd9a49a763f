#include <gtest/gtest.h>

#include "frame/app.h"
#include "frame/entry.h"
#include "frame/preview.h"
#include "frame/saver.h"
#include "test_support.h"

namespace flurrin {
namespace {

bool preview_gone() { return !preview_loaded(); }

HWND make_host(int width, int height) {
    return CreateWindowExA(0, "STATIC", "preview host", WS_POPUP | WS_VISIBLE, 10, 10, width, height, nullptr, nullptr,
                           nullptr, nullptr);
}

TEST(Preview, PictureFillsTheHostAndLeavesWhenTheHostIsDestroyed) {
    HWND host = make_host(152, 112);
    ASSERT_TRUE(preview_start(host));
    HWND picture = preview_picture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(GetParent(picture), host);
    EXPECT_TRUE(app().preview_active);
    RECT r;
    GetClientRect(picture, &r);
    EXPECT_EQ(r.right, 152);
    EXPECT_EQ(r.bottom, 112);
    testing::pump_until(250);
    EXPECT_TRUE(preview_loaded());

    DestroyWindow(host);
    DWORD start = GetTickCount();
    ASSERT_TRUE(testing::pump_until(2000, preview_gone));
    EXPECT_LE(GetTickCount() - start, 400u);
}

TEST(Preview, CloseFromTheHostGivesThePictureBackAndEndsAtTheNextTick) {
    HWND host = make_host(200, 150);
    ASSERT_TRUE(preview_start(host));
    HWND picture = preview_picture();
    SendMessageA(picture, WM_CLOSE, 0, 0);
    EXPECT_FALSE(app().preview_active);
    EXPECT_NE(GetParent(picture), host);
    EXPECT_TRUE(IsWindow(picture)) << "WM_CLOSE must not reach the default procedure";
    DWORD start = GetTickCount();
    ASSERT_TRUE(testing::pump_until(2000, preview_gone));
    EXPECT_LE(GetTickCount() - start, 400u);
    EXPECT_TRUE(IsWindow(host));
    DestroyWindow(host);
}

TEST(Preview, NoWindowHandleEndsAtTheFirstTick) {
    ASSERT_TRUE(preview_start(nullptr));
    EXPECT_FALSE(app().preview_active);
    ASSERT_TRUE(testing::pump_until(2000, preview_gone));
}

TEST(Preview, ReplacementProcedureWithoutAPreviousOneAnswersZero) {
    EXPECT_EQ(preview_wnd_proc(nullptr, WM_USER, 0, 0), 0);
}

TEST(Entry, MissingInstallPathShowsTheMessageAndEnds) {
    testing::CapturedMessages messages;
    auto* store = new testing::MemoryStore;
    app().store.reset(store);
    EXPECT_EQ(mdl_main("/s"), 0);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kInstallPathError});
    EXPECT_EQ(messages.titles(), std::vector<std::string>{"Flurrin"});

    // With a path, the folder gets its "\" and the settings are loaded.
    store->values["Config/install_path"] = "C:\\Saver";
    store->values["Options/circles"] = "1";
    messages.texts().clear();
    EXPECT_EQ(mdl_main("/x"), 0);
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(app().install_path, "C:\\Saver\\");
    EXPECT_EQ(app().settings.circles, 1);
    EXPECT_GT(app().twips_per_pixel_x, 0);
    EXPECT_FALSE(app().test_mode);
    app().store.reset();
}

}  // namespace
}  // namespace flurrin
