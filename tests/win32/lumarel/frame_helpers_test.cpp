// Window helpers of the frame, with real windows in this process.
#include "frame/helpers.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/failure.h"
#include "base/global_block.h"
#include "engine/desktop_windows.h"

using namespace lumarel;

namespace {

HWND makeWindow(const char* cls, HWND parent, DWORD style = WS_CHILD | WS_VISIBLE) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    RegisterClassA(&wc);  // may already exist from an earlier test
    return CreateWindowExA(0, cls, "", style, 0, 0, 200, 100, parent, nullptr, wc.hInstance, nullptr);
}

// The shell's desktop chain, built by the test itself.
struct DesktopChain {
    HWND progman, defView, listView;
    HWND browser = nullptr;
    explicit DesktopChain(const char* top = "Progman", bool withBrowser = false) {
        progman = makeWindow(top, nullptr, WS_POPUP);
        defView = makeWindow("SHELLDLL_DefView", progman);
        listView = makeWindow("SysListView32", defView);
        if (withBrowser) browser = makeWindow("Internet Explorer_Server", defView);
    }
    ~DesktopChain() { DestroyWindow(progman); }
};

class FrameHelpers : public ::testing::Test {
protected:
    EngineContext context;  // normal run, bulbs on the desktop
};

}  // namespace

TEST_F(FrameHelpers, DesktopLookupFollowsTheShellChain) {
    if (FindWindowA("Progman", nullptr)) GTEST_SKIP() << "a real shell desktop is present";
    EXPECT_EQ(findDesktopWindow(context, kIconView), nullptr);
    {
        DesktopChain chain;
        EXPECT_EQ(findDesktopWindow(context, kLayoutWindow), chain.listView);
        EXPECT_EQ(findDesktopWindow(context, kIconView), chain.listView);
        EXPECT_EQ(findDesktopWindow(context, kDrawingTarget), chain.listView);
    }
    {
        DesktopChain chain("Progman", true);
        EXPECT_EQ(findDesktopWindow(context, kLayoutWindow), chain.browser);
        EXPECT_EQ(findDesktopWindow(context, kIconView), chain.listView);  // always the list view
        EXPECT_EQ(findDesktopWindow(context, kDrawingTarget), chain.browser);
    }
}

TEST_F(FrameHelpers, DesktopLookupFindsTheViewUnderWorkerW) {
    if (FindWindowA("Progman", nullptr)) GTEST_SKIP() << "a real shell desktop is present";
    HWND progman = makeWindow("Progman", nullptr, WS_POPUP);  // without a view
    HWND emptyWorker = makeWindow("WorkerW", nullptr, WS_POPUP);
    DesktopChain worker("WorkerW");
    EXPECT_EQ(findDesktopWindow(context, kIconView), worker.listView);
    DestroyWindow(emptyWorker);
    DestroyWindow(progman);
}

TEST_F(FrameHelpers, SaverWindowAndBulbWindowTakePrecedence) {
    HWND saver = makeWindow("TestSaver", nullptr, WS_POPUP);
    HWND bulbs = makeWindow("TestBulbs", nullptr, WS_POPUP);
    context.bulbWindow = bulbs;
    context.bulbLocation = kOnTop;
    EXPECT_EQ(findDesktopWindow(context, kDrawingTarget), bulbs);
    EXPECT_NE(findDesktopWindow(context, kIconView), bulbs);
    context.saverWindow = saver;
    for (int kind : {0, 1, 2}) EXPECT_EQ(findDesktopWindow(context, kind), saver) << kind;
    DestroyWindow(saver);
    DestroyWindow(bulbs);
}

