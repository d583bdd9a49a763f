// Times the settings window with a full library against one full-screen
// BitBlt: opening it to its first paint, repainting the song list and the
// picture list, and switching pages. The library is 47 built-in and 300
// add-on bulbs, 200 songs and 500 pictures, made in scratch folders (the
// pictures in the folder beside this program, removed again at the end).
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../bench_timing.h"
#include "base/data_places.h"
#include "base/failure.h"
#include "bulbs/bulb_writer.h"
#include "bulbs/extra_bulb.h"
#include "bulbs_test_support.h"
#include "engine/animation.h"
#include "engine/bulb_categories.h"
#include "engine/bulb_object.h"
#include "engine/engine_context.h"
#include "music/music_box.h"
#include "music/song_list.h"
#include "resources/resource_ids.h"
#include "saver/animation_table.h"
#include "ui/bulb_page.h"
#include "ui/settings_window.h"

using namespace lumarel;

namespace {

using bench::median;
using bench::now;
using bench::pump;

constexpr int kAddOnBulbs = 300, kSongs = 200, kPictures = 500, kRuns = 15;

std::string folderOfProgram() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.rfind('\\') + 1);
    return folder;
}

std::string scratch(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// The reference, on a full-screen window of its own.
double fullScreenBlit(int width, int height) {
    HWND target = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                  nullptr, nullptr);
    pump();
    double blit = bench::fullScreenBlit(target, width, height);
    DestroyWindow(target);
    pump();
    return blit;
}

void makeAddOnBulbs(const std::string& folder) {
    std::string gif = folder + "picture.gif";
    bulbtest::writeFile(gif, bulbtest::makeGif(32, 32, 2, true, [](int f, int x, int y) { return (x + y + f) % 4; }));
    for (int i = 0; i < kAddOnBulbs; ++i) {
        std::string path = folder + "Bulb " + std::to_string(i) + ".bul";
        std::string name = "Add-On Bulb " + std::to_string(i);
        bulbtest::writeFile(path, {});  // the writer fills a file the library reserved
        writeNewBulbFile(path.c_str(), gif.c_str(), 700000 + i, name.c_str(), "Bench", "None");
        new ExtraBulbObject(path.c_str());
    }
}

std::vector<std::string> makeFiles(const std::string& folder, const char* stem, const char* ending, int count) {
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> made;
    for (int i = 0; i < count; ++i) {
        char name[64];
        snprintf(name, sizeof name, "%s %03d%s", stem, i, ending);
        made.push_back(folder + name);
        bulbtest::writeFile(made.back(), {'x'});
    }
    return made;
}

// Paints whatever is invalid in the window and its children, now.
void paintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

double timeList(HWND window, int id) {
    HWND list = GetDlgItem(window, id);
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        double start = now();
        InvalidateRect(list, nullptr, TRUE);
        paintNow(list);
        times.push_back(now() - start);
    }
    return median(times);
}

double timePageSwitches(HWND window) {
    HWND tabs = GetDlgItem(window, IDC_SETTINGS_TABS);
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        // Music Box and Screen Saver in turn, as the tab control tells a click.
        int page = 1 + i % 2;
        double start = now();
        SendMessageA(tabs, TCM_SETCURSEL, WPARAM(page), 0);
        NMHDR change{tabs, IDC_SETTINGS_TABS, UINT(TCN_SELCHANGE)};
        SendMessageA(window, WM_NOTIFY, IDC_SETTINGS_TABS, reinterpret_cast<LPARAM>(&change));
        paintNow(window);
        times.push_back(now() - start);
    }
    return median(times);
}

}  // namespace

// One step of a bulb's drag from the list to the top edge's box: the sprite
// moves, and where the target changes the boxes' frames are redrawn.
double timeDragSteps(HWND window) {
    HWND list = GetDlgItem(window, IDC_BULB_LIST);
    HWND box = GetDlgItem(window, IDC_BOX_FIRST + 1);
    RECT item{}, boxRect{};
    if (!list || !box || SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)) == LB_ERR) return -1;
    GetClientRect(box, &boxRect);
    MapWindowPoints(box, list, reinterpret_cast<POINT*>(&boxRect), 2);
    const POINT from{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    const POINT to{(boxRect.left + boxRect.right) / 2, (boxRect.top + boxRect.bottom) / 2};
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    if (!bulbDragActive()) return -1;
    std::vector<double> times;
    constexpr int kSteps = 40;
    for (int i = 1; i <= kSteps; ++i) {
        const int x = from.x + (to.x - from.x) * i / kSteps, y = from.y + (to.y - from.y) * i / kSteps;
        double start = now();
        {
            bench::Marked mark("drag step", nullptr, i == kSteps / 2);
            SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
            GdiFlush();
        }
        times.push_back(now() - start);
    }
    SendMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    return median(times);
}

