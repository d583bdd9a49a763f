#include "song_book.h"

#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "midi_file.h"

namespace music {

namespace {

struct Note {
    int pitch;     // MIDI note number, -1 for a rest
    double beats;  // length in quarter notes
};

int pitch_of(const std::string& name) {
    static const std::map<char, int> steps = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
    size_t i = 1;
    int p = steps.at(name[0]);
    while (i < name.size() && (name[i] == '#' || name[i] == 'b')) p += name[i++] == '#' ? 1 : -1;
    int octave = std::stoi(name.substr(i));
    return (octave + 1) * 12 + p;
}

std::vector<Note> parse(const std::string& text) {
    std::vector<Note> notes;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        if (token == "|") continue;
        size_t colon = token.find(':');
        std::string name = token.substr(0, colon);
        double beats = std::stod(token.substr(colon + 1));
        notes.push_back({name == "r" ? -1 : pitch_of(name), beats});
    }
    return notes;
}

// A chord per bar: root name with octave, "m" for minor, "7" for a dominant seventh.
std::vector<std::vector<int>> chords_of(const std::string& text) {
    std::vector<std::vector<int>> chords;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        std::string root = token;
        bool minor = false, seventh = false;
        while (!root.empty() && (root.back() == 'm' || root.back() == '7')) {
            (root.back() == 'm' ? minor : seventh) = true;
            root.pop_back();
        }
        int r = pitch_of(root);
        std::vector<int> chord = {r, r + (minor ? 3 : 4), r + 7};
        if (seventh) chord.push_back(r + 10);
        chords.push_back(chord);
    }
    return chords;
}

void add_program(Track& t, int channel, int program, int volume, int pan) {
    t.event({uint8_t(0xC0 | channel), uint8_t(program)});
    t.event({uint8_t(0xB0 | channel), 7, uint8_t(volume)});
    t.event({uint8_t(0xB0 | channel), 10, uint8_t(pan)});
    t.event({uint8_t(0xB0 | channel), 91, 40});  // a little reverb
}

Track melody_track(const Song& s) {
    Track t;
    t.name("Melody");
    add_program(t, 0, s.melody_program, 110, 64);
    double position = 0;
    for (const Note& n : parse(s.melody)) {
        uint32_t length = uint32_t(n.beats * kTicksPerQuarter);
        if (n.pitch < 0) {
            t.delay(length);
        } else {
            // Stronger on the first beat of a bar, slightly detached notes.
            double in_bar = position - s.pickup;
            bool downbeat = in_bar >= 0 && std::abs(in_bar - s.beats_per_bar * int(in_bar / s.beats_per_bar)) < 1e-6;
            uint8_t velocity = downbeat ? 100 : 84;
            uint32_t sounding = length * 9 / 10;
            t.event({0x90, uint8_t(n.pitch), velocity});
            t.delay(sounding);
            t.event({0x80, uint8_t(n.pitch), 0});
            t.delay(length - sounding);
        }
        position += n.beats;
    }
    t.end();
    return t;
}

Track harmony_track(const Song& s, bool bass) {
    Track t;
    int channel = bass ? 1 : 2;
    t.name(bass ? "Bass" : "Pad");
    add_program(t, channel, bass ? s.bass_program : s.pad_program, bass ? 96 : 58, bass ? 54 : 76);
    t.delay(uint32_t(s.pickup * kTicksPerQuarter));
    uint32_t bar = uint32_t(s.beats_per_bar * kTicksPerQuarter);
    for (const std::vector<int>& chord : chords_of(s.chords)) {
        if (bass) {
            // Root on the first beat, fifth on the middle beat.
            uint32_t half = s.beats_per_bar == 3 ? uint32_t(2 * kTicksPerQuarter) : bar / 2;
            uint8_t root = uint8_t(chord[0] - 24), fifth = uint8_t(chord[0] - 17);
            t.event({0x91, root, 92});
            t.delay(half - 40);
            t.event({0x81, root, 0});
            t.delay(40);
            t.event({0x91, fifth, 80});
            t.delay(bar - half - 40);
            t.event({0x81, fifth, 0});
            t.delay(40);
        } else {
            for (int p : chord) t.event({0x92, uint8_t(p - 12), 52});
            t.delay(bar - 20);
            for (int p : chord) t.event({0x82, uint8_t(p - 12), 0});
            t.delay(20);
        }
    }
    t.end();
    return t;
}

Track tempo_track(const Song& s) {
    Track t;
    t.name(s.title);
    uint32_t us = 60000000u / uint32_t(s.bpm);
    t.meta(0x51, {uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
    t.meta(0x58, {uint8_t(s.beats_per_bar), 2, 24, 8});
    t.end();
    return t;
}

}  // namespace

std::vector<uint8_t> songFile(const Song& s) {
    return midiFile(1, {tempo_track(s), melody_track(s), harmony_track(s, true), harmony_track(s, false)});
}

}  // namespace music