// The step's cached lookup: the same windows until a second has passed
// (also across the clock's wrap), at once when one of them is gone or the
// bulbs' place changes.
TEST_F(FrameHelpers, DesktopLookupKeepsItsAnswerForASecondOnly) {
    if (FindWindowA("Progman", nullptr)) GTEST_SKIP() << "a real shell desktop is present";
    HWND bulbs = makeWindow("TestBulbs", nullptr, WS_POPUP);
    context.bulbWindow = bulbs;
    for (DWORD t : {DWORD(5000), DWORD(0xFFFFFF00u)}) {
        DesktopLookup lookup;
        HWND browser = nullptr;
        {
            DesktopChain chain;
            DesktopLookup::Found f = lookup.find(context, t);
            EXPECT_EQ(f.iconView, chain.listView);
            EXPECT_EQ(f.layout, chain.listView);
            EXPECT_EQ(f.target, chain.listView);
            RECT expected = drawingRectangle(context, chain.listView);
            EXPECT_TRUE(EqualRect(&f.rectangle, &expected));

            // A browser view appearing is seen after the second, not before.
            browser = makeWindow("Internet Explorer_Server", chain.defView);
            EXPECT_EQ(lookup.find(context, t + DesktopLookup::kRefreshMs - 1).layout, chain.listView) << t;
            f = lookup.find(context, t + DesktopLookup::kRefreshMs);
            EXPECT_EQ(f.layout, browser) << t;
            EXPECT_EQ(f.iconView, chain.listView) << t;

            // Gone again: looked up at once.
            DestroyWindow(browser);
            EXPECT_EQ(lookup.find(context, t + DesktopLookup::kRefreshMs + 1).layout, chain.listView) << t;

            // On top the target is the bulb window at once, and back on the
            // desktop the icon view again.
            context.bulbLocation = kOnTop;
            EXPECT_EQ(lookup.find(context, t + DesktopLookup::kRefreshMs + 2).target, bulbs) << t;
            context.bulbLocation = kOnDesktop;
            EXPECT_EQ(lookup.find(context, t + DesktopLookup::kRefreshMs + 3).target, chain.listView) << t;
        }
        // The shell gone, the desktop place has no icon view and lays the
        // bulbs out over the whole screen.
        DesktopLookup::Found f = lookup.find(context, t + DesktopLookup::kRefreshMs + 4);
        EXPECT_EQ(f.iconView, nullptr) << t;
        EXPECT_EQ(f.layout, GetDesktopWindow()) << t;
        EXPECT_EQ(f.target, nullptr) << t;
    }
    DestroyWindow(bulbs);
}

TEST_F(FrameHelpers, DrawingRectangleByRunMode) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 30, 40, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    context.runMode = kRunPreview;
    RECT r = drawingRectangle(context, window);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);

    // A saver covers the whole screen: the client area of a window placed
    // inside it, in client coordinates.
    context.runMode = kRunSaver;
    r = drawingRectangle(context, window);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 300);

    // Normally the work area, clipped: a window hanging off the left edge.
    context.runMode = kRunNormal;
    SetWindowPos(window, nullptr, -100, 0, 300, 200, SWP_NOZORDER);
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    r = drawingRectangle(context, window);
    EXPECT_EQ(r.left, area.left + 100);
    EXPECT_EQ(r.right, 300);
    DestroyWindow(window);
}

