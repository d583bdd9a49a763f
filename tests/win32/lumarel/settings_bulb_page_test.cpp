// The settings window's Bulb Factory page in process: the real dialog from
// lumarel.exe, driven with mouse messages and the page's commands. Drags copy
// and remove bulbs and store the arrangement at once; a long drag frames one
// target after another; Esc and a lost capture end a drag without a drop and
// leave the screen as it was; Remove Bulb keeps a bulb whose file cannot go;
// the filter; an import selects its bulb; Cancel puts the arrangement back;
// the boxes draw the bulbs.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "base/message.h"
#include "base/reg_key.h"
#include "built_in_kinds.h"
#include "bulbs/bulb_writer.h"
#include "bulbs/extra_bulb.h"
#include "bulbs/library.h"
#include "bulbs_test_support.h"
#include "engine/flash_state.h"
#include "resources/resource_ids.h"
#include "ui/bulb_page.h"
#include "ui/settings_codec.h"
#include "ui/settings_store.h"
#include "ui/settings_window.h"

using namespace lumarel;

namespace {

using Row = std::array<int32_t, 8>;
constexpr int32_t kStarId = 424242, kSunId = 434343;

struct Shown {
    std::string text, title;
};

struct BulbPage : ::testing::Test {
    EngineContext context;
    ScopedBulbContext useContext{context};
    std::string folder;
    std::vector<Shown> shown;
    std::deque<int> answers;  // the buttons the message boxes get, in turn
    int rebuilds = 0, previews = 0;
    ScopedMessageSink sink{[this](HWND, const char* text, const char* title, UINT) {
        shown.push_back({text, title});
        int answer = answers.empty() ? IDOK : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }};
    HWND window = nullptr;

    void SetUp() override {
        ASSERT_TRUE(programPictures()) << "lumarel.exe is not beside the tests";
        context.instance = programPictures();
        destroyAllBulbs();
        clearCategories();
        resetSettings();
        createBuiltInBulbs();
        folder = bulbtest::scratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        setBulbFolderForTests(folder.c_str());
        loadFlashSettings();
        SettingsHost host;
        host.resources = programPictures();
        host.rebuildBulbs = [this] { ++rebuilds; };
        host.notifyPreview = [this] { ++previews; };
        setSettingsHost(host);
    }
    void TearDown() override {
        if (settingsWindow()) DestroyWindow(settingsWindow());
        setSettingsHost({});
        destroyAllBulbs();
        clearCategories();
        resetSettings();
        setBulbFolderForTests(nullptr);
    }

    HWND open(int tab = 0) {
        openSettingsWindow(tab);
        window = settingsWindow();
        if (window) UpdateWindow(window);
        return window;
    }
    HWND control(int id) const { return GetDlgItem(window, id); }
    // An add-on bulb file of one colour, loaded into the bulb list.
    std::string addOnBulb(const std::string& name, int32_t id, int colour, const std::string& where = "") {
        std::string base = where.empty() ? folder : where;
        std::string gif = base + name + ".gif", path = base + name + ".bul";
        bulbtest::writeFile(gif, bulbtest::makeGif(32, 32, 1, false, [=](int, int, int) { return colour; }));
        bulbtest::writeFile(path, {});
        writeNewBulbFile(path.c_str(), gif.c_str(), id, name.c_str(), "An Author", "Copyright 2026 An Author");
        if (where.empty()) new ExtraBulbObject(path.c_str());
        return path;
    }
    std::vector<uint8_t> storedArrangement() {
        RegKey key;
        std::vector<uint8_t> bytes(kArrangementBytes);
        if (!key.openExisting(HKEY_CURRENT_USER, "Software\\Quorvane\\Lumarel")) return {};
        DWORD size = key.read("Bulb Settings", bytes.data(), DWORD(bytes.size()), REG_BINARY);
        bytes.resize(size);
        return bytes;
    }
    static std::vector<uint8_t> encoded(const BulbArrangement& a) {
        auto bytes = encodeArrangement(a);
        return {bytes.begin(), bytes.end()};
    }

