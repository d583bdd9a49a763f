#include <windows.h>

#include "base/failure.h"
#include "music/music_box.h"
#include "music/song_list.h"
#include "resources/resource_ids.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"

// The Music Box page: when the chosen songs play, and the volume control.

namespace lumarel {

namespace {

void openVolumeControl(HWND window) {
    // Vista renamed the mixer.
    for (const char* program : {"Sndvol32.exe", "SndVol.exe"})
        if (reinterpret_cast<INT_PTR>(ShellExecuteA(window, nullptr, program, nullptr, nullptr, SW_SHOWNORMAL)) > 32)
            return;
    fail(int32_t(GetLastError() ? GetLastError() : DWORD(kFailAsrt)));
}

}  // namespace

void showPlayMode(HWND window) {
    CheckRadioButton(window, IDC_MUSIC_NEVER, IDC_MUSIC_INTERMITTENT, IDC_MUSIC_NEVER + musicPlayMode());
}

void initMusicPage(HWND window) { showPlayMode(window); }

bool onMusicPageCommand(HWND window, int id, int notice) {
    if (id >= IDC_MUSIC_NEVER && id <= IDC_MUSIC_INTERMITTENT) {
        if (notice == BN_CLICKED) {
            CheckRadioButton(window, IDC_MUSIC_NEVER, IDC_MUSIC_INTERMITTENT, id);
            changePlayMode(id - IDC_MUSIC_NEVER);
            saveMusic();
        }
        return true;
    }
    if (id == IDC_MUSIC_VOLUME) {
        openVolumeControl(window);
        return true;
    }
    return false;
}

}  // namespace lumarel
