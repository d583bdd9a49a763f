// Bitmaps from BMP files, masked drawing and sprites, in memory DCs.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/failure.h"
#include "engine/bitmap.h"
#include "engine/palette.h"

using namespace lumarel;

namespace {

void put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// A 24-bit BMP file of one colour.
std::vector<uint8_t> bmp(int width, int height, uint32_t rgb) {
    uint32_t rowBytes = ((uint32_t(width) * 24 + 31) / 32) * 4, size = 54 + rowBytes * uint32_t(height);
    std::vector<uint8_t> v{'B', 'M'};
    put32(v, size);
    put32(v, 0);
    put32(v, 54);
    for (uint32_t x : {40u, uint32_t(width), uint32_t(height)}) put32(v, x);
    put16(v, 1);
    put16(v, 24);
    for (int i = 0; i < 6; ++i) put32(v, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) v.insert(v.end(), {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16)});
        v.resize(54 + rowBytes * uint32_t(y + 1), 0);
    }
    return v;
}

std::string writeTemp(const char* name, const std::vector<uint8_t>& bytes) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    FILE* f = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return path;
}

struct Canvas {
    HDC screen = GetDC(nullptr);
    unique_hbitmap bitmap;
    unique_hdc dc;
    Canvas(int w, int h) : bitmap(CreateCompatibleBitmap(screen, w, h)), dc(CreateCompatibleDC(screen)) {
        SelectObject(dc.get(), bitmap.get());
    }
    ~Canvas() { ReleaseDC(nullptr, screen); }
    void fill(COLORREF c, RECT r) {
        unique_hbrush brush(CreateSolidBrush(c));
        FillRect(dc.get(), &r, brush.get());
    }
};

}  // namespace

TEST(BitmapFile, LoadsTheSecondOfTwoFilesAndRefusesLies) {
    auto first = bmp(4, 3, 0xFF0000), second = bmp(6, 5, 0x00FF00);
    std::vector<uint8_t> both = first;
    both.insert(both.end(), second.begin(), second.end());
    Bitmap loaded(nullptr, writeTemp("lumarel_both.bmp", both).c_str());
    EXPECT_EQ(loaded.size().right, 6);
    EXPECT_EQ(loaded.size().bottom, 5);

    both[first.size() + 2] += 1;  // second size off by one
    Bitmap firstOnly(nullptr, writeTemp("lumarel_both_off.bmp", both).c_str());
    EXPECT_EQ(firstOnly.size().right, 4);

    auto lying = first;
    lying[2] += 1;  // bfSize one past the file
    EXPECT_THROW(Bitmap(nullptr, writeTemp("lumarel_lying.bmp", lying).c_str()), Failure);
    EXPECT_THROW(Bitmap(nullptr, "C:\\no such folder\\none.bmp"), Failure);
}

