// The settings store against the real registry (of the test's Wine prefix).
#include "ui/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/animation.h"
#include "engine/bulb_object.h"
#include "engine/flash_state.h"
#include "music/song_list.h"

using namespace lumarel;

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettings();
        // arrangements keep only the ids of kinds that exist: make the built-in ones
        if (!findBulbById(0)) createBuiltInBulbs();
        flashState() = FlashState{};
        songList().clear();
        setMusicPlayMode(3);
    }
    void TearDown() override { resetSettings(); }

    static RegKey key() { return openSettingsKey(); }
    static bool has(const char* name) { return key().valueSize(name) != 0; }
    static DWORD dword(const char* name) {
        DWORD v = 0xDEAD;
        key().readDword(name, v);
        return v;
    }
    static std::vector<uint8_t> bytes(const char* name) {
        std::vector<uint8_t> out(key().valueSize(name));
        if (!out.empty()) key().read(name, out.data(), DWORD(out.size()), key().valueType(name));
        return out;
    }
    static std::vector<std::string> songNames(const char* name) {
        auto b = bytes(name);
        return decodeSongList(b.data(), b.size());
    }
};

}  // namespace

TEST_F(SettingsStore, FreshUserGetsDefaultsWrittenBack) {
    EXPECT_FALSE(loadFlashSettings());  // nothing differs from the defaults
    EXPECT_EQ(flashState().arrangement, defaultArrangement());
    EXPECT_EQ(flashState().interval, 5);
    EXPECT_EQ(flashState().pattern, 1);
    auto stored = bytes(setting::BulbSettings);
    auto expected = encodeArrangement(defaultArrangement());
    EXPECT_EQ(stored, std::vector<uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(dword(setting::FlashInterval), 5u);
    EXPECT_EQ(dword(setting::FlashPattern), 1u);

    EXPECT_EQ(getBulbLocationSetting(), 0);
    EXPECT_EQ(getHotKeyOn(), 1);
    EXPECT_EQ(getHotKeyChar(), 'B');
    EXPECT_EQ(getPictureDisplayType(), 0);
    char module[260], message[256], picture[260], last[260];
    getSaverModule(module);
    getSaverMessage(message);
    getPictureName(picture);
    getLastConvertedPictureName(last);
    EXPECT_STREQ(module, "Snow");
    EXPECT_STREQ(message, "Happy Holidays!");
    EXPECT_STREQ(picture, "Santa Candle.BMP");
    EXPECT_STREQ(last, "");
    MessageFont font;
    COLORREF colour = 0;
    getMessageFont(font, colour);
    EXPECT_EQ(font.height, -48);
    EXPECT_EQ(font.weight, 700);
    EXPECT_STREQ(font.faceName, "Arial");
    EXPECT_EQ(colour, COLORREF(255));
    EXPECT_EQ(getMovementType(), 0);
    EXPECT_EQ(getPreventSlowBulbWarning(), 0);
    EXPECT_EQ(getLastConvertedPictureTime(), 0u);

    for (const char* name : {setting::BulbLocation, setting::HotKeyOn, setting::HotKeyChar, setting::SaverModule,
                             setting::SaverMessage, setting::SaverPictureName, setting::SaverPictureDisplay,
                             setting::SaverMessageFont, setting::SaverMessageColor, setting::SaverMovement})
        EXPECT_TRUE(has(name)) << name;
    // These are never written back.
    for (const char* name : {setting::PreventSlowWarning, setting::LastPictureName, setting::LastPictureTime})
        EXPECT_FALSE(has(name)) << name;
}

TEST_F(SettingsStore, LegacyArrangementIsReadAndRewrittenInFullForm) {
    int8_t legacy[32];
    for (int i = 0; i < 32; ++i) legacy[i] = -1;
    legacy[0] = 3;
    legacy[6] = 1;
    legacy[8] = 46;
    key().writeBinary(setting::BulbSettings, legacy, sizeof legacy);
    EXPECT_TRUE(loadFlashSettings());
    EXPECT_EQ(flashState().arrangement[0][0], 3);
    EXPECT_EQ(flashState().arrangement[0][6], 1);
    EXPECT_EQ(flashState().arrangement[1][0], 46);
    EXPECT_EQ(flashState().arrangement[3][7], -1);
    saveFlashSettings();
    EXPECT_EQ(key().valueSize(setting::BulbSettings), 128u);
}

TEST_F(SettingsStore, MalformedValuesReadAsAbsent) {
    // 31 bytes is neither form; a string where a DWORD belongs; an interval
    // outside 1..9; a pattern outside 0..4 leaves the pattern as it was.
    uint8_t shortForm[31] = {};
    key().writeBinary(setting::BulbSettings, shortForm, sizeof shortForm);
    key().writeString(setting::FlashInterval, "7");
    key().writeDword(setting::FlashPattern, 7);
    flashState().pattern = 3;
    loadFlashSettings();
    EXPECT_EQ(flashState().arrangement, defaultArrangement());
    EXPECT_EQ(key().valueSize(setting::BulbSettings), 128u);
    EXPECT_EQ(flashState().interval, 5);
    EXPECT_EQ(flashState().pattern, 3);
    EXPECT_EQ(dword(setting::FlashPattern), 7u);  // present, so not overwritten

    for (DWORD bad : {0u, 10u, 0xFFFFFFFFu}) {
        key().writeDword(setting::FlashInterval, bad);
        flashState().interval = 2;
        loadFlashSettings();
        EXPECT_EQ(flashState().interval, 5) << bad;
    }

    // A REG_BINARY DWORD of the wrong size, a location outside 0..1.
    uint8_t three[3] = {1, 0, 0};
    key().writeBinary(setting::HotKeyOn, three, sizeof three);
    EXPECT_EQ(getHotKeyOn(), 1);
    key().writeDword(setting::BulbLocation, 9);
    EXPECT_EQ(getBulbLocationSetting(), 0);
    key().writeDword(setting::HotKeyChar, '!');
    EXPECT_EQ(getHotKeyChar(), 'B');
}

TEST_F(SettingsStore, UnknownKindsAreDroppedFromTheArrangement) {
    BulbArrangement a = defaultArrangement();
    a[0] = {500, 4, -1, -1, -1, -1, 600, 2};
    auto b = encodeArrangement(a);
    key().writeBinary(setting::BulbSettings, b.data(), DWORD(b.size()));
    loadFlashSettings();
    EXPECT_EQ(flashState().arrangement[0], (std::array<int32_t, 8>{4, -1, -1, -1, -1, -1, -1, 2}));
}

TEST_F(SettingsStore, StringsAreTerminatedAndLimited) {
    // A stored string with no terminator that fills the whole buffer.
    std::string full(300, 'x');
    key().writeTyped(setting::SaverMessage, REG_SZ, full.data(), 256);
    char message[256];
    getSaverMessage(message);
    EXPECT_EQ(strlen(message), 255u);

    setSaverMessage("Season's Greetings");
    getSaverMessage(message);
    EXPECT_STREQ(message, "Season's Greetings");
    setSaverMessage(std::string(256, 'y').c_str());  // too long: not stored
    getSaverMessage(message);
    EXPECT_STREQ(message, "Season's Greetings");
    setSaverMessage(std::string(255, 'z').c_str());
    getSaverMessage(message);
    EXPECT_EQ(std::string(message), std::string(255, 'z'));

    char module[260];
    setSaverModule(std::string(260, 'm').c_str());
    getSaverModule(module);
    EXPECT_STREQ(module, "Snow");
}

TEST_F(SettingsStore, MovementTypeFollowsTheModuleWhenAbsent) {
    setSaverModule("Leaves");
    EXPECT_EQ(getMovementType(), 2);
    EXPECT_EQ(dword(setting::SaverMovement), 2u);
    setSaverModule("Halloween");
    EXPECT_EQ(getMovementType(), 2);  // stored now, the module no longer matters
    setMovementType(1);
    EXPECT_EQ(getMovementType(), 1);
}

TEST_F(SettingsStore, MusicListsMarkTheFirstEnabledSongOnly) {
    songList() = {{"a.mid", true}, {"b.mid", true}, {"b.mid", true}, {"c.mid", true}};
    loadMusic();  // absent: both lists written from the live list
    EXPECT_EQ(songNames(setting::EnabledMusic), (std::vector<std::string>{"a.mid", "b.mid", "b.mid", "c.mid"}));
    EXPECT_TRUE(songNames(setting::DisabledMusic).empty());
    EXPECT_EQ(dword(setting::MusicPlay), 3u);

    auto disabled = encodeSongList({"b.mid", "zzz.mid", "C.MID"});
    key().writeBinary(setting::DisabledMusic, disabled.data(), DWORD(disabled.size()));
    key().writeDword(setting::MusicPlay, 4);
    loadMusic();
    EXPECT_TRUE(songList()[0].enabled);
    EXPECT_FALSE(songList()[1].enabled);
    EXPECT_TRUE(songList()[2].enabled);  // the same name twice: only the first
    EXPECT_TRUE(songList()[3].enabled);  // names compare exactly
    EXPECT_EQ(musicPlayMode(), 4);

    saveMusic();
    EXPECT_EQ(songNames(setting::DisabledMusic), (std::vector<std::string>{"b.mid"}));
    EXPECT_EQ(songNames(setting::EnabledMusic), (std::vector<std::string>{"a.mid", "b.mid", "c.mid"}));
}

TEST_F(SettingsStore, ResetRemovesSubKeysToo) {
    char module[260];
    getSaverModule(module);
    saveTheme("Winter");
    setIncludedBulbCategories("Standard Bulbs", "Christmas|Lights");
    char path[260];
    themeKeyPath(path, "Winter");
    RegKey probe;
    ASSERT_TRUE(probe.openExisting(HKEY_CURRENT_USER, path));
    probe.close();
    resetSettings();
    EXPECT_FALSE(probe.openExisting(HKEY_CURRENT_USER, kSettingsKey));
}

TEST_F(SettingsStore, ThemesCopyTheirTwelveValues) {
    flashState().pattern = 3;
    saveFlashSettings();
    setSaverMessage("Theme one");
    setBulbLocationSetting(1);
    saveTheme("One");
    EXPECT_TRUE(themeExists("one"));
    EXPECT_FALSE(themeExists("Two"));

    char path[260];
    themeKeyPath(path, "One");
    RegKey theme;
    ASSERT_TRUE(theme.openExisting(HKEY_CURRENT_USER, path));
    EXPECT_EQ(theme.valueSize(setting::BulbSettings), 128u);
    EXPECT_EQ(theme.valueSize(setting::BulbLocation), 0u);  // not part of a theme
    EXPECT_EQ(theme.valueSize(setting::EnabledMusic), 0u);  // no music setting existed
    theme.close();

    // Loading a theme without "Enabled Music" deletes it from the settings and
    // leaves "Disabled Music" as it was.
    songList() = {{"x.mid", true}, {"y.mid", false}};
    saveMusic();
    setSaverMessage("Changed");
    loadThemeValues("One");
    char message[256];
    getSaverMessage(message);
    EXPECT_STREQ(message, "Theme one");
    EXPECT_FALSE(has(setting::EnabledMusic));
    EXPECT_EQ(songNames(setting::DisabledMusic), (std::vector<std::string>{"y.mid"}));

    // With "Enabled Music", "Disabled Music" becomes every other live song.
    saveMusic();
    saveTheme("Two");
    songList().push_back({"new.mid", true});
    loadThemeValues("Two");
    EXPECT_EQ(songNames(setting::DisabledMusic), (std::vector<std::string>{"y.mid", "new.mid"}));

    char name[260];
    std::vector<std::string> names;
    for (DWORD i = 0; enumTheme(i, name); ++i) names.emplace_back(name);
    EXPECT_EQ(names.size(), 2u);
    EXPECT_TRUE(deleteTheme("One"));
    EXPECT_FALSE(themeExists("One"));
    EXPECT_TRUE(themeExists("TWO"));

    // A theme key holding a sub-key (an old nested name) goes as a whole.
    char nested[260];
    themeKeyPath(nested, "Two\\Night");
    RegKey(HKEY_CURRENT_USER, nested).writeDword(setting::FlashPattern, 2);
    EXPECT_TRUE(deleteTheme("Two"));
    EXPECT_FALSE(themeExists("Two"));
    EXPECT_FALSE(deleteTheme("Two"));
}

TEST_F(SettingsStore, ThemePathsAreCutAt260) {
    char path[260];
    themeKeyPath(path, nullptr);
    EXPECT_STREQ(path, "Software\\Quorvane\\Lumarel\\Themes");
    themeKeyPath(path, std::string(400, 'n').c_str());
    EXPECT_EQ(strlen(path), 259u);
    categoriesKeyPath(path);
    EXPECT_STREQ(path, "Software\\Quorvane\\Lumarel\\Included Bulb Categories");
}

TEST_F(SettingsStore, IncludedCategoriesAndUserDetails) {
    char categories[260];
    EXPECT_FALSE(getIncludedBulbCategories("Ghosts", categories));
    setIncludedBulbCategories("Ghosts", "Halloween|Spooky");
    EXPECT_TRUE(getIncludedBulbCategories("Ghosts", categories));
    EXPECT_STREQ(categories, "Halloween|Spooky");

    RegKey mail(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\User");
    mail.writeString("User_ADDR", "elf@north.example");
    char email[64];
    readUserEmail(email, sizeof email);
    EXPECT_STREQ(email, "elf@north.example");
    mail.close();
    deleteKeyTree(HKEY_CURRENT_USER, "Software\\Netscape");
    readUserEmail(email, sizeof email);
    EXPECT_STREQ(email, "");
}

TEST_F(SettingsStore, VersionFallsBackToTheMachineKey) {
    char version[10];
    EXPECT_FALSE(readCurrentVersion(version));
    writeCurrentVersion();
    EXPECT_TRUE(readCurrentVersion(version));
    EXPECT_STREQ(version, "5.3");
    // A stored version longer than the 10-byte buffer reads as absent.
    openSettingsKey().writeString(setting::CurrentVersion, "5.3.0.0.0.0.1");
    EXPECT_FALSE(readCurrentVersion(version));
}
