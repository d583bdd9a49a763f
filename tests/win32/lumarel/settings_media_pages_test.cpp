// The settings window in process, with its dialogs taken from lumarel.exe:
// what the song list draws for a song on, off and selected; the song list's
// check boxes have a help topic of their own; a hot key another program
// holds is reported, and only then; the song and picture lists follow the
// folders they are given.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/handles.h"
#include "base/message.h"
#include "built_in_kinds.h"
#include "bulbs_test_support.h"
#include "music/music_box.h"
#include "music/song_list.h"
#include "resources/resource_ids.h"
#include "temp_folder.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"
#include "ui/themes.h"

using namespace lumarel;

namespace {

struct Shown {
    std::string text, title;
};

class SettingsPages : public BuiltInKindsTest {
protected:
    lumarel_test::TempFolder songs{"lumarel-settings-songs"}, pictures{"lumarel-settings-pictures"};
    std::vector<Shown> shown;
    std::vector<ULONG_PTR> topics;
    bool hotKeyFree = true;
    int registrations = 0;
    ScopedMessageSink sink{[this](HWND, const char* text, const char* title, UINT) {
        shown.push_back({text, title});
        return IDNO;
    }};
    HWND window = nullptr;

    void SetUp() override {
        BuiltInKindsTest::SetUp();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        resetSettings();
        for (const char* name : {"Carol.mid", "Bells.mid", "Anthem.mid"})
            bulbtest::writeFile(songs / name, {'x'});
        MusicHost music;
        music.musicFolder = songs.path() + "\\";
        music.loadChoices = loadMusic;
        setMusicHost(music);
        buildSongList();
        setMusicPlayMode(kPlayNever);
        saveMusic();
        SettingsHost host;
        host.resources = programPictures();
        host.floatingModules = {"Leaves", "Halloween"};
        host.picturesFolder = pictures.path() + "\\";
        host.openHelp = [this](HWND, UINT, ULONG_PTR topic) { topics.push_back(topic); };
        host.reregisterHotKey = [this] {
            ++registrations;
            return hotKeyFree;
        };
        setSettingsHost(host);
        openSettingsWindow(1);
        window = settingsWindow();
        ASSERT_TRUE(window);
    }
    void TearDown() override {
        if (settingsWindow()) DestroyWindow(settingsWindow());
        setSettingsHost({});
        setMusicHost({});
        songList().clear();
        resetSettings();
        BuiltInKindsTest::TearDown();
    }

