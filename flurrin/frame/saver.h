// Saver plumbing: registry text, platform query, wallpaper, password change.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "scene/dib_surface.h"

namespace flurrin {

inline constexpr const char* kMainFormCaption = "Screen Saver Main Form";
inline constexpr const char* kInstallPathError = "Install path error! Please uninstall, then Reinstall this program!";
inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";

bool saver_window_exists(const char* title);

// Nothing when the key or value is missing or unreadable.
std::optional<std::string> reg_read_value(HKEY root, const std::string& key, const std::string& value_name);
std::string reg_read_text(HKEY root, const std::string& key, const std::string& value_name);
void reg_write_text(HKEY root, const std::string& key, const std::string& value_name, const std::string& text);

DWORD query_os_platform();

void set_wallpaper_centered();
void set_wallpaper_stretched();
void set_wallpaper_tiled();
void apply_wallpaper(const std::string& path);
// Writes the picture as a BMP file at windows_folder() + file_name and makes
// it the wallpaper in the given style (0 centred, 1 stretched, 2 tiled).
bool save_as_wallpaper(const DibSurface& picture, int style, const std::string& file_name);
std::string windows_folder();
// Where pack members are copied out: the user's temporary folder.
std::string temp_folder();

// Hands the password change to the system's password provider, loaded at run
// time; without it nothing happens.
void change_password(HWND parent);

// Saves a surface as a 24-bit BMP file, straight from its bits: its bitmap
// stays selected into its DC, where GetDIBits may not read it.
bool save_bitmap_file(const DibSurface& picture, const std::string& path);

}  // namespace flurrin
