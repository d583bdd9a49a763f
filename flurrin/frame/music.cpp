#include "frame/music.h"

#include <mmsystem.h>


namespace flurrin {

std::string music_device_type(const std::string& file, const Settings& settings) {
    if (file.size() < 3) return {};
    std::string tail = file.substr(file.size() - 3);
    CharUpperBuffA(tail.data(), DWORD(tail.size()));
    if (tail == "MID" || tail == "RMI") return settings.midi_devicename;
    if (tail == "WAV") return settings.wav_devicename;
    if (tail == "MP3") return settings.mp3_devicename;
    return {};
}

void MusicPlayer::stop_music() {
    if (device_) {
        mciSendCommandA(device_, MCI_STOP, 0, 0);
        mciSendCommandA(device_, MCI_CLOSE, 0, 0);
        device_ = 0;
    }
    music_playing_ = false;
}

void MusicPlayer::play_music_file(const std::string& file, HWND notify, const Settings& settings) {
    stop_music();
    std::string type = music_device_type(file, settings);
    MCI_OPEN_PARMSA open{};
    open.lpstrElementName = file.c_str();
    DWORD flags = MCI_OPEN_ELEMENT | MCI_WAIT;
    if (!type.empty()) {
        open.lpstrDeviceType = type.c_str();
        flags |= MCI_OPEN_TYPE;
    }
    if (mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open)) != 0) {
        music_playing_ = false;
        return;
    }
    device_ = open.wDeviceID;
    music_playing_ = true;
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(notify);
    if (mciSendCommandA(device_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play)) != 0) stop_music();
}

void MusicPlayer::on_notify(UINT device) {
    if (device == device_) music_playing_ = false;
}

}  // namespace flurrin
