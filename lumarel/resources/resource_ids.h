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

// Bulb Factory: the dialogs "BulbEdit" and "BulbEditCategories" (Save is
// IDOK, Cancel IDCANCEL) and "NEWCATEGORY" (its name field is 101).
#define IDC_BULB_NAME 100
#define IDC_BULB_DESCRIPTION 101
#define IDC_BULB_AUTHOR 102
#define IDC_BULB_COPYRIGHT 103
#define IDC_BULB_PLACES 200
#define IDC_BULB_FLAVORS 201
#define IDC_BULB_PREVIEW 202
#define IDC_BULB_CHANGE 203
#define IDC_BULB_REMOVE_FLAVOR 204
#define IDC_BULB_HINT 205
#define IDC_BULB_EXPLANATION 206
#define IDC_BULB_CATEGORIES 300
#define IDC_BULB_NEW_CATEGORY 301
#define IDC_NEW_CATEGORY_NAME 101
