#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "frame/saver.h"
#include "scene/dib_surface.h"
#include "scene/picture_loader.h"
#include "test_support.h"

namespace flurrin {
namespace {

using testing::CapturedMessages;

// A JPEG file made here with libjpeg: top half one colour, bottom half another.
void write_jpeg(const std::string& path, int width, int height, bool grey) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        bool top = int(cinfo.next_scanline) < height / 2;
        for (int x = 0; x < width; ++x) {
            if (grey) row[size_t(x)] = top ? 30 : 200;
            else row[size_t(x) * 3] = top ? 240 : 10, row[size_t(x) * 3 + 1] = 20, row[size_t(x) * 3 + 2] = top ? 10 : 240;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    fclose(f);
}

COLORREF pixel_of(HBITMAP bitmap, int x, int y) {
    unique_hdc dc(CreateCompatibleDC(nullptr));
    SelectObjectScope keep(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

TEST(DibSurface, HeaderAndScanLinesFollowTheWidth) {
    DibSurface dib;
    ASSERT_TRUE(dib.create(641, 3));
    EXPECT_EQ(dib.stride(), 1924u);
    EXPECT_EQ(dib.width(), 641);
    EXPECT_EQ(dib.height(), 3);
    ASSERT_NE(dib.bits(), nullptr);
    EXPECT_EQ(dib.bits()[0], 0) << "a new surface is black";
    DIBSECTION info{};
    ASSERT_EQ(GetObjectA(dib.bitmap(), sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.dsBmih.biBitCount, 24);
    EXPECT_GT(info.dsBmih.biHeight, 0);  // bottom-up
    EXPECT_EQ(info.dsBmih.biSizeImage, 1924u * 3u);
    EXPECT_EQ(GetCurrentObject(dib.dc(), OBJ_BITMAP), dib.bitmap());
    dib.reset();
    EXPECT_EQ(dib.dc(), nullptr);
    EXPECT_EQ(dib.bits(), nullptr);
    EXPECT_FALSE(dib.create(0, 10));
    EXPECT_FALSE(dib.create(100000, 100000));  // too large for a section: no handle, no message
    EXPECT_EQ(dib.dc(), nullptr);
}

TEST(DibSurface, TakesAPictureAtItsSizeAndHandsItsBitmapOver) {
    DibSurface a, b;
    ASSERT_TRUE(a.create(8, 8));
    PatBlt(a.dc(), 0, 0, 8, 8, WHITENESS);
    PatBlt(a.dc(), 0, 0, 4, 8, BLACKNESS);
    unique_hbitmap taken = a.release_bitmap();
    ASSERT_TRUE(taken);
    EXPECT_FALSE(a);
    EXPECT_EQ(pixel_of(taken.get(), 5, 5), RGB(255, 255, 255)) << "the bitmap outlives its surface";
    ASSERT_TRUE(b.create(2, 2));
    ASSERT_TRUE(b.set_picture(taken.get()));
    EXPECT_EQ(b.width(), 8);
    EXPECT_EQ(GetPixel(b.dc(), 3, 7), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(b.dc(), 4, 7), RGB(255, 255, 255));
    b.clear();
    EXPECT_EQ(GetPixel(b.dc(), 4, 7), RGB(0, 0, 0));
    EXPECT_FALSE(b.set_picture(nullptr));
}

class JpegFiles : public ::testing::Test {
protected:
    std::string dir = testing::temp_dir("flurrin_jpeg");
};

TEST_F(JpegFiles, ColourAndGreyPicturesDecodeIntoTheSection) {
    write_jpeg(dir + "colour.jpg", 641, 20, false);
    write_jpeg(dir + "grey.JPG", 40, 30, true);
    CapturedMessages messages;
    DibSurface dib;
    ASSERT_TRUE(load_jpeg(dib, dir + "colour.jpg"));
    EXPECT_EQ(dib.width(), 641);
    EXPECT_EQ(dib.height(), 20);
    COLORREF top = GetPixel(dib.dc(), 100, 2), bottom = GetPixel(dib.dc(), 100, 18);
    EXPECT_GT(GetRValue(top), 200);
    EXPECT_LT(GetBValue(top), 40);
    EXPECT_GT(GetBValue(bottom), 200);
    ASSERT_TRUE(load_jpeg(dib, dir + "grey.JPG"));
    COLORREF grey = GetPixel(dib.dc(), 5, 25);
    EXPECT_NEAR(GetRValue(grey), 200, 10);
    EXPECT_EQ(GetRValue(grey), GetBValue(grey));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(JpegFiles, MissingAndBrokenFilesShowTheirMessageAndNoCrash) {
    CapturedMessages messages;
    DibSurface dib;
    EXPECT_FALSE(load_jpeg(dib, dir + "missing.jpg"));
    testing::write_file(dir + "text.jpg", "hello, this is no picture");
    EXPECT_FALSE(load_jpeg(dib, dir + "text.jpg"));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{kJpegReadFailed, kJpegReadFailed}));
    EXPECT_EQ(dib.dc(), nullptr);

    // Header and frame intact but no quantisation tables: the size reads, the
    // image data does not.
    write_jpeg(dir + "good.jpg", 64, 64, false);
    FILE* f = fopen((dir + "good.jpg").c_str(), "rb");
    std::vector<uint8_t> bytes(100000);
    bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
    fclose(f);
    for (size_t i = 0; i + 3 < bytes.size();) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDB) {
            size_t length = size_t(bytes[i + 2]) << 8 | bytes[i + 3];
            bytes.erase(bytes.begin() + long(i), bytes.begin() + long(i + 2 + length));
        } else {
            ++i;
        }
    }
    testing::write_file(dir + "cut.jpg", std::string(bytes.begin(), bytes.end()));
    messages.texts().clear();
    EXPECT_FALSE(load_jpeg(dib, dir + "cut.jpg"));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kJpegDataFailed});
}

