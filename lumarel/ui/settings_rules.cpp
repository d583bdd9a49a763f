#include "ui/settings_rules.h"

#include <algorithm>

#include "base/text.h"

namespace lumarel {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && equalsNoCase(std::string(a).c_str(), std::string(b).c_str());
}

}  // namespace

std::string cleanMessage(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && uint8_t(text[start]) < uint8_t('!')) ++start;
    return std::string(text.substr(start, kMessageLimit));
}

std::optional<int32_t> hotKeyCharacter(uint32_t virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return int32_t(virtualKey);
    return std::nullopt;
}

int32_t intervalFromTrackbar(int position) { return 9 - std::clamp(position, 0, 8); }

int trackbarFromInterval(int32_t interval) { return 9 - std::clamp<int32_t>(interval, 1, 9); }

bool moduleUsesMovement(std::string_view module) {
    return module != "(None)" && module != "Snow" && module != "Snow Flakes" && module != "Balloons";
}

int32_t movementAfterModulePick(std::string_view module, int32_t current) {
    if (module == "Leaves") return 2;
    if (module == "Easter Eggs" || module == "Happy Faces") return 1;
    if (module == "Halloween" || module == "Heavens Above") return 3;
    return current;
}

std::string filterItemText(std::string_view text, int count) {
    return std::string(text) + " (" + std::to_string(count) + ")";
}

std::string pictureItem(std::string_view displayName, std::string_view fileName) {
    return std::string(displayName) + "*" + std::string(fileName);
}

std::string_view pictureDisplayName(std::string_view item) { return item.substr(0, item.find('*')); }

std::string_view pictureStoredName(std::string_view item) {
    size_t star = item.find('*');
    return star == std::string_view::npos ? item : item.substr(star + 1);
}

bool samePictureName(std::string_view a, std::string_view b) { return equalIgnoringCase(a, b); }

SongClick songClickAt(int x) {
    if (x >= 4 && x <= 17) return SongClick::kToggle;
    if (x > 22) return SongClick::kPlay;
    return SongClick::kNone;
}

std::string pictureDisplayNameOf(const PictureFile& file) {
    std::string_view path = file.target.empty() ? std::string_view(file.fileName) : std::string_view(file.target);
    size_t slash = path.find_last_of("\\/:");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

std::vector<std::string> newPictureItems(const std::vector<std::string>& listed,
                                         const std::vector<PictureFile>& found) {
    std::vector<std::string> added;
    auto holds = [](const std::vector<std::string>& items, std::string_view fileName) {
        return std::any_of(items.begin(), items.end(), [&](const std::string& item) {
            return item.find('*') != std::string::npos && samePictureName(pictureStoredName(item), fileName);
        });
    };
    for (const PictureFile& file : found) {
        if (holds(listed, file.fileName) || holds(added, file.fileName)) continue;
        added.push_back(pictureItem(pictureDisplayNameOf(file), file.fileName));
    }
    return added;
}

std::string removeSongQuestion(std::string_view fileTitle) {
    return "This will remove the song \"" + std::string(fileTitle) +
           "\" from Lumarel and permanently delete the song file on your disk.\r\n\r\nAre you sure you want to do this?";
}

std::string removePictureQuestion(std::string_view displayName) {
    return "This will remove \"" + std::string(displayName) +
           "\" from Lumarel and permanently delete the file from your Lumarel Pictures folder.\r\n\r\nAre you sure "
           "you want to do this?";
}

bool validThemeName(std::string_view name) {
    return !name.empty() && name.size() <= kThemeNameLimit && name.find('\\') == std::string_view::npos;
}

CancelPlan planCancel(const SettingsSnapshot& taken, const BulbArrangement& liveArrangement,
                      const std::vector<SongFlag>& liveSongs) {
    CancelPlan plan;
    plan.rebuildBulbs = taken.arrangement != liveArrangement;
    for (const SongFlag& song : liveSongs) {
        auto was = std::find_if(taken.songs.begin(), taken.songs.end(),
                                [&](const SongFlag& old) { return equalIgnoringCase(old.name, song.name); });
        plan.songFlags.push_back(was != taken.songs.end() ? was->enabled : song.enabled);
    }
    return plan;
}

}  // namespace lumarel
