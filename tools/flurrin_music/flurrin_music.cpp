// Writes flurrin's four songs as Standard MIDI Files (format 1): public-domain
// seasonal melodies entered note by note, arranged for melody, bass and a soft
// pad, with tempo, time signature and end-of-track meta events.
#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kTicksPerQuarter = 480;

struct Note {
    int pitch;     // MIDI note number, -1 for a rest
    double beats;  // length in quarter notes
};

// "G4:1 A4:0.5 r:1 F#4:1.5": note name with octave, colon, length in quarters.
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

class Track {
public:
    void delay(uint32_t ticks) { pending_ += ticks; }
    void event(std::initializer_list<uint8_t> bytes) {
        var_length(pending_);
        pending_ = 0;
        data_.insert(data_.end(), bytes);
    }
    void meta(uint8_t type, const std::vector<uint8_t>& payload) {
        var_length(pending_);
        pending_ = 0;
        data_.push_back(0xFF);
        data_.push_back(type);
        var_length(uint32_t(payload.size()));
        data_.insert(data_.end(), payload.begin(), payload.end());
    }
    void name(const std::string& text) { meta(0x03, std::vector<uint8_t>(text.begin(), text.end())); }
    void end() { meta(0x2F, {}); }
    const std::vector<uint8_t>& bytes() const { return data_; }

private:
    void var_length(uint32_t value) {
        uint8_t buffer[5];
        int n = 0;
        buffer[n++] = value & 0x7F;
        while (value >>= 7) buffer[n++] = uint8_t(0x80 | (value & 0x7F));
        while (n) data_.push_back(buffer[--n]);
    }
    std::vector<uint8_t> data_;
    uint32_t pending_ = 0;
};

struct Song {
    const char* file;
    const char* title;
    int bpm;
    int beats_per_bar;
    double pickup;  // beats before the first full bar
    const char* melody;
    const char* chords;  // one per full bar (the pickup has none)
    int melody_program, bass_program, pad_program;
};

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

void put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
}

