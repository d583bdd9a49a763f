// Names and numbers the stub shares with lumarel and with Windows.
#pragma once

// Resources (also read by the resource compiler: plain defines only).
#define IDS_APP_NAME 1          // the name in the Windows list of screen savers
#define IDS_MARK 2              // lumarel tells its own stub by this string
#define IDD_CONFIGURE 2003      // the configure dialog Windows' screen saver library names
#define IDC_CONFIGURE_OTHER 1019

#ifndef RC_INVOKED
namespace saverstub {

// lumarel's main window: its class for a normal or full-screen instance, for
// a preview instance, and the title of both.
inline constexpr char kLumarelClass[] = "Lumarel";
inline constexpr char kPreviewClass[] = "SSP Lumarel";
inline constexpr char kLumarelTitle[] = "QuorvaneLumarel";
// A preview lumarel marks its main window with the window it draws into, so
// each preview stops its own.
inline constexpr char kSaverWindowProperty[] = "Lumarel Saver Window";

// Messages lumarel's main window understands.
inline constexpr unsigned kSaverWindowMessage = 0x400 + 11;  // wParam: our window, or 0 to stop
inline constexpr unsigned kSettingsCommand = 401;            // WM_COMMAND; lParam -1: the screen saver page

inline constexpr char kSettingsKey[] = "Software\\Quorvane\\Lumarel";
inline constexpr char kPathValue[] = "Path";

inline constexpr char kCantFindText[] =
    "Sorry; can't find Lumarel.\n\nRun the Lumarel program to fix this.\n\n"
    "If you aren't using Lumarel any more, select another screen saver in the Display control panel.";

inline constexpr unsigned kStartWaitMs = 10000;  // for lumarel's window after starting it
inline constexpr unsigned kPollStepMs = 50;
inline constexpr unsigned kStopTimeoutMs = 1000;  // a hung lumarel must not keep the screen saver up
inline constexpr int kConfigureResult = 42;

}  // namespace saverstub
#endif