    HWND list() const { return GetDlgItem(window, IDC_SONG_LIST); }
    std::vector<std::string> items(int id) const {
        HWND control = GetDlgItem(window, id);
        std::vector<std::string> texts;
        int count = int(SendMessageA(control, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[2 * MAX_PATH] = {};
            SendMessageA(control, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
            texts.push_back(text);
        }
        return texts;
    }
    std::vector<std::string> songItems() const { return items(IDC_SONG_LIST); }
    // Draws item `item` of the song list into a white bitmap and returns it
    // as 0x00RRGGBB values, row by row.
    std::vector<uint32_t> drawSong(int item, bool selected, int width, int height) {
        WindowDc screen(nullptr);
        unique_hdc dc(CreateCompatibleDC(screen.get()));
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        unique_hbitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        SelectObjectScope use(dc.get(), bitmap.get());
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_LISTBOX;
        draw.CtlID = IDC_SONG_LIST;
        draw.itemID = UINT(item);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = selected ? ODS_SELECTED : 0;
        draw.hwndItem = list();
        draw.hDC = dc.get();
        draw.rcItem = {0, 0, width, height};
        drawSongItem(draw);
        GdiFlush();
        const auto* pixels = static_cast<const uint32_t*>(bits);
        std::vector<uint32_t> out(pixels, pixels + width * height);
        for (uint32_t& p : out) p &= 0xFFFFFF;
        return out;
    }
    static uint32_t rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
    // How many pixels of colour `colour` lie in the rectangle.
    static int countIn(const std::vector<uint32_t>& pixels, int width, RECT r, uint32_t colour) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += pixels[size_t(y * width + x)] == colour;
        return n;
    }
    void sendHelp(int id, int x) {
        HWND control = GetDlgItem(window, id);
        POINT at{x, 5};
        ClientToScreen(control, &at);
        HELPINFO info{sizeof info, HELPINFO_WINDOW, id, control, 0, at};
        SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    }
};

TEST_F(SettingsPages, SongItemsShowATickOnlyWhenOnAndHighlightOnlyTheName) {
    ASSERT_EQ((std::vector<std::string>{"Anthem", "Bells", "Carol"}), songItems());
    ASSERT_TRUE(enableSong("Bells.mid", false));
    const int width = 120, height = 16;
    const uint32_t ink = rgb(GetSysColor(COLOR_WINDOWTEXT)), mark = rgb(GetSysColor(COLOR_HIGHLIGHT));
    const RECT insideBox{6, 3, 16, 13};  // within the frame's 1-pixel border

    std::vector<uint32_t> on = drawSong(0, false, width, height), off = drawSong(1, false, width, height);
    EXPECT_GE(countIn(on, width, insideBox, ink), 9) << "three strokes of at least three pixels";
    EXPECT_EQ(0, countIn(off, width, insideBox, ink));
    // Both have the frame, and a name from x = 23 on.
    for (const auto* pixels : {&on, &off}) {
        EXPECT_GT(countIn(*pixels, width, RECT{5, 0, 17, height}, ink), 30);
        EXPECT_GT(countIn(*pixels, width, RECT{23, 0, width, height}, ink), 10);
        EXPECT_EQ(0, countIn(*pixels, width, RECT{0, 0, width, height}, mark));
    }
    std::vector<uint32_t> selected = drawSong(0, true, width, height);
    EXPECT_EQ(0, countIn(selected, width, RECT{0, 0, 20, height}, mark)) << "the check box is never highlighted";
    EXPECT_GT(countIn(selected, width, RECT{21, 0, width, height}, mark), 100);
}

TEST_F(SettingsPages, TheSongListsCheckBoxesHaveAHelpTopicOfTheirOwn) {
    sendHelp(IDC_SONG_LIST, 10);
    sendHelp(IDC_SONG_LIST, 16);
    sendHelp(IDC_SONG_LIST, 40);
    sendHelp(IDC_SAVER_PICTURES, 10);
    EXPECT_EQ((std::vector<ULONG_PTR>{202, 202, 200, 313}), topics);
}

TEST_F(SettingsPages, AHotKeyAnotherProgramHoldsIsReportedAndOnlyThen) {
    auto typeKey = [&](UINT key) {
        SendMessageA(window, WM_VKEYTOITEM, MAKEWPARAM(key, 0), reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_HOTKEY_KEY)));
    };
    typeKey('K');
    EXPECT_EQ(1, registrations);
    EXPECT_TRUE(shown.empty());
    hotKeyFree = false;
    typeKey('J');
    EXPECT_EQ('J', getHotKeyChar());
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Hot Key In Use", shown[0].title);
    EXPECT_NE(std::string::npos, shown[0].text.find("Ctrl + Shift + J"));
    typeKey(VK_OEM_MINUS);
    EXPECT_EQ(2, registrations) << "a key that is no hot key registers nothing";
    // Switching the hot key off cannot collide with anyone.
    hotKeyFree = true;
    CheckDlgButton(window, IDC_HOTKEY_CHECK, BST_UNCHECKED);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_HOTKEY_CHECK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_HOTKEY_CHECK)));
    EXPECT_EQ(3, registrations);
    EXPECT_EQ(1u, shown.size());
}