TEST(BitmapDraw, MaskedDrawLeavesTransparentPixelsUntouched) {
    Canvas screen(8, 8);
    screen.fill(RGB(10, 20, 30), {0, 0, 8, 8});
    // picture: red where the mask is black (opaque), black elsewhere
    QuickMaskedBitmap picture(screen.screen, 4, 4);
    {
        MemoryDc image(screen.screen, picture.handle());
        unique_hbrush red(CreateSolidBrush(RGB(255, 0, 0)));
        RECT all{0, 0, 4, 4}, left{0, 0, 2, 4};
        FillRect(image.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(image.get(), &left, red.get());
        MemoryDc mask(nullptr, picture.mask());
        PatBlt(mask.get(), 0, 0, 4, 4, WHITENESS);
        PatBlt(mask.get(), 0, 0, 2, 4, BLACKNESS);
    }
    EngineContext context;
    picture.drawMasked(picture.mask(), {0, 0, 4, 4}, 2, 2, screen.dc.get(), programPalette(context));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool opaque = x >= 2 && x < 4 && y >= 2 && y < 6;
            EXPECT_EQ(GetPixel(screen.dc.get(), x, y), opaque ? RGB(255, 0, 0) : RGB(10, 20, 30)) << x << "," << y;
        }
    // the quick draw gives the same result straight onto the destination
    screen.fill(RGB(10, 20, 30), {0, 0, 8, 8});
    picture.draw({0, 0, 4, 4}, 0, 0, screen.dc.get());
    EXPECT_EQ(GetPixel(screen.dc.get(), 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(screen.dc.get(), 3, 1), RGB(10, 20, 30));
}

// Masked pictures of different sizes one after another, through a mask
// held as a Bitmap: the composing surface grows and never leaks one
// picture's pixels into the next.
TEST(BitmapDraw, MaskedDrawsOfGrowingSizesThroughAKeptMask) {
    Canvas screen(40, 40);
    EngineContext context;
    for (int size : {4, 24, 6, 32, 2}) {
        Bitmap picture(screen.screen, size, size), mask(screen.screen, size, size);
        {
            MemoryDc image(screen.screen, picture.handle());
            unique_hbrush colour(CreateSolidBrush(RGB(size * 7, 200, 40)));
            RECT all{0, 0, size, size};
            FillRect(image.get(), &all, colour.get());
            PatBlt(image.get(), 0, 0, size / 2, size, BLACKNESS);  // transparent half
            MemoryDc bits(screen.screen, mask.handle());
            PatBlt(bits.get(), 0, 0, size, size, BLACKNESS);
            PatBlt(bits.get(), 0, 0, size / 2, size, WHITENESS);
        }
        screen.fill(RGB(1, 2, 3), {0, 0, 40, 40});
        picture.drawMasked(mask, {0, 0, size, size}, 3, 5, screen.dc.get(), programPalette(context));
        picture.drawMasked(mask, {0, 0, size, size}, 3, 5, screen.dc.get(), programPalette(context));  // again: kept DCs
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool opaque = x >= 3 + size / 2 && x < 3 + size && y >= 5 && y < 5 + size;
                ASSERT_EQ(GetPixel(screen.dc.get(), x, y), opaque ? RGB(size * 7, 200, 40) : RGB(1, 2, 3))
                    << "size " << size << " at " << x << "," << y;
            }
    }
}

TEST(BitmapDraw, CopyStretchesOnlyWhenBothSidesDiffer) {
    Canvas screen(20, 20);
    screen.fill(RGB(0, 0, 0), {0, 0, 20, 20});
    Bitmap source(screen.screen, 2, 2);
    {
        MemoryDc dc(screen.screen, source.handle());
        PatBlt(dc.get(), 0, 0, 2, 2, WHITENESS);
    }
    source.copyTo({0, 0, 2, 2}, {0, 0, 8, 8}, screen.dc.get());
    EXPECT_EQ(GetPixel(screen.dc.get(), 7, 7), RGB(255, 255, 255));
    source.copyTo({0, 0, 2, 2}, {10, 10, 12, 18}, screen.dc.get());  // same width: a plain copy
    EXPECT_EQ(GetPixel(screen.dc.get(), 11, 11), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(screen.dc.get(), 11, 13), RGB(0, 0, 0));
}

// A picture stays selected in a DC of its own between draws; its handle is
// lent out of that DC, and the bitmap is still deleted with the picture.
TEST(BitmapDraw, KeepsItsDcBetweenDrawsAndLendsItsHandleOut) {
    Canvas screen(8, 8);
    screen.fill(RGB(0, 0, 0), {0, 0, 8, 8});
    HBITMAP kept = nullptr;
    {
        Bitmap picture(screen.screen, 2, 2);
        {
            MemoryDc dc(screen.screen, picture.handle());
            PatBlt(dc.get(), 0, 0, 2, 2, WHITENESS);
        }
        picture.blit({0, 0, 2, 2}, 0, 0, screen.dc.get(), SRCCOPY);
        EXPECT_EQ(GetPixel(screen.dc.get(), 1, 1), RGB(255, 255, 255));
        // Selected elsewhere after a draw: the handle comes out of the kept DC.
        {
            MemoryDc dc(screen.screen, picture.handle());
            unique_hbrush red(CreateSolidBrush(RGB(255, 0, 0)));
            RECT all{0, 0, 2, 2};
            FillRect(dc.get(), &all, red.get());
            EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(255, 0, 0));
        }
        // The next draw selects it again and shows what was painted.
        picture.blit({0, 0, 2, 2}, 4, 4, screen.dc.get(), SRCCOPY);
        EXPECT_EQ(GetPixel(screen.dc.get(), 5, 5), RGB(255, 0, 0));
        // Between two kept pictures, both ways.
        Bitmap other(screen.screen, 2, 2);
        other.copyFrom(picture, {0, 0, 2, 2}, {0, 0, 2, 2});
        picture.copyFrom(other, {0, 0, 1, 1}, {1, 1, 2, 2}, SRCINVERT);  // red ^ red = black
        picture.blit({0, 0, 2, 2}, 0, 0, screen.dc.get(), SRCCOPY);
        EXPECT_EQ(GetPixel(screen.dc.get(), 0, 0), RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(screen.dc.get(), 1, 1), RGB(0, 0, 0));
        other.copyTo({0, 0, 2, 2}, {6, 0, 8, 2}, screen.dc.get());
        EXPECT_EQ(GetPixel(screen.dc.get(), 7, 1), RGB(255, 0, 0));
        picture.blit({0, 0, 2, 2}, 2, 2, screen.dc.get(), SRCCOPY);  // selected when it goes
        kept = picture.handle();
        picture.blit({0, 0, 2, 2}, 2, 2, screen.dc.get(), SRCCOPY);
    }
    EXPECT_EQ(GetObjectType(kept), 0u) << "the bitmap outlived its picture";
}

