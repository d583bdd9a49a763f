#include <gtest/gtest.h>

#include <cstring>

#include "settings/list_edit.h"
#include "settings/option_values.h"
#include "settings/preview_fit.h"
#include "settings/version_info.h"

namespace flurrin {
namespace {

using Paths = std::vector<std::string>;

TEST(OptionValues, ValuesOutsideAScrollRangeAreHeldToItAndKept) {
    Settings s;
    s.scene_duration = 3;  // allowed by the store, below the scroll bar
    s.frame_rate = 500;
    s.sprite_active = 0;
    s.mouse_sensitivity = 7;
    EXPECT_EQ(take_scroll_value(s, kSceneDurationScroll), 10);
    EXPECT_EQ(take_scroll_value(s, kFrameRateScroll), 60);
    EXPECT_EQ(take_scroll_value(s, kSpriteActiveScroll), 1);
    EXPECT_EQ(take_scroll_value(s, kMouseSensitivityScroll), 7);
    // The record now holds what the bars show.
    EXPECT_EQ(s.scene_duration, 10);
    EXPECT_EQ(s.frame_rate, 60);
    EXPECT_EQ(s.sprite_active, 1);
}

TEST(OptionValues, ScrollActionsStayInsideTheRange) {
    const ScrollOption& fr = kFrameRateScroll;
    EXPECT_EQ(scroll_position(fr, 20, ScrollAction::LineDown, 0), 21);
    EXPECT_EQ(scroll_position(fr, 20, ScrollAction::LineUp, 0), 19);
    EXPECT_EQ(scroll_position(fr, 20, ScrollAction::PageDown, 0), 25);
    EXPECT_EQ(scroll_position(fr, 12, ScrollAction::PageUp, 0), 10);
    EXPECT_EQ(scroll_position(fr, 58, ScrollAction::PageDown, 0), 60);
    EXPECT_EQ(scroll_position(fr, 60, ScrollAction::LineDown, 0), 60);
    EXPECT_EQ(scroll_position(fr, 10, ScrollAction::LineUp, 0), 10);
    EXPECT_EQ(scroll_position(fr, 20, ScrollAction::Top, 0), 10);     // Home
    EXPECT_EQ(scroll_position(fr, 20, ScrollAction::Bottom, 0), 60);  // End
    EXPECT_EQ(scroll_position(fr, 20, ScrollAction::Track, 33), 33);
    EXPECT_EQ(scroll_position(fr, 20, ScrollAction::Track, 900), 60);
    EXPECT_EQ(scroll_position(fr, 20, ScrollAction::Other, 0), 20);
    EXPECT_EQ(scroll_position(kSpriteActiveScroll, 290, ScrollAction::PageDown, 0), 300);
    EXPECT_EQ(scroll_position(kSceneDurationScroll, 3, ScrollAction::Other, 0), 10);
}

TEST(OptionValues, FrameRateLabel) {
    EXPECT_EQ(frame_rate_label(20), "20 Frames Per Second");
    EXPECT_EQ(frame_rate_label(60), "60 Frames Per Second");
}

TEST(OptionValues, AnEmptyListFallsBackToTheIncludedMedia) {
    Settings s;
    s.custom_picture_flag = 1;
    EXPECT_EQ(choose_after_list(s, kPictureOption), 0);
    EXPECT_EQ(s.custom_picture_flag, 0);
    // A total larger than the stored paths leaves only empty entries: no list.
    s.custom_picture_paths = {"", ""};
    s.custom_picture_flag = 1;
    EXPECT_EQ(choose_after_list(s, kPictureOption), 0);
    s.custom_audio_paths = {"C:\\a.mid"};
    s.custom_music_flag = 0;
    EXPECT_EQ(choose_after_list(s, kMusicOption), 1);
    EXPECT_EQ(s.custom_music_flag, 1);
    EXPECT_EQ(s.custom_picture_flag, 0);  // each pair moves only its own flag
}

TEST(ListEdit, EntriesAreFolderAndNameInOrderWithDuplicates) {
    Paths list = {"C:\\old.bmp"};
    EXPECT_EQ(add_entries(list, "C:\\pics", {"b.gif", "a.jpg", "b.gif"}), 0u);
    EXPECT_EQ(list, (Paths{"C:\\old.bmp", "C:\\pics\\b.gif", "C:\\pics\\a.jpg", "C:\\pics\\b.gif"}));
    add_entries(list, "D:\\", {"x.bmp"});  // a drive's root already ends in "\"
    EXPECT_EQ(list.back(), "D:\\x.bmp");
    EXPECT_EQ(add_entries(list, "C:\\", {}), 0u);
    EXPECT_EQ(list.size(), 5u);
}

TEST(ListEdit, AddingStopsAtTheLimitAndCountsWhatWasLeftOut) {
    Paths list(4090, "C:\\a.bmp");
    Paths names(10, "n.bmp");
    EXPECT_EQ(add_entries(list, "C:\\", names), 4u);
    EXPECT_EQ(list.size(), 4096u);
    EXPECT_EQ(add_entries(list, "C:\\", names), 10u);
    EXPECT_EQ(list.size(), 4096u);
    Paths small;
    EXPECT_EQ(add_entries(small, "C:\\", names, 3), 7u);
    EXPECT_EQ(small.size(), 3u);
}

TEST(ListEdit, RemovingASelectionWalksFromTheEnd) {
    Paths list = {"a", "b", "c", "d", "e"};
    remove_selected(list, {0, 2, 4});
    EXPECT_EQ(list, (Paths{"b", "d"}));
    list = {"a", "b", "c", "d", "e"};
    remove_selected(list, {3, 1, 3, 9, -1});  // any order, repeats and strays
    EXPECT_EQ(list, (Paths{"a", "c", "e"}));
    list = {"x", "x", "x"};
    remove_selected(list, {1});  // one of two equal entries goes, by place
    EXPECT_EQ(list, (Paths{"x", "x"}));
    remove_selected(list, {});
    EXPECT_EQ(list.size(), 2u);
}

TEST(ListEdit, EmptyPathsAreNotEntries) {
    EXPECT_EQ(real_entries({"a", "", "b", ""}), (Paths{"a", "b"}));
    EXPECT_TRUE(real_entries({"", ""}).empty());
}

TEST(ListEdit, FilePatternsMatchLikeTheFileLists) {
    const char* pictures = "*.gif;*.bmp;*.jpg";
    EXPECT_TRUE(matches_patterns(pictures, "snow.GIF"));
    EXPECT_TRUE(matches_patterns(pictures, "a.b.bmp"));
    EXPECT_TRUE(matches_patterns(pictures, "x.jpg"));
    EXPECT_FALSE(matches_patterns(pictures, "x.jpeg"));
    EXPECT_FALSE(matches_patterns(pictures, "x.jpg.txt"));
    EXPECT_FALSE(matches_patterns(pictures, "gif"));
    EXPECT_TRUE(matches_patterns(pictures, ".bmp"));
    const char* music = "*.mid;*.rmi;*.wav;*.mp3";
    EXPECT_TRUE(matches_patterns(music, "Song.Mp3"));
    EXPECT_TRUE(matches_patterns(music, "a.rmi"));
    EXPECT_FALSE(matches_patterns(music, "a.midi"));
    EXPECT_TRUE(matches_patterns("*.*", "README"));
    EXPECT_TRUE(matches_patterns("a?c*.t*t", "abcdef.tXt"));
    EXPECT_FALSE(matches_patterns("a?c", "ac"));
    EXPECT_FALSE(matches_patterns(";;", "a"));
    EXPECT_FALSE(matches_patterns("", "a"));
    // A long run of stars does not blow up.
    EXPECT_FALSE(matches_patterns(std::string(200, '*') + "b", std::string(300, 'a')));
}

TEST(ListEdit, NewFolderNamesStayInsideTheirFolder) {
    EXPECT_TRUE(is_plain_name("New Folder"));
    EXPECT_TRUE(is_plain_name("snow.2024"));
    for (const char* bad : {"", ".", "..", "..\\x", "a/b", "C:x", "a*", "what?", "a\"b", "<x>", "a|b", "dot.", "tail ",
                            "tab\there"})
        EXPECT_FALSE(is_plain_name(bad)) << bad;
}

TEST(PreviewFit, PicturesShrinkWithTheirProportionsAndAreCentred) {
    auto fit = [](int pw, int ph) {
        PreviewRect r = fit_preview(pw, ph, 300, 200);
        return std::vector<int>{r.x, r.y, r.width, r.height};
    };
    EXPECT_EQ(fit(100, 50), (std::vector<int>{100, 75, 100, 50}));  // fits: own size
    EXPECT_EQ(fit(300, 200), (std::vector<int>{0, 0, 300, 200}));
    EXPECT_EQ(fit(1024, 768), (std::vector<int>{17, 0, 266, 200}));
    EXPECT_EQ(fit(4000, 1000), (std::vector<int>{0, 62, 300, 75}));
    EXPECT_EQ(fit(10, 5000), (std::vector<int>{149, 0, 1, 200}));  // never thinner than a pixel
    EXPECT_EQ(fit_preview(0, 10, 300, 200).width, 0);
    EXPECT_EQ(fit_preview(10, 10, 0, 100).width, 0);
}

TEST(PreviewFit, JpegReductionKeepsThePreviewSharp) {
    EXPECT_EQ(preview_reduction(4000, 3000, 300, 200), 8);  // 500 x 375 still covers 266 x 200
    EXPECT_EQ(preview_reduction(1024, 768, 300, 200), 2);   // 512 x 384; a quarter would be 256
    EXPECT_EQ(preview_reduction(200, 100, 300, 200), 1);
    EXPECT_EQ(preview_reduction(0, 0, 300, 200), 1);
}

// A version block as the resource compiler writes it.
std::vector<uint8_t> version_block(uint32_t ms, uint32_t ls) {
    std::vector<uint8_t> b;
    auto word = [&](uint16_t w) { b.push_back(uint8_t(w)), b.push_back(uint8_t(w >> 8)); };
    auto dword = [&](uint32_t d) { word(uint16_t(d)), word(uint16_t(d >> 16)); };
    word(0), word(52), word(0);
    for (char c : std::string("VS_VERSION_INFO")) word(uint16_t(c));
    word(0);
    while (b.size() % 4) b.push_back(0);
    dword(0xFEEF04BD), dword(0x10000), dword(ms), dword(ls), dword(ms), dword(ls);
    for (int i = 0; i < 7; ++i) dword(0);
    b[0] = uint8_t(b.size()), b[1] = uint8_t(b.size() >> 8);
    return b;
}

TEST(VersionInfo, TheFixedPartGivesMajorMinorRevision) {
    auto block = version_block(0x00030002, 0x0000000E);
    auto v = read_file_version(block.data(), block.size());
    ASSERT_TRUE(v);
    EXPECT_EQ(version_text(*v), "3.2.14");
    block = version_block(0x000A0000, 0x00070001);
    EXPECT_EQ(version_text(*read_file_version(block.data(), block.size())), "10.0.1");
}

TEST(VersionInfo, BrokenBlocksGiveNothing) {
    auto good = version_block(0x10002, 3);
    auto broken = good;
    broken[6] = 'X';  // another key
    EXPECT_FALSE(read_file_version(broken.data(), broken.size()));
    broken = good;
    broken[40] ^= 0xFF;  // signature
    EXPECT_FALSE(read_file_version(broken.data(), broken.size()));
    broken = good;
    broken[2] = 10;  // no room for the fixed part
    EXPECT_FALSE(read_file_version(broken.data(), broken.size()));
    for (size_t cut = 0; cut < good.size(); ++cut) EXPECT_FALSE(read_file_version(good.data(), cut)) << cut;
    EXPECT_FALSE(read_file_version(nullptr, 100));
}

}  // namespace
}  // namespace flurrin