bool write_song(const std::string& folder, const Song& s) {
    std::vector<Track> tracks = {tempo_track(s), melody_track(s), harmony_track(s, true), harmony_track(s, false)};
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
    put(out, 6, 4), put(out, 1, 2), put(out, uint32_t(tracks.size()), 2), put(out, kTicksPerQuarter, 2);
    for (const Track& t : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        put(out, uint32_t(t.bytes().size()), 4);
        out.insert(out.end(), t.bytes().begin(), t.bytes().end());
    }
    std::FILE* f = std::fopen((folder + "/" + s.file).c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

// Jingle Bells (J. Pierpont, 1857): verse and chorus, in G.
const Song kJingleBells = {
    "jingle.mid", "Jingle Bells", 168, 4, 0,
    "D4:1 B4:1 A4:1 G4:1 | D4:3 D4:0.5 D4:0.5 | D4:1 B4:1 A4:1 G4:1 | E4:4 | "
    "E4:1 C5:1 B4:1 A4:1 | F#4:4 | D5:1 D5:1 C5:1 A4:1 | B4:4 | "
    "D4:1 B4:1 A4:1 G4:1 | D4:4 | D4:1 B4:1 A4:1 G4:1 | E4:3 E4:1 | "
    "E4:1 C5:1 B4:1 A4:1 | D5:1 D5:1 D5:1 D5:1 | E5:1 D5:1 C5:1 A4:1 | G4:2 D5:2 | "
    "B4:1 B4:1 B4:2 | B4:1 B4:1 B4:2 | B4:1 D5:1 G4:1.5 A4:0.5 | B4:4 | "
    "C5:1 C5:1 C5:1.5 C5:0.5 | C5:1 B4:1 B4:1 B4:0.5 B4:0.5 | B4:1 A4:1 A4:1 B4:1 | A4:2 D5:2 | "
    "B4:1 B4:1 B4:2 | B4:1 B4:1 B4:2 | B4:1 D5:1 G4:1.5 A4:0.5 | B4:4 | "
    "C5:1 C5:1 C5:1.5 C5:0.5 | C5:1 B4:1 B4:1 B4:0.5 B4:0.5 | D5:1 D5:1 C5:1 A4:1 | G4:4",
    "G3 G3 G3 C3 C3 D3 D3 G3 G3 G3 G3 C3 C3 D3 D37 G3 "
    "G3 G3 G3 G3 C3 G3 A37 D37 G3 G3 G3 G3 C3 G3 D37 G3",
    0, 33, 89};  // piano, finger bass, warm pad

// We Wish You a Merry Christmas (English traditional), in G, 3/4 with a pickup.
const Song kWeWish = {
    "wewish.mid", "We Wish You a Merry Christmas", 150, 3, 1,
    "D4:1 | G4:1 G4:0.5 A4:0.5 G4:0.5 F#4:0.5 | E4:1 E4:1 E4:1 | A4:1 A4:0.5 B4:0.5 A4:0.5 G4:0.5 | "
    "F#4:1 D4:1 D4:1 | B4:1 B4:0.5 C5:0.5 B4:0.5 A4:0.5 | G4:1 E4:1 D4:0.5 D4:0.5 | E4:1 A4:1 F#4:1 | G4:2 D4:1 | "
    "G4:1 G4:1 G4:1 | F#4:2 F#4:1 | G4:1 F#4:1 E4:1 | D4:2 A4:1 | B4:1 A4:1 G4:1 | D5:1 D4:1 D4:0.5 D4:0.5 | "
    "E4:1 A4:1 F#4:1 | G4:3",
    "G3 C3 D3 D3 E3m C3 D37 G3 G3 D3 C3 D3 G3 G3 D37 G3",
    11, 32, 88};  // vibraphone, acoustic bass, new-age pad

// Deck the Halls (Welsh traditional), in G.
const Song kDeckTheHalls = {
    "deck.mid", "Deck the Halls", 132, 4, 0,
    "D5:1.5 C5:0.5 B4:1 A4:1 | G4:1 A4:1 B4:1 G4:1 | A4:0.5 B4:0.5 C5:0.5 A4:0.5 B4:1.5 A4:0.5 | G4:1 F#4:1 G4:2 | "
    "D5:1.5 C5:0.5 B4:1 A4:1 | G4:1 A4:1 B4:1 G4:1 | A4:0.5 B4:0.5 C5:0.5 A4:0.5 B4:1.5 A4:0.5 | G4:1 F#4:1 G4:2 | "
    "A4:1.5 B4:0.5 C5:1 A4:1 | B4:1.5 C5:0.5 D5:1 A4:1 | B4:0.5 C#5:0.5 D5:1 E5:0.5 F#5:0.5 G5:1 | F#5:1 E5:1 D5:2 | "
    "D5:1.5 C5:0.5 B4:1 A4:1 | G4:1 A4:1 B4:1 G4:1 | E5:0.5 E5:0.5 E5:0.5 E5:0.5 D5:1.5 C5:0.5 | B4:1 A4:1 G4:2",
    "G3 G3 D3 G3 G3 G3 D3 G3 D3 G3 A3 D3 G3 C3 C3 G3",
    73, 33, 89};  // flute, finger bass, warm pad

// Silent Night (F. Gruber, 1818), in C, 3/4.
const Song kSilentNight = {
    "silent.mid", "Silent Night", 84, 3, 0,
    "G4:1.5 A4:0.5 G4:1 | E4:3 | G4:1.5 A4:0.5 G4:1 | E4:3 | D5:2 D5:1 | B4:3 | C5:2 C5:1 | G4:3 | "
    "A4:2 A4:1 | C5:1.5 B4:0.5 A4:1 | G4:1.5 A4:0.5 G4:1 | E4:3 | A4:2 A4:1 | C5:1.5 B4:0.5 A4:1 | "
    "G4:1.5 A4:0.5 G4:1 | E4:3 | D5:2 D5:1 | F5:1.5 D5:0.5 B4:1 | C5:3 | E5:3 | "
    "C5:1 G4:1 E4:1 | G4:1.5 F4:0.5 D4:1 | C4:3 | r:3",
    "C3 C3 C3 C3 G3 G3 C3 C3 F3 F3 C3 C3 F3 F3 C3 C3 G3 G37 C3 C3 C3 G37 C3 C3",
    46, 32, 89};  // harp, acoustic bass, warm pad

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: flurrin_music <output folder>\n");
        return 2;
    }
    bool ok = true;
    for (const Song* s : {&kJingleBells, &kWeWish, &kDeckTheHalls, &kSilentNight}) ok = write_song(argv[1], *s) && ok;
    return ok ? 0 : 1;
}
