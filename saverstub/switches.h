// What Windows asks of a screen saver, read from its command line.
#pragma once
#include <cstdint>
#include <string_view>

namespace saverstub {

enum class SaverAction {
    Nothing,         // a switch we cannot use: no window, exit code 0
    Configure,       // "/c", "/c:<hwnd>" or no switch at all
    Run,             // "/s": full screen
    Preview,         // "/p <hwnd>" or "/p:<hwnd>": a child of that window
    ChangePassword,  // "/a <hwnd>"
};

struct SaverSwitches {
    SaverAction action = SaverAction::Nothing;
    uint64_t window = 0;  // the parent or owner named by the switch; 0 for none
};

// Reads the whole command line, program name (quoted or bare) included.
// A window number must be decimal and no larger than largestHandle; one that
// is missing, zero where a window is needed, too large or followed by junk
// gives Nothing.
SaverSwitches parseSwitches(std::string_view commandLine, uint64_t largestHandle);

}  // namespace saverstub
