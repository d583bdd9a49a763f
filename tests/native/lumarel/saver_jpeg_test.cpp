// JPEG background pictures converted to BMP files: the file's layout read
// back byte by byte, the pictures refused, and when a conversion is reused.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "saver/jpeg_to_bmp.h"

using namespace lumarel;

namespace {

// A JPEG of the given components (1, 3 or 4), each pixel from `colour`.
template <typename Colour>
std::vector<uint8_t> encodeJpeg(int width, int height, int components, Colour colour, bool progressive = false) {
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(size_t(width * components));
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < width; ++x) colour(x, int(c.next_scanline), &row[size_t(x * components)]);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<uint8_t> bytes(out, out + size);
    free(out);
    return bytes;
}

struct MemorySink : BmpSink {
    std::vector<uint8_t> bytes;
    uint64_t failAfter = UINT64_MAX;
    bool write(uint64_t offset, const uint8_t* data, size_t count) override {
        if (offset + count > failAfter) return false;
        if (bytes.size() < offset + count) bytes.resize(size_t(offset + count));
        memcpy(bytes.data() + offset, data, count);
        return true;
    }
    uint32_t u32(size_t at) const {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
    }
    uint16_t u16(size_t at) const { return uint16_t(bytes[at] | bytes[at + 1] << 8); }
};

// Left half red, right half blue; top rows dark, bottom rows bright.
void halves(int x, int y, uint8_t* p) {
    const uint8_t level = y < 8 ? 100 : 250;
    p[0] = x < 8 ? level : 0;
    p[1] = 0;
    p[2] = x < 8 ? 0 : level;
}

TEST(SaverJpeg, ColourPictureBecomesA24BitBottomUpBmp) {
    for (bool progressive : {false, true}) {
        const auto jpeg = encodeJpeg(17, 16, 3, halves, progressive);
        MemorySink sink;
        JpegBmpResult r = convertJpegToBmp(jpeg.data(), jpeg.size(), sink);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.bitsPerPixel, 24);
        const size_t stride = 52;  // 17 × 3 = 51, padded to 4
        ASSERT_EQ(sink.bytes.size(), 54 + stride * 16);
        EXPECT_EQ(r.fileSize, sink.bytes.size());
        EXPECT_EQ(sink.bytes[0], 'B');
        EXPECT_EQ(sink.bytes[1], 'M');
        EXPECT_EQ(sink.u32(2), sink.bytes.size());
        EXPECT_EQ(sink.u32(10), 54u);
        EXPECT_EQ(sink.u32(14), 40u);
        EXPECT_EQ(sink.u32(18), 17u);
        EXPECT_EQ(sink.u32(22), 16u);  // positive height: bottom-up
        EXPECT_EQ(sink.u16(28), 24);
        // The first stored row is the picture's bottom (bright); blue, green, red.
        const uint8_t* bottomLeft = &sink.bytes[54];
        EXPECT_NEAR(bottomLeft[2], 250, 6);
        EXPECT_NEAR(bottomLeft[0], 0, 6);
        const uint8_t* bottomRight = &sink.bytes[54 + 16 * 3];
        EXPECT_NEAR(bottomRight[0], 250, 6);
        EXPECT_NEAR(bottomRight[2], 0, 6);
        const uint8_t* topLeft = &sink.bytes[54 + stride * 15];
        EXPECT_NEAR(topLeft[2], 100, 6);
        EXPECT_EQ(sink.bytes[54 + 51], 0);  // padding
    }
}

TEST(SaverJpeg, GreyPictureBecomesAn8BitBmpWithAGreyRamp) {
    const auto jpeg = encodeJpeg(10, 4, 1, [](int x, int, uint8_t* p) { p[0] = uint8_t(x * 25); });
    MemorySink sink;
    JpegBmpResult r = convertJpegToBmp(jpeg.data(), jpeg.size(), sink);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bitsPerPixel, 8);
    EXPECT_EQ(sink.u32(10), 54u + 1024u);
    EXPECT_EQ(sink.u16(28), 8);
    EXPECT_EQ(sink.u32(46), 256u);
    for (int i : {0, 77, 255}) {
        EXPECT_EQ(sink.bytes[54 + 4 * i], i);
        EXPECT_EQ(sink.bytes[54 + 4 * i + 2], i);
    }
    ASSERT_EQ(sink.bytes.size(), 54 + 1024 + 12 * 4u);
    EXPECT_NEAR(sink.bytes[54 + 1024 + 9], 225, 3);
}

TEST(SaverJpeg, PicturesWeDoNotConvertAreRefused) {
    MemorySink sink;
    const auto cmyk = encodeJpeg(8, 8, 4, [](int, int, uint8_t* p) { p[0] = p[1] = p[2] = p[3] = 128; });
    EXPECT_FALSE(convertJpegToBmp(cmyk.data(), cmyk.size(), sink).ok);

    const auto good = encodeJpeg(16, 16, 3, halves);
    // Cut inside the header: refused. Cut inside the picture data: libjpeg
    // warns and fills the rest, and the whole file is still written.
    for (size_t cut : {size_t(2), size_t(100)}) {
        MemorySink partial;
        EXPECT_FALSE(convertJpegToBmp(good.data(), cut, partial).ok) << cut;
    }
    MemorySink filled;
    JpegBmpResult cutShort = convertJpegToBmp(good.data(), good.size() - 40, filled);
    ASSERT_TRUE(cutShort.ok);
    EXPECT_EQ(filled.bytes.size(), cutShort.fileSize);
    const uint8_t noise[] = {0xFF, 0xD8, 0x12, 0x34, 0x56};
    EXPECT_FALSE(convertJpegToBmp(noise, sizeof noise, sink).ok);
    EXPECT_FALSE(convertJpegToBmp(nullptr, 0, sink).ok);

    // A header claiming 40000 × 16 is refused before anything is written.
    auto huge = good;
    for (size_t i = 0; i + 9 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 7] = 40000 >> 8;
            huge[i + 8] = 40000 & 0xFF;
            break;
        }
    MemorySink untouched;
    EXPECT_FALSE(convertJpegToBmp(huge.data(), huge.size(), untouched).ok);
    EXPECT_TRUE(untouched.bytes.empty());

    // A caller's lower cap refuses a picture above it, from the header too.
    MemorySink capped;
    EXPECT_FALSE(convertJpegToBmp(good.data(), good.size(), capped, 255).ok);
    EXPECT_TRUE(capped.bytes.empty());
    EXPECT_TRUE(convertJpegToBmp(good.data(), good.size(), capped, 256).ok);

    // A sink that fails midway ends the conversion as failed.
    MemorySink failing;
    failing.failAfter = 200;
    EXPECT_FALSE(convertJpegToBmp(good.data(), good.size(), failing).ok);
}

TEST(SaverJpeg, ConversionIsReusedOnlyForTheSameNameTimeAndFile) {
    const uint64_t time = 0x0123456789ABCDEFull;
    EXPECT_TRUE(conversionIsCurrent("Snow.jpg", 0x89ABCDEFu, "Snow.jpg", time, true));
    EXPECT_FALSE(conversionIsCurrent("Snow.jpg", 0x89ABCDEFu, "Snow.jpg", time, false));
    EXPECT_FALSE(conversionIsCurrent("snow.jpg", 0x89ABCDEFu, "Snow.jpg", time, true));
    EXPECT_FALSE(conversionIsCurrent("Snow.jpg", 0x89ABCDEEu, "Snow.jpg", time, true));
    EXPECT_FALSE(conversionIsCurrent(nullptr, 0x89ABCDEFu, "Snow.jpg", time, true));
}

}  // namespace
