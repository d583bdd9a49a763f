// Lumarel's settings, one registry value each under
// HKEY_CURRENT_USER\Software\Quorvane\Lumarel. Nothing is cached: every call
// opens the key, reads or writes, and closes it. A missing value reads as its
// default and, where the value's rule says so, the default is written back.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/reg_key.h"
#include "ui/settings_codec.h"

namespace lumarel {

inline constexpr const char* kSettingsKey = "Software\\Quorvane\\Lumarel";
inline constexpr const char* kThemesKey = "Themes";
inline constexpr const char* kCategoriesKey = "Included Bulb Categories";
inline constexpr const char* kCurrentVersion = "5.3";

namespace setting {
inline constexpr const char* BulbSettings = "Bulb Settings";
inline constexpr const char* FlashInterval = "Flash Interval";
inline constexpr const char* FlashPattern = "Flash Pattern";
inline constexpr const char* BulbLocation = "Bulb Location";
inline constexpr const char* MusicPlay = "Music Play";
inline constexpr const char* EnabledMusic = "Enabled Music";
inline constexpr const char* DisabledMusic = "Disabled Music";
inline constexpr const char* SaverModule = "Screen Saver Module";
inline constexpr const char* SaverMessage = "Screen Saver Message";
inline constexpr const char* SaverMessageFont = "Screen Saver Message Font";
inline constexpr const char* SaverMessageColor = "Screen Saver Message Color";
inline constexpr const char* SaverPictureName = "Screen Saver Picture Name";
inline constexpr const char* SaverPictureDisplay = "Screen Saver Picture Display Type";
inline constexpr const char* SaverMovement = "Screen Saver Movement Type";
inline constexpr const char* LastPictureName = "Last Converted Picture Name";
inline constexpr const char* LastPictureTime = "Last Converted Picture Time";
inline constexpr const char* HotKeyOn = "Bulb Location Hot Key On or Off";
inline constexpr const char* HotKeyChar = "Bulb Location Hot Key Char";
inline constexpr const char* PreventSlowWarning = "Prevent Slow Bulb Warning";
inline constexpr const char* CurrentVersion = "Current Version";
inline constexpr const char* Path = "Path";
}  // namespace setting

// Opens (creating) the settings key.
RegKey openSettingsKey();

// Bulb arrangement, flash interval and pattern <-> the live flash state.
void saveFlashSettings();
// Returns true when the arrangement or pattern changed: the bulbs must then
// be rebuilt.
bool loadFlashSettings();

void setBulbLocationSetting(int32_t location);
int32_t getBulbLocationSetting();

// Song lists and play mode <-> the live song list.
void saveMusic();
void loadMusic();

void setSaverModule(const char* name);
void getSaverModule(char (&name)[260]);
void setSaverMessage(const char* text);
void getSaverMessage(char (&text)[256]);
void setMessageFont(const MessageFont& font, COLORREF color);
void getMessageFont(MessageFont& font, COLORREF& color);
void setPictureName(const char* name);
void getPictureName(char (&name)[260]);
void setPictureDisplayType(int32_t type);
int32_t getPictureDisplayType();
void setLastConvertedPictureName(const char* name);
void getLastConvertedPictureName(char (&name)[260]);
void setLastConvertedPictureTime(uint32_t time);
uint32_t getLastConvertedPictureTime();
void setMovementType(int32_t type);
int32_t getMovementType();
void setHotKeyOn(int32_t on);
int32_t getHotKeyOn();
void setHotKeyChar(int32_t key);
int32_t getHotKeyChar();
void setPreventSlowBulbWarning(int32_t prevent);
int32_t getPreventSlowBulbWarning();

// "Current Version" from the current user, else the machine; false if absent.
bool readCurrentVersion(char (&version)[10]);
void writeCurrentVersion();

// Deletes the settings key with its sub-keys.
void resetSettings();

void readUserName(char* buffer, DWORD size);
void readUserEmail(char* buffer, DWORD size);

// Categories a user gave a built-in bulb ("|"-joined). Get fills 260 bytes.
void setIncludedBulbCategories(const char* bulbName, const char* categories);
bool getIncludedBulbCategories(const char* bulbName, char (&categories)[260]);

// Themes: named copies of twelve of the settings under "Themes".
void themeKeyPath(char (&path)[260], const char* themeName);  // null name: the Themes key
void categoriesKeyPath(char (&path)[260]);
void copyThemeValues(const RegKey& from, const RegKey& to);
void saveTheme(const char* name);
void loadThemeValues(const char* name);
bool deleteTheme(const char* name);  // false when the key stays
bool enumTheme(DWORD index, char (&name)[260]);
bool themeExists(const char* name);

}  // namespace lumarel