int run() {
    std::string folder = folderOfProgram();
    HMODULE program = LoadLibraryExA((folder + "lumarel.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) {
        fprintf(stderr, "bench_settings: lumarel.exe must be beside this program\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    EngineContext context;
    context.instance = program;
    ScopedBulbContext useContext{context};
    createBuiltInBulbs();
    makeAddOnBulbs(scratch("lumarel-bench-bulbs"));
    std::string songs = scratch("lumarel-bench-songs");
    makeFiles(songs, "Song", ".mid", kSongs);
    MusicHost music;
    music.musicFolder = songs;
    setMusicHost(music);
    buildSongList();
    std::string pictureFolder = folder + dataFolderName(DataKind::Pictures);
    std::vector<std::string> pictures = makeFiles(pictureFolder, "Picture", ".jpg", kPictures);

    SettingsHost host;
    host.resources = program;
    host.picturesFolder = pictureFolder;
    for (int i = 0; i < kAnimationEntries; ++i) host.floatingModules.push_back(animationEntry(i).name);
    setSettingsHost(host);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    double blit = fullScreenBlit(width, height);
    printf("screen %dx%d; %d bulbs, %zu songs, %d pictures; reference: one full-screen BitBlt %.3f ms\n", width,
           height, bulbCount(), songList().size(), kPictures, blit);

    std::vector<double> openings;
    for (int i = 0; i < kRuns; ++i) {
        double start = now();
        {
            bench::Marked mark("opening to the first paint", nullptr, i == kRuns - 1);
            openSettingsWindow(kCurrentTab);
            paintNow(settingsWindow());
        }
        openings.push_back(now() - start);
        DestroyWindow(settingsWindow());
        pump();
    }
    openSettingsWindow(0);
    paintNow(settingsWindow());
    double dragStep = timeDragSteps(settingsWindow());
    DestroyWindow(settingsWindow());
    pump();
    openSettingsWindow(1);
    HWND window = settingsWindow();
    paintNow(window);
    double songRepaint = timeList(window, IDC_SONG_LIST);
    SendMessageA(GetDlgItem(window, IDC_SETTINGS_TABS), TCM_SETCURSEL, 2, 0);
    NMHDR change{GetDlgItem(window, IDC_SETTINGS_TABS), IDC_SETTINGS_TABS, UINT(TCN_SELCHANGE)};
    SendMessageA(window, WM_NOTIFY, IDC_SETTINGS_TABS, reinterpret_cast<LPARAM>(&change));
    paintNow(window);
    double pictureRepaint = timeList(window, IDC_SAVER_PICTURES);
    double pageSwitch = timePageSwitches(window);
    DestroyWindow(window);
    pump();

    printf("%-36s %9s %9s\n", "measure (median of 15)", "ms", "ratio");
    auto row = [&](const char* name, double ms) { printf("%-36s %9.2f %9.1f\n", name, ms, ms / blit); };
    row("opening to the first paint", median(openings));
    row("song list repaint (200 songs)", songRepaint);
    row("picture list repaint (500 pictures)", pictureRepaint);
    row("page switch (Music Box, Screen Saver)", pageSwitch);
    if (dragStep < 0)
        printf("drag step: no drag started\n");
    else
        row("drag step (list to top edge, of 40)", dragStep);

    for (const std::string& picture : pictures) DeleteFileA(picture.c_str());
    RemoveDirectoryA(pictureFolder.c_str());
    destroyAllBulbs();
    clearCategories();
    return 0;
}

int main() {
    try {
        return run();
    } catch (const Failure& failure) {
        fprintf(stderr, "bench_settings: failed with code %ld\n", long(failure.code));
        return 1;
    }
}
