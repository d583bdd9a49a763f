// The bulb worlds drawn by animation steps: onto a desktop icon view made in
// this process ("Progman" -> "SHELLDLL_DefView" -> "SysListView32"), and into
// the bulb window when the bulbs are on top.
#include <gtest/gtest.h>

#include <string>

#include "engine/animation.h"
#include "engine/bulb_categories.h"
#include "engine/bulb_object.h"
#include "engine/bulb_world.h"
#include "engine/desktop_windows.h"
#include "engine/engine_context.h"
#include "engine/flash_state.h"
#include "frame/desktop_watcher.h"
#include "built_in_kinds.h"

using namespace lumarel;

namespace {

constexpr COLORREF kViewColour = RGB(0, 96, 128);
constexpr int kViewWidth = 640, kViewHeight = 480;

LRESULT CALLBACK viewProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(w, &r);
        HBRUSH brush = CreateSolidBrush(kViewColour);
        FillRect(reinterpret_cast<HDC>(wp), &r, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK bulbProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCHITTEST) return HTTRANSPARENT;
    if (m == WM_ERASEBKGND) return 1;
    return DefWindowProcA(w, m, wp, lp);
}

void registerClass(const char* name, WNDPROC proc) {
    WNDCLASSA c{};
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = name;
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&c);
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

struct WorldDraw : BuiltInKindsTest {
    HWND progman = nullptr, defView = nullptr, view = nullptr;

    static void SetUpTestSuite() {
        registerClass("Progman", DefWindowProcA);
        registerClass("SHELLDLL_DefView", DefWindowProcA);
        registerClass("SysListView32", viewProc);
        registerClass("Lumarel Bulb Window Test", bulbProc);
    }
    // Each test has an animation of its own, in its own context.
    Animation animation{context};

    void SetUp() override {
        BuiltInKindsTest::SetUp();
        if (HasFatalFailure()) return;
        flashState() = FlashState{};
        flashState().interval = 1;
        context.bulbWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "Lumarel Bulb Window Test",
                                             "QuorvaneBulbs", WS_POPUP, 10, 10, 100, 100, nullptr, nullptr, nullptr,
                                             nullptr);
    }
    void TearDown() override {
        animation.discard();
        destroyChain();
        if (context.bulbWindow) DestroyWindow(context.bulbWindow);
        BuiltInKindsTest::TearDown();
        pump();
    }
    void makeChain() {
        progman = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, kViewWidth,
                                  kViewHeight, nullptr, nullptr, nullptr, nullptr);
        defView = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, kViewWidth, kViewHeight,
                                  progman, nullptr, nullptr, nullptr);
        view = CreateWindowExA(0, "SysListView32", "FolderView", WS_CHILD | WS_VISIBLE, 0, 0, kViewWidth,
                               kViewHeight, defView, nullptr, nullptr, nullptr);
        ASSERT_TRUE(view);
        SetWindowPos(progman, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        UpdateWindow(progman);
        RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        pump();
        ASSERT_EQ(findDesktopWindow(context, kIconView), view) << "another desktop chain is in the way";
    }
    void destroyChain() {
        if (progman) DestroyWindow(progman);
        progman = defView = view = nullptr;
    }
    // Runs steps until the world set is built and one step has drawn.
    // Runs ticks until the step counter moves (at most `limit`).
    void untilAdvance(int limit) {
        int32_t start = animation.stepCount();
        for (int i = 0; i < limit && animation.stepCount() == start; ++i) steps(1);
        ASSERT_NE(animation.stepCount(), start);
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) {
            animation.step();
            pump();
        }
        GdiFlush();
    }
    COLORREF screenPixel(HWND w, int x, int y) {
        HDC dc = GetDC(w);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(w, dc);
        return c;
    }
};

