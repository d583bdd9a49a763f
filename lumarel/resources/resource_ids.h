// Identifiers of lumarel's resources and commands (shared by the .rc script
// and the code, so plain #defines).
#pragma once

// Tray menu commands
#define IDM_HELP 304
#define IDM_ABOUT 303
#define IDM_TELL_FRIEND 407
#define IDM_UNINSTALL 404
#define IDM_ON_DESKTOP 406
#define IDM_ON_TOP 405
#define IDM_SETTINGS 401
#define IDM_EXIT 106
#define IDM_HELP_KEY 300

// About window
#define IDC_ABOUT_PICTURE 1000
#define IDC_ABOUT_VERSION 1001
#define IDC_ABOUT_TITLE 1002
