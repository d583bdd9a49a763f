// What the music box decides: which song plays next, when, and which message
// the user sees once. The platform (MCI, the media graph, files, the clock)
// sits behind SongPlayer, so all of it runs natively against a fake player.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "music/song_list.h"

namespace lumarel {

// The platform's side. MCI calls return 0 or the MCI error code.
class SongPlayer {
public:
    virtual ~SongPlayer() = default;
    // Opens a file by its element; with `sequencer`, also names that device type.
    virtual uint32_t mciOpen(const char* path, bool sequencer, uint32_t& device) = 0;
    // Plays with notify: the end comes back as a notice for `device`.
    virtual uint32_t mciPlay(uint32_t device) = 0;
    virtual void mciClose(uint32_t device) = 0;
    // Builds and runs a media graph for the file; false (graph released) on any failure.
    virtual bool mediaPlay(const char* path) = 0;
    virtual void mediaRelease() = 0;
    // The folder (trailing backslash) that holds the named song, the user's
    // winning over the program's; the folder the reset file is written to;
    // and shortcut resolution in place.
    virtual std::string songFolder(const std::string& name) = 0;
    virtual std::string resetFolder() = 0;
    virtual void resolve(char (&path)[260]) = 0;
    // The reset file: whether it holds the resource's bytes; (re)write it.
    virtual bool resetFileCurrent() = 0;
    virtual void writeResetFile() = 0;
    virtual bool settingsOpen() = 0;
    virtual void showMessage(const char* text, const char* title) = 0;
    virtual void waitCursor(bool on) = 0;
    virtual uint32_t tickCount() = 0;
    virtual int random() = 0;  // 0..RAND_MAX
    virtual int runMode() = 0;  // 0 normal, 1 saver, 2 preview
};

class MusicBox {
public:
    static constexpr uint32_t kResetWaitMs = 3000;

    MusicBox(SongPlayer& player, std::vector<Song>& songs) : player_(player), songs_(songs) {}

    void chooseAndPlay();
    void playSong(size_t index);
    void stop();
    void tick();
    // MM_MCINOTIFY: acts only for the device this box has open.
    void mciNotice(uint32_t code, uint32_t device);
    // EC_COMPLETE or EC_USERABORT from the media graph.
    void mediaEnded();

    bool playing() const { return midiOpen_ || mediaOpen_ || resetOpen_; }
    bool timerArmed() const { return timerArmed_; }
    uint32_t timerDue() const { return timerDue_; }
    const std::string& currentSong() const { return current_; }
    const std::string& lastStarted() const { return lastStarted_; }
    bool mediaOpen() const { return mediaOpen_; }

private:
    void songEnded();
    void startMidi(const char* path);
    void openSongAfterReset();
    uint32_t playMci(const char* path, bool reset, uint32_t& device);
    void closeMidi();
    void stopPlayback();
    void showOnce(bool& shown, const char* text, const char* title);
    bool shouldStop(int32_t mode) const;

    SongPlayer& player_;
    std::vector<Song>& songs_;
    std::string current_;      // the song playing, or waiting for its reset
    std::string lastStarted_;  // by name: a rebuilt list keeps it valid
    char songPath_[260] = {};  // the MIDI song waiting for its reset to end
    bool midiOpen_ = false;
    uint32_t midiDevice_ = 0;
    bool resetOpen_ = false;
    uint32_t resetDevice_ = 0;
    uint32_t resetDue_ = 0;
    bool mediaOpen_ = false;
    bool timerArmed_ = false;
    uint32_t timerDue_ = 0;
    bool midiMessageShown_ = false;
    bool pathMessageShown_ = false;
    bool mediaMessageShown_ = false;
    bool resetWritten_ = false;  // in this run
    bool resetChecked_ = false;  // its bytes compared once per run
    bool busy_ = false;          // a message box pumps messages: no re-entry
};

}  // namespace lumarel
