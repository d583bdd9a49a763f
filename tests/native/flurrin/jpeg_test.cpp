#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "scene/jpeg_decode.h"

namespace flurrin {
namespace {

// A small JPEG made here: left half red, right half blue (or a grey ramp).
std::vector<uint8_t> make_jpeg(int width, int height, bool grey, int quality = 95) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(width) * (grey ? 1 : 3));
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = int(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            if (grey) {
                row[size_t(x)] = uint8_t(y < height / 2 ? 40 : 210);
            } else {
                bool left = x < width / 2;
                row[size_t(x) * 3 + 0] = left ? 220 : 20;
                row[size_t(x) * 3 + 1] = 30;
                row[size_t(x) * 3 + 2] = left ? 20 : 230;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(out, out + size);
    free(out);
    return bytes;
}

TEST(Jpeg, ScanLinesArePaddedToFourBytes) {
    EXPECT_EQ(dib_bytes_per_line(641), 1924u);  // 1923 rounded up: one pad byte
    EXPECT_EQ(dib_bytes_per_line(640), 1920u);
    EXPECT_EQ(dib_bytes_per_line(1), 4u);
}

TEST(Jpeg, ColourPictureArrivesAsBgrBottomUp) {
    const int w = 641, h = 40;
    std::vector<uint8_t> jpeg = make_jpeg(w, h, false);
    JpegInfo info;
    ASSERT_TRUE(jpeg_read_info(jpeg.data(), jpeg.size(), info));
    EXPECT_EQ(info.width, w);
    EXPECT_EQ(info.height, h);
    EXPECT_EQ(info.channels, 3);
    size_t line = dib_bytes_per_line(w);
    std::vector<uint8_t> bits(line * h + 16, 0xEE);
    ASSERT_TRUE(jpeg_decode_bottom_up(jpeg.data(), jpeg.size(), bits.data(), line, w, h));
    const uint8_t* left = &bits[line * 20 + 10 * 3];
    EXPECT_NEAR(left[2], 220, 12);  // R
    EXPECT_NEAR(left[0], 20, 12);   // B
    const uint8_t* right = &bits[line * 20 + 600 * 3];
    EXPECT_NEAR(right[0], 230, 12);
    EXPECT_NEAR(right[2], 20, 12);
    EXPECT_EQ(bits[line * h], 0xEE) << "wrote past the last row";
}

TEST(Jpeg, GreyPictureFillsTheSame24BitLayoutWithTheFirstRowLast) {
    const int w = 33, h = 32;
    std::vector<uint8_t> jpeg = make_jpeg(w, h, true);
    JpegInfo info;
    ASSERT_TRUE(jpeg_read_info(jpeg.data(), jpeg.size(), info));
    EXPECT_EQ(info.channels, 1);
    size_t line = dib_bytes_per_line(w);
    std::vector<uint8_t> bits(line * h);
    ASSERT_TRUE(jpeg_decode_bottom_up(jpeg.data(), jpeg.size(), bits.data(), line, w, h));
    // The top of the picture (dark) is the last stored row.
    const uint8_t* top = &bits[line * (h - 1) + 5 * 3];
    const uint8_t* bottom = &bits[5 * 3];
    EXPECT_NEAR(top[0], 40, 10);
    EXPECT_EQ(top[0], top[1]);
    EXPECT_EQ(top[1], top[2]);
    EXPECT_NEAR(bottom[1], 210, 10);
}

TEST(Jpeg, ReducedDecodingGivesTheFractionOfThePicture) {
    const int w = 641, h = 41;
    std::vector<uint8_t> jpeg = make_jpeg(w, h, false);
    for (int reduction : {2, 4, 8}) {
        int rw = jpeg_reduced_size(w, reduction), rh = jpeg_reduced_size(h, reduction);
        size_t line = dib_bytes_per_line(rw);
        std::vector<uint8_t> bits(line * size_t(rh) + 16, 0xEE);
        ASSERT_TRUE(jpeg_decode_bottom_up(jpeg.data(), jpeg.size(), bits.data(), line, rw, rh, kMaxJpegPixels, reduction))
            << reduction;
        const uint8_t* left = &bits[line * size_t(rh / 2) + 1 * 3];
        const uint8_t* right = &bits[line * size_t(rh / 2) + size_t(rw - 2) * 3];
        EXPECT_NEAR(left[2], 220, 16) << reduction;
        EXPECT_NEAR(right[0], 230, 16) << reduction;
        EXPECT_EQ(bits[line * size_t(rh)], 0xEE) << "wrote past the last row at 1/" << reduction;
        // The full size is refused once a reduction is asked for.
        EXPECT_FALSE(jpeg_decode_bottom_up(jpeg.data(), jpeg.size(), bits.data(), line, w, h, kMaxJpegPixels, reduction));
    }
    EXPECT_EQ(jpeg_reduced_size(641, 8), 81);
    std::vector<uint8_t> bits(dib_bytes_per_line(w) * h);
    EXPECT_FALSE(jpeg_decode_bottom_up(jpeg.data(), jpeg.size(), bits.data(), dib_bytes_per_line(w), w, h, kMaxJpegPixels, 3));
}

TEST(Jpeg, BrokenFilesAreRefusedWithoutEndingTheProcess) {
    std::vector<uint8_t> good = make_jpeg(64, 48, false);
    JpegInfo info;
    EXPECT_FALSE(jpeg_read_info(nullptr, 0, info));
    const uint8_t text[] = "this is not a picture at all";
    EXPECT_FALSE(jpeg_read_info(text, sizeof text, info));
    std::vector<uint8_t> header_only(good.begin(), good.begin() + 20);
    EXPECT_FALSE(jpeg_read_info(header_only.data(), header_only.size(), info));

    // Size given by the caller must match the file.
    std::vector<uint8_t> bits(dib_bytes_per_line(64) * 48);
    EXPECT_FALSE(jpeg_decode_bottom_up(good.data(), good.size(), bits.data(), dib_bytes_per_line(64), 63, 48));
    EXPECT_FALSE(jpeg_decode_bottom_up(good.data(), good.size(), bits.data(), 10, 64, 48));
    EXPECT_FALSE(jpeg_decode_bottom_up(good.data(), good.size(), bits.data(), dib_bytes_per_line(64), 64, 48, 100));

    // Damaged entropy data is survived (libjpeg warns and fills in).
    std::vector<uint8_t> damaged = good;
    for (size_t i = good.size() / 2; i < good.size() - 2; i += 7) damaged[i] ^= 0x5A;
    jpeg_decode_bottom_up(damaged.data(), damaged.size(), bits.data(), dib_bytes_per_line(64), 64, 48);
    // Damaged header tables are an error, not an exit.
    std::vector<uint8_t> bad_tables = good;
    for (size_t i = 2; i < 200 && i < bad_tables.size(); ++i) bad_tables[i] = 0xFF;
    EXPECT_FALSE(jpeg_decode_bottom_up(bad_tables.data(), bad_tables.size(), bits.data(), dib_bytes_per_line(64), 64, 48));
}

TEST(Jpeg, HugeDimensionsAreRefusedBeforeDecoding) {
    // A header claiming 60000 x 60000 pixels.
    std::vector<uint8_t> jpeg = make_jpeg(16, 16, false);
    for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 0xEA, jpeg[i + 6] = 0x60, jpeg[i + 7] = 0xEA, jpeg[i + 8] = 0x60;
            break;
        }
    }
    JpegInfo info;
    ASSERT_TRUE(jpeg_read_info(jpeg.data(), jpeg.size(), info));
    EXPECT_EQ(info.width, 60000);
    uint8_t dummy[16];
    EXPECT_FALSE(jpeg_decode_bottom_up(jpeg.data(), jpeg.size(), dummy, 180000, 60000, 60000));
}

}  // namespace
}  // namespace flurrin