TEST(BitmapSprite, StaysInsideItsBoundsOnEvenCorners) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_TRUE(window);
    {
        HDC dc = GetDC(window);
        QuickMaskedBitmap sprite(dc, 11, 9);
        ReleaseDC(window, dc);
        RECT bounds{5, 7, 151, 121};
        sprite.beginSprite(window, bounds, {0, 0, 11, 9}, 50, 50);
        ASSERT_TRUE(sprite.spriteActive());
        for (POINT to : {POINT{-500, -500}, POINT{1000, 1000}, POINT{60, 61}, POINT{151, 7}, POINT{0, 120}}) {
            sprite.moveSprite(to.x, to.y);
            RECT r = sprite.spriteRect();
            EXPECT_GE(r.left, bounds.left);
            EXPECT_GE(r.top, bounds.top);
            EXPECT_LE(r.right, bounds.right);
            EXPECT_LE(r.bottom, bounds.bottom);
            EXPECT_EQ(r.left % 2, 0);
            EXPECT_EQ(r.top % 2, 0);
            EXPECT_EQ(r.right - r.left, 11);
        }
        sprite.hideSprite();
        sprite.showSprite(80, 80);
        sprite.endSprite();
        EXPECT_FALSE(sprite.spriteActive());
    }
    DestroyWindow(window);
}

