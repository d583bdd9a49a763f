// The songs of both programs, entered note by note, and the one arrangement
// that turns a melody with a chord per bar into melody, bass and pad tracks.
#pragma once
#include <cstdint>
#include <vector>

namespace music {

struct Song {
    const char* file;   // file name in the output folder
    const char* title;  // the tempo track's name
    int bpm;
    int beats_per_bar;
    double pickup;       // beats before the first full bar
    const char* melody;  // "G4:1 A4:0.5 r:1 F#4:1.5 |": note, colon, length in quarters
    const char* chords;  // one per full bar (the pickup has none): "G3 E3m D37"
    int melody_program, bass_program, pad_program;
};

// Format 1: a tempo track, then melody (channel 0), bass (1) and pad (2).
std::vector<uint8_t> songFile(const Song& song);

// flurrin's built-in pack, in pack order.
const std::vector<Song>& flurrinSongs();
// lumarel's "Lumarel Music" folder; each file is named by its title.
const std::vector<Song>& lumarelSongs();

}  // namespace music
