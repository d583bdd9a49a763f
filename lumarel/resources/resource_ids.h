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

// Settings window "SETTINGS" (OK is IDOK, Cancel IDCANCEL)
#define IDC_SETTINGS_TABS 50
#define IDC_SETTINGS_HINT 60
// Its Sharing page
#define IDC_SHARING_GROUP 400
#define IDC_SHARING_INTRO 401
#define IDC_SHARING_LIST_LABEL 402
#define IDC_SHARING_LIST 403
#define IDC_SHARING_NOTE 404
#define IDC_SHARING_SERVER_NOTE 405
#define IDC_SHARING_STATUS 406
#define IDC_SHARING_SEND 407
#define IDC_SHARING_LINK 408
#define IDM_SEND_BULB 1004
// Sharing dialog "SHARING" (its second page is 300 to 307, Send 101)
#define IDC_SHARE_CONTINUE 100
#define IDC_SHARE_SEND 101
#define IDC_SHARE_INTRO 200
#define IDC_SHARE_INTRO2 201
#define IDC_SHARE_INTRO3 202
#define IDC_SHARE_UNKNOWN 203
#define IDC_SHARE_ARTIST 204
#define IDC_SHARE_NO_PERMISSION 205
#define IDC_SHARE_PERMISSION 206
#define IDC_SHARE_CREDITS_INTRO 300
#define IDC_SHARE_CREDITS_NOTE 301
#define IDC_SHARE_AUTHOR_LABEL 302
#define IDC_SHARE_AUTHOR 303
#define IDC_SHARE_COPYRIGHT_LABEL 304
#define IDC_SHARE_COPYRIGHT 305
#define IDC_SHARE_SENDER_LABEL 306
#define IDC_SHARE_SENDER 307
// Progress dialog "UPLOAD"
#define IDC_UPLOAD_STATUS 100
#define IDC_UPLOAD_PROGRESS 101
