// The music box on the platform: the song folder, shortcuts, adding songs, the
// hidden reset file, MCI failures and their one message, and no leaks over
// many songs.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/data_folders.h"
#include "base/message.h"
#include "bulbs_test_support.h"
#include "music/music_box.h"
#include "music/song_folder.h"
#include "music/song_list.h"
#include "temp_folder.h"
#include "ui/shortcut.h"

namespace lumarel {
namespace {

using bulbtest::exists;
using bulbtest::readFile;
using bulbtest::scratchFolder;
using bulbtest::writeFile;

const std::vector<uint8_t> kTune = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k',
                                    0, 0, 0, 12, 0, 0x90, 60, 90, 0x83, 0x60, 0x80, 60, 0, 0, 0xFF, 0x2F, 0};

bool makeShortcut(const std::string& link, const std::string& target) {
    IShellLinkA* shell = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shell))))
        return false;
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(shell->SetPath(target.c_str())) &&
              SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    ok = ok && SUCCEEDED(file->Save(wide, TRUE));
    if (file) file->Release();
    shell->Release();
    return ok;
}

std::vector<std::string> names(const std::vector<Song>& songs) {
    std::vector<std::string> out;
    for (const Song& s : songs) out.push_back(s.name);
    return out;
}

void resolver(char (&path)[MAX_PATH]) { resolveShortcut(path); }

// Where the next kernel and GDI handles would go. Both tables hand out the
// lowest free slot again, so a leak shows as a growing value; Wine answers
// the handle-count functions with 0, which would hide one.
uintptr_t nextKernelHandle() {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    uintptr_t value = reinterpret_cast<uintptr_t>(event);
    CloseHandle(event);
    return value;
}
uintptr_t nextGdiHandle() {
    HBRUSH brush = CreateSolidBrush(0);
    uintptr_t value = reinterpret_cast<uintptr_t>(brush) & 0xFFFF;
    DeleteObject(brush);
    return value;
}

class MusicFolderTest : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override {
        stopMusic();
        setMusicHost({});
        setDataRootsForTests(nullptr);
        songList().clear();
        CoUninitialize();
    }
};

