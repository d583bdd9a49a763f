// The build's one music tool. "flurrin <folder>" writes flurrin's pack songs,
// "lumarel <folder> <reset file>" lumarel's songs and its MIDI reset file.
#include <cstdio>
#include <cstring>
#include <string>

#include "midi_file.h"
#include "song_book.h"

namespace {

bool writeSongs(const std::string& folder, const std::vector<music::Song>& songs) {
    bool ok = true;
    for (const music::Song& s : songs) ok = music::writeFile(folder + "/" + s.file, music::songFile(s)) && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "flurrin") == 0) return writeSongs(argv[2], music::flurrinSongs()) ? 0 : 1;
    if (argc == 4 && std::strcmp(argv[1], "lumarel") == 0)
        return writeSongs(argv[2], music::lumarelSongs()) && music::writeFile(argv[3], music::midiResetFile()) ? 0 : 1;
    std::fprintf(stderr, "usage: flurrin_music flurrin <folder> | lumarel <folder> <reset file>\n");
    return 2;
}
