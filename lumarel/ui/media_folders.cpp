#include <windows.h>

#include "base/text.h"
#include "music/music_box.h"
#include "ui/settings_pages.h"

// The one place the settings window learns where songs and pictures live:
// the music box's own folder, and the picture folder the program names.

namespace lumarel {

void songFolderPath(char (&path)[MAX_PATH]) { musicFolderPath(path); }

bool pictureFolderPath(char (&path)[MAX_PATH]) {
    path[0] = '\0';
    const std::string& folder = settingsHost().picturesFolder;
    if (folder.empty() || folder.size() >= MAX_PATH) return false;
    boundedCopy(path, sizeof path, folder.c_str());
    return true;
}

}  // namespace lumarel
