// The Bulb Factory: the modal editor of one bulb at a time. Bulbs made here
// get the full editor ("Bulb Editing"); built-in bulbs and bulbs made
// elsewhere get their categories only ("Edit Categories"). It edits a working
// copy of the bulb file and moves it over the bulb file only on Save.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

namespace lumarel {

inline constexpr const char* kWorkingCopyName = "tempedit.tmp";

// What the editor needs from the program around it.
struct BulbFactoryHost {
    HINSTANCE resources = nullptr;  // where the dialogs and "DITHER" are; the program when null
    HWND mainWindow = nullptr;      // the owner while the settings window is closed
    std::function<void(HWND owner, UINT command, ULONG_PTR data)> openHelp;
    std::function<void()> rebuildBulbWindows;
    std::function<void(HWND)> centreWindow;
    // An open-file dialog: true when a file was chosen.
    std::function<bool(HWND owner, char* path, DWORD size, const char* filter)> chooseFile;
};
void setBulbFactoryHost(BulbFactoryHost host);

// Opens the editor on a bulb, modal to the owner, and returns when it is
// closed. With an editor already open, brings that one forward instead.
void openBulbFactory(HWND owner, int32_t bulbKey);
// The owner an import gives the editor: the settings window when it is open,
// else the main window.
HWND bulbFactoryOwner();
// The open editor, or null.
HWND bulbFactoryWindow();
// One animation step of the preview (the main loop's tick).
void bulbFactoryAnimationStep();
// Ends an open editor as Cancel (the program is exiting): the working copy is
// deleted and the bulb file left as it was.
void cancelBulbFactory();

// For tests: the same editor as a modeless window, so a test can drive it
// with messages; closed by Save, Cancel or cancelBulbFactory().
HWND openBulbFactoryModeless(HWND owner, int32_t bulbKey);

}  // namespace lumarel
