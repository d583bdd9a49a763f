// The music box's message texts and titles.
#pragma once

namespace lumarel::music_text {

inline constexpr const char* kMidiTrouble =
    "Lumarel had trouble playing MIDI music.\r\n\r\nAnother application may already be playing MIDI music, "
    "or your sound card might not support MIDI.\r\n\r\nIf you don't want music, you can avoid seeing this "
    "message in the future by setting the music to \"Never\" play in the Music Box.\r\n\r\n(Error code:";
inline constexpr const char* kOpenFormat = "%s Open %d)";
inline constexpr const char* kPlayFormat = "%s Play %d)";
inline constexpr const char* kPathTooLong =
    "Lumarel had trouble playing music.\r\n\r\nThe complete path to the song file may be too long. You may "
    "need to use shorter song titles or reinstall Lumarel in a directory that's closer to the top level of "
    "your disk.";
inline constexpr const char* kMediaTrouble =
    "Lumarel had trouble playing music using DirectX.\r\n\r\nYou may not have the latest version of DirectX "
    "installed; you can download it by getting the latest version of Windows Media Player from Microsoft's "
    "Web site.\r\n\r\nIf you don't want music, you can avoid seeing this message in the future by setting "
    "the music to \"Never\" play in the Music Box.";
inline constexpr const char* kSoundCardTitle = "Problem Using Sound Card";
inline constexpr const char* kPlayingTitle = "Problem Playing Music";

inline constexpr const char* kResetFile = "reset.mid";
inline constexpr const char* kAddSongFilter =
    "Music Files\0*.MID;*.RMI;*.AIF;*.AIFC;*.AIFF;*.AU;*.MP3;*.MPEG;*.SND;*.WAV\0";

}  // namespace lumarel::music_text
