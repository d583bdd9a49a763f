// The songs the build writes, read back with a small reader of our own: chunk
// lengths, every note ended, each part on its channel, the meta events, and
// the MIDI reset byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kGenerated = GENERATED_DIR;

std::vector<uint8_t> readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Event {
    uint32_t tick;
    uint8_t status;  // 0xFF for meta events
    uint8_t data1, data2;
    std::vector<uint8_t> meta;  // meta payload; data1 is the meta type
};

struct MidiFile {
    int format = -1, division = 0;
    std::vector<std::vector<Event>> tracks;
};

// Parses strictly: any length that runs past its chunk is a failure.
bool parseMidi(const std::vector<uint8_t>& b, MidiFile& out, std::string& why) {
    auto be = [&](size_t at, int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = v << 8 | b[at + i];
        return v;
    };
    if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || be(4, 4) != 6) return why = "header", false;
    out.format = int(be(8, 2));
    size_t count = be(10, 2);
    out.division = int(be(12, 2));
    size_t at = 14;
    for (size_t t = 0; t < count; ++t) {
        if (at + 8 > b.size() || std::string(b.begin() + at, b.begin() + at + 4) != "MTrk") return why = "chunk", false;
        size_t end = at + 8 + be(at + 4, 4);
        if (end > b.size()) return why = "chunk length", false;
        at += 8;
        std::vector<Event> events;
        uint32_t tick = 0;
        auto varLength = [&](uint32_t& v) {
            v = 0;
            for (int i = 0; i < 4; ++i) {
                if (at >= end) return false;
                uint8_t c = b[at++];
                v = v << 7 | (c & 0x7F);
                if (!(c & 0x80)) return true;
            }
            return false;
        };
        while (at < end) {
            uint32_t delta, length;
            if (!varLength(delta) || at >= end) return why = "delta", false;
            tick += delta;
            uint8_t status = b[at++];
            if (status == 0xFF) {
                if (at >= end) return why = "meta", false;
                uint8_t type = b[at++];
                if (!varLength(length) || at + length > end) return why = "meta length", false;
                events.push_back({tick, 0xFF, type, 0, std::vector<uint8_t>(b.begin() + at, b.begin() + at + length)});
                at += length;
            } else if (status >= 0x80 && status < 0xF0) {
                int n = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
                if (at + n > end) return why = "event", false;
                events.push_back({tick, status, b[at], uint8_t(n == 2 ? b[at + 1] : 0), {}});
                at += n;
            } else {
                return why = "running status or system event", false;  // our writer never uses them
            }
        }
        out.tracks.push_back(events);
    }
    if (at != b.size()) return why = "bytes after the last chunk", false;
    return true;
}

uint32_t endOfTrack(const std::vector<Event>& track) { return track.empty() ? 0 : track.back().tick; }