TEST_F(MusicFolderTest, ScanListsSongsAndShortcutsToSongsInNameOrderAndSkipsTheRest) {
    std::string folder = scratchFolder("songs"), elsewhere = scratchFolder("elsewhere");
    writeFile(folder + "b.mid", kTune);
    writeFile(folder + "A.wav", kTune);
    writeFile(folder + "notes.txt", kTune);
    writeFile(folder + "hidden.mid", kTune);
    SetFileAttributesA((folder + "hidden.mid").c_str(), FILE_ATTRIBUTE_HIDDEN);
    writeFile(folder + "scratch.wav", kTune);
    SetFileAttributesA((folder + "scratch.wav").c_str(), FILE_ATTRIBUTE_TEMPORARY);
    CreateDirectoryA((folder + "folder.mid").c_str(), nullptr);
    writeFile(elsewhere + "far tune.wav", kTune);
    writeFile(elsewhere + "letter.txt", kTune);
    ASSERT_TRUE(makeShortcut(folder + "Link to tune.lnk", elsewhere + "far tune.wav"));
    ASSERT_TRUE(makeShortcut(folder + "Link to letter.lnk", elsewhere + "letter.txt"));
    writeFile(folder + "broken.lnk", {'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'n', 'k'});

    std::vector<Song> songs = scanSongFolders({folder}, resolver);
    std::vector<std::string> expected = {"A.wav", "b.mid", "Link to tune.lnk"};
    // Wine keeps the hidden flag but not the temporary one; Windows keeps both.
    if (!(GetFileAttributesA((folder + "scratch.wav").c_str()) & FILE_ATTRIBUTE_TEMPORARY))
        expected.push_back("scratch.wav");
    EXPECT_EQ(names(songs), expected);
    for (const Song& s : songs) EXPECT_TRUE(s.enabled && s.pending) << s.name;

    char path[MAX_PATH];
    snprintf(path, sizeof path, "%sLink to tune.lnk", folder.c_str());
    resolveShortcut(path);
    EXPECT_STREQ(path, (elsewhere + "far tune.wav").c_str());
    snprintf(path, sizeof path, "%sbroken.lnk", folder.c_str());
    resolveShortcut(path);
    EXPECT_STREQ(path, (folder + "broken.lnk").c_str()) << "a bad link leaves the path as it was";

    EXPECT_TRUE(scanSongFolders({folder + "missing\\"}, resolver).empty());
    RemoveDirectoryA((folder + "folder.mid").c_str());
}

TEST_F(MusicFolderTest, AddingSongsNeverOverwritesAndDropsOnlySongs) {
    std::string from = scratchFolder("from"), folder = scratchFolder("target");
    RemoveDirectoryA(folder.c_str());  // made again when songs arrive
    writeFile(from + "carol.mid", {1, 2, 3});
    writeFile(from + "letter.txt", {4});
    writeFile(from + "new.WAV", {5});
    setMusicHost({nullptr, 0, folder, nullptr, nullptr, nullptr, resolver});

    addSongs({from + "carol.mid", from + "letter.txt"}, true);
    EXPECT_EQ(readFile(folder + "carol.mid"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(exists(folder + "letter.txt")) << "a dropped file without a song ending is skipped";
    EXPECT_EQ(names(songList()), std::vector<std::string>{"carol.mid"}) << "the list is rebuilt";

    writeFile(from + "carol.mid", {9, 9});
    addSongs({from + "carol.mid", from + "new.WAV", from + "missing.mid"}, true);
    EXPECT_EQ(readFile(folder + "carol.mid"), (std::vector<uint8_t>{1, 2, 3})) << "never overwritten";
    EXPECT_EQ(names(songList()), (std::vector<std::string>{"carol.mid", "new.WAV"}));

    addSongs({from + "letter.txt"}, false);  // the file dialog's choice is copied as it is
    EXPECT_TRUE(exists(folder + "letter.txt"));
    char path[MAX_PATH];
    musicFolderPath(path);
    EXPECT_EQ(std::string(path), folder);
}

TEST_F(MusicFolderTest, BothSongFoldersAreListedAndAddedSongsGoToTheUsersWhenTheProgramsTakesNone) {
    lumarel_test::TempFolder programRoot("lumarel-music-program"), appData("lumarel-music-appdata");
    const std::string shipped = programRoot / "Lumarel Music\\", mine = appData / "Lumarel\\Lumarel Music\\";
    std::string from = scratchFolder("songs-from");
    CreateDirectoryA(shipped.c_str(), nullptr);
    writeFile(shipped + "Carol.mid", kTune);
    writeFile(shipped + "bells.wav", {1});
    DataRoots roots{programRoot.path() + "\\", appData / "Lumarel\\", false};
    setDataRootsForTests(&roots);
    setMusicHost({});

    buildSongList();
    EXPECT_EQ(names(songList()), (std::vector<std::string>{"bells.wav", "Carol.mid"})) << "no user folder yet";
    writeFile(from + "bells.wav", {2});
    writeFile(from + "new.mid", kTune);
    addSongs({from + "bells.wav", from + "new.mid"}, true);
    EXPECT_TRUE(exists(mine + "new.mid")) << "added where the program may write";
    EXPECT_FALSE(exists(shipped + "new.mid"));
    EXPECT_FALSE(exists(mine + "bells.wav")) << "a shipped song's name is taken";
    EXPECT_EQ(readFile(shipped + "bells.wav"), std::vector<uint8_t>{1});
    writeFile(mine + "CAROL.MID", kTune);
    buildSongList();
    EXPECT_EQ(names(songList()), (std::vector<std::string>{"bells.wav", "CAROL.MID", "new.mid"}))
        << "each name once, the user's copy in place of the shipped one";
    char path[MAX_PATH];
    musicFolderPath(path);
    EXPECT_EQ(std::string(path), mine);
}

TEST_F(MusicFolderTest, TheResetFileIsWrittenHiddenAndWholeAndReplacedWhenItDiffers) {
    std::string folder = scratchFolder("reset"), file = folder + "reset.mid";
    std::vector<uint8_t> bytes(91, 7);
    ASSERT_TRUE(writeHiddenFile(file.c_str(), bytes));
    EXPECT_TRUE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(fileHoldsBytes(file.c_str(), bytes));
    bytes[90] = 8;
    EXPECT_FALSE(fileHoldsBytes(file.c_str(), bytes));
    ASSERT_TRUE(writeHiddenFile(file.c_str(), bytes)) << "an old hidden file is replaced";
    EXPECT_TRUE(fileHoldsBytes(file.c_str(), bytes));
    EXPECT_FALSE(fileHoldsBytes((folder + "none.mid").c_str(), bytes));
    EXPECT_FALSE(writeHiddenFile((folder + "no such folder\\reset.mid").c_str(), bytes));
}

TEST_F(MusicFolderTest, MciFailuresReturnAtOnceAndShowOneMessageWhileTheSettingsWindowIsOpen) {
    std::string folder = scratchFolder("broken");
    writeFile(folder + "garbled.mid", {'n', 'o', 't', ' ', 'm', 'i', 'd', 'i'});
    HWND window = CreateWindowA("STATIC", "settings stand-in", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    bool settingsOpen = false;
    setMusicHost({window, WM_USER + 179, folder, [] { return 0; }, [&] { return settingsOpen ? window : nullptr; },
                  nullptr, resolver});
    buildSongList();
    ASSERT_EQ(songList().size(), 1u);

    std::vector<std::string> boxes;
    ScopedMessageSink sink([&](HWND, const char* text, const char* title, UINT flags) {
        EXPECT_EQ(flags, UINT(MB_ICONWARNING | MB_OK));
        boxes.push_back(std::string(title) + "|" + text);
        return IDOK;
    });
    DWORD start = GetTickCount();
    for (int i = 0; i < 5; ++i) {
        playSongNow(0);
        for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&m);
    }
    EXPECT_LT(GetTickCount() - start, 2000u) << "failures return at once";
    EXPECT_TRUE(boxes.empty()) << "no message while the settings window is closed";
    settingsOpen = true;
    for (int i = 0; i < 3; ++i) {
        playSongNow(0);
        checkSongDeadline();
        for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&m);
    }
    ASSERT_EQ(boxes.size(), 1u) << "the MIDI message shows once until the next success";
    EXPECT_EQ(boxes[0].rfind("Problem Using Sound Card|Lumarel had trouble playing MIDI music.", 0), 0u) << boxes[0];
    DestroyWindow(window);
}

TEST_F(MusicFolderTest, TwoHundredPlayAndStopCyclesLeaveHandlesAndGdiObjectsFlat) {
    std::string folder = scratchFolder("cycles");
    writeFile(folder + "tune.mid", kTune);
    ASSERT_TRUE(writeHiddenFile((folder + "reset.mid").c_str(), kTune));
    HWND window = CreateWindowA("STATIC", "music", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    setMusicHost({window, WM_USER + 179, folder, [] { return 0; }, [] { return HWND(nullptr); }, nullptr, resolver});
    buildSongList();
    ASSERT_EQ(songList().size(), 1u);
    int songsOpened = 0;
    auto cycle = [&] {
        playSongNow(0);
        // The song opens when its reset ends; end the reset at once.
        MCIDEVICEID reset = mciGetDeviceIDA((folder + "reset.mid").c_str());
        ASSERT_NE(reset, 0u) << "the reset plays first";
        musicDeviceNotice(MCI_NOTIFY_SUCCESSFUL, reset);
        EXPECT_EQ(mciGetDeviceIDA((folder + "reset.mid").c_str()), 0u) << "and is closed before the song";
        songsOpened += mciGetDeviceIDA((folder + "tune.mid").c_str()) != 0;
        for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&m);
        stopMusic();
        EXPECT_EQ(mciGetDeviceIDA((folder + "tune.mid").c_str()), 0u) << "stop closes the song";
    };
    for (int i = 0; i < 10; ++i) cycle();  // first-use allocations settle
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    uintptr_t kernelSlot = nextKernelHandle(), gdiSlot = nextGdiHandle();
    for (int i = 0; i < 200; ++i) cycle();
    EXPECT_LE(nextKernelHandle(), kernelSlot + 5 * 4);
    EXPECT_LE(nextGdiHandle(), gdiSlot + 5);
    DWORD handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(songsOpened, 210);
    EXPECT_LE(handlesAfter, handles + 5);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 5);
    RecordProperty("handles", std::to_string(handles) + " -> " + std::to_string(handlesAfter));
    RecordProperty("next_handle", std::to_string(kernelSlot) + " -> " + std::to_string(nextKernelHandle()));
    RecordProperty("next_gdi", std::to_string(gdiSlot) + " -> " + std::to_string(nextGdiHandle()));
    RecordProperty("gdi", std::to_string(gdi) + " -> " +
                              std::to_string(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)));
    DestroyWindow(window);
}

}  // namespace
}  // namespace lumarel
