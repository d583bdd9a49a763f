// lumarel's art generator: the program palette, the 47 bulb strips with their
// masks, the small named pictures, the About pictures, the icons (lumarel's, its
// screen saver's and its bulb files'), the settings window's drag cursors, the
// screen saver's strips, floaters and
// pictures, resource script fragments naming them all, and contact sheets to
// judge the bulbs and the saver art by.
// Deterministic: the same files every run.
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "engine/bulb_table.h"
#include "image_io.h"
#include "painters.h"
#include "program_palette.h"
#include "saver_art.h"

namespace art {
bool writeAboutArt(const std::string& out);
bool writeSaverIcon(const std::string& path);
bool writeBulbFileIcon(const std::string& path);
bool writeDragCursors(const std::string& out);
}

using namespace art;
using lumarel::BulbTableRow;
using lumarel::FrameBox;

namespace {

// One strip being made: palette indices and opacity, in strip coordinates.
struct Strip {
    int width = 0, height = 0;
    std::vector<uint8_t> index;   // 0 (black) outside the shapes
    std::vector<uint8_t> opaque;  // 1 where the mask is black
    uint8_t& at(std::vector<uint8_t>& v, int x, int y) { return v[size_t(y) * size_t(width) + size_t(x)]; }
};

// Draws one frame with its painter, turned for its block, into an ARGB image.
std::vector<uint32_t> renderFrame(const KindArt& kind, const lumarel::FrameArt& fa, int frame, int w, int h,
                                  bool small) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    int turns = kind.turns[std::min(fa.block, 4)] & 3;
    Frame f{};
    f.w = turns % 2 ? h : w;
    f.h = turns % 2 ? w : h;
    f.flavor = fa.flavor;
    f.state = fa.state;
    f.block = fa.block;
    f.frame = frame;
    f.small = small;
    // The light comes from the screen's top left whatever the turn.
    const double lights[4][2] = {{-0.707, -0.707}, {-0.707, 0.707}, {0.707, 0.707}, {0.707, -0.707}};
    f.lightX = lights[turns][0];
    f.lightY = lights[turns][1];
    switch (turns) {
    case 1: cairo_translate(cr, w, 0); cairo_rotate(cr, M_PI / 2); break;
    case 2: cairo_translate(cr, w, h); cairo_rotate(cr, M_PI); break;
    case 3: cairo_translate(cr, 0, h); cairo_rotate(cr, -M_PI / 2); break;
    }
    kind.paint(cr, f);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    const uint8_t* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < h; ++y) memcpy(&pixels[size_t(y) * size_t(w)], data + size_t(y) * size_t(stride), size_t(w) * 4);
    cairo_surface_destroy(surface);
    return pixels;
}

// Joins frames that a kind shows at the same place in turn (one position and
// flavor across its phases): they must share one outline, because the program
// draws every phase through the first phase's mask.
struct Groups {
    std::vector<int> parent;
    explicit Groups(int n) : parent(size_t(n) + 1) { std::iota(parent.begin(), parent.end(), 0); }
    int find(int a) { return parent[size_t(a)] == a ? a : parent[size_t(a)] = find(parent[size_t(a)]); }
    void join(int a, int b) { parent[size_t(find(a))] = find(b); }
};

void paintFrames(int r, const BulbTableRow& row, Strip& strip, bool small, const ProgramPalette& palette) {
    const KindArt& kind = kindArt(r);
    int count = lumarel::frameCount(row, small), large = lumarel::frameCount(row, false);
    if (count == 0) return;
    Groups groups(count);
    for (int position = 0; position < 8; ++position)
        for (int fl = 0; fl < row.flavors; ++fl)
            for (int p = 1; p < row.phases; ++p) {
                int a = lumarel::frameNumber(row, position, fl, 0), b = lumarel::frameNumber(row, position, fl, p);
                if (a <= count && b <= count &&
                    lumarel::frameNumberBox(row, a, small).width() == lumarel::frameNumberBox(row, b, small).width() &&
                    lumarel::frameNumberBox(row, a, small).height() == lumarel::frameNumberBox(row, b, small).height())
                    groups.join(a, b);
            }
    std::vector<std::vector<uint32_t>> rendered(size_t(count) + 1);
    for (int n = 1; n <= count; ++n) {
        FrameBox box = lumarel::frameNumberBox(row, n, small);
        int source = n <= large ? n : (n - 1) % large + 1;
        rendered[size_t(n)] = renderFrame(kind, lumarel::frameArt(r, source), source, box.width(), box.height(), small);
    }
    const uint32_t threshold = small ? 110 : 80;
    for (int n = 1; n <= count; ++n) {
        FrameBox box = lumarel::frameNumberBox(row, n, small);
        int w = box.width(), h = box.height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t i = size_t(y) * size_t(w) + size_t(x);
                uint32_t px = rendered[size_t(n)][i];
                bool own = (px >> 24) >= threshold;
                bool shared = own;
                for (int m = 1; m <= count && !shared; ++m)
                    if (m != n && groups.find(m) == groups.find(n) && (rendered[size_t(m)][i] >> 24) >= threshold)
                        shared = true;
                int sx = box.left + x, sy = box.top + y;
                strip.at(strip.opaque, sx, sy) = shared ? 1 : 0;
                // premultiplied colour = the colour over black: edges fade dark
                strip.at(strip.index, sx, sy) =
                    own ? palette.nearest(uint8_t(px >> 16), uint8_t(px >> 8), uint8_t(px)) : 0;
            }
    }
}