// Windows' GetDIBits refuses a bitmap that is selected into a device context;
// Wine's reads it anyway. While one of these lives, this program's imported
// GetDIBits follows Windows' rule for the bitmaps of DCs named here.
class StrictGetDIBits {
public:
    explicit StrictGetDIBits(std::vector<HDC> dcs) {
        watched_ = std::move(dcs);
        slot_ = import_slot("gdi32.dll", "GetDIBits");
        if (slot_) swap_in(reinterpret_cast<void*>(&strict));
    }
    ~StrictGetDIBits() {
        if (slot_) swap_in(original_);
    }
    bool installed() const { return slot_ != nullptr; }

private:
    using GetDIBitsFn = int(WINAPI*)(HDC, HBITMAP, UINT, UINT, void*, BITMAPINFO*, UINT);
    static int WINAPI strict(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT use) {
        for (HDC watched : watched_)
            if (GetCurrentObject(watched, OBJ_BITMAP) == bitmap) return 0;
        return reinterpret_cast<GetDIBitsFn>(original_)(dc, bitmap, start, lines, bits, info, use);
    }
    // The import address table entry of dll!name in this program.
    static void** import_slot(const char* dll, const char* name) {
        auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleA(nullptr));
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
            if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto* by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (lstrcmpA(reinterpret_cast<char*>(by_name->Name), name) == 0)
                    return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
        return nullptr;
    }
    void swap_in(void* function) {
        DWORD old = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &old);
        void* previous = *slot_;
        *slot_ = function;
        VirtualProtect(slot_, sizeof *slot_, old, &old);
        if (function != original_) original_ = previous;
    }

    static inline std::vector<HDC> watched_;
    static inline void* original_ = nullptr;
    void** slot_ = nullptr;
};

TEST_F(JpegFiles, TheSceneIsSavedWhileItsBitmapStaysSelected) {
    // The saver's work surface keeps its bitmap selected to the end.
    DibSurface scene;
    ASSERT_TRUE(scene.create(21, 7));  // rows padded: 63 bytes of pixels, 64 stored
    PatBlt(scene.dc(), 0, 0, 21, 7, BLACKNESS);
    SetPixel(scene.dc(), 0, 0, RGB(200, 10, 30));
    SetPixel(scene.dc(), 20, 6, RGB(5, 250, 60));
    StrictGetDIBits strict({scene.dc()});
    ASSERT_TRUE(strict.installed());
    // The stand-in bites: this is what reading the scene with GetDIBits gets
    // on Windows.
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 21, 7, 1, 24, BI_RGB};
    std::vector<uint8_t> read(64 * 7);
    WindowDc screen_dc(nullptr);
    EXPECT_EQ(GetDIBits(screen_dc.get(), scene.bitmap(), 0, 7, read.data(), reinterpret_cast<BITMAPINFO*>(&header),
                        DIB_RGB_COLORS),
              0);
    ASSERT_TRUE(save_bitmap_file(scene, dir + "scene.bmp"));
    unique_hbitmap saved = load_picture_file(dir + "scene.bmp");
    ASSERT_TRUE(saved);
    EXPECT_EQ(pixel_of(saved.get(), 0, 0), RGB(200, 10, 30));
    EXPECT_EQ(pixel_of(saved.get(), 20, 6), RGB(5, 250, 60));
    EXPECT_EQ(pixel_of(saved.get(), 10, 3), RGB(0, 0, 0));
    EXPECT_EQ(GetCurrentObject(scene.dc(), OBJ_BITMAP), scene.bitmap()) << "the surface still draws";
}

TEST_F(JpegFiles, PictureFilesLoadByTheirKind) {
    CapturedMessages messages;
    write_jpeg(dir + "p.jpg", 32, 16, false);
    unique_hbitmap jpeg = load_picture_file(dir + "p.jpg");
    ASSERT_TRUE(jpeg);
    EXPECT_GT(GetRValue(pixel_of(jpeg.get(), 3, 3)), 200);

    // A BMP written by our own writer comes back through the platform loader.
    DibSurface dib;
    ASSERT_TRUE(dib.create(20, 10));
    PatBlt(dib.dc(), 0, 0, 20, 10, WHITENESS);
    ASSERT_TRUE(save_bitmap_file(dib, dir + "w.bmp"));
    unique_hbitmap bmp = load_picture_file(dir + "w.bmp");
    ASSERT_TRUE(bmp);
    BITMAP info{};
    GetObjectA(bmp.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 20);
    EXPECT_EQ(pixel_of(bmp.get(), 19, 9), RGB(255, 255, 255));

    // A 1 x 1 GIF whose one pixel is palette entry 0, red.
    const char gif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                       ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";
    testing::write_file(dir + "red.gif", std::string(gif, sizeof gif - 1));
    unique_hbitmap red = load_picture_file(dir + "red.gif");
    ASSERT_TRUE(red);
    EXPECT_EQ(pixel_of(red.get(), 0, 0), RGB(255, 0, 0));

    EXPECT_FALSE(load_picture_file(dir + "nothing.bmp"));
    testing::write_file(dir + "junk.gif", "GIF89a but not really");
    EXPECT_FALSE(load_picture_file(dir + "junk.gif"));
    EXPECT_TRUE(is_jpeg_name("a.jpg"));
    EXPECT_TRUE(is_jpeg_name("A.JpG"));
    EXPECT_FALSE(is_jpeg_name("a.jpeg"));
    EXPECT_FALSE(is_jpeg_name("jp"));
}

}  // namespace
}  // namespace flurrin
