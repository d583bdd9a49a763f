#include "frame/scene_surfaces.h"

#include <cstdlib>

#include "frame/handles.h"
#include "scene/picture_loader.h"
#include "scene/transitions.h"

namespace flurrin {

bool SceneSurfaces::size_scene(int width, int height) { return main.create(width, height) && work.create(width, height); }

void SceneSurfaces::reset() {
    for (DibSurface* s : {&main, &work, &sprite, &mask, &border}) s->reset();
}

bool load_picture_into(const char* path, DibSurface& surface) {
    unique_hbitmap picture = load_picture_file(path);
    return picture && surface.set_picture(picture.get());
}

bool load_border_tiles(DibSurface& border) {
    unique_hbitmap tiles(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "BORDER", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return tiles && border.set_picture(tiles.get());
}

void paint_fitted(HBITMAP picture, DibSurface& staging) {
    BITMAP info{};
    GetObjectA(picture, sizeof info, &info);
    int height = std::abs(info.bmHeight);
    FitRect r = fit_picture(0, 0, staging.width(), staging.height(), info.bmWidth, height, 100, 1);
    staging.clear();
    unique_hdc source(CreateCompatibleDC(staging.dc()));
    SelectObjectScope keep(source.get(), picture);
    SetStretchBltMode(staging.dc(), HALFTONE);
    SetBrushOrgEx(staging.dc(), 0, 0, nullptr);
    StretchBlt(staging.dc(), int(r.x), int(r.y), int(r.width), int(r.height), source.get(), 0, 0, info.bmWidth, height,
               SRCCOPY);
}

}  // namespace flurrin