    // A point in the middle of a list item, in the list's coordinates.
    POINT itemPoint(int item) {
        RECT r{};
        SendMessageA(control(IDC_BULB_LIST), LB_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&r));
        return {r.left + 20, (r.top + r.bottom) / 2};
    }
    // A point of a box: `along` is the fraction of its longer side.
    POINT boxPoint(int id, double along) {
        RECT r;
        GetClientRect(control(id), &r);
        bool tall = r.bottom > r.right;
        return tall ? POINT{r.right / 2, LONG(r.bottom * along)} : POINT{LONG(r.right * along), r.bottom / 2};
    }
    static void mouse(HWND to, UINT message, POINT at) {
        SendMessageA(to, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
    }
    // Presses on a control, moves over another and lets go there.
    void drag(int fromId, POINT from, int toId, POINT to) {
        HWND source = control(fromId);
        mouse(source, WM_LBUTTONDOWN, from);
        MapWindowPoints(control(toId), source, &to, 1);
        mouse(source, WM_MOUSEMOVE, to);
        mouse(source, WM_LBUTTONUP, to);
    }
    int listCount() { return int(SendMessageA(control(IDC_BULB_LIST), LB_GETCOUNT, 0, 0)); }
    int32_t selectedId() {
        HWND list = control(IDC_BULB_LIST);
        int item = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
        return item < 0 ? kNoBulb : int32_t(SendMessageA(list, LB_GETITEMDATA, WPARAM(item), 0));
    }
    // Selects a list item with a click and returns the drag area as it is
    // then drawn: what a drag that drops nothing must leave.
    std::vector<uint32_t> selectAndReadDragArea(int item) {
        HWND list = control(IDC_BULB_LIST);
        mouse(list, WM_LBUTTONDOWN, itemPoint(item));
        mouse(list, WM_LBUTTONUP, itemPoint(item));
        UpdateWindow(window);
        return dragAreaPixels();
    }
    // The window's pixels inside the drag area, as drawn now.
    std::vector<uint32_t> dragAreaPixels() {
        RECT first, last;
        GetWindowRect(control(IDC_BOX_FIRST), &first);
        GetWindowRect(control(IDC_BOX_LAST), &last);
        RECT area{first.left, first.top, last.right, last.bottom};
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
        return pixelsOf(window, area);
    }
    static std::vector<uint32_t> pixelsOf(HWND of, RECT area) {
        int w = area.right - area.left, h = area.bottom - area.top;
        HDC dc = GetDC(of);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, w, h, dc, area.left, area.top, SRCCOPY);
        SelectObject(memory, old);
        std::vector<uint32_t> pixels(size_t(w) * size_t(h));
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        GetDIBits(memory, bitmap, 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(of, dc);
        for (uint32_t& p : pixels) p &= 0xFFFFFF;
        return pixels;
    }
    // A box's two outer columns on each side, read through its own DC:
    // where the target's frame shows, away from the dragged picture.
    std::vector<uint32_t> frameEnds(int id) {
        RECT r;
        GetClientRect(control(id), &r);
        std::vector<uint32_t> all = pixelsOf(control(id), r), ends;
        for (LONG y = 0; y < r.bottom; ++y)
            for (LONG x : {LONG(0), LONG(1), r.right - 2, r.right - 1}) ends.push_back(all[size_t(y * r.right + x)]);
        return ends;
    }
    // Moves the mouse over the capture in even steps.
    static void moveInSteps(HWND capture, POINT from, POINT to, int steps) {
        for (int i = 1; i <= steps; ++i)
            mouse(capture, WM_MOUSEMOVE, {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    }
    int nonWhitePixels(int id) {
        RECT r;
        GetClientRect(control(id), &r);
        int n = 0;
        for (uint32_t p : pixelsOf(control(id), r)) n += p != 0xFFFFFF;
        return n;
    }
};

TEST_F(BulbPage, DropsFromTheListAndBetweenBoxesAreStoredAtOnce) {
    ASSERT_TRUE(open());
    ASSERT_GE(listCount(), 47);
    const BulbArrangement start = flashState().arrangement;  // top {0}, left {0, 2}
    ASSERT_EQ(start[0], (Row{0, -1, -1, -1, -1, -1, 1, 1}));

    // The second bulb to the right end of the top edge goes after the first.
    drag(IDC_BULB_LIST, itemPoint(1), 102, boxPoint(102, 0.95));
    EXPECT_EQ(flashState().arrangement[0], (Row{0, 1, -1, -1, -1, -1, 1, 1}));
    EXPECT_EQ(encoded(flashState().arrangement), storedArrangement());
    EXPECT_EQ(1, rebuilds);
    EXPECT_EQ(1, previews);
    EXPECT_EQ(1, selectedId()) << "the pressed item is selected";

    // From the top edge's second bulb to the top of the left edge: on both.
    drag(102, boxPoint(102, 0.75), 104, boxPoint(104, 0.02));
    EXPECT_EQ(flashState().arrangement[3], (Row{1, 0, 2, -1, -1, -1, -1, -1}));
    EXPECT_EQ(flashState().arrangement[0][1], 1);

    // A corner's bulb dropped on the list leaves the corner empty.
    drag(101, boxPoint(101, 0.5), IDC_BULB_LIST, itemPoint(0));
    EXPECT_EQ(flashState().arrangement[0][6], -1);
    // Onto a corner the bulb replaces what was there.
    drag(IDC_BULB_LIST, itemPoint(2), 108, boxPoint(108, 0.5));
    EXPECT_EQ(flashState().arrangement[2][7], 2);
    EXPECT_EQ(encoded(flashState().arrangement), storedArrangement());
    EXPECT_EQ(4, rebuilds);

    // Back onto its own list changes nothing.
    drag(IDC_BULB_LIST, itemPoint(3), IDC_BULB_LIST, itemPoint(0));
    EXPECT_EQ(4, rebuilds);
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(BulbPage, AFullEdgeTakesTheDroppedBulbInPlaceOfOne) {
    flashState().arrangement[0] = Row{3, 4, 5, 6, 7, 8, 1, 1};
    flashState().arrangement[3] = Row{3, 4, 5, 6, 7, -1, -1, -1};
    ASSERT_TRUE(open());
    // The third of six cells of the top edge: its third kind is replaced.
    drag(IDC_BULB_LIST, itemPoint(0), 102, boxPoint(102, 2.2 / 6));
    EXPECT_EQ(flashState().arrangement[0], (Row{3, 4, 0, 6, 7, 8, 1, 1}));
    // Past the fifth kind of the full left edge: the fifth is replaced.
    drag(IDC_BULB_LIST, itemPoint(1), 104, boxPoint(104, 0.98));
    EXPECT_EQ(flashState().arrangement[3], (Row{3, 4, 5, 6, 1, -1, -1, -1}));
}

TEST_F(BulbPage, EscAndALostCaptureEndADragWithoutADropAndRestoreTheScreen) {
    ASSERT_TRUE(open());
    HWND list = control(IDC_BULB_LIST);
    // A click first, so that the selection it makes is on the screen.
    const std::vector<uint32_t> before = selectAndReadDragArea(1);
    const BulbArrangement arrangement = flashState().arrangement;
    const int rebuildsBefore = rebuilds;

    POINT overTop = boxPoint(102, 0.9);
    MapWindowPoints(control(102), list, &overTop, 1);
    mouse(list, WM_LBUTTONDOWN, itemPoint(1));
    mouse(list, WM_MOUSEMOVE, overTop);
    ASSERT_EQ(list, GetCapture());
    EXPECT_NE(before, dragAreaPixels()) << "the dragged picture and the target's frame show";
    MSG escape{list, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(settingsDialogMessage(escape));
    EXPECT_TRUE(IsWindow(window)) << "Esc ended the drag, not the window";
    EXPECT_EQ(nullptr, GetCapture());
    mouse(list, WM_LBUTTONUP, overTop);
    EXPECT_EQ(before, dragAreaPixels());

    // Another window takes the capture in the middle of a drag.
    mouse(list, WM_LBUTTONDOWN, itemPoint(1));
    mouse(list, WM_MOUSEMOVE, overTop);
    ASSERT_EQ(list, GetCapture());
    SetCapture(window);
    ReleaseCapture();
    mouse(list, WM_LBUTTONUP, overTop);
    EXPECT_EQ(before, dragAreaPixels());
    EXPECT_EQ(arrangement, flashState().arrangement);
    EXPECT_EQ(rebuildsBefore, rebuilds);
    // A new drag works as before.
    drag(IDC_BULB_LIST, itemPoint(1), 102, boxPoint(102, 0.95));
    EXPECT_EQ(flashState().arrangement[0][1], 1);
}

TEST_F(BulbPage, ALongDragFramesEachTargetInTurnAndEscLeavesNoTrace) {
    ASSERT_TRUE(open());
    HWND list = control(IDC_BULB_LIST);
    const std::vector<uint32_t> before = selectAndReadDragArea(1);
    const std::vector<uint32_t> topBefore = frameEnds(102), cornerBefore = frameEnds(103);
    const std::vector<uint32_t> black(topBefore.size(), 0), blackCorner(cornerBefore.size(), 0);

    POINT overTop = boxPoint(102, 0.5), overCorner = boxPoint(103, 0.5);
    MapWindowPoints(control(102), list, &overTop, 1);
    MapWindowPoints(control(103), list, &overCorner, 1);
    mouse(list, WM_LBUTTONDOWN, itemPoint(1));
    moveInSteps(list, itemPoint(1), overTop, 40);
    EXPECT_EQ(black, frameEnds(102)) << "the top edge is framed";
    EXPECT_EQ(cornerBefore, frameEnds(103));
    moveInSteps(list, overTop, overCorner, 20);
    EXPECT_EQ(topBefore, frameEnds(102)) << "the top edge's frame is gone";
    EXPECT_EQ(blackCorner, frameEnds(103)) << "the corner is framed";
    moveInSteps(list, overCorner, itemPoint(4), 30);
    EXPECT_EQ(cornerBefore, frameEnds(103));
    EXPECT_NE(before, dragAreaPixels()) << "the dragged picture shows";

    MSG escape{list, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(settingsDialogMessage(escape));
    EXPECT_EQ(before, dragAreaPixels()) << "the screen is as it was, to the pixel";
}

TEST_F(BulbPage, RemoveBulbKeepsABulbWhoseFileCannotBeDeleted) {
    std::string star = addOnBulb("Star", kStarId, 1);
    addOnBulb("Sun", kSunId, 2);
    flashState().arrangement[0][1] = kStarId;
    flashState().arrangement[2][6] = kStarId;
    ASSERT_TRUE(open());
    selectBulbInSettings(kStarId);
    ASSERT_EQ(kStarId, selectedId());
    int item = int(SendMessageA(control(IDC_BULB_LIST), LB_GETCURSEL, 0, 0));
    int count = listCount();

    // Held open without delete sharing: the file stays, and so does the bulb.
    HANDLE held = CreateFileA(star.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    answers = {IDYES};
    runBulbMenuCommand(window, IDM_BULB_REMOVE, kStarId);
    CloseHandle(held);
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Permanently Remove Bulb?", shown[0].title);
    EXPECT_EQ("Cannot Remove Bulb", shown[1].title);
    EXPECT_NE(std::string::npos, shown[1].text.find(star));
    EXPECT_TRUE(findBulbById(kStarId));
    EXPECT_EQ(kStarId, flashState().arrangement[0][1]);
    EXPECT_EQ(count, listCount());
    EXPECT_EQ(0, rebuilds);

    // No keeps everything too.
    answers = {IDNO};
    runBulbMenuCommand(window, IDM_BULB_REMOVE, kStarId);
    EXPECT_TRUE(bulbtest::exists(star));

    answers = {IDYES};
    runBulbMenuCommand(window, IDM_BULB_REMOVE, kStarId);
    EXPECT_FALSE(bulbtest::exists(star));
    EXPECT_EQ(nullptr, findBulbById(kStarId));
    EXPECT_EQ(flashState().arrangement[0], (Row{0, -1, -1, -1, -1, -1, 1, 1}));
    EXPECT_EQ(flashState().arrangement[2][6], -1);
    EXPECT_EQ(encoded(flashState().arrangement), storedArrangement());
    EXPECT_EQ(1, rebuilds);
    EXPECT_EQ(count - 1, listCount());
    // The item now in its place is selected: the bulb after it.
    EXPECT_EQ(item, SendMessageA(control(IDC_BULB_LIST), LB_GETCURSEL, 0, 0));
    EXPECT_EQ(kSunId, selectedId());
    // Built-in bulbs are never removed.
    runBulbMenuCommand(window, IDM_BULB_REMOVE, 0);
    EXPECT_TRUE(findBulbById(0));
}

TEST_F(BulbPage, TheFilterShowsAGroupAndSelectsItsFirstBulb) {
    addOnBulb("Star", kStarId, 1);
    addOnBulb("Moon", kSunId, 2);
    ASSERT_TRUE(open());
    int all = listCount();
    runBulbMenuCommand(window, kShowAddOnCommand, kNoBulb);
    EXPECT_EQ(2, listCount());
    EXPECT_EQ(kSunId, selectedId()) << "add-on bulbs are listed by name: Moon first";
    EXPECT_TRUE(IsWindowEnabled(control(IDC_EDIT_BULB)));
    runBulbMenuCommand(window, kShowBuiltInCommand, kNoBulb);
    EXPECT_EQ(all - 2, listCount());
    EXPECT_EQ(0, selectedId());
    EXPECT_TRUE(IsWindowEnabled(control(IDC_EDIT_BULB))) << "a built-in bulb can be shown";
    EXPECT_FALSE(findBulbById(kStarId)->listVisible());
    runBulbMenuCommand(window, kShowAllCommand, kNoBulb);
    EXPECT_EQ(all, listCount());
}

TEST_F(BulbPage, AnImportShowsThePageAndSelectsTheNewBulbUnderAnyFilter) {
    std::string elsewhere = bulbtest::scratchFolder("bulb-page-import");
    std::string source = addOnBulb("Comet", kStarId, 3, elsewhere);
    ASSERT_TRUE(open(kScreenSaverTab));
    runBulbMenuCommand(window, kShowBuiltInCommand, kNoBulb);
    int builtIn = listCount();
    importIntoLibrary(source.c_str());
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(0, SendMessageA(control(IDC_SETTINGS_TABS), TCM_GETCURSEL, 0, 0));
    EXPECT_TRUE(IsWindowVisible(control(IDC_BULB_LIST)));
    EXPECT_EQ(builtIn + 1, listCount());
    EXPECT_EQ(kStarId, selectedId());
    EXPECT_TRUE(bulbtest::exists(folder + "Comet.bul"));
}

TEST_F(BulbPage, CancelPutsTheArrangementBackInTheStoreAndOnScreen) {
    ASSERT_TRUE(open());
    const std::vector<uint8_t> stored = storedArrangement();
    const BulbArrangement start = flashState().arrangement;
    drag(IDC_BULB_LIST, itemPoint(3), 107, boxPoint(107, 0.01));
    drag(106, boxPoint(106, 0.5), IDC_BULB_LIST, itemPoint(0));
    ASSERT_NE(start, flashState().arrangement);
    ASSERT_EQ(2, rebuilds);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(nullptr, settingsWindow());
    EXPECT_EQ(start, flashState().arrangement);
    EXPECT_EQ(stored, storedArrangement());
    EXPECT_EQ(3, rebuilds) << "the bulbs on screen are rebuilt from the restored arrangement";
}

TEST_F(BulbPage, TheBoxesDrawTheBulbsOfTheArrangement) {
    flashState().arrangement[1] = Row{-1, -1, -1, -1, -1, -1, -1, -1};  // the right edge empty
    ASSERT_TRUE(open());
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_GT(nonWhitePixels(102), 40) << "the top edge's bulb";
    EXPECT_GT(nonWhitePixels(104), 80) << "the left edge's two bulbs";
    EXPECT_GT(nonWhitePixels(101), 40) << "a corner's bulb";
    EXPECT_EQ(0, nonWhitePixels(105)) << "the empty right edge";
    int oneBulb = nonWhitePixels(102);
    drag(IDC_BULB_LIST, itemPoint(0), 102, boxPoint(102, 0.95));
    UpdateWindow(control(102));
    EXPECT_GT(nonWhitePixels(102), oneBulb + 40) << "two bulbs now";
}

}  // namespace