// Compares the view with the world's current phase copy along a line of the
// world: opaque mask pixels show the picture, the rest the view's colour.
void expectWorldOnView(BulbWorld& w, HWND view, int32_t step, int* opaqueSeen, int* clearSeen) {
    HDC screen = GetDC(view);
    int phase = step % w.phaseCount();
    RECT place = w.place();
    bool horizontal = w.horizontal();
    int length = horizontal ? place.right - place.left : place.bottom - place.top;
    for (int across = 0; across < w.thickness(); across += 3)
        for (int along = 0; along < length; along += 5) {
            int x = horizontal ? along : across, y = horizontal ? across : along;
            COLORREF mask = w.maskPixel(x, y, phase);
            POINT copy = w.copyOrigin(phase);
            int px = x + copy.x, py = y + copy.y;
            COLORREF shown = GetPixel(screen, place.left + x, place.top + y);
            if (mask == RGB(0, 0, 0)) {
                ++*opaqueSeen;
                EXPECT_EQ(shown, GetPixel(w.pictureDc(), px, py)) << "side " << w.side() << " at " << x << "," << y;
            } else {
                ++*clearSeen;
                EXPECT_EQ(shown, kViewColour) << "side " << w.side() << " at " << x << "," << y;
            }
            if (::testing::Test::HasFailure()) {
                ReleaseDC(view, screen);
                return;
            }
        }
    ReleaseDC(view, screen);
}

}  // namespace

TEST_F(WorldDraw, DesktopViewShowsBulbsThroughTheirMasks) {
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    EXPECT_FALSE(IsWindowVisible(context.bulbWindow));
    int opaque = 0, clear = 0;
    for (int side = 0; side < 4; ++side) {
        BulbWorld* w = set->world(side);
        ASSERT_TRUE(w) << side;
        ASSERT_TRUE(w->hasPictures()) << side;
        EXPECT_GT(w->bulbCount(), 0) << side;
        // the step drew phase 0 and then advanced to 1
        expectWorldOnView(*w, view, animation.stepCount() - 1, &opaque, &clear);
    }
    EXPECT_GT(opaque, 100);
    EXPECT_GT(clear, 100);
    // Away from the edges the view keeps its own background.
    EXPECT_EQ(screenPixel(view, kViewWidth / 2, kViewHeight / 2), kViewColour);
}

TEST_F(WorldDraw, WorldsTileTheRectangleEdges) {
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    RECT r = drawingRectangle(context, view);
    RECT top = set->world(kPosTop)->place(), right = set->world(kPosRight)->place();
    RECT bottom = set->world(kPosBottom)->place(), left = set->world(kPosLeft)->place();
    EXPECT_EQ(top.top, r.top);
    EXPECT_EQ(top.left, r.left);
    EXPECT_EQ(top.right, r.right);
    EXPECT_EQ(bottom.bottom, r.bottom);
    EXPECT_EQ(right.right, r.right);
    EXPECT_EQ(right.top, top.bottom);
    EXPECT_EQ(right.bottom, bottom.top);
    EXPECT_EQ(left.left, r.left);
    EXPECT_EQ(left.top, top.bottom);
    EXPECT_EQ(left.bottom, bottom.top);
    // default top: corners plus "Standard Bulbs"; the corners count in the copies
    EXPECT_EQ(set->world(kPosTop)->phaseCount(), findBulbById(1)->phaseCount(kPosTopLeft) >
                                                   findBulbById(0)->phaseCount(kPosTop)
                                               ? findBulbById(1)->phaseCount(kPosTopLeft)
                                               : findBulbById(0)->phaseCount(kPosTop));
}

