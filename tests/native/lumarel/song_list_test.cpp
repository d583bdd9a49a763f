// The song list's plain rules: kinds, order, switched-off names, checksum, paths.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "bulbs/crc32.h"
#include "music/song_list.h"
#include "ui/settings_codec.h"
#include "ui/song_checksum.h"

namespace lumarel {
namespace {

std::vector<std::string> names(const std::vector<Song>& songs) {
    std::vector<std::string> out;
    for (const Song& s : songs) out.push_back(s.name);
    return out;
}

TEST(SongKinds, EndingsDecideWithoutRegardToCase) {
    for (const char* song : {"a.mid", "A.RMI", "x.aif", "x.AIFC", "x.aiff", "x.au", "x.Mp3", "x.mpeg", "x.snd",
                             "C:\\music\\x.WAV"})
        EXPECT_TRUE(hasSongEnding(song)) << song;
    for (const char* other : {"a.txt", "mid", "a.mid.bak", "a.midi", "a.", "", "a.lnk", "x.wave"})
        EXPECT_FALSE(hasSongEnding(other)) << other;
    EXPECT_TRUE(isMidiSong("x.MID"));
    EXPECT_TRUE(isMidiSong("x.rmi"));
    EXPECT_FALSE(isMidiSong("x.wav"));
    EXPECT_TRUE(isShortcut("Tune.LNK"));
    EXPECT_FALSE(isShortcut("Tune.lnkx"));
}

TEST(SongOrder, NamesIgnoreCaseAndEqualNamesKeepTheOrderFound) {
    std::vector<Song> songs = {{"b.mid"}, {"A.mid"}, {"c.wav"}, {"a.MID"}, {"B.mid"}};
    songs[3].enabled = false;  // tells the two "a" apart
    sortSongs(songs);
    EXPECT_EQ(names(songs), (std::vector<std::string>{"A.mid", "a.MID", "b.mid", "B.mid", "c.wav"}));
    EXPECT_TRUE(songs[0].enabled);
    EXPECT_FALSE(songs[1].enabled);
}

TEST(SongOrder, TenThousandFilesSortWellUnderASecond) {
    std::vector<Song> songs;
    for (int i = 0; i < 10000; ++i) songs.push_back({"song " + std::to_string((i * 7919) % 10000) + ".mid"});
    auto start = std::chrono::steady_clock::now();
    sortSongs(songs);
    auto spent = std::chrono::steady_clock::now() - start;
    EXPECT_LT(spent, std::chrono::milliseconds(500));
    for (size_t i = 1; i < songs.size(); ++i) ASSERT_LE(songs[i - 1].name, songs[i].name);
}

TEST(SwitchedOff, EachNameTurnsOffTheFirstEnabledSongOfExactlyThatName) {
    std::vector<Song> songs = {{"Carol.mid"}, {"twin.mid"}, {"twin.mid"}, {"z.wav"}};
    switchOffSongs(songs, {"carol.mid", "twin.mid", "missing.mid", ""});
    EXPECT_TRUE(songs[0].enabled) << "letter case counts";
    EXPECT_FALSE(songs[1].enabled);
    EXPECT_TRUE(songs[2].enabled) << "only the first of two equal names";
    EXPECT_TRUE(songs[3].enabled);
    switchOffSongs(songs, {"twin.mid"});
    EXPECT_FALSE(songs[2].enabled) << "a second mention reaches the next enabled one";
}

TEST(SwitchedOff, StoredListsRoundTripThroughTheDecoder) {
    std::vector<Song> songs = {{"a.mid"}, {"b.mid"}, {"c.mid"}};
    auto bytes = encodeSongList({"c.mid", "a.mid"});
    switchOffSongs(songs, decodeSongList(bytes.data(), bytes.size()));
    EXPECT_FALSE(songs[0].enabled);
    EXPECT_TRUE(songs[1].enabled);
    EXPECT_FALSE(songs[2].enabled);
}

TEST(SongChecksum, ChainsFlagWordsAndNamesOfEveryEntry) {
    std::vector<Song> songs = {{"ab", true, false}, {"c", false, true}};
    const uint8_t stream[] = {1, 0, 0, 0, 0, 0, 0, 0, 'a', 'b', 0, 0, 0, 0, 1, 0, 0, 0, 'c'};
    EXPECT_EQ(songListChecksum(songs), crc32(stream, sizeof stream));
    uint32_t before = songListChecksum(songs);
    songs[1].pending = false;
    EXPECT_NE(songListChecksum(songs), before) << "a pending flag counts";
    songs[1].pending = true;
    songs[0].name = "ac";
    EXPECT_NE(songListChecksum(songs), before);
    EXPECT_EQ(songListChecksum({}), 0u);
}

TEST(SongPaths, TheFullPathMustFitIn259Characters) {
    char path[260];
    std::string folder(250, 'f');
    EXPECT_TRUE(songPath(folder.c_str(), "123456789", path));  // 259
    EXPECT_EQ(std::string(path), folder + "123456789");
    EXPECT_FALSE(songPath(folder.c_str(), "1234567890", path));  // 260
    EXPECT_TRUE(songPath("", "", path));
}

TEST(PlayMode, ValuesOutsideZeroToFourAreIgnored) {
    setMusicPlayMode(4);
    setMusicPlayMode(5);
    setMusicPlayMode(-1);
    EXPECT_EQ(musicPlayMode(), 4);
    setMusicPlayMode(0);
    EXPECT_EQ(musicPlayMode(), 0);
    setMusicPlayMode(kPlayAlways);
    EXPECT_EQ(nextSongDelay(kPlayAlways, 123456), 1000u);
    EXPECT_EQ(nextSongDelay(kPlayIntermittent, 0), 60000u);
    EXPECT_EQ(nextSongDelay(kPlayIntermittent, 239999), 179999u);
}

}  // namespace
}  // namespace lumarel
