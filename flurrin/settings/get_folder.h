// frm_getfolder: picks a folder (with a way to make a new one), and the small
// input box it asks the new folder's name with.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace flurrin {

inline constexpr const char* kNewFolderError = "Error trying to create folder!";
inline constexpr const char* kNewFolderErrorTitle = "Folder Error!";

// Shows the picker modally with caption as its title; returns the chosen
// folder with a trailing "\", or "" when cancelled. It starts in the folder
// last chosen.
std::string get_folder(HWND owner, const std::string& caption);

// A modal input box; nothing when cancelled.
std::optional<std::string> input_box(HWND owner, const std::string& prompt, const std::string& title,
                                     const std::string& default_text);

// Creates name (trimmed) inside folder; "" for a blank name, nullopt on failure,
// otherwise the new folder's path with "\".
std::optional<std::string> create_folder(const std::string& folder, const std::string& name);

}  // namespace flurrin