TEST_F(WorldDraw, ConsecutiveStepsFlashOnlyWhereTheBulbsAre) {
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    BulbWorld& top = *set->world(kPosTop);
    ASSERT_GT(top.phaseCount(), 1);
    RECT place = top.place();
    auto grab = [&](std::vector<COLORREF>& out) {
        HDC dc = GetDC(view);
        out.clear();
        for (int y = 0; y < kViewHeight; y += 2)
            for (int x = 0; x < kViewWidth; x += 2) out.push_back(GetPixel(dc, x, y));
        ReleaseDC(view, dc);
    };
    std::vector<COLORREF> before, after;
    grab(before);
    steps(1);  // interval 1: the next phase
    grab(after);
    int changed = 0;
    RECT r = drawingRectangle(context, view);
    for (int y = 0, i = 0; y < kViewHeight; y += 2)
        for (int x = 0; x < kViewWidth; x += 2, ++i)
            if (before[size_t(i)] != after[size_t(i)]) {
                ++changed;
                bool inWorld = false;
                for (int s = 0; s < 4; ++s) {
                    RECT p = set->world(s)->place();
                    POINT pt{x, y};
                    inWorld = inWorld || PtInRect(&p, pt);
                }
                EXPECT_TRUE(inWorld) << x << "," << y;
            }
    EXPECT_GT(changed, 0);
    (void)place;
    (void)r;
}

TEST_F(WorldDraw, DontFlashPreRendersOnePhaseAndWaitsTenTicks) {
    flashState().pattern = 0;
    makeChain();
    steps(1);  // the first tick draws: the world set was just discarded
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    for (int s = 0; s < 4; ++s) EXPECT_EQ(set->world(s)->phaseCount(), 1) << s;
    untilAdvance(10);
    int32_t first = animation.stepCount();
    steps(9);
    EXPECT_EQ(animation.stepCount(), first);
    steps(1);
    EXPECT_EQ(animation.stepCount(), first + 1);
}

