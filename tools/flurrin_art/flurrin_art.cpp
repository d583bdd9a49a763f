// Draws the pictures of flurrin into the folder given: the ten winter scenes
// (scene01.jpg / scene03.bmp ...), the object and mask sheets, the frame
// tiles, the snow-style pictures and the preview picture.
#include <cstdio>
#include <string>

#include <cairo.h>

#include "image_files.h"
#include "sheets.h"
#include "winter_scenes.h"

using namespace flurrin_art;

namespace {

constexpr int kSceneWidth = 1024, kSceneHeight = 768;

bool write_scene(const std::string& folder, int index) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSceneWidth, kSceneHeight);
    cairo_t* cr = cairo_create(s);
    draw_winter_scene(cr, index, kSceneWidth, kSceneHeight);
    cairo_destroy(cr);
    char name[32];
    std::snprintf(name, sizeof name, "scene%02d.%s", index + 1, scene_is_jpeg(index) ? "jpg" : "bmp");
    bool ok = scene_is_jpeg(index) ? write_jpeg(folder + "/" + name, s, 90) : write_bmp(folder + "/" + name, s);
    cairo_surface_destroy(s);
    return ok;
}

bool write_preview(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 150, 112);
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, 150.0 / kSceneWidth, 112.0 / kSceneHeight);
    draw_winter_scene(cr, 9, kSceneWidth, kSceneHeight);
    cairo_destroy(cr);
    bool ok = write_bmp(path, s);
    cairo_surface_destroy(s);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: flurrin_art <output folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    bool ok = true;
    for (int i = 0; i < kSceneCount; ++i) ok = write_scene(folder, i) && ok;
    ok = write_object_sheets(folder + "/sprite.bmp", folder + "/mask.bmp") && ok;
    ok = write_border_tiles(folder + "/border.bmp") && ok;
    ok = write_style_pictures(folder) && ok;
    ok = write_preview(folder + "/preview.bmp") && ok;
    if (!ok) std::fprintf(stderr, "flurrin_art: could not write every picture into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
