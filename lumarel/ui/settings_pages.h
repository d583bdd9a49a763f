// What the settings window's pages share with the window itself. Each page
// lives in its own file; the window routes its messages to them.
#pragma once
#include <windows.h>

#include "ui/settings_rules.h"
#include "ui/settings_window.h"

namespace lumarel {

const SettingsHost& settingsHost();
// The module holding the window's dialogs and menus.
HINSTANCE settingsResources();
// Asks a running screen saver preview to start again with the new settings.
void notifyPreview();

// The values Cancel puts back, read from the store and the live state.
SettingsSnapshot takeSettingsSnapshot();
// Writes every captured value back, whether it changed or not.
void restoreSettingsSnapshot(const SettingsSnapshot& taken);

// Bulb Factory page: the bulb list, the outer boxes, the drawing place and
// the flash settings.
void initBulbPage(HWND window);
bool onBulbPageCommand(HWND window, int id, int notice);
bool drawBulbPageItem(const DRAWITEMSTRUCT& item);
// Esc during a drag ends the drag, not the window.
bool bulbPageKey(const MSG& message);
// Before the window goes: a drag ends, the list fonts are freed.
void closeBulbPage();
// After a bulb was made or changed: the list and boxes drawn again.
void refillBulbPage(HWND window);
void selectBulbOnPage(HWND window, int32_t id);
// Whether the bulb last picked on the page is on the screen's edges.
bool currentBulbOnScreen();
void onFlashSpeedScroll(HWND window);
void showBulbLocation(HWND window, int location);
void showFlashSettings(HWND window);

// The file of a listed song, in the folder that holds it.
bool songFilePath(const char* name, char (&path)[MAX_PATH]);
// Where new pictures go (trailing backslash); false (and empty) when the
// program named no picture folder.
bool pictureFolderPath(char (&path)[MAX_PATH]);
// The picture folders listed, the one that wins on equal names last.
std::vector<std::string> pictureFolders();

// A failure of the file dialog that is not a cancel.
void failOnDialogError();
// The page's list item under a context menu: the point of a right press, or
// for Shift+F10 (x and y -1) the selected item's corner. False without one.
bool menuPlace(HWND list, POINT& at);
// Opens the first submenu of a menu resource at a screen point; its commands
// come back to the window as WM_COMMAND.
void openContextMenu(HWND window, const char* menu, int defaultItem, POINT at);

// Music Box page: the song list, Add Song, the play mode and the volume.
void initMusicPage(HWND window);
void showPlayMode(HWND window);
// Refills the song list from the music box's list.
void showSongs(HWND window);
// The window came to the front on this page: a changed song folder shows.
void rescanSongs(HWND window);
void drawSongItem(const DRAWITEMSTRUCT& item);
void onSongListMenu(HWND window, POINT at);
bool onMusicPageCommand(HWND window, int id, int notice);

// Screen Saver page: the message, movement and display type so far.
void initSaverPage(HWND window);
// Picks the one of the two selected-saver texts that is true now, and
// enables the movement list for the stored module.
void onSaverPageShown(HWND window);
// After a theme load: the stored module, message, movement, picture and
// display type.
void showSaverValues(HWND window);
// Refills the animation list (the add-on bulbs may have changed).
void fillAnimationList(HWND window);
bool onSaverPageCommand(HWND window, int id, int notice);
// The animation and picture lists draw their items' names.
void drawSaverListItem(const DRAWITEMSTRUCT& item);
// The song, animation and picture lists' items are one line of the dialog's
// font, at least 16 pixels for the song list's check boxes. False for other
// controls.
bool measureListItem(HWND window, MEASUREITEMSTRUCT& item);

// The picture list: "(None)" and the files of the picture folder.
void initPictureList(HWND window);
// Adds the files not listed yet; files that went stay until the next opening.
void addNewPictures(HWND window);
// Selects the stored picture's item, or "(None)" when asked to and none is.
void selectStoredPicture(HWND window, bool noneWhenMissing);
void onPictureChosen(HWND window);
void addPictureWithDialog(HWND window);
void removeSelectedPicture(HWND window);
void onPictureListMenu(HWND window, POINT at);

// General page: start-up and the hot key.
void initGeneralPage(HWND window, const SettingsSnapshot& taken);
bool onGeneralPageCommand(HWND window, int id, int notice);
// A key pressed in the hot key box; the result is WM_VKEYTOITEM's.
INT_PTR onHotKeyBoxKey(HWND window, UINT virtualKey);
// On OK: a start-up box the user changed creates or deletes the shortcut.
void applyStartupBox(HWND window, const SettingsSnapshot& taken);

}  // namespace lumarel