TEST_F(SettingsPages, SpaceTogglesTheSelectedSongAndAFolderChangeShowsOnReturn) {
    SendMessageA(list(), LB_SETCURSEL, 2, 0);
    SendMessageA(list(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(songList()[2].enabled);
    SendMessageA(list(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(songList()[2].enabled);

    bulbtest::writeFile(songs / "Aria.mid", {'x'});
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ((std::vector<std::string>{"Anthem", "Aria", "Bells", "Carol"}), songItems());
    // The item data follows the rebuilt list.
    EXPECT_EQ(3, SendMessageA(list(), LB_GETITEMDATA, 3, 0));
}

TEST_F(SettingsPages, RemoveSongAsksNamingTheFileAndNoKeepsIt) {
    SendMessageA(list(), LB_SETCURSEL, 1, 0);
    SendMessageA(window, WM_COMMAND, IDM_REMOVE_SONG, 0);
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Permanently Remove This Song?", shown[0].title);
    EXPECT_NE(std::string::npos, shown[0].text.find("\"Bells"));
    EXPECT_TRUE(bulbtest::exists(songs / "Bells.mid"));
    EXPECT_EQ(3u, songItems().size());
}

TEST_F(SettingsPages, SongFilesDroppedOnTheListAreCopiedInAndListed) {
    lumarel_test::TempFolder elsewhere{"lumarel-settings-dropped"};
    bulbtest::writeFile(elsewhere / "Dropped.MID", {'m'});
    bulbtest::writeFile(elsewhere / "notes.txt", {'t'});
    std::string names = (elsewhere / "Dropped.MID") + '\0' + (elsewhere / "notes.txt") + '\0' + '\0';
    // The shell's drop: a DROPFILES header, then the paths; the list frees it.
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    ASSERT_TRUE(drop);
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(drop);
    SendMessageA(list(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ((std::vector<std::string>{"Anthem", "Bells", "Carol", "Dropped"}), songItems());
    EXPECT_EQ(std::vector<uint8_t>{'m'}, bulbtest::readFile(songs / "Dropped.MID"));
    EXPECT_FALSE(bulbtest::exists(songs / "notes.txt")) << "only files with a song ending are taken";
}

TEST_F(SettingsPages, ALoadedThemeShowsInTheListsAndCancelPutsTheOpeningBack) {
    bulbtest::writeFile(pictures / "Frost.bmp", {'x'});
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    auto selected = [&](int id) {
        int item = int(SendDlgItemMessageA(window, id, LB_GETCURSEL, 0, 0));
        std::vector<std::string> texts = items(id);
        return item >= 0 && size_t(item) < texts.size() ? texts[size_t(item)] : std::string("none");
    };
    char opening[MAX_PATH];
    getPictureName(opening);
    // The stored default names no file here: nothing is selected.
    EXPECT_EQ("none", selected(IDC_SAVER_PICTURES)) << opening;
    EXPECT_EQ("Snow", selected(IDC_SAVER_ANIMATIONS));
    // The theme: a picture, a floating module and Bells off.
    setPictureName("frost.BMP");
    setSaverModule("Leaves");
    ASSERT_TRUE(enableSong("Bells.mid", false));
    saveMusic();
    saveTheme("Frosty");
    setPictureName("(None)");
    setSaverModule("Snow");
    ASSERT_TRUE(enableSong("Bells.mid", true));
    saveMusic();

    loadTheme("Frosty");
    EXPECT_EQ("Frost*Frost.bmp", selected(IDC_SAVER_PICTURES));
    EXPECT_EQ("Leaves", selected(IDC_SAVER_ANIMATIONS));
    EXPECT_EQ((std::vector<bool>{true, false, true}),
              (std::vector<bool>{songList()[0].enabled, songList()[1].enabled, songList()[2].enabled}));
    EXPECT_EQ((std::vector<std::string>{"Anthem", "Bells", "Carol"}), songItems());

    DestroyWindow(window);  // the close box: Cancel
    char name[MAX_PATH];
    getPictureName(name);
    EXPECT_STREQ(opening, name);
    getSaverModule(name);
    EXPECT_STREQ("Snow", name);
    EXPECT_TRUE(songList()[1].enabled);
}

// (Wine keeps no temporary flag on a file, so that skip is not shown here.)
TEST_F(SettingsPages, PicturesComeFromTheNamedFolderWithoutFoldersOrHiddenFiles) {
    EXPECT_EQ((std::vector<std::string>{"(None)"}), items(IDC_SAVER_PICTURES));
    for (const char* name : {"Shown.bmp", "Hidden.bmp"}) bulbtest::writeFile(pictures / name, {'x'});
    SetFileAttributesA((pictures / "Hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA((pictures / "Album.bmp").c_str(), nullptr);
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ((std::vector<std::string>{"(None)", "Shown*Shown.bmp"}), items(IDC_SAVER_PICTURES));
    // A file that went stays listed while the window is open.
    DeleteFileA((pictures / "Shown.bmp").c_str());
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(2u, items(IDC_SAVER_PICTURES).size());
    SetFileAttributesA((pictures / "Hidden.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsPages, PicturesOfBothFoldersAreListedOnceTheUsersCopyWinning) {
    DestroyWindow(settingsWindow());
    lumarel_test::TempFolder shipped{"lumarel-settings-shipped-pictures"};
    bulbtest::writeFile(shipped / "Snow.bmp", {'s'});
    bulbtest::writeFile(shipped / "Moon.bmp", {'m'});
    bulbtest::writeFile(pictures / "SNOW.BMP", {'u'});
    SettingsHost host = settingsHost();
    host.pictureFolders = {shipped.path() + "\\", pictures.path() + "\\"};
    setSettingsHost(host);
    openSettingsWindow(1);
    window = settingsWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ((std::vector<std::string>{"(None)", "Moon*Moon.bmp", "SNOW*SNOW.BMP"}), items(IDC_SAVER_PICTURES));
}

}  // namespace