TEST_F(FrameHelpers, DrawingRectangleKeepsOutFromUnderATaskbarInTheWorkArea) {
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    HWND screen = GetDesktopWindow();
    RECT before = drawingRectangle(context, screen);
    // A taskbar along the work area's bottom edge, and one that is only a
    // box in the middle (not along an edge: ignored).
    HWND bar = makeWindow("Shell_TrayWnd", nullptr, WS_POPUP | WS_VISIBLE);
    SetWindowPos(bar, nullptr, area.left, area.bottom - 30, area.right - area.left, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r = drawingRectangle(context, screen);
    EXPECT_EQ(r.bottom, before.bottom - 30);
    EXPECT_EQ(r.top, before.top);
    SetWindowPos(bar, nullptr, area.left + 50, area.top + 50, 100, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    r = drawingRectangle(context, screen);
    EXPECT_TRUE(EqualRect(&r, &before));
    // Along the left edge.
    SetWindowPos(bar, nullptr, area.left, area.top, 40, area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    r = drawingRectangle(context, screen);
    EXPECT_EQ(r.left, before.left + 40);
    // A hidden one is not in the way.
    ShowWindow(bar, SW_HIDE);
    r = drawingRectangle(context, screen);
    EXPECT_TRUE(EqualRect(&r, &before));
    DestroyWindow(bar);
}

TEST_F(FrameHelpers, CentreWindowUsesTheWorkArea) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 120, nullptr, nullptr, nullptr, nullptr);
    centreWindow(window);
    RECT area, r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_NEAR((r.left + r.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, (area.top + area.bottom) / 2, 1);
    DestroyWindow(window);
}

TEST_F(FrameHelpers, HiddenControlsKeepTheirMnemonicInert) {
    HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND button = CreateWindowExA(0, "BUTTON", "&Preview", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, dialog, nullptr,
                                  nullptr, nullptr);
    HWND label = CreateWindowExA(0, "STATIC", "No mnemonic", WS_CHILD | WS_VISIBLE, 0, 30, 80, 20, dialog, nullptr,
                                 nullptr, nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "&Edit", WS_CHILD | WS_VISIBLE, 0, 60, 80, 20, dialog, nullptr, nullptr,
                                nullptr);
    char text[64];

    showDialogControl(button, false);
    GetWindowTextA(button, text, sizeof text);
    EXPECT_STREQ(text, "");
    dialogControlText(button, text, sizeof text);
    EXPECT_STREQ(text, "&Preview");
    SetWindowTextA(button, "changed while hidden");
    showDialogControl(button, false);  // a second hide keeps the first text
    dialogControlText(button, text, sizeof text);
    EXPECT_STREQ(text, "&Preview");
    showDialogControl(button, true);
    GetWindowTextA(button, text, sizeof text);
    EXPECT_STREQ(text, "&Preview");
    EXPECT_TRUE(GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetPropA(button, "DynDlg_TextSave"), nullptr);

    showDialogControl(label, false);  // nothing to hide without '&'
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "No mnemonic");
    EXPECT_FALSE(GetWindowLongA(label, GWL_STYLE) & WS_VISIBLE);

    showDialogControl(edit, false);  // an edit wants characters: left alone
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "&Edit");

    showDialogControl(button, false);
    freeSavedControlTexts(dialog);
    EXPECT_EQ(GetPropA(button, "DynDlg_TextSave"), nullptr);
    DestroyWindow(dialog);
}

TEST(GlobalBlocks, ClearHandleStaysZeroedWhenItGrows) {
    StClearHandle block(16);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block.get()));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], 0);
    memset(bytes, 0xAB, 16);
    GlobalUnlock(block.get());
    block.resize(4096);
    bytes = static_cast<unsigned char*>(GlobalLock(block.get()));
    EXPECT_EQ(bytes[15], 0xAB);
    EXPECT_EQ(bytes[16], 0);
    EXPECT_EQ(bytes[4095], 0);
    GlobalUnlock(block.get());
    EXPECT_GE(GlobalSize(block.get()), 4096u);
}

TEST(GlobalBlocks, FailedAllocationThrowsAsrt) {
    try {
        StHandle huge(~SIZE_T(0) - 4096);
        FAIL() << "an impossible block was allocated";
    } catch (const lumarel::Failure& f) {
        EXPECT_EQ(f.code, lumarel::kFailAsrt);
    }
}

TEST(MidiVolume, PromptsOnlyWhenBothChannelsAreBelowOneSixteenth) {
    EXPECT_TRUE(midiVolumeTooLow(MAKELONG(0x0FFF, 0x0FFF)));
    EXPECT_TRUE(midiVolumeTooLow(0));
    EXPECT_FALSE(midiVolumeTooLow(MAKELONG(0x1000, 0x0000)));
    EXPECT_FALSE(midiVolumeTooLow(MAKELONG(0x0000, 0x1000)));
    EXPECT_FALSE(midiVolumeTooLow(0xFFFFFFFF));
}