// Nothing but the bulb window itself and hidden windows lies below it.
bool nothingVisibleBelow(HWND window) {
    for (HWND w = GetWindow(window, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (IsWindowVisible(w)) {
            char cls[64] = {}, title[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            GetWindowTextA(w, title, sizeof title);
            ADD_FAILURE() << "below: " << cls << " '" << title << "'";
            return false;
        }
    return true;
}

bool topmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

TEST_F(WorldDraw, WithoutAnIconViewTheDesktopPlaceUsesTheBulbWindowAtTheBottom) {
    EXPECT_EQ(findDesktopWindow(context, kIconView), nullptr);
    HWND other = CreateWindowExA(0, "Lumarel Bulb Window Test", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    // Wine raises a window it has just shown once the display maps it,
    // with no message to the window; the next drawn tick puts it back.
    steps(2);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    HWND bulbs = context.bulbWindow;
    EXPECT_TRUE(context.bulbWindowOnDesktop);
    EXPECT_TRUE(IsWindowVisible(bulbs));
    EXPECT_FALSE(topmost(bulbs));
    EXPECT_TRUE(nothingVisibleBelow(bulbs));
    // The window covers the screen and is cut to the bulbs, as on top.
    RECT wr;
    GetWindowRect(bulbs, &wr);
    EXPECT_EQ(wr.right - wr.left, GetSystemMetrics(SM_CXSCREEN));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(bulbs, region), ERROR);
    RECT box;
    EXPECT_NE(GetRgnBox(region, &box), NULLREGION);
    EXPECT_FALSE(PtInRegion(region, wr.right / 2, wr.bottom / 2));
    DeleteObject(region);

    // On top and back: the same pictures, only the window's level changes,
    // at once and without a rebuild.
    context.bulbLocation = kOnTop;
    animation.locationChanged();
    EXPECT_EQ(animation.worlds(), set);
    EXPECT_TRUE(topmost(bulbs));
    steps(1);
    EXPECT_EQ(animation.worlds(), set);
    EXPECT_TRUE(IsWindowVisible(bulbs));
    context.bulbLocation = kOnDesktop;
    animation.locationChanged();
    EXPECT_FALSE(topmost(bulbs));
    EXPECT_TRUE(nothingVisibleBelow(bulbs));
    EXPECT_TRUE(IsWindowVisible(bulbs));
    DestroyWindow(other);

    // An icon view appearing takes the bulbs off the window: the step looks
    // for the desktop's windows again within a second (one step may not).
    makeChain();
    const DWORD start = GetTickCount();
    while (context.bulbWindowOnDesktop && GetTickCount() - start < 3 * DesktopLookup::kRefreshMs) {
        steps(1);
        Sleep(20);
    }
    EXPECT_FALSE(context.bulbWindowOnDesktop);
    EXPECT_FALSE(IsWindowVisible(bulbs));
    ASSERT_TRUE(animation.worlds() && animation.worlds()->built());
    EXPECT_NE(animation.worlds()->world(kPosTop)->phaseCount(), 0);
}

TEST_F(WorldDraw, LeavingTheTopHidesTheBulbWindowAtOnce) {
    context.bulbLocation = kOnTop;
    makeChain();
    steps(1);
    ASSERT_TRUE(IsWindowVisible(context.bulbWindow));
    context.bulbLocation = kOnDesktop;
    animation.locationChanged();
    EXPECT_FALSE(IsWindowVisible(context.bulbWindow));
    EXPECT_EQ(animation.worlds(), nullptr);
}

TEST_F(WorldDraw, OnTopTheBulbWindowIsCutToTheBulbs) {
    context.bulbLocation = kOnTop;
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    HWND bulbs = context.bulbWindow;
    EXPECT_TRUE(IsWindowVisible(bulbs));
    RECT wr;
    GetWindowRect(bulbs, &wr);
    EXPECT_EQ(wr.left, 0);
    EXPECT_EQ(wr.right, kViewWidth);
    EXPECT_EQ(wr.bottom, kViewHeight);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(bulbs, region), ERROR);
    // The region holds exactly the opaque mask pixels of the phase shown.
    int32_t shown = animation.stepCount() - 1;
    int inside = 0;
    for (int side = 0; side < 4; ++side) {
        BulbWorld& w = *set->world(side);
        RECT p = w.place();
        int phase = shown % w.phaseCount();
        for (int y = p.top; y < p.bottom; y += 2)
            for (int x = p.left; x < p.right; x += 3) {
                bool opaque = w.maskPixel(x - p.left, y - p.top, phase) == RGB(0, 0, 0);
                EXPECT_EQ(PtInRegion(region, x, y) != FALSE, opaque) << side << " " << x << "," << y;
                inside += opaque;
                if (HasFailure()) break;
            }
    }
    EXPECT_GT(inside, 100);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_FALSE(PtInRegion(region, kViewWidth / 2, kViewHeight / 2));
    DeleteObject(region);
    // The bulbs are copied straight into the window.
    BulbWorld& top = *set->world(kPosTop);
    EXPECT_EQ(WindowFromPoint(POINT{kViewWidth / 2, kViewHeight / 2}) == bulbs, false);
    (void)top;

    // Back to the desktop: the rebuild hides the window.
    context.bulbLocation = kOnDesktop;
    animation.discard();
    steps(1);
    EXPECT_FALSE(IsWindowVisible(bulbs));
}

TEST_F(WorldDraw, HitEmptyAndMarkPixel) {
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    BulbWorld& top = *set->world(kPosTop);
    RECT p = top.place();
    // find one lit and one black pixel of phase 0 in the top world
    POINT lit{-1, -1}, dark{-1, -1};
    for (int y = 0; y < top.thickness() && (lit.x < 0 || dark.x < 0); ++y)
        for (int x = 0; x < p.right - p.left; ++x) {
            COLORREF c = GetPixel(top.pictureDc(), x, y);
            if (c == 0 && dark.x < 0) dark = {x, y};
            if (c != 0 && lit.x < 0) lit = {x, y};
        }
    ASSERT_GE(lit.x, 0);
    ASSERT_GE(dark.x, 0);
    EXPECT_TRUE(set->hitEmpty(p.left + dark.x, p.top + dark.y));
    EXPECT_FALSE(set->hitEmpty(p.left + lit.x, p.top + lit.y));
    EXPECT_FALSE(set->hitEmpty(kViewWidth / 2, kViewHeight / 2));
    set->markPixel(p.left + dark.x, p.top + dark.y);
    set->markPixel(p.left + lit.x, p.top + lit.y);
    for (int copy = 0; copy < top.phaseCount(); ++copy) {
        POINT o = top.copyOrigin(copy);
        EXPECT_EQ(GetPixel(top.pictureDc(), o.x + dark.x, o.y + dark.y), RGB(0x99, 0x99, 0x99));
        EXPECT_EQ(GetPixel(top.pictureDc(), o.x + lit.x, o.y + lit.y), RGB(255, 255, 255));
    }
    EXPECT_FALSE(set->hitEmpty(p.left + dark.x, p.top + dark.y));
}

// hitEmpty answers from pixels read once: every side, across its whole
// length, must agree with the picture itself (a wrong stride or a side read
// across instead of along shows here).
TEST_F(WorldDraw, HitEmptyAgreesWithThePictureOnEverySide) {
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    for (int side = 0; side < 4; ++side) {
        BulbWorld& w = *set->world(side);
        RECT p = w.place();
        int black = 0, other = 0, wrong = 0;
        for (int y = p.top; y < p.bottom; y += 2)
            for (int x = p.left; x < p.right; x += 3) {
                bool isBlack = GetPixel(w.pictureDc(), x - p.left, y - p.top) == RGB(0, 0, 0);
                (isBlack ? black : other)++;
                wrong += set->hitEmpty(x, y) != isBlack;
            }
        EXPECT_EQ(wrong, 0) << "side " << side;
        EXPECT_GT(black, 0) << "side " << side;
        EXPECT_GT(other, 0) << "side " << side;
    }
}

TEST_F(WorldDraw, IntervalThreeAdvancesEveryThirdTick) {
    flashState().interval = 3;
    makeChain();
    untilAdvance(3);
    int32_t first = animation.stepCount();
    steps(2);
    EXPECT_EQ(animation.stepCount(), first);
    steps(1);
    EXPECT_EQ(animation.stepCount(), first + 1);
}

namespace {

// A two-phase kind drawn in code: phase 0 fills its frame, phase 1 only the
// left half. Slow kinds say so from drawFrame and have a background mask.
class SquareKind : public BulbObject {
public:
    SquareKind(int32_t id, int width, int height, bool slow, int phases = 2)
        : BulbObject(id, true), width_(width), height_(height), slow_(slow), phases_(phases) {
        insertIntoList();
    }
    RECT frameRect(BulbPosition, int, int) override { return {0, 0, width_, height_}; }
    bool drawFrame(BulbPosition, int, int phase, int x, int y, HDC dc, bool) override {
        PatBlt(dc, x, y, lit(phase), height_, WHITENESS);
        return slow_;
    }
    void drawFrameMask(BulbPosition, int, int phase, int x, int y, HDC dc, MaskKind maskKind) override {
        if (maskKind == kMaskBackground) {
            if (phase % 2) PatBlt(dc, x + lit(phase), y, width_ - lit(phase), height_, BLACKNESS);
            return;
        }
        PatBlt(dc, x, y, maskKind == kMaskOwn ? lit(phase) : width_, height_, BLACKNESS);
    }
    void addFrameRegion(BulbPosition, int, int phase, int x, int y, HRGN region) override {
        HRGN part = CreateRectRgn(x, y, x + lit(phase), y + height_);
        CombineRgn(region, region, part, RGN_OR);
        DeleteObject(part);
    }
    void drawListPicture(int, int, HDC) override {}
    std::unique_ptr<QuickMaskedBitmap> makeDragPicture(HDC) override { return nullptr; }
    int phaseCount(BulbPosition) override { return phases_; }
    const char* name() override { return "Square"; }
    const char* description() override { return ""; }
    const char* copyright() override { return ""; }
    const char* author() override { return ""; }
    const char* categoryText() override { return "Test"; }
    int gapHorizontal() override { return 0; }
    int gapVertical() override { return 0; }

private:
    int lit(int phase) const { return phase % 2 ? width_ / 2 : width_; }
    int width_, height_;
    bool slow_;
    int phases_;
};

void arrangeEverywhere(int32_t id) {
    for (auto& side : flashState().arrangement) {
        side.fill(kNoBulb);
        side[0] = id;
    }
}

}  // namespace

TEST_F(WorldDraw, SlowBulbsOnTheDesktopTakeTheDesktopBehindThem) {
    new SquareKind(900, 16, 12, true);
    arrangeEverywhere(900);
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    EXPECT_TRUE(set->anySlow());
    EXPECT_FALSE(context.pendingRepaint);  // the rebuild's whole-rectangle refresh was consumed
    BulbWorld& top = *set->world(kPosTop);
    ASSERT_EQ(top.thickness(), 12);
    ASSERT_EQ(top.phaseCount(), 2);
    // On the desktop the outline is the mask; in phase 1 the right half of a
    // bulb is see-through and was filled with the view's background.
    EXPECT_EQ(GetPixel(top.pictureDc(), 2, 12 + 5), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(top.pictureDc(), 13, 12 + 5), kViewColour);
    EXPECT_EQ(GetPixel(top.pictureDc(), 13, 5), RGB(255, 255, 255));
    // Slow parts are never "empty" for the snow.
    EXPECT_FALSE(set->hitEmpty(top.place().left + 13, top.place().top + 5));
}

TEST_F(WorldDraw, OnTopAnUnchangedShapeIsNotHandedAgain) {
    context.bulbLocation = kOnTop;
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    // The built-in kinds keep their outline: every step has the same shape.
    for (int32_t step = 0; step < 8; ++step) EXPECT_EQ(set->shapeKey(step), set->shapeKey(0)) << step;
    // A stand-in region survives the following steps: none hands a new one.
    HWND bulbs = context.bulbWindow;
    SetWindowRgn(bulbs, CreateRectRgn(0, 0, 7, 7), FALSE);
    untilAdvance(3);
    untilAdvance(3);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(bulbs, region), ERROR);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ(box.right, 7);
    EXPECT_EQ(box.bottom, 7);
    DeleteObject(region);
}

TEST_F(WorldDraw, OnTopSlowBulbsGetTheRegionOfEachPhase) {
    new SquareKind(902, 16, 12, true);
    arrangeEverywhere(902);
    context.bulbLocation = kOnTop;
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    EXPECT_NE(set->shapeKey(0), set->shapeKey(1));
    EXPECT_EQ(set->shapeKey(0), set->shapeKey(2));
    HWND bulbs = context.bulbWindow;
    RECT top = set->world(kPosTop)->place();
    auto inRegion = [&](int x, int y) {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(bulbs, region);
        bool in = PtInRegion(region, x, y) != FALSE;
        DeleteObject(region);
        return in;
    };
    // The first bulb's right half is lit in phase 0 only.
    for (int i = 0; i < 2; ++i) {
        int32_t shown = animation.stepCount() - 1;
        EXPECT_TRUE(inRegion(top.left + 2, top.top + 5)) << shown;
        EXPECT_EQ(inRegion(top.left + 13, top.top + 5), shown % 2 == 0) << shown;
        untilAdvance(3);
    }
}

TEST_F(WorldDraw, IdenticalPhaseCopiesAreStoredOnce) {
    new SquareKind(903, 10, 8, false, 1);
    arrangeEverywhere(903);
    flashState().pattern = kRandomFlashing;
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    BulbWorld& top = *set->world(kPosTop);
    EXPECT_EQ(top.phaseCount(), 8);
    EXPECT_EQ(top.storedCopies(), 1);
    for (int copy = 0; copy < 8; ++copy) EXPECT_EQ(top.copyOrigin(copy).y, 0) << copy;
    // Two-phase bulbs flashing at random fill eight different copies.
    animation.discard();
    new SquareKind(904, 10, 8, false);
    arrangeEverywhere(904);
    steps(1);
    set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    EXPECT_EQ(set->world(kPosTop)->storedCopies(), 8);
}

TEST_F(WorldDraw, ZeroSizeKindDoesNotHangTheLayout) {
    new SquareKind(901, 0, 0, false);
    arrangeEverywhere(901);
    flashState().arrangement[0][6] = 1;  // a "Jolly Holly" corner keeps the top world drawn
    makeChain();
    steps(1);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->built());
    for (int s = 0; s < 4; ++s) EXPECT_EQ(set->world(s)->bulbCount(), 0) << s;
    EXPECT_TRUE(set->world(kPosTop)->hasPictures());
    EXPECT_FALSE(set->world(kPosRight)->hasPictures());
}

