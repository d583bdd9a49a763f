#include <windows.h>

#include "engine/flash_state.h"
#include "music/music_box.h"
#include "music/song_list.h"
#include "ui/settings_pages.h"
#include "ui/settings_store.h"
#include "ui/shortcut.h"

// What the settings window captures when it opens and writes back on
// Cancel. Every captured value is written back, changed or not: writing
// only what looked changed once left a cancelled pattern or speed stored.

namespace lumarel {

SettingsSnapshot takeSettingsSnapshot() {
    SettingsSnapshot s;
    const FlashState& flash = flashState();
    s.arrangement = flash.arrangement;
    s.interval = flash.interval;
    s.pattern = flash.pattern;
    s.location = getBulbLocationSetting();
    s.startupShortcut = startupShortcutExists(false);
    s.musicPlay = musicPlayMode();
    for (const Song& song : songList()) s.songs.push_back({song.name, song.enabled});
    char text[260];
    getSaverModule(text);
    s.module = text;
    s.movement = getMovementType();
    char message[256];
    getSaverMessage(message);
    s.message = message;
    COLORREF color = 0;
    getMessageFont(s.font, color);
    s.color = color;
    getPictureName(text);
    s.picture = text;
    s.display = getPictureDisplayType();
    s.hotKeyOn = getHotKeyOn();
    s.hotKeyChar = getHotKeyChar();
    return s;
}

void restoreSettingsSnapshot(const SettingsSnapshot& taken) {
    const SettingsHost& host = settingsHost();
    std::vector<SongFlag> liveSongs;
    for (const Song& song : songList()) liveSongs.push_back({song.name, song.enabled});
    CancelPlan plan = planCancel(taken, flashState().arrangement, liveSongs);
    flashState().arrangement = taken.arrangement;
    setFlashInterval(taken.interval);
    setFlashPattern(taken.pattern);
    saveFlashSettings();
    if (plan.rebuildBulbs && host.rebuildBulbs) host.rebuildBulbs();
    setSaverModule(taken.module.c_str());
    setMovementType(taken.movement);
    setPictureName(taken.picture.c_str());
    setMessageFont(taken.font, COLORREF(taken.color));
    setPictureDisplayType(taken.display);
    setHotKeyOn(taken.hotKeyOn);
    setHotKeyChar(taken.hotKeyChar);
    if (host.reregisterHotKey) host.reregisterHotKey();
    if (host.setLocation) host.setLocation(taken.location);
    setBulbLocationSetting(taken.location);
    std::vector<Song>& songs = songList();
    for (size_t i = 0; i < songs.size() && i < plan.songFlags.size(); ++i) songs[i].enabled = plan.songFlags[i];
    changePlayMode(taken.musicPlay);
    saveMusic();
    setSaverMessage(taken.message.c_str());
    notifyPreview();
}

}  // namespace lumarel
