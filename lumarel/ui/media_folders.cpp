#include <windows.h>

#include "base/program_path.h"
#include "base/text.h"
#include "music/music_box.h"
#include "saver/animation_table.h"
#include "ui/settings_pages.h"

// The one place the settings window learns where songs and pictures live:
// the music box's own folder, and the screen saver's picture folder.

namespace lumarel {

void songFolderPath(char (&path)[MAX_PATH]) { musicFolderPath(path); }

void pictureFolderPath(char (&path)[MAX_PATH]) {
    programPath(path, true);
    boundedAppend(path, sizeof path, kPicturesFolder);
}

}  // namespace lumarel