// Checks one song; returns the channel each track played on (-1: none).
void checkSong(const fs::path& path, const std::string& expectedTitle) {
    SCOPED_TRACE(path.filename().string());
    MidiFile song;
    std::string why;
    ASSERT_TRUE(parseMidi(readAll(path), song, why)) << why;
    EXPECT_EQ(song.format, 1);
    EXPECT_EQ(song.division, 480);
    ASSERT_EQ(song.tracks.size(), 4u) << "tempo, melody, bass, pad";

    std::set<uint8_t> metas;
    for (const Event& e : song.tracks[0]) {
        ASSERT_EQ(e.status, 0xFF) << "the tempo track holds meta events only";
        metas.insert(e.data1);
        if (e.data1 == 0x03) {
            EXPECT_EQ(std::string(e.meta.begin(), e.meta.end()), expectedTitle);
        }
        if (e.data1 == 0x51) {
            ASSERT_EQ(e.meta.size(), 3u);
            uint32_t us = e.meta[0] << 16 | e.meta[1] << 8 | e.meta[2];
            EXPECT_GE(us, 60000000u / 200);
            EXPECT_LE(us, 60000000u / 60);
        }
        if (e.data1 == 0x58) {
            ASSERT_EQ(e.meta.size(), 4u);
            EXPECT_TRUE(e.meta[0] >= 2 && e.meta[0] <= 4);
            EXPECT_EQ(e.meta[1], 2) << "quarter-note beats";
        }
    }
    EXPECT_EQ(metas, (std::set<uint8_t>{0x03, 0x51, 0x58, 0x2F}));

    for (size_t t = 0; t < song.tracks.size(); ++t) {
        const std::vector<Event>& track = song.tracks[t];
        ASSERT_FALSE(track.empty());
        EXPECT_EQ(track.back().status, 0xFF);
        EXPECT_EQ(track.back().data1, 0x2F) << "track " << t << " ends with end of track";
        for (size_t i = 0; i + 1 < track.size(); ++i)
            EXPECT_FALSE(track[i].status == 0xFF && track[i].data1 == 0x2F) << "end of track only at the end";
        if (t == 0) continue;

        std::map<uint8_t, int> sounding;
        size_t notes = 0;
        for (const Event& e : track) {
            if (e.status == 0xFF) continue;
            EXPECT_EQ(e.status & 0x0F, int(t - 1)) << "track " << t << " keeps to its own channel";
            uint8_t kind = e.status & 0xF0;
            if (kind == 0x90 && e.data2 > 0) {
                EXPECT_EQ(sounding[e.data1]++, 0) << "note " << int(e.data1) << " struck twice at " << e.tick;
                EXPECT_TRUE(e.data2 >= 40 && e.data2 <= 110) << "velocity " << int(e.data2);
                ++notes;
            } else if (kind == 0x80 || kind == 0x90) {
                EXPECT_EQ(sounding[e.data1]--, 1) << "note " << int(e.data1) << " ended unstruck at " << e.tick;
            }
        }
        for (auto [pitch, count] : sounding) EXPECT_EQ(count, 0) << "note " << int(pitch) << " never ended";
        EXPECT_GT(notes, 8u);
    }
    // Melody and accompaniment were entered separately: they must end together.
    EXPECT_EQ(endOfTrack(song.tracks[1]), endOfTrack(song.tracks[2]));
    EXPECT_EQ(endOfTrack(song.tracks[2]), endOfTrack(song.tracks[3]));
}

TEST(SongFiles, LumarelShipsSixToEightCarolsNamedByTheirTitles) {
    std::vector<fs::path> songs;
    for (const auto& entry : fs::directory_iterator(kGenerated / "lumarel" / "music")) songs.push_back(entry.path());
    std::sort(songs.begin(), songs.end());
    ASSERT_GE(songs.size(), 6u);
    ASSERT_LE(songs.size(), 8u);
    const std::set<std::string> flurrinTitles = {"Jingle Bells", "We Wish You a Merry Christmas", "Deck the Halls",
                                                 "Silent Night"};
    int ownTunes = 0;
    for (const fs::path& song : songs) {
        EXPECT_EQ(song.extension(), ".mid");
        std::string title = song.stem().string();
        ownTunes += !flurrinTitles.count(title);
        checkSong(song, title);
    }
    EXPECT_GE(ownTunes, 4);
}

TEST(SongFiles, FlurrinsPackSongsReadBackWhole) {
    const std::pair<const char*, const char*> songs[] = {{"jingle.mid", "Jingle Bells"},
                                                         {"wewish.mid", "We Wish You a Merry Christmas"},
                                                         {"deck.mid", "Deck the Halls"},
                                                         {"silent.mid", "Silent Night"}};
    for (auto [file, title] : songs) checkSong(kGenerated / "flurrin" / file, title);
}

TEST(SongFiles, TheMidiResetIsTheNinetyOneByteFileByteForByte) {
    std::vector<uint8_t> expected = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                                     'M', 'T', 'r', 'k', 0, 0, 0, 69};
    for (uint8_t channel = 0; channel < 16; ++channel) expected.insert(expected.end(), {0, uint8_t(0xB0 | channel), 121, 0});
    expected.insert(expected.end(), {0x8F, 0x00, 0xFF, 0x2F, 0x00});  // 1920 ticks later
    ASSERT_EQ(expected.size(), 91u);
    EXPECT_EQ(readAll(kGenerated / "lumarel" / "reset.mid"), expected);

    MidiFile reset;
    std::string why;
    ASSERT_TRUE(parseMidi(expected, reset, why)) << why;
    EXPECT_EQ(reset.format, 0);
    ASSERT_EQ(reset.tracks.size(), 1u);
    EXPECT_EQ(endOfTrack(reset.tracks[0]), 1920u);
}

}  // namespace
