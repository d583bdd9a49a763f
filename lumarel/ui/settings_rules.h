// The small rules of the settings window's controls and of cancelling it:
// what a typed key, an edited message, a trackbar position or a module pick
// turns into. Plain data only, tested without a window.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bulb_arrangement.h"
#include "ui/settings_codec.h"

namespace lumarel {

constexpr size_t kMessageLimit = 255;
constexpr size_t kThemeNameLimit = 63;

// Leading blanks and control characters go; bytes count unsigned, so a
// message that starts with an accented letter keeps it. At most 255 bytes.
std::string cleanMessage(std::string_view text);

// The hot key character a pressed virtual key makes: A to Z or 0 to 9, the
// same code with or without Shift. Anything else changes nothing.
std::optional<int32_t> hotKeyCharacter(uint32_t virtualKey);

// Flash speed: the trackbar runs 0 (slow) to 8 (fast), the interval 9 to 1.
int32_t intervalFromTrackbar(int position);
int trackbarFromInterval(int32_t interval);

// The movement list is for the floating modules only.
bool moduleUsesMovement(std::string_view module);
// A few modules look right only with one movement; picking any other keeps
// what the user chose before.
int32_t movementAfterModulePick(std::string_view module, int32_t current);

// "Show" menu items carry their bulb count: "%s (%d)".
std::string filterItemText(std::string_view text, int count);

// Picture list items are "display name*file name"; "(None)" has no "*".
std::string pictureItem(std::string_view displayName, std::string_view fileName);
std::string_view pictureDisplayName(std::string_view item);
// The name stored for an item: the file name, or the whole text of "(None)".
std::string_view pictureStoredName(std::string_view item);
bool samePictureName(std::string_view a, std::string_view b);

// A click on a song list item: left of the name is its check box, which
// switches the song on or off; the name itself plays the song; the gap
// between does nothing.
enum class SongClick { kNone, kToggle, kPlay };
SongClick songClickAt(int x);

// A picture file as the folder scan found it: its name in the folder and,
// for a shortcut, the path it resolved to (empty when it leads nowhere).
struct PictureFile {
    std::string fileName;
    std::string target;
};
// What the list shows for a file: the file's name, or its shortcut's target's
// name, without folder and extension. A shortcut to nowhere shows its own.
std::string pictureDisplayNameOf(const PictureFile& file);
// The items for the found files that the list does not hold yet, by file name
// (letter case ignored); a name found twice is added once.
std::vector<std::string> newPictureItems(const std::vector<std::string>& listed,
                                         const std::vector<PictureFile>& found);

// The questions before a song or picture file is deleted.
std::string removeSongQuestion(std::string_view fileTitle);
std::string removePictureQuestion(std::string_view displayName);

// A theme name makes one key under "Themes": not empty, at most 63 bytes,
// and no "\", which would nest keys.
bool validThemeName(std::string_view name);

struct SongFlag {
    std::string name;
    bool enabled = false;
};

// What the window captured when it opened, and puts back on Cancel.
struct SettingsSnapshot {
    BulbArrangement arrangement{};
    int32_t location = 0;
    int32_t interval = 5;
    int32_t pattern = 1;
    int32_t musicPlay = 0;
    std::vector<SongFlag> songs;
    bool startupShortcut = false;
    std::string module;
    int32_t movement = 0;
    std::string message;
    MessageFont font;
    uint32_t color = 0;
    std::string picture;
    int32_t display = 0;
    int32_t hotKeyOn = 1;
    int32_t hotKeyChar = 'B';
};

struct CancelPlan {
    // The bulb windows are rebuilt only when the arrangement really changed.
    bool rebuildBulbs = false;
    // One flag per song of the current list, matched by name: the list may
    // have been rescanned while the window was open. Songs the snapshot does
    // not know keep their current flag.
    std::vector<bool> songFlags;
};
CancelPlan planCancel(const SettingsSnapshot& taken, const BulbArrangement& liveArrangement,
                      const std::vector<SongFlag>& liveSongs);

}  // namespace lumarel
