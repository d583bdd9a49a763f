// lumarel's songs: carols and seasonal tunes from before 1900, written from
// the tunes as they are sung. The file name is the title the music page shows.
#include "song_book.h"

namespace music {

namespace {

// Joy to the World (tune "Antioch", arranged by L. Mason, 1839), in D, 2/4.
const Song kJoyToTheWorld = {
    "Joy to the World.mid", "Joy to the World", 96, 2, 0,
    "D5:1 C#5:0.75 B4:0.25 | A4:1.5 G4:0.5 | F#4:1 E4:1 | D4:1.5 A4:0.5 | B4:1.5 B4:0.5 | C#5:1.5 C#5:0.5 | "
    "D5:1.5 D5:0.5 | D5:0.5 C#5:0.5 B4:0.5 A4:0.5 | A4:0.75 G4:0.25 F#4:0.5 D5:0.5 | "
    "D5:0.5 C#5:0.5 B4:0.5 A4:0.5 | A4:0.75 G4:0.25 F#4:0.5 F#4:0.5 | F#4:0.5 F#4:0.5 F#4:0.5 F#4:0.25 G4:0.25 | "
    "A4:1.5 G4:0.25 F#4:0.25 | E4:0.5 E4:0.5 E4:0.5 E4:0.25 F#4:0.25 | G4:1.5 F#4:0.25 E4:0.25 | "
    "D4:0.5 D5:1 B4:0.5 | A4:0.75 G4:0.25 F#4:0.5 G4:0.5 | F#4:1 E4:1 | D4:2",
    "D3 G3 A37 D3 G3 A3 D3 D3 D3 D3 D3 D3 D3 A3 A37 D3 D3 A37 D3",
    19, 32, 89};  // church organ, acoustic bass, warm pad

// O Christmas Tree (German folk tune, words by E. Anschuetz, 1824), in G, 3/4.
const Song kOChristmasTree = {
    "O Christmas Tree.mid", "O Christmas Tree", 92, 3, 1,
    "D4:1 | G4:0.75 G4:0.25 G4:1.5 A4:0.5 | B4:0.75 B4:0.25 B4:1.5 B4:0.5 | A4:0.5 B4:0.5 C5:1 F#4:1 | "
    "A4:1 G4:1 r:0.5 D5:0.5 | D5:0.5 B4:0.5 E5:1.5 D5:0.5 | D5:0.5 C5:0.5 C5:1.5 C5:0.5 | "
    "C5:0.5 A4:0.5 D5:1.5 C5:0.5 | C5:0.5 B4:0.5 B4:1 r:0.5 D4:0.5 | G4:0.75 G4:0.25 G4:1.5 A4:0.5 | "
    "B4:0.75 B4:0.25 B4:1.5 B4:0.5 | A4:0.5 B4:0.5 C5:1 F#4:1 | A4:1 G4:1 r:1",
    "G3 G3 D37 G3 E3m D37 D37 G3 G3 G3 D37 G3",
    10, 32, 88};  // music box, acoustic bass, new-age pad

// Good King Wenceslas (tune "Tempus adest floridum", words by J. M. Neale, 1853), in G.
const Song kGoodKingWenceslas = {
    "Good King Wenceslas.mid", "Good King Wenceslas", 112, 4, 0,
    "G4:1 G4:1 G4:1 A4:1 | G4:1 G4:1 D4:2 | E4:1 D4:1 E4:1 F#4:1 | G4:2 G4:2 | "
    "G4:1 G4:1 G4:1 A4:1 | G4:1 G4:1 D4:2 | E4:1 D4:1 E4:1 F#4:1 | G4:2 G4:2 | "
    "D5:1 C5:1 B4:1 A4:1 | B4:1 A4:1 G4:2 | E4:1 D4:1 E4:1 F#4:1 | G4:2 G4:2 | "
    "D4:1 D4:1 E4:1 F#4:1 | G4:1 G4:1 A4:2 | D5:1 C5:1 B4:1 A4:1 | G4:2 C5:2 | G4:4",
    "G3 G3 D3 G3 G3 G3 D3 G3 D37 G3 D3 G3 D3 E3m G3 C3 G3",
    68, 32, 48};  // oboe, acoustic bass, strings

// The First Noel (English traditional, printed 1833), in D, 3/4.
const Song kFirstNoel = {
    "The First Noel.mid", "The First Noel", 108, 3, 1,
    "F#4:0.5 E4:0.5 | D4:1.5 E4:0.5 F#4:0.5 G4:0.5 | A4:2 B4:0.5 C#5:0.5 | D5:1 C#5:1 B4:1 | A4:2 B4:0.5 C#5:0.5 | "
    "D5:1 C#5:1 B4:1 | A4:1 B4:1 C#5:1 | D5:1 A4:1 G4:1 | F#4:2 F#4:0.5 E4:0.5 | "
    "D4:1.5 E4:0.5 F#4:0.5 G4:0.5 | A4:2 B4:0.5 C#5:0.5 | D5:1 C#5:1 B4:1 | A4:2 B4:0.5 C#5:0.5 | "
    "D5:1 C#5:1 B4:1 | A4:1 B4:1 C#5:1 | D5:1 A4:1 G4:1 | F#4:2 F#4:0.5 E4:0.5 | "
    "D4:1.5 E4:0.5 F#4:0.5 G4:0.5 | A4:2 D5:0.5 C#5:0.5 | B4:2 B4:1 | A4:3 | D5:1 C#5:1 B4:1 | "
    "A4:1 B4:1 C#5:1 | D5:1 A4:1 G4:1 | F#4:2 E4:1 | D4:3",
    "D3 D3 B3m D3 G3 A3 G3 D3 D3 D3 B3m D3 G3 A3 G3 D3 D3 D3 G3 D3 G3 A3 G3 D3 D3",
    46, 32, 89};  // harp, acoustic bass, warm pad

// Auld Lang Syne (Scots tune, words by R. Burns, 1788), in G, with a pickup.
const Song kAuldLangSyne = {
    "Auld Lang Syne.mid", "Auld Lang Syne", 88, 4, 1,
    "D4:1 | G4:1.5 G4:0.5 G4:1 B4:1 | A4:1.5 G4:0.5 A4:1 B4:0.5 A4:0.5 | G4:1.5 G4:0.5 B4:1 D5:1 | E5:3 E5:1 | "
    "D5:1.5 B4:0.5 B4:1 G4:1 | A4:1.5 G4:0.5 A4:1 B4:0.5 A4:0.5 | G4:1.5 E4:0.5 E4:1 D4:1 | G4:3 E5:1 | "
    "D5:1.5 B4:0.5 B4:1 G4:1 | A4:1.5 G4:0.5 A4:1 E5:1 | D5:1.5 B4:0.5 B4:1 D5:1 | E5:3 G5:1 | "
    "D5:1.5 B4:0.5 B4:1 G4:1 | A4:1.5 G4:0.5 A4:1 B4:0.5 A4:0.5 | G4:1.5 E4:0.5 E4:1 D4:1 | G4:3 r:1",
    "G3 D3 G3 C3 G3 D3 E3m G3 G3 D3 G3 C3 G3 D3 E3m G3",
    71, 32, 49};  // clarinet, acoustic bass, slow strings

// Hark! The Herald Angels Sing (tune by F. Mendelssohn, 1840), in G.
const Song kHarkTheHerald = {
    "Hark! The Herald Angels Sing.mid", "Hark! The Herald Angels Sing", 104, 4, 0,
    "D4:1 G4:1 G4:1.5 F#4:0.5 | G4:1 B4:1 B4:1 A4:1 | D5:1 D5:1 D5:1.5 C5:0.5 | B4:1 A4:1 B4:2 | "
    "D4:1 G4:1 G4:1.5 F#4:0.5 | G4:1 B4:1 B4:1 A4:1 | D5:1 A4:1 A4:1.5 F#4:0.5 | F#4:1 E4:1 D4:2 | "
    "D5:1 D5:1 D5:1 G4:1 | C5:1 B4:1 B4:1 A4:1 | D5:1 D5:1 D5:1 G4:1 | C5:1 B4:1 B4:1 A4:1 | "
    "E5:1 E5:1 E5:1 D5:1 | C5:1 B4:1 C5:2 | A4:1 B4:0.5 C5:0.5 D5:1.5 G4:0.5 | G4:1 A4:1 B4:2 | "
    "E5:1.5 E5:0.5 E5:1 D5:1 | C5:1 B4:1 C5:2 | A4:1 B4:0.5 C5:0.5 D5:1.5 G4:0.5 | G4:1 A4:1 G4:2",
    "G3 G3 G3 G3 G3 G3 D3 D3 G3 D37 G3 D37 C3 A3m D37 G3 C3 A3m D37 G3",
    56, 33, 91};  // trumpet, finger bass, choir pad

}  // namespace

const std::vector<Song>& lumarelSongs() {
    static const std::vector<Song> songs = {kJoyToTheWorld,  kOChristmasTree, kGoodKingWenceslas,
                                            kFirstNoel,      kAuldLangSyne,   kHarkTheHerald};
    return songs;
}

}  // namespace music
