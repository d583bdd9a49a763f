#include "music/music_logic.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "music/music_texts.h"

namespace lumarel {

namespace {

constexpr uint32_t kMciNotifySuccessful = 1;

// Marks the box busy for one operation: a message box shown meanwhile pumps
// the timer, which must not start another choice.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

}  // namespace

void MusicBox::showOnce(bool& shown, const char* text, const char* title) {
    if (shown || !player_.settingsOpen()) return;
    shown = true;  // before the box: it pumps messages
    player_.showMessage(text, title);
}

bool MusicBox::shouldStop(int32_t mode) const {
    int run = player_.runMode();
    if (mode == kPlayNever || (mode == kPlaySaverOn && run == 0) || (mode == kPlaySaverOff && run != 0)) return true;
    auto song = std::find_if(songs_.begin(), songs_.end(), [&](const Song& s) { return s.name == current_; });
    return song == songs_.end() || !song->enabled;
}

void MusicBox::chooseAndPlay() {
    if (busy_) return;
    int32_t mode = musicPlayMode();
    if (playing()) {
        if (!shouldStop(mode)) return;
        stopPlayback();
    }
    int run = player_.runMode();
    bool start = mode == kPlaySaverOn    ? run != 0
                 : mode == kPlaySaverOff ? run == 0
                                         : mode == kPlayAlways || mode == kPlayIntermittent;
    if (!start) return;

    size_t enabled = 0, pending = 0;
    for (const Song& s : songs_) {
        enabled += s.enabled;
        pending += s.enabled && s.pending;
    }
    if (enabled == 0) return;
    // A new cycle takes every enabled song again, but does not begin with the
    // song that ended the last one (unless it is the only one).
    bool newCycle = pending == 0;
    if (newCycle) {
        for (Song& s : songs_)
            if (s.enabled) s.pending = true;
        pending = enabled;
    }
    auto excluded = [&](const Song& s) { return newCycle && enabled > 1 && s.name == lastStarted_; };
    size_t candidates = 0;
    for (const Song& s : songs_) candidates += s.enabled && s.pending && !excluded(s);
    if (candidates == 0) {
        newCycle = false;
        candidates = pending;
    }
    size_t n = size_t(player_.random()) % candidates;
    for (size_t i = 0; i < songs_.size(); ++i) {
        Song& s = songs_[i];
        if (!s.enabled || !s.pending || excluded(s) || n-- != 0) continue;
        s.pending = false;
        lastStarted_ = s.name;
        playSong(i);
        return;
    }
}

void MusicBox::playSong(size_t index) {
    if (busy_ || index >= songs_.size()) return;
    BusyScope busy(busy_);
    struct WaitCursor {
        SongPlayer& p;
        explicit WaitCursor(SongPlayer& player) : p(player) { p.waitCursor(true); }
        ~WaitCursor() { p.waitCursor(false); }
    } cursor(player_);

    timerArmed_ = false;
    stopPlayback();
    current_ = songs_[index].name;
    char path[260];
    if (!songPath(player_.songFolder(current_).c_str(), current_.c_str(), path)) {
        showOnce(pathMessageShown_, music_text::kPathTooLong, music_text::kPlayingTitle);
        return;
    }
    if (isShortcut(path)) player_.resolve(path);
    if (isMidiSong(path)) {
        startMidi(path);
    } else if (player_.mediaPlay(path)) {
        mediaOpen_ = true;
        mediaMessageShown_ = false;
    } else {
        showOnce(mediaMessageShown_, music_text::kMediaTrouble, music_text::kPlayingTitle);
    }
}

// The reset comes first. It plays with notify so that the bulbs keep moving
// while a real synthesizer resets; the song opens at its notice, or after a
// few seconds at most.
void MusicBox::startMidi(const char* path) {
    strcpy(songPath_, path);
    char reset[260];
    if (songPath(player_.resetFolder().c_str(), music_text::kResetFile, reset)) {
        if (!resetChecked_) {
            resetChecked_ = true;
            if (!player_.resetFileCurrent()) {
                resetWritten_ = true;
                player_.writeResetFile();
            }
        }
        uint32_t device = 0;
        uint32_t error = playMci(reset, true, device);
        if (error && !resetWritten_) {
            resetWritten_ = true;
            player_.writeResetFile();
            error = playMci(reset, true, device);
        }
        if (!error) {
            resetOpen_ = true;
            resetDevice_ = device;
            resetDue_ = player_.tickCount() + kResetWaitMs;
            return;
        }
    }
    openSongAfterReset();
}

void MusicBox::openSongAfterReset() {
    if (resetOpen_) {
        resetOpen_ = false;
        player_.mciClose(resetDevice_);
    }
    uint32_t device = 0;
    if (playMci(songPath_, false, device) == 0) {
        midiOpen_ = true;
        midiDevice_ = device;
    }
}

uint32_t MusicBox::playMci(const char* path, bool reset, uint32_t& device) {
    char text[1024];
    uint32_t error = player_.mciOpen(path, false, device);
    if (error) {
        snprintf(text, sizeof text, music_text::kOpenFormat, music_text::kMidiTrouble, int(error));
        if ((error = player_.mciOpen(path, true, device)) != 0) {
            if (!reset) showOnce(midiMessageShown_, text, music_text::kSoundCardTitle);
            return error;
        }
    }
    error = player_.mciPlay(device);
    if (!error) {
        midiMessageShown_ = false;
        return 0;
    }
    player_.mciClose(device);
    snprintf(text, sizeof text, music_text::kPlayFormat, music_text::kMidiTrouble, int(error));
    if (!reset) showOnce(midiMessageShown_, text, music_text::kPlayingTitle);
    return error;
}

void MusicBox::closeMidi() {
    if (resetOpen_) {
        resetOpen_ = false;
        player_.mciClose(resetDevice_);
    }
    if (midiOpen_) {
        midiOpen_ = false;
        player_.mciClose(midiDevice_);
    }
}

void MusicBox::stopPlayback() {
    closeMidi();
    if (mediaOpen_) {
        mediaOpen_ = false;
        player_.mediaRelease();
    }
}

void MusicBox::stop() {
    timerArmed_ = false;
    stopPlayback();
}

void MusicBox::songEnded() {
    if (!playing()) return;
    stopPlayback();
    uint32_t now = player_.tickCount();
    timerArmed_ = true;
    timerDue_ = now + nextSongDelay(musicPlayMode(), now);
}

void MusicBox::tick() {
    if (busy_) return;
    uint32_t now = player_.tickCount();
    if (resetOpen_ && dueHasPassed(resetDue_, now)) {
        BusyScope busy(busy_);
        openSongAfterReset();
    }
    if (timerArmed_ && dueHasPassed(timerDue_, now)) {
        timerArmed_ = false;
        chooseAndPlay();
    }
}

void MusicBox::mciNotice(uint32_t code, uint32_t device) {
    if (resetOpen_ && device == resetDevice_) {
        if (busy_) return;  // the tick opens the song when its wait is over
        BusyScope busy(busy_);
        openSongAfterReset();
    } else if (midiOpen_ && device == midiDevice_ && code == kMciNotifySuccessful) {
        songEnded();
    }
}

void MusicBox::mediaEnded() {
    if (mediaOpen_) songEnded();
}

}  // namespace lumarel
