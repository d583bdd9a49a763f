#include "image_io.h"

#include <cstdio>

namespace art {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

namespace {

uint32_t pixelAt(const Argb& p, int x, int y) {
    const uint8_t* row = p.data + size_t(y) * size_t(p.stride);
    return uint32_t(row[x * 4]) | uint32_t(row[x * 4 + 1]) << 8 | uint32_t(row[x * 4 + 2]) << 16 |
           uint32_t(row[x * 4 + 3]) << 24;
}

// Composes a premultiplied pixel over an opaque background.
void over(uint32_t argb, uint32_t background, uint8_t rgb[3]) {
    uint32_t a = argb >> 24;
    for (int c = 0; c < 3; ++c) {
        uint32_t src = (argb >> (8 * c)) & 0xFF, bg = (background >> (8 * c)) & 0xFF;
        rgb[c] = uint8_t(src + bg * (255 - a) / 255);
    }
}

void infoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t imageSize) {
    put32(out, 40);
    put32(out, uint32_t(width));
    put32(out, uint32_t(height));
    put16(out, 1);
    put16(out, uint32_t(bits));
    put32(out, 0);
    put32(out, imageSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
}

}  // namespace

bool writeBmp24(const std::string& path, const Argb& p, uint32_t background) {
    int rowBytes = (p.width * 3 + 3) & ~3;
    uint32_t imageSize = uint32_t(rowBytes * p.height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + imageSize);
    put32(out, 0);
    put32(out, 54);
    infoHeader(out, p.width, p.height, 24, imageSize);
    for (int y = p.height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < p.width; ++x) {
            uint8_t rgb[3];  // b, g, r
            over(pixelAt(p, x, y), background, rgb);
            out.insert(out.end(), rgb, rgb + 3);
        }
        out.resize(start + size_t(rowBytes), 0);
    }
    return writeFile(path, out);
}

bool writeIcon(const std::string& path, const std::vector<Argb>& images) {
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, uint32_t(images.size()));
    std::vector<std::vector<uint8_t>> bodies;
    for (const Argb& p : images) {
        std::vector<uint8_t> body;
        int maskRow = ((p.width + 31) / 32) * 4;
        infoHeader(body, p.width, p.height * 2, 32, uint32_t(p.width * p.height * 4));
        for (int y = p.height - 1; y >= 0; --y)
            for (int x = 0; x < p.width; ++x) {
                // Icons want straight (not premultiplied) alpha.
                uint32_t v = pixelAt(p, x, y), a = v >> 24, straight = v & 0xFF000000u;
                for (int c = 0; c < 3 && a; ++c)
                    straight |= (((v >> (8 * c)) & 0xFF) * 255 / a) << (8 * c);
                put32(body, straight);
            }
        for (int y = p.height - 1; y >= 0; --y) {
            std::vector<uint8_t> row(size_t(maskRow), 0);
            for (int x = 0; x < p.width; ++x)
                if ((pixelAt(p, x, y) >> 24) < 128) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
            body.insert(body.end(), row.begin(), row.end());
        }
        bodies.push_back(std::move(body));
    }
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(uint8_t(images[i].width));
        out.push_back(uint8_t(images[i].height));
        out.push_back(0);
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, uint32_t(bodies[i].size()));
        put32(out, offset);
        offset += uint32_t(bodies[i].size());
    }
    for (const auto& body : bodies) out.insert(out.end(), body.begin(), body.end());
    return writeFile(path, out);
}

}  // namespace art
