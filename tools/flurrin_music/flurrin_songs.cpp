// flurrin's built-in pack songs. Their bytes are part of the pack, so changes
// here change flurrin's pack.
#include "song_book.h"

namespace music {

namespace {

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

const std::vector<Song>& flurrinSongs() {
    static const std::vector<Song> songs = {kJingleBells, kWeWish, kDeckTheHalls, kSilentNight};
    return songs;
}

}  // namespace music
