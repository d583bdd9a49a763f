#include <windows.h>

#include "base/text.h"
#include "music/music_box.h"
#include "ui/settings_pages.h"

// The one place the settings window learns where songs and pictures live:
// the music box's own folders, and the picture folders the program names.

namespace lumarel {

bool songFilePath(const char* name, char (&path)[MAX_PATH]) { return musicFilePath(name, path); }

bool pictureFolderPath(char (&path)[MAX_PATH]) {
    path[0] = '\0';
    const std::string& folder = settingsHost().picturesFolder;
    if (folder.empty() || folder.size() >= MAX_PATH) return false;
    boundedCopy(path, sizeof path, folder.c_str());
    return true;
}

std::vector<std::string> pictureFolders() {
    const SettingsHost& host = settingsHost();
    if (!host.pictureFolders.empty()) return host.pictureFolders;
    if (host.picturesFolder.empty()) return {};
    return {host.picturesFolder};
}

}  // namespace lumarel
