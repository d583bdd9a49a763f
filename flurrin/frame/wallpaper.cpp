#include "frame/wallpaper.h"

#include <shlobj.h>

#include <string>

#include "frame/saver.h"
#include "scene/pack.h"

namespace flurrin {

namespace {
std::string executable_name() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name = file_name_of(path);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}
}  // namespace

void save_scene_wallpaper(const DibSurface& scene) {
    std::string name = executable_name() + "_wallpaper.bmp";
    if (save_as_wallpaper(scene, 1, name)) return;
    // Current Windows does not let users write to the Windows folder: keep
    // the picture in the user's own application data instead.
    char folder[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder))) {
        std::string path = std::string(folder) + "\\" + name;
        if (save_bitmap_file(scene, path)) {
            set_wallpaper_stretched();
            apply_wallpaper(path);
        }
    }
}

}  // namespace flurrin