// The pixels of a window DC's top-left w x h, as 0xRRGGBB.
std::vector<uint32_t> pixelsOf(HDC dc, int w, int h) {
    unique_hbitmap copy(CreateCompatibleBitmap(dc, w, h));
    {
        MemoryDc memory(dc, copy.get());
        BitBlt(memory.get(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
    }
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(dc, copy.get(), 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

// A dragged red picture over a background of distinct pixels: at every step
// the hatched picture shows at its place only, and whatever it left is put
// back exactly, whether the steps overlap, jump, or the sprite hides, comes
// back and ends. The picture also draws as usual while it is a sprite.
TEST(BitmapSprite, ShowsHatchedAtItsPlaceOnlyAndLeavesNoTrail) {
    constexpr int kW = 160, kH = 120, kRed = 0xFF0000;
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, kW, kH, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_TRUE(window);
    UpdateWindow(window);
    HDC dc = GetDC(window);
    std::vector<uint32_t> background(size_t(kW) * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) background[size_t(y) * kW + size_t(x)] = uint32_t(x * 256 + y);  // no red
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kW, -kH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, 0, 0, kW, kH, 0, 0, 0, kH, background.data(), &info, DIB_RGB_COLORS);
    ASSERT_EQ(background, pixelsOf(dc, kW, kH));
    {
        QuickMaskedBitmap sprite(dc, 11, 9);
        {
            MemoryDc image(dc, sprite.handle());
            unique_hbrush red(CreateSolidBrush(RGB(255, 0, 0)));
            RECT all{0, 0, 11, 9};
            FillRect(image.get(), &all, red.get());
            MemoryDc mask(nullptr, sprite.mask());
            PatBlt(mask.get(), 0, 0, 11, 9, BLACKNESS);
        }
        // Where the hatched mask lets the background through, the quick
        // draw ORs the picture into it.
        auto expectShownAt = [&](RECT at, const char* when) {
            std::vector<uint32_t> expected = background;
            for (int y = at.top; y < at.bottom; ++y)
                for (int x = at.left; x < at.right; ++x) {
                    uint32_t& p = expected[size_t(y) * kW + size_t(x)];
                    p = (x + y) % 2 ? p | kRed : kRed;
                }
            EXPECT_EQ(expected, pixelsOf(dc, kW, kH)) << when << " at " << at.left << "," << at.top;
        };
        sprite.beginSprite(window, {0, 0, kW, kH}, {0, 0, 11, 9}, 20, 20);
        EXPECT_EQ(background, pixelsOf(dc, kW, kH)) << "nothing shows before the first move";
        for (int step = 0; step < 30; ++step) {
            sprite.moveSprite(20 + 3 * step, 20 + 2 * step);  // overlapping steps, down and right
            expectShownAt(sprite.spriteRect(), "moving");
        }
        sprite.moveSprite(30, 100);  // a jump back across
        expectShownAt(sprite.spriteRect(), "after a jump");
        sprite.moveSprite(34, 96);  // up and right, overlapping
        expectShownAt(sprite.spriteRect(), "after a jump");

        unique_hbitmap other(CreateCompatibleBitmap(dc, 11, 9));
        {
            MemoryDc drawn(dc, other.get());
            unique_hbrush green(CreateSolidBrush(RGB(0, 255, 0)));
            RECT all{0, 0, 11, 9};
            FillRect(drawn.get(), &all, green.get());
            sprite.draw({0, 0, 11, 9}, 0, 0, drawn.get());
            EXPECT_EQ(GetPixel(drawn.get(), 2, 4), RGB(255, 0, 0));
            EXPECT_EQ(GetPixel(drawn.get(), 3, 4), RGB(255, 255, 0)) << "hatched while a sprite";
        }

        sprite.hideSprite();
        EXPECT_EQ(background, pixelsOf(dc, kW, kH)) << "hidden";
        sprite.moveSprite(90, 60);
        EXPECT_EQ(background, pixelsOf(dc, kW, kH)) << "a hidden sprite does not move onto the screen";
        sprite.showSprite(90, 60);
        expectShownAt(sprite.spriteRect(), "shown again");
        sprite.moveSprite(93, 62);
        expectShownAt(sprite.spriteRect(), "moving after showing");
        sprite.endSprite();
        EXPECT_EQ(background, pixelsOf(dc, kW, kH)) << "ended";
    }
    ReleaseDC(window, dc);
    DestroyWindow(window);
}

TEST(PaletteBuilder, EmptyBuilderCopiesTheSystemPalette) {
    PaletteBuilder empty;
    unique_hpalette palette(empty.make());
    ASSERT_TRUE(palette);
    EXPECT_GT(GetPaletteEntries(palette.get(), 0, 0, nullptr), 0u);
}

TEST(PaletteBuilder, GathersTheColoursOfBitmapsUpTo256) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 8, BI_RGB, 0, 0, 0, 200, 0};
    for (int i = 0; i < 200; ++i) info.colours[i] = {BYTE(i), 1, 2, 0};
    PaletteBuilder builder;
    builder.addHeader(info.header);
    builder.addHeader(info.header);  // the same colours again add nothing
    EXPECT_EQ(builder.entries().entries().size(), 200u);
    for (int i = 0; i < 200; ++i) info.colours[i] = {BYTE(i), 9, 9, 0};
    builder.addHeader(info.header);
    EXPECT_EQ(builder.entries().entries().size(), 256u);
    unique_hpalette palette(builder.make());
    EXPECT_EQ(GetPaletteEntries(palette.get(), 0, 0, nullptr), 256u);
}

TEST(BitmapDib, DibSectionTakesThePaletteAndRefusesDeepPixels) {
    PaletteBuilder builder;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
    info.colours[1] = {0, 0, 255, 0};
    builder.addHeader(info.header);
    unique_hpalette palette(builder.make());
    Bitmap dib(3, 2, 8, palette.get());
    ASSERT_NE(dib.bits(), nullptr);
    static_cast<uint8_t*>(dib.bits())[0] = 1;  // top-left, rows run top-down
    GdiFlush();
    unique_hdc dc(CreateCompatibleDC(nullptr));
    SelectObjectScope select(dc.get(), dib.handle());
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(255, 0, 0));
    EXPECT_THROW(Bitmap(3, 2, 24, palette.get()), Failure);
}
