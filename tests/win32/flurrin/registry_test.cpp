#include <gtest/gtest.h>

#include "frame/app.h"
#include "frame/saver.h"
#include "test_support.h"

namespace flurrin {
namespace {

const std::string kTestKey = "Software\\Flurrin Tests\\Registry";

class Registry : public ::testing::Test {
protected:
    static void clean() {
        RegDeleteKeyA(HKEY_CURRENT_USER, (kTestKey + "\\none").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Flurrin Tests");
    }
    void SetUp() override { clean(); }
    void TearDown() override { clean(); }
};

TEST_F(Registry, DwordOneReadsAs001AndStringOneAs1) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kTestKey.c_str(), &key), ERROR_SUCCESS);
    DWORD one = 1, big = 1234;
    RegSetValueExA(key, "dword", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
    RegSetValueExA(key, "bigdword", 0, REG_DWORD, reinterpret_cast<BYTE*>(&big), 4);
    RegSetValueExA(key, "text", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegSetValueExA(key, "binary", 0, REG_BINARY, reinterpret_cast<const BYTE*>("12"), 2);
    RegCloseKey(key);
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kTestKey, "dword"), "001");
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kTestKey, "bigdword"), "1234");
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kTestKey, "text"), "1");
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kTestKey, "binary"), "");
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kTestKey, "missing"), "");
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kTestKey + "\\none", "text"), "");
    EXPECT_FALSE(reg_read_value(HKEY_CURRENT_USER, kTestKey, "missing").has_value());
}

TEST_F(Registry, OnlyPredefinedRootsAreRead) {
    reg_write_text(HKEY_CURRENT_USER, kTestKey, "v", "x");
    HKEY opened;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &opened), ERROR_SUCCESS);
    EXPECT_EQ(reg_read_text(opened, "Flurrin Tests\\Registry", "v"), "");
    RegCloseKey(opened);
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kTestKey, "v"), "x");
}

TEST_F(Registry, WrittenTextReadsBackWholeAsAStringValue) {
    reg_write_text(HKEY_CURRENT_USER, kTestKey, "path", "C:\\Program Files\\Flurrin");
    reg_write_text(HKEY_CURRENT_USER, kTestKey, "empty", "");
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kTestKey, "path"), "C:\\Program Files\\Flurrin");
    auto empty = reg_read_value(HKEY_CURRENT_USER, kTestKey, "empty");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(*empty, "");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    RegQueryValueExA(key, "path", nullptr, &type, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(type, DWORD(REG_SZ));
}

TEST_F(Registry, SettingsLiveUnderTheProgramSettingsKeyOneValuePerKey) {
    auto store = make_registry_store("Flurrin Test App");
    Settings s;
    s.circles = 1;
    s.custom_picture_paths = {"C:\\a.jpg", "C:\\b.bmp"};
    settings_save(s, *store);
    const std::string key = "Software\\VB and VBA Program Settings\\Flurrin Test App\\Options";
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, key, "circles"), "1");
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, key, "custom_picture_paths2"), "C:\\b.bmp");
    Settings loaded;
    settings_load(loaded, *store);
    EXPECT_EQ(loaded.circles, 1);
    EXPECT_EQ(loaded.custom_picture_paths, s.custom_picture_paths);
    EXPECT_FALSE(store->read("Config", "install_path").has_value());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Flurrin Test App");
}

TEST(Platform, QueryAndFolders) {
    EXPECT_EQ(query_os_platform(), DWORD(VER_PLATFORM_WIN32_NT));
    std::string windows = windows_folder(), temp = temp_folder();
    ASSERT_FALSE(windows.empty());
    EXPECT_EQ(windows.back(), '\\');
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_NE(GetFileAttributesA(temp.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Platform, WallpaperHelpersWriteTheTwoDesktopValues) {
    set_wallpaper_stretched();
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper"), "0");
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle"), "2");
    set_wallpaper_tiled();
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper"), "1");
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle"), "0");
    set_wallpaper_centered();
    EXPECT_EQ(reg_read_text(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper"), "0");
}

TEST(Platform, SaverWindowIsFoundByItsExactTitle) {
    EXPECT_FALSE(saver_window_exists(kMainFormCaption));
    HWND w = CreateWindowExA(0, "STATIC", kMainFormCaption, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(saver_window_exists(kMainFormCaption));
    EXPECT_FALSE(saver_window_exists("Screen Saver Main"));
    DestroyWindow(w);
    EXPECT_FALSE(saver_window_exists(kMainFormCaption));
}

}  // namespace
}  // namespace flurrin
