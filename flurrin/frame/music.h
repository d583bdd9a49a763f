// Background music through the media control interface: one device at a
// time, opened by the type the settings name for the file's extension, with
// a notification to the owner window when it stops.
#pragma once
#include <windows.h>

#include <string>

#include "settings/settings.h"

namespace flurrin {

class MusicPlayer {
public:
    ~MusicPlayer() { stop_music(); }
    // Stops what plays, opens the file and starts it; notify gets
    // MM_MCINOTIFY when it ends. playing() is true afterwards unless the
    // device could not be opened (so the next check moves on to another song).
    void play_music_file(const std::string& file, HWND notify, const Settings& settings);
    void stop_music();
    // MM_MCINOTIFY: the song has stopped.
    void on_notify(UINT device);
    bool playing() const { return music_playing_; }

private:
    UINT device_ = 0;
    bool music_playing_ = false;
};

// The MCI device type for a file: by the upper-cased last three characters.
std::string music_device_type(const std::string& file, const Settings& settings);

}  // namespace flurrin
