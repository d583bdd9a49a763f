// Where lumarel puts itself into the shell and what it writes there: the
// screen saver's file, the ".bul" association's values, the start-up
// shortcut's name. No Windows headers here; association.cpp,
// saver_install.cpp and shortcut.cpp do the writing.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lumarel {

// The shell's ANSI paths hold 260 bytes, terminator included.
constexpr size_t kShellPathSize = 260;

// folder, a backslash unless it already ends in one, and name. Empty when the
// folder is empty or the whole would not fit in kShellPathSize.
std::string joinShellPath(std::string_view folder, std::string_view name);

// One default value under the classes root.
struct ClassValue {
    const char* subKey;
    std::string data;
};
// The four keys that make ".bul" files open with the program at programPath.
// The command leaves %1 unquoted: the program takes everything after "open "
// as the path, blanks included. Sized for any path, so a program path near
// 260 characters still gives a whole command.
std::array<ClassValue, 4> bulbClassValues(std::string_view programPath);

// Start-up shortcuts are found with "*Lumarel*.lnk"; a pattern search also
// matches short (8.3) names, so "x Lumarel.lnkx" can turn up. True only when
// the long name itself fits the pattern (letter case ignored).
bool isStartupShortcutName(std::string_view longName);

// One place install may write "Lumarel.scr": the file and the folders to
// make first, outermost first.
struct SaverPlace {
    std::string file;
    std::vector<std::string> folders;
};
// The places to try in order. The system folder comes first; a 32-bit program
// on 64-bit Windows names the WOW64 system folder outright (wow64Folder, empty
// elsewhere), because "system32" would be redirected there for our writes but
// not for the 64-bit control panel that reads the selection. Then the user's
// own local application data (empty when unknown). Places whose paths do not
// fit are left out.
std::vector<SaverPlace> saverPlaces(std::string_view systemFolder, std::string_view wow64Folder,
                                    std::string_view localAppData);

}  // namespace lumarel
