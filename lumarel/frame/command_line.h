// What lumarel was asked to do by its command line.
#pragma once
#include <cstdint>

namespace lumarel {

constexpr int kMaxPath = 260;

enum class StartRequest {
    Normal,        // nothing (or nothing we understand) on the command line
    Reset,         // "reset": ask, then delete the settings
    SettingsOnly,  // "settings": open the settings window on the screen saver page
    Open,          // "open <path>": import a bulb file
    Saver,         // "s <hwnd>": draw the screen saver into that window
    Preview,       // "p <hwnd>": draw the preview into that window
};

struct CommandLine {
    StartRequest request = StartRequest::Normal;
    char openPath[kMaxPath] = {};
    uint32_t window = 0;  // for Saver and Preview; 0 when the number was unusable
};

// Parses the text after the program name. Throws -1 when an "open" path does
// not fit in 260 bytes (start-up then ends).
CommandLine parseCommandLine(const char* text);

}  // namespace lumarel