// A rebuild whose bulbs keep their outline (here a new flash pattern) leaves
// the window its region; a new arrangement hands a new one.
TEST_F(WorldDraw, OnTopARebuildHandsARegionOnlyForANewOutline) {
    context.bulbLocation = kOnTop;
    makeChain();
    steps(1);
    HWND bulbs = context.bulbWindow;
    ASSERT_TRUE(IsWindowVisible(bulbs));
    auto regionRight = [&] {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        RECT box{};
        if (GetWindowRgn(bulbs, region) != ERROR) GetRgnBox(region, &box);
        DeleteObject(region);
        return box.right;
    };
    SetWindowRgn(bulbs, CreateRectRgn(0, 0, 7, 7), FALSE);  // a stand-in to watch
    flashState().pattern = 4;
    animation.discard();
    steps(1);
    ASSERT_TRUE(animation.worlds() && animation.worlds()->built());
    EXPECT_EQ(regionRight(), 7) << "the same outline was handed again";

    new SquareKind(903, 16, 12, false);
    arrangeEverywhere(903);
    animation.discard();
    steps(1);
    EXPECT_GT(regionRight(), kViewWidth / 2) << "a new outline was not handed";
}

namespace {

constexpr COLORREF kNewDesktop = RGB(200, 40, 40);

// A stand-in desktop on a second thread: the shell chain, with an icon view
// that paints itself in the colour the test chooses. The desktop watcher
// hooks that thread as it would hook the shell's.
class DesktopThread {
public:
    DesktopThread() {
        thread_ = CreateThread(nullptr, 0, &DesktopThread::run, this, 0, nullptr);
        WaitForSingleObject(ready_, 10000);
    }
    ~DesktopThread() {
        if (progman_) PostMessageA(progman_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    HWND view() const { return view_; }
    LONG paints() const { return paints_; }
    void repaint(COLORREF colour) {
        colour_ = colour;
        InvalidateRect(view_, nullptr, TRUE);
    }

private:
    static DWORD WINAPI run(void* self) { return static_cast<DesktopThread*>(self)->body(); }
    DWORD body() {
        progman_ = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, kViewWidth,
                                   kViewHeight, nullptr, nullptr, nullptr, nullptr);
        HWND defView = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, kViewWidth,
                                       kViewHeight, progman_, nullptr, nullptr, nullptr);
        view_ = CreateWindowExA(0, "SysListView32", "FolderView", WS_CHILD | WS_VISIBLE, 0, 0, kViewWidth,
                                kViewHeight, defView, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(view_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(view_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&viewProc));
        SetWindowPos(progman_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RedrawWindow(view_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        SetEvent(ready_);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageA(&msg);
            if (!IsWindow(progman_)) break;
        }
        return 0;
    }
    static LRESULT CALLBACK viewProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<DesktopThread*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        if (m == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(w, &r);
            HBRUSH brush = CreateSolidBrush(self->colour_);
            FillRect(reinterpret_cast<HDC>(wp), &r, brush);
            DeleteObject(brush);
            return 1;
        }
        if (m == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(w, &ps);
            EndPaint(w, &ps);
            InterlockedIncrement(&self->paints_);
            return 0;
        }
        return DefWindowProcA(w, m, wp, lp);
    }

    HANDLE ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread_ = nullptr;
    HWND progman_ = nullptr;
    HWND view_ = nullptr;
    volatile COLORREF colour_ = kViewColour;
    volatile LONG paints_ = 0;
};

EngineContext* noticeContext = nullptr;
DesktopWatcher* noticeWatcher = nullptr;

LRESULT CALLBACK lumarelProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == watch::kDesktopPaintMessage) {
        takeDesktopRepaint(*noticeContext, *noticeWatcher);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

// Waits for a condition while handling messages (notices come as sent
// messages from the desktop's thread).
template <typename Condition>
bool waitHandling(Condition condition) {
    const DWORD begin = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - begin > 5000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pump();
    }
    return true;
}

}  // namespace

