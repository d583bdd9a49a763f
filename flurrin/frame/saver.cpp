#include "frame/saver.h"

#include <vector>

#include "frame/command_line.h"
#include "frame/form.h"
#include "frame/handles.h"

namespace flurrin {

bool saver_window_exists(const char* title) { return FindWindowA(nullptr, title) != nullptr; }

std::string reg_read_text(HKEY root, const std::string& key, const std::string& value_name) {
    return reg_read_value(root, key, value_name).value_or(std::string());
}

std::optional<std::string> reg_read_value(HKEY root, const std::string& key, const std::string& value_name) {
    // Only the predefined roots are accepted.
    auto root_value = static_cast<int32_t>(reinterpret_cast<uintptr_t>(root));
    if (root_value > static_cast<int32_t>(0x80000006u)) return {};
    unique_hkey opened;
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return {};
    opened.reset(raw);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(raw, value_name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    // Settings are short; a value of megabytes is not one of ours.
    if (size > 65536) return {};
    std::vector<uint8_t> data(size + 1);
    DWORD got = size;
    if (RegQueryValueExA(raw, value_name.c_str(), nullptr, &type, data.data(), &got) != ERROR_SUCCESS) return {};
    return registry_value_text(type, data.data(), got < data.size() ? got : data.size());
}

void reg_write_text(HKEY root, const std::string& key, const std::string& value_name, const std::string& text) {
    HKEY raw = nullptr;
    if (RegCreateKeyA(root, key.c_str(), &raw) != ERROR_SUCCESS) return;
    unique_hkey opened(raw);
    // The terminating zero is counted, as REG_SZ readers expect.
    RegSetValueExA(raw, value_name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD(text.size() + 1));
}

DWORD query_os_platform() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    return info.dwPlatformId;
}

namespace {
void set_wallpaper_style(const char* tile, const char* style) {
    reg_write_text(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", tile);
    reg_write_text(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", style);
}
}  // namespace

void set_wallpaper_centered() { set_wallpaper_style("0", "0"); }
void set_wallpaper_stretched() { set_wallpaper_style("0", "2"); }
void set_wallpaper_tiled() { set_wallpaper_style("1", "0"); }

void apply_wallpaper(const std::string& path) {
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

std::string windows_folder() {
    char buffer[MAX_PATH + 1] = {};
    UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    std::string folder(buffer, length < sizeof buffer ? length : 0);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string temp_folder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer) return windows_folder();
    std::string folder(buffer, length);
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

bool save_bitmap_file(const DibSurface& picture, const std::string& path) {
    if (!picture || picture.width() <= 0 || picture.height() <= 0) return false;
    // The surface is 24-bit and bottom-up with rows padded to four bytes:
    // exactly a BMP file's pixel layout.
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), picture.width(), picture.height(), 1, 24, BI_RGB};
    header.biSizeImage = DWORD(picture.stride() * size_t(picture.height()));
    GdiFlush();  // drawing still queued for the surface lands in its bits first
    const uint8_t* bits = picture.bits();
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof header + header.biSizeImage), 0, 0,
                          DWORD(sizeof(BITMAPFILEHEADER) + sizeof header)};
    unique_handle out = create_file(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (!out) return false;
    auto write = [&](const void* data, DWORD size) {
        DWORD written = 0;
        return WriteFile(out.get(), data, size, &written, nullptr) && written == size;
    };
    return write(&file, sizeof file) && write(&header, sizeof header) && write(bits, header.biSizeImage);
}

bool save_as_wallpaper(const DibSurface& picture, int style, const std::string& file_name) {
    std::string path = windows_folder() + file_name;
    if (!save_bitmap_file(picture, path)) return false;
    if (style == 0) set_wallpaper_centered();
    else if (style == 1) set_wallpaper_stretched();
    else if (style == 2) set_wallpaper_tiled();
    apply_wallpaper(path);
    return true;
}

void change_password(HWND parent) {
    using PwdChangePassword = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, void*);
    unique_hmodule mpr(LoadLibraryA("mpr.dll"));
    if (!mpr) return;
    auto change = reinterpret_cast<PwdChangePassword>(GetProcAddress(mpr.get(), "PwdChangePasswordA"));
    if (change) change("SCRSAVE", parent, 0, nullptr);
}

}  // namespace flurrin
