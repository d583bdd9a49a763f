// frmMakeFiles ("/M"): builds a pack from a list of picture and sound files.
#pragma once
#include <windows.h>

namespace flurrin {

inline constexpr const char* kMakeFilesCaption = "Select A Graphic";
inline constexpr const char* kMakeFilesError = "Error making image file!";

void show_make_files(HWND owner);

}  // namespace flurrin