struct WatchedDesktop : WorldDraw {
    DesktopWatcher watcher;
    HWND lumarel = nullptr;

    void SetUp() override {
        WorldDraw::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        if (FindWindowA("Progman", nullptr)) GTEST_SKIP() << "a real shell desktop is present";
        registerClass("Lumarel", DefWindowProcA);
        lumarel = CreateWindowExA(0, "Lumarel", "QuorvaneLumarel", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_TRUE(lumarel);
        SetWindowLongPtrA(lumarel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&lumarelProc));
        noticeContext = &context;
        noticeWatcher = &watcher;
    }
    void TearDown() override {
        watcher.release();
        if (lumarel) DestroyWindow(lumarel);
        noticeContext = nullptr;
        noticeWatcher = nullptr;
        WorldDraw::TearDown();
    }
    // A slow bulb is drawn on the desktop; then the desktop repaints in a new
    // colour. Answers what a see-through pixel of the bulb's picture holds.
    COLORREF seeThroughAfterRepaint(bool watched) {
        if (watched) {
            context.startDesktopWatcher = [this] { watcher.start(); };
            context.suspendDesktopWatcher = [this] { watcher.suspend(); };
        }
        new SquareKind(904, 16, 12, true);
        arrangeEverywhere(904);
        DesktopThread desktop;
        EXPECT_EQ(findDesktopWindow(context, kIconView), desktop.view());
        const LONG_PTR unhooked = GetWindowLongPtrW(desktop.view(), GWLP_WNDPROC);
        steps(1);
        BulbWorldSet* set = animation.worlds();
        if (!set || !set->built()) {
            ADD_FAILURE() << "no worlds";
            return 0;
        }
        if (watched) {
            EXPECT_NE(watcher.hookHandle(), 0u) << "the rebuild started the watcher";
            EXPECT_TRUE(waitHandling([&] { return GetWindowLongPtrW(desktop.view(), GWLP_WNDPROC) != unhooked; }))
                << "the view is subclassed";
        } else {
            EXPECT_FALSE(watcher.mapped());
        }
        BulbWorld& top = *set->world(kPosTop);
        // Phase 1 of the kind leaves the right half of each bulb see-through.
        EXPECT_EQ(GetPixel(top.pictureDc(), 13, 12 + 5), kViewColour);
        const LONG paints = desktop.paints();
        desktop.repaint(kNewDesktop);
        EXPECT_TRUE(waitHandling([&] { return desktop.paints() > paints; }));
        EXPECT_EQ(watcher.painting(), false) << "the view cleared the painting byte after its paint";
        steps(2);
        const COLORREF seen = GetPixel(top.pictureDc(), 13, 12 + 5);
        watcher.release();
        animation.discard();
        return seen;
    }
};

TEST_F(WatchedDesktop, SlowBulbsShowTheRepaintedDesktopThroughTheirSeeThroughParts) {
    EXPECT_EQ(seeThroughAfterRepaint(true), kNewDesktop);
}

TEST_F(WatchedDesktop, WithoutTheWatcherTheyKeepTheOldDesktop) {
    EXPECT_EQ(seeThroughAfterRepaint(false), kViewColour);
}
