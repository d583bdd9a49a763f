// The bulb library: the add-on bulb files in the "Lumarel Bulbs\" folders
// (beside the program and the user's own, base/data_folders.h), importing
// bulb files and GIFs, and making new bulbs from GIFs.
#pragma once
#include <windows.h>

namespace lumarel {

// Loads every bulb file of the bulb folders into the bulb list, a file of
// the user's folder in place of the program's file of the same name; offers
// to delete each damaged one.
void scanBulbFolder();
// Imports a bulb file or a GIF the user opened or dropped. Opens the
// settings window first when it is closed.
void importBulbFile(HWND owner, const char* path);
// The import itself, once the settings window is open (it calls this with a
// path stored while it was closed).
void importIntoLibrary(const char* path);
// Makes a new bulb file in the bulb folder from a GIF, with default texts
// and the user's credits. False (after telling the user) when it cannot.
bool makeBulbFromGif(const char* gifPath, char (&bulbPath)[MAX_PATH]);

// The bulb folder new bulbs are written to, with its trailing backslash;
// false when the path is too long to hold a bulb file name.
bool bulbFolder(char (&folder)[MAX_PATH]);

// For tests: one bulb folder in place of both, and a stand-in for the message boxes
// (given text, title and flags; returns the button).
using LibraryMessageBox = int (*)(const char* text, const char* title, UINT flags);
void setBulbFolderForTests(const char* folder);
void setLibraryMessageBox(LibraryMessageBox show);

}  // namespace lumarel
