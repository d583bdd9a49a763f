// The screen saver's scene drawn in this process: the test makes its own
// full-screen and preview windows, starts the saver with a seeded random
// source, steps frames through the animation and reads the pixels back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/program_path.h"
#include "engine/animation.h"
#include "engine/bitmap.h"
#include "engine/bulb_world.h"
#include "engine/flash_state.h"
#include "saver/screen_saver.h"
#include "saver/scene_random.h"
#include "saver/saver_picture.h"
#include "ui/settings_store.h"
#include "built_in_kinds.h"

using namespace lumarel;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

LRESULT CALLBACK saverProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND) return 1;
    return DefWindowProcA(w, m, wp, lp);
}

std::string picturesFolder() {
    char path[MAX_PATH];
    saverPicturesFolder(path);
    return path;
}

// A 24-bit BMP of one colour, written where the saver looks for pictures.
void writePicture(const std::string& name, int w, int h, COLORREF colour) {
    const int stride = (w * 3 + 3) & ~3;
    std::string bytes(size_t(54 + stride * h), '\0');
    auto put32 = [&](size_t at, uint32_t v) { memcpy(&bytes[at], &v, 4); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, uint32_t(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            char* p = &bytes[size_t(54 + y * stride + x * 3)];
            p[0] = char(GetBValue(colour));
            p[1] = char(GetGValue(colour));
            p[2] = char(GetRValue(colour));
        }
    CreateDirectoryA(picturesFolder().c_str(), nullptr);
    HANDLE f = CreateFileA((picturesFolder() + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

struct SaverScene : BuiltInKindsTest {
    HWND window = nullptr;
    SeededRandom random{1234};
    Animation animation{context};
    int width = 0, height = 0;

    static void SetUpTestSuite() {
        WNDCLASSA c{};
        c.lpfnWndProc = saverProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "Saver Scene Test";
        RegisterClassA(&c);
    }
    void SetUp() override {
        BuiltInKindsTest::SetUp();
        if (HasFatalFailure()) return;
        resetSettings();
        flashState() = FlashState{};
        flashState().interval = 1;
        for (auto& side : flashState().arrangement) side.fill(-1);  // no bulbs unless a test wants them
        setSaverRandom(&random);
        setSaverMessage("");
        setSaverModule("(None)");
        setPictureName("(None)");
    }
    void TearDown() override {
        stopScreenSaver();
        animation.step();  // the stop drops the worlds
        animation.discard();
        setSaverRandom(nullptr);
        if (window) DestroyWindow(window);
        resetSettings();
        BuiltInKindsTest::TearDown();
    }
    // Full screen ("s"), or a preview window of the given size ("p").
    void start(bool preview = false, int w = 152, int h = 112) {
        width = preview ? w : GetSystemMetrics(SM_CXSCREEN);
        height = preview ? h : GetSystemMetrics(SM_CYSCREEN);
        window = CreateWindowExA(WS_EX_TOPMOST, "Saver Scene Test", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window);
        context.runMode = preview ? kRunPreview : kRunSaver;
        context.saverWindow = window;
        startScreenSaver(window);
        ASSERT_TRUE(screenSaverRunning());
        ASSERT_TRUE(context.saverCanvas);
    }
    // Steps frames, then reads the back buffer's pixels once.
    void frames(int n) {
        for (int i = 0; i < n; ++i) animation.step();
        ASSERT_TRUE(context.saverCanvas);
        HDC dc = context.saverCanvas->backBuffer();
        HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        pixels.assign(size_t(width) * size_t(height), 0);
        // A selected bitmap cannot be read: a copy is.
        HDC copyDc = CreateCompatibleDC(dc);
        HBITMAP copy = CreateCompatibleBitmap(dc, width, height);
        HGDIOBJ old = SelectObject(copyDc, copy);
        BitBlt(copyDc, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        SelectObject(copyDc, old);
        GetDIBits(copyDc, copy, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
        DeleteObject(copy);
        DeleteDC(copyDc);
        (void)bitmap;
    }
    std::vector<uint32_t> pixels;
    COLORREF at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
        const uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of `colour` (or, with `other`, of any other colour) in a rectangle.
    int count(RECT r, COLORREF colour, bool other = false) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += (at(x, y) == colour) != other;
        return n;
    }
    RECT bounds(COLORREF colour) const {
        RECT b{width, height, -1, -1};
        for (int y = 0; y < height; y += 1)
            for (int x = 0; x < width; ++x)
                if (at(x, y) == colour) {
                    b.left = std::min<LONG>(b.left, x);
                    b.top = std::min<LONG>(b.top, y);
                    b.right = std::max<LONG>(b.right, x + 1);
                    b.bottom = std::max<LONG>(b.bottom, y + 1);
                }
        return b;
    }
};

}  // namespace

TEST_F(SaverScene, PictureIsCentredATileOrStretched) {
    writePicture("test red.bmp", 200, 100, RGB(255, 0, 0));
    setPictureName("test red.bmp");
    start();
    frames(1);
    const RECT red = bounds(RGB(255, 0, 0));
    const int top = (height - 100) / 3;
    EXPECT_EQ(red.left, (width - 200) / 2);
    EXPECT_EQ(red.top, top);
    EXPECT_EQ(red.right - red.left, 200);
    EXPECT_EQ(red.bottom - red.top, 100);
    EXPECT_EQ(at(width / 2, top - 2), kBlack);

    // A picture taller than the screen is centred, its top above the screen.
    stopScreenSaver();
    DestroyWindow(window);
    writePicture("test tall.bmp", 50, height + 40, RGB(0, 255, 0));
    setPictureName("test tall.bmp");
    start();
    frames(1);
    EXPECT_EQ(at(width / 2, 0), RGB(0, 255, 0));
    EXPECT_EQ(at(width / 2, height - 1), RGB(0, 255, 0));
    EXPECT_EQ(at(width / 2 - 30, height / 2), kBlack);

    stopScreenSaver();
    DestroyWindow(window);
    setPictureName("test red.bmp");
    setPictureDisplayType(1);  // tile
    start();
    frames(1);
    EXPECT_EQ(count({0, 0, width, height}, RGB(255, 0, 0), true), 0);

    stopScreenSaver();
    DestroyWindow(window);
    writePicture("test halves.bmp", 2, 1, RGB(0, 0, 255));
    setPictureName("test halves.bmp");
    setPictureDisplayType(2);  // stretch
    start();
    frames(1);
    EXPECT_EQ(at(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(at(width - 1, height - 1), RGB(0, 0, 255));

    stopScreenSaver();
    DestroyWindow(window);
    setPictureName("(None)");
    start();
    frames(1);
    EXPECT_EQ(count({0, 0, width, height}, kBlack, true), 0);
    DeleteFileA((picturesFolder() + "test red.bmp").c_str());
    DeleteFileA((picturesFolder() + "test tall.bmp").c_str());
    DeleteFileA((picturesFolder() + "test halves.bmp").c_str());
}

TEST_F(SaverScene, MessageHasItsColourOverAShadowAndBounces) {
    writePicture("test grey.bmp", 4, 4, RGB(128, 128, 128));
    setPictureName("test grey.bmp");
    setPictureDisplayType(2);
    setSaverMessage("Hello");
    MessageFont font;
    setMessageFont(font, RGB(255, 0, 0));
    start();
    frames(1);
    const RECT text = bounds(RGB(255, 0, 0));
    const RECT shadow = bounds(kBlack);
    ASSERT_LT(text.left, text.right);
    // The colour covers the shadow's upper left: its lower right shows.
    EXPECT_EQ(shadow.right - text.right, 2);
    EXPECT_EQ(shadow.bottom - text.bottom, 2);
    // The message travels one pixel a frame.
    frames(5);
    const RECT moved = bounds(RGB(255, 0, 0));
    EXPECT_EQ(moved.top - text.top, 5);
    // Its window gets the frame too.
    HDC screen = GetDC(window);
    EXPECT_EQ(GetPixel(screen, 1, 1), RGB(128, 128, 128));
    ReleaseDC(window, screen);
    DeleteFileA((picturesFolder() + "test grey.bmp").c_str());
}

TEST_F(SaverScene, PreviewShadowIsOnePixelAndAnEmptyMessageDrawsNothing) {
    writePicture("test grey.bmp", 4, 4, RGB(128, 128, 128));
    setPictureName("test grey.bmp");
    setPictureDisplayType(2);
    setSaverMessage("Hi");
    MessageFont font;
    font.height = -200;  // scaled down to the preview
    setMessageFont(font, RGB(255, 0, 0));
    start(true, 320, 240);
    frames(1);
    const RECT text = bounds(RGB(255, 0, 0));
    const RECT shadow = bounds(kBlack);
    ASSERT_LT(text.left, text.right);
    EXPECT_EQ(shadow.right - text.right, 1);
    EXPECT_EQ(shadow.bottom - text.bottom, 1);
    EXPECT_LT(text.bottom - text.top, 100);

    stopScreenSaver();
    DestroyWindow(window);
    setSaverMessage("");
    start(true, 320, 240);
    frames(3);
    EXPECT_EQ(count({0, 0, 320, 240}, RGB(128, 128, 128), true), 0);
    DeleteFileA((picturesFolder() + "test grey.bmp").c_str());
}

TEST_F(SaverScene, SnowFallsAndLandsAtTheBottom) {
    setSaverModule("Snow");
    start(true, 400, 300);
    frames(1);
    const int early = count({0, 280, 400, 300}, RGB(255, 255, 255));
    frames(300);
    // Flakes are in the air and landed ones stay on the ground.
    EXPECT_GT(count({0, 0, 400, 250}, RGB(255, 255, 255)), 20);
    EXPECT_GT(count({0, 290, 400, 300}, RGB(255, 255, 255)), early + 20);
}

TEST_F(SaverScene, SnowFlakesDrawTheStripCells) {
    setSaverModule("Snow Flakes");
    start();
    frames(200);
    // Crystals of 3 to 5 are drawn from the strip: light pixels with dark
    // between them inside one 9 × 9 cell, unlike the filled 2 × 2 flakes.
    auto light = [&](int x, int y) {
        const COLORREF p = at(x, y);
        return GetRValue(p) > 180 && GetGValue(p) > 180 && GetBValue(p) > 180;
    };
    int crystals = 0;
    for (int y = 1; y + 9 < height && crystals < 5; ++y)
        for (int x = 1; x + 9 < width && crystals < 5; ++x) {
            if (!light(x + 4, y + 4) || !light(x + 4, y + 1) || !light(x + 4, y + 7)) continue;
            int lit = 0;
            for (int dy = 0; dy < 9; ++dy)
                for (int dx = 0; dx < 9; ++dx) lit += light(x + dx, y + dy);
            // An arm up and down from the centre, and most of the cell dark.
            if (lit >= 7 && lit <= 45 && !light(x + 1, y + 1) && !light(x + 7, y + 1)) {
                ++crystals;
                x += 9;
            }
        }
    EXPECT_GE(crystals, 5);
}

TEST_F(SaverScene, BalloonsRise) {
    setSaverModule("Balloons");
    start();
    frames(1);
    frames(150);  // balloons start below the screen and climb 4 to 6 pixels a frame
    const int lower = count({0, height / 2, width, height}, kBlack, true);
    const int upper = count({0, 0, width, height / 2}, kBlack, true);
    EXPECT_GT(lower + upper, 500);
}

TEST_F(SaverScene, FloatersOfBulbsAndGifsAreDrawn) {
    for (const char* name : {"Snow Family", "Santa", "Singing Tree"}) {
        for (int type = 0; type < 4; ++type) {
            setSaverModule(name);
            setMovementType(type);
            start(true, 400, 300);
            frames(80);  // gravity floaters start above the area
            EXPECT_GT(count({0, 0, 400, 300}, kBlack, true), 50) << name << " " << type;
            stopScreenSaver();
            DestroyWindow(window);
            window = nullptr;
        }
    }
    // A name that is neither built in nor an add-on: background only.
    setSaverModule("No Such Floater");
    start(true, 200, 150);
    frames(5);
    EXPECT_EQ(count({0, 0, 200, 150}, kBlack, true), 0);
}

TEST_F(SaverScene, BulbsFrameTheSceneAndSnowSettlesOnThem) {
    flashState().arrangement = defaultArrangement();
    setSaverModule("(None)");
    start(true, 400, 300);
    frames(2);
    // The bulbs along the top edge, nothing in the middle.
    EXPECT_GT(count({0, 0, 400, 12}, kBlack, true), 20);
    EXPECT_EQ(count({100, 100, 300, 200}, kBlack, true), 0);

    // Snow falling through the top band marks the gaps of the bulbs' pictures.
    stopScreenSaver();
    DestroyWindow(window);
    setSaverModule("Snow");
    start(true, 400, 300);
    frames(2);
    BulbWorldSet* set = animation.worlds();
    ASSERT_TRUE(set && set->world(0));
    auto settled = [&] {
        BulbWorld* top = set->world(0);
        const RECT place = top->place();
        int n = 0;
        for (int y = 0; y < place.bottom - place.top; ++y)
            for (int x = 0; x < place.right - place.left; ++x)
                n += GetPixel(top->pictureDc(), x, y) == RGB(0x99, 0x99, 0x99);
        return n;
    };
    const int before = settled();
    frames(300);
    ASSERT_EQ(set, animation.worlds());
    const int after = settled();
    EXPECT_GT(after, before);
}

TEST_F(SaverScene, IdlePriorityWhileRunning) {
    start(true);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), DWORD(IDLE_PRIORITY_CLASS));
    stopScreenSaver();
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), DWORD(NORMAL_PRIORITY_CLASS));
    EXPECT_FALSE(screenSaverRunning());
    EXPECT_EQ(context.saverCanvas, nullptr);
}

TEST_F(SaverScene, StopLeavesAVanishedWindowAlone) {
    setSaverModule("Snow");
    start(true);
    frames(2);
    DestroyWindow(window);
    window = nullptr;
    frames(2);  // presents find no window and skip
    stopScreenSaver();
    EXPECT_FALSE(screenSaverRunning());
}

TEST_F(SaverScene, JpegPictureIsConvertedOnceAndAgainWhenTouched) {
    const std::string jpeg = picturesFolder() + "Winter Night.jpg", copy = picturesFolder() + "test night.JPEG";
    ASSERT_TRUE(CopyFileA(jpeg.c_str(), copy.c_str(), FALSE)) << "the generated JPEG is missing";
    char converted[MAX_PATH];
    convertedPicturePath(converted);
    DeleteFileA(converted);
    setPictureName("test night.JPEG");
    setPictureDisplayType(2);
    start(true);
    frames(1);
    EXPECT_GT(count({0, 0, 152, 112}, kBlack, true), 1000);  // the picture shows
    WIN32_FILE_ATTRIBUTE_DATA first{};
    ASSERT_TRUE(GetFileAttributesExA(converted, GetFileExInfoStandard, &first));
    EXPECT_EQ(first.nFileSizeLow, 54u + 640u * 3u * 400u);
    char stored[260];
    getLastConvertedPictureName(stored);
    EXPECT_STREQ(stored, "test night.JPEG");

    // Reused: the converted file is not written again.
    stopScreenSaver();
    DestroyWindow(window);
    Sleep(20);
    start(true);
    WIN32_FILE_ATTRIBUTE_DATA second{};
    GetFileAttributesExA(converted, GetFileExInfoStandard, &second);
    EXPECT_EQ(CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime), 0);

    // Touched: converted again.
    stopScreenSaver();
    DestroyWindow(window);
    HANDLE f = CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME later = first.ftLastWriteTime;
    later.dwLowDateTime += 50000000;
    SetFileTime(f, nullptr, nullptr, &later);
    CloseHandle(f);
    Sleep(20);
    start(true);
    WIN32_FILE_ATTRIBUTE_DATA third{};
    GetFileAttributesExA(converted, GetFileExInfoStandard, &third);
    EXPECT_NE(CompareFileTime(&first.ftLastWriteTime, &third.ftLastWriteTime), 0);
    EXPECT_EQ(getLastConvertedPictureTime(), later.dwLowDateTime);

    // A file that is no JPEG: the saver runs without a picture, no file left.
    stopScreenSaver();
    DestroyWindow(window);
    writePicture("test fake.jpg", 4, 4, RGB(255, 0, 0));
    setPictureName("test fake.jpg");
    start(true);
    frames(1);
    EXPECT_EQ(count({0, 0, 152, 112}, kBlack, true), 0);
    EXPECT_EQ(GetFileAttributesA(converted), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(copy.c_str());
    DeleteFileA((picturesFolder() + "test fake.jpg").c_str());
}

TEST_F(SaverScene, StartsAndStopsLeaveGdiObjectsFlat) {
    setSaverModule("Snow Flakes");
    setSaverMessage("Happy Holidays!");
    start(true);
    frames(2);
    stopScreenSaver();
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD handlesBefore = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    for (int i = 0; i < 200; ++i) {
        startScreenSaver(window);
        frames(1);
        stopScreenSaver();
    }
    animation.step();
    const DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_LE(handlesAfter, handlesBefore + 2);
    if (before == 0) GTEST_SKIP() << "this system does not count GDI objects";
    EXPECT_LE(after, before + 2);
}

namespace {

// Notes what the animation step asks of a saver.
struct RecordingCanvas : SaverCanvas {
    Surface buffer;
    std::vector<bool> advances;
    int finished = 0;
    BulbWorldSet* lastWorlds = nullptr;
    explicit RecordingCanvas(HWND window) {
        HDC screen = GetDC(window);
        buffer = Surface(screen, unique_hbitmap(CreateCompatibleBitmap(screen, 152, 112)));
        ReleaseDC(window, screen);
    }
    HDC backBuffer() override { return buffer.get(); }
    void stepFrame(bool advance, BulbWorldSet* worlds) override {
        advances.push_back(advance);
        lastWorlds = worlds;
    }
    void finishFrame() override { ++finished; }
};

}  // namespace

TEST_F(SaverScene, FloatersAdvanceOnlyWithFlashStepsAndNeverWithDontFlash) {
    flashState().arrangement = defaultArrangement();
    width = 152;
    height = 112;
    window = CreateWindowExA(0, "Saver Scene Test", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                             nullptr, nullptr);
    context.runMode = kRunPreview;
    context.saverWindow = window;
    RecordingCanvas canvas(window);
    context.saverCanvas = &canvas;
    flashState().pattern = 1;
    flashState().interval = 2;
    for (int i = 0; i < 8; ++i) animation.step();
    ASSERT_EQ(canvas.advances.size(), 8u);  // every tick composes a frame
    EXPECT_EQ(canvas.finished, 8);
    int advancing = 0;
    for (bool a : canvas.advances) advancing += a;
    EXPECT_EQ(advancing, 4);
    ASSERT_TRUE(canvas.lastWorlds);  // the bulbs were built for the saver

    flashState().pattern = 0;  // "Don't Flash"
    canvas.advances.clear();
    for (int i = 0; i < 30; ++i) animation.step();
    for (bool a : canvas.advances) EXPECT_FALSE(a);

    // A new start rebuilds the worlds; without a scene nothing is drawn.
    ++context.saverStarts;
    animation.step();
    EXPECT_EQ(canvas.lastWorlds, nullptr);
    context.saverCanvas = nullptr;
    const int finished = canvas.finished;
    animation.step();
    EXPECT_EQ(canvas.finished, finished);
}