Strip makeStrip(int r, const ProgramPalette& palette) {
    const BulbTableRow& row = lumarel::builtInRow(r);
    FrameBox size = lumarel::stripSize(row);
    Strip strip;
    strip.width = size.width();
    strip.height = size.height();
    strip.index.assign(size_t(strip.width) * size_t(strip.height), 0);
    strip.opaque.assign(strip.index.size(), 0);
    paintFrames(r, row, strip, false, palette);
    paintFrames(r, row, strip, true, palette);  // after: they may lie over frames never shown
    return strip;
}

// The bulbs on a dark and on a light ground, each kind with its name.
bool writeContactSheet(const std::string& path, const std::vector<Strip>& strips, const ProgramPalette& palette) {
    const int scale = 2, label = 190, gap = 16;
    int width = 0, height = 0;
    for (int r = 0; r < lumarel::kBuiltInKinds; ++r) {
        const BulbTableRow& row = lumarel::builtInRow(r);
        int w = 0, h = 0;
        for (int k = 0; k < 4; ++k) {
            w = std::max(w, row.rows[k].count * row.rows[k].width);
            h += row.rows[k].height;
        }
        width = std::max(width, label + 2 * (w * scale + gap));
        height += std::max(h * scale, 40) + gap;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height + gap);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.22);
    cairo_paint(cr);
    int y = gap / 2;
    for (int r = 0; r < lumarel::kBuiltInKinds; ++r) {
        const BulbTableRow& row = lumarel::builtInRow(r);
        const Strip& s = strips[size_t(r)];
        int w = 0, h = 0;
        for (int k = 0; k < 4; ++k) {
            w = std::max(w, row.rows[k].count * row.rows[k].width);
            h += row.rows[k].height;
        }
        char caption[64];
        snprintf(caption, sizeof caption, "%s", row.name);
        text(cr, caption, label / 2, y + 12, 12, col::white, false);
        snprintf(caption, sizeof caption, "%d flavor%s, %d phase%s", row.flavors, row.flavors > 1 ? "s" : "",
                 row.phases, row.phases > 1 ? "s" : "");
        text(cr, caption, label / 2, y + 28, 10, {0.75, 0.75, 0.75}, false);
        for (int ground = 0; ground < 2; ++ground) {
            int x0 = label + ground * (w * scale + gap);
            double bg = ground ? 0.92 : 0.02;
            cairo_set_source_rgb(cr, bg, bg, ground ? 0.9 : 0.06);
            cairo_rectangle(cr, x0, y, w * scale, h * scale);
            cairo_fill(cr);
            for (int py = 0; py < h; ++py)
                for (int px = 0; px < w; ++px) {
                    size_t i = size_t(py) * size_t(s.width) + size_t(px);
                    if (!s.opaque[i]) continue;
                    auto c = palette.colour(s.index[i]);
                    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
                    cairo_rectangle(cr, x0 + px * scale, y + py * scale, scale, scale);
                    cairo_fill(cr);
                }
        }
        y += std::max(h * scale, 40) + gap;
    }
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: lumarel_art <output folder> [contact sheet copy]\n");
        return 2;
    }
    std::string out = argv[1];
    ProgramPalette palette;
    bool ok = writeAboutArt(out) && writeSaverIcon(out + "/saver.ico") &&
              writeBulbFileIcon(out + "/bulbfile.ico") && writeDragCursors(out) && palette.write(out + "/palette.bmp") &&
              writeSmallPictures(out, palette) && writeSaverArt(out, palette);
    std::vector<Strip> strips;
    std::string rc = "// Made by tools/art: the bulb strips and their masks.\n";
    for (int r = 0; r < lumarel::kBuiltInKinds && ok; ++r) {
        const BulbTableRow& row = lumarel::builtInRow(r);
        strips.push_back(makeStrip(r, palette));
        const Strip& s = strips.back();
        std::vector<uint8_t> mask(s.opaque.size());
        for (size_t i = 0; i < mask.size(); ++i) mask[i] = s.opaque[i] ? 0 : 1;  // black = opaque
        std::string strip = "bulb" + std::to_string(row.stripResource) + ".bmp";
        std::string maskName = "bulb" + std::to_string(row.maskResource) + ".bmp";
        ok = ok && palette.writeIndexed(out + "/" + strip, s.width, s.height, s.index) &&
             writeMask(out + "/" + maskName, s.width, s.height, mask);
        rc += std::to_string(row.stripResource) + " BITMAP \"" + strip + "\"\n";
        rc += std::to_string(row.maskResource) + " BITMAP \"" + maskName + "\"\n";
    }
    FILE* f = fopen((out + "/bulb_bitmaps.rc").c_str(), "w");
    ok = ok && f && fputs(rc.c_str(), f) >= 0;
    if (f) ok = fclose(f) == 0 && ok;
    ok = ok && writeContactSheet(out + "/bulbs.png", strips, palette);
    if (ok && argc > 2) ok = writeContactSheet(argv[2], strips, palette);
    if (!ok) {
        fprintf(stderr, "lumarel_art: could not write into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
