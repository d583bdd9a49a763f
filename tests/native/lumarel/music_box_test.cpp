// The music box's decisions against a fake player that can fail every way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "music/music_logic.h"

namespace lumarel {
namespace {

class FakePlayer : public SongPlayer {
public:
    uint32_t mciOpen(const char* path, bool sequencer, uint32_t& device) override {
        log.push_back(std::string(sequencer ? "open-seq " : "open ") + path);
        bool reset = std::string(path).find("reset.mid") != std::string::npos;
        uint32_t error = reset && resetMissing ? 275 : sequencer ? sequencerOpenError : openError;
        if (!error) device = nextDevice++;
        if (!error) open.push_back(device);
        return error;
    }
    uint32_t mciPlay(uint32_t device) override {
        log.push_back("play " + std::to_string(device));
        return playError;
    }
    void mciClose(uint32_t device) override {
        log.push_back("close " + std::to_string(device));
        std::erase(open, device);
    }
    bool mediaPlay(const char* path) override {
        log.push_back(std::string("media ") + path);
        graph = mediaWorks;
        return mediaWorks;
    }
    void mediaRelease() override {
        log.push_back("release");
        graph = false;
    }
    std::string songFolder(const std::string& name) override {
        auto held = heldElsewhere.find(name);
        return held != heldElsewhere.end() ? held->second : folder;
    }
    std::string resetFolder() override { return writeTo.empty() ? folder : writeTo; }
    void resolve(char (&path)[260]) override {
        log.push_back(std::string("resolve ") + path);
        if (!shortcutTarget.empty()) snprintf(path, 260, "%s", shortcutTarget.c_str());
    }
    bool resetFileCurrent() override { return resetCurrent; }
    void writeResetFile() override {
        log.push_back("write reset");
        resetCurrent = true;
        resetMissing = false;
    }
    bool settingsOpen() override { return settings; }
    void showMessage(const char* text, const char* title) override {
        messages.push_back(std::string(title) + "|" + text);
        if (whileShowing) whileShowing();
    }
    void waitCursor(bool on) override { cursorDepth += on ? 1 : -1; }
    uint32_t tickCount() override { return now; }
    int random() override {
        int r = randoms.empty() ? 0 : randoms.front();
        if (!randoms.empty()) randoms.erase(randoms.begin());
        return r;
    }
    int runMode() override { return run; }

    // The songs started, from the log: the paths opened outside the reset.
    std::vector<std::string> started() const {
        std::vector<std::string> names;
        for (const std::string& line : log) {
            if (line.rfind("open ", 0) == 0 && line.find("reset.mid") == std::string::npos)
                names.push_back(line.substr(5 + folder.size()));
            if (line.rfind("media ", 0) == 0) names.push_back(line.substr(6 + folder.size()));
        }
        return names;
    }

    std::string folder = "C:\\L\\Lumarel Music\\";
    std::map<std::string, std::string> heldElsewhere;  // song name -> the folder holding it
    std::string writeTo;                               // the reset's folder, when not `folder`
    std::string shortcutTarget;
    uint32_t openError = 0, sequencerOpenError = 0, playError = 0;
    bool mediaWorks = true, graph = false;
    bool resetCurrent = true;
    bool resetMissing = false;
    bool settings = false;
    uint32_t now = 1000;
    int run = 0;
    std::vector<int> randoms;
    uint32_t nextDevice = 1;
    std::vector<uint32_t> open;
    std::vector<std::string> log, messages;
    std::function<void()> whileShowing;
    int cursorDepth = 0;
};

class MusicBoxTest : public ::testing::Test {
protected:
    void SetUp() override { setMusicPlayMode(kPlayAlways); }
    void TearDown() override { setMusicPlayMode(kPlayAlways); }

    void songs(std::initializer_list<const char*> names) {
        list.clear();
        for (const char* n : names) list.push_back({n, true, true});
    }
    // The MIDI reset waits for its notice; this delivers it.
    void endReset() { box.mciNotice(1, player.open.empty() ? 0 : player.open.front()); }
    // The playing song ends and the next one starts a second later.
    void finishAndAdvance() {
        if (!player.open.empty()) box.mciNotice(1, player.open.back());
        if (box.mediaOpen()) box.mediaEnded();
        player.now += 1001;
        box.tick();
        endReset();
    }

    FakePlayer player;
    std::vector<Song> list;
    MusicBox box{player, list};
};

TEST_F(MusicBoxTest, NineChoicesOfThreeSongsPlayEachOncePerGroupWithoutRepeatAtTheSeams) {
    songs({"a.wav", "b.wav", "c.wav"});
    // rand() values that would favour repeats if the cycle were wrong.
    player.randoms = {2, 0, 0, 0, 1, 0, 1, 1, 0};
    box.chooseAndPlay();
    for (int i = 1; i < 9; ++i) finishAndAdvance();
    std::vector<std::string> played = player.started();
    ASSERT_EQ(played.size(), 9u);
    for (int group = 0; group < 3; ++group) {
        std::vector<std::string> g(played.begin() + group * 3, played.begin() + group * 3 + 3);
        std::sort(g.begin(), g.end());
        EXPECT_EQ(g, (std::vector<std::string>{"a.wav", "b.wav", "c.wav"})) << "group " << group;
        if (group > 0) {
            EXPECT_NE(played[group * 3], played[group * 3 - 1]) << "group " << group;
        }
    }
}

TEST_F(MusicBoxTest, ASingleSongPlaysAgainAfterItselfAndDisabledSongsNever) {
    songs({"only.wav", "off.wav"});
    list[1].enabled = false;
    box.chooseAndPlay();
    finishAndAdvance();
    finishAndAdvance();
    EXPECT_EQ(player.started(), (std::vector<std::string>{"only.wav", "only.wav", "only.wav"}));
}

TEST_F(MusicBoxTest, NoEnabledSongOpensNothing) {
    songs({"a.wav"});
    list[0].enabled = false;
    box.chooseAndPlay();
    EXPECT_TRUE(player.log.empty());
    list.clear();
    box.chooseAndPlay();
    EXPECT_TRUE(player.log.empty());
}

TEST_F(MusicBoxTest, NextSongWaitsASecondAlwaysAndOneToThreeMinutesIntermittently) {
    songs({"a.wav", "b.wav"});
    box.chooseAndPlay();
    player.now = 5000;
    box.mediaEnded();
    ASSERT_TRUE(box.timerArmed());
    EXPECT_EQ(box.timerDue(), 6000u);
    player.now = 6000;
    box.tick();
    EXPECT_EQ(player.started().size(), 1u) << "due is not yet passed at the due tick itself";
    player.now = 6001;
    box.tick();
    EXPECT_EQ(player.started().size(), 2u);
    EXPECT_FALSE(box.timerArmed());

    setMusicPlayMode(kPlayIntermittent);
    player.now = 250000;  // 250000 mod 120000 = 10000
    box.mediaEnded();
    EXPECT_EQ(box.timerDue(), 250000u + 10000u + 60000u);
    box.playSong(0);
    player.now = 119999;
    box.mediaEnded();
    EXPECT_EQ(box.timerDue() - player.now, 179999u);
}

TEST_F(MusicBoxTest, TheDueTestHoldsAcrossTheTickCountersWrap) {
    songs({"a.wav", "b.wav"});
    box.chooseAndPlay();
    player.now = 0xFFFFFF00u;
    box.mediaEnded();  // due 0xFFFFFF00 + 1000 wraps to 0x2E8
    EXPECT_EQ(box.timerDue(), 0x2E8u);
    player.now = 0xFFFFFFF0u;
    box.tick();
    EXPECT_TRUE(box.timerArmed()) << "before the wrap the small due value is still ahead";
    player.now = 0x2E9u;
    box.tick();
    EXPECT_FALSE(box.timerArmed());
    EXPECT_EQ(player.started().size(), 2u);

    // Either side of 0x80000000: a due more than half the range above now has
    // passed (the count wrapped past it); one far below has not (it wrapped).
    EXPECT_FALSE(dueHasPassed(0x80000000u, 0u));
    EXPECT_FALSE(dueHasPassed(0u, 0x80000000u));
    EXPECT_TRUE(dueHasPassed(0u, 0x7FFFFFFFu));
    EXPECT_TRUE(dueHasPassed(0x80000001u, 0u));
    EXPECT_TRUE(dueHasPassed(5u, 6u));
    EXPECT_FALSE(dueHasPassed(6u, 6u));
}

TEST_F(MusicBoxTest, ModesFollowTheRunMode) {
    songs({"a.wav"});
    setMusicPlayMode(kPlayNever);
    box.chooseAndPlay();
    EXPECT_TRUE(player.log.empty());

    setMusicPlayMode(kPlaySaverOn);
    box.chooseAndPlay();
    EXPECT_TRUE(player.log.empty()) << "mode 1 in a normal instance plays nothing";
    player.run = 1;
    box.chooseAndPlay();
    EXPECT_TRUE(box.playing()) << "mode 1 plays as the screen saver";
    player.run = 0;
    box.chooseAndPlay();
    EXPECT_FALSE(box.playing()) << "and stops once the saver ends";

    setMusicPlayMode(kPlaySaverOff);
    player.run = 2;
    box.chooseAndPlay();
    EXPECT_FALSE(box.playing());
    player.run = 0;
    box.chooseAndPlay();
    EXPECT_TRUE(box.playing());
    player.run = 2;
    box.chooseAndPlay();
    EXPECT_FALSE(box.playing()) << "mode 2 stops in the preview";
}

TEST_F(MusicBoxTest, SwitchingOffThePlayingSongStopsItAtTheNextChoice) {
    songs({"a.wav"});
    box.chooseAndPlay();
    ASSERT_TRUE(box.playing());
    box.chooseAndPlay();
    EXPECT_EQ(player.started().size(), 1u) << "an enabled playing song goes on";
    list[0].enabled = false;
    box.chooseAndPlay();
    EXPECT_FALSE(box.playing());
    EXPECT_FALSE(player.graph);
}

TEST_F(MusicBoxTest, ARebuiltListKeepsTheLastSongByName) {
    songs({"a.wav", "b.wav"});
    player.randoms = {1};
    box.chooseAndPlay();  // b
    ASSERT_EQ(box.lastStarted(), "b.wav");
    // The rescan puts a new song first; the cycle must still avoid b.
    songs({"0.wav", "a.wav", "b.wav"});
    for (Song& s : list) s.pending = false;
    box.stop();
    player.randoms = {1};
    box.chooseAndPlay();
    EXPECT_EQ(player.started().back(), "a.wav");
}

TEST_F(MusicBoxTest, MidiPlaysTheResetFirstAndTheSongAtItsNoticeOrAfterThreeSeconds) {
    songs({"carol.mid"});
    box.chooseAndPlay();
    ASSERT_EQ(player.log.size(), 2u);
    EXPECT_EQ(player.log[0], "open C:\\L\\Lumarel Music\\reset.mid");
    EXPECT_EQ(player.log[1], "play 1");
    EXPECT_TRUE(player.started().empty()) << "the song waits for the reset";
    EXPECT_EQ(player.cursorDepth, 0);

    box.mciNotice(1, 99);  // someone else's device
    EXPECT_TRUE(player.started().empty());
    player.now += MusicBox::kResetWaitMs + 1;
    box.tick();
    EXPECT_EQ(player.started(), std::vector<std::string>{"carol.mid"});
    EXPECT_EQ(player.open, std::vector<uint32_t>{2}) << "the reset device is closed first";

    // The song's own notice ends it and arms the timer.
    box.mciNotice(1, 2);
    EXPECT_TRUE(player.open.empty());
    EXPECT_TRUE(box.timerArmed());
}

TEST_F(MusicBoxTest, AStaleNoticeOfAClosedDeviceDoesNotEndTheNewSong) {
    songs({"a.mid", "b.mid"});
    box.playSong(0);
    endReset();
    uint32_t first = player.open.back();
    box.playSong(1);  // "Play Now": the first device is closed
    endReset();
    box.mciNotice(1, first);
    EXPECT_TRUE(box.playing());
    EXPECT_FALSE(box.timerArmed());
    box.mciNotice(4, player.open.back());  // aborted, not finished
    EXPECT_TRUE(box.playing());
}

TEST_F(MusicBoxTest, TheResetFileIsWrittenOncePerRunWhenItIsStaleOrCannotPlay) {
    songs({"a.mid"});
    player.resetCurrent = false;
    box.playSong(0);
    EXPECT_EQ(player.log[0], "write reset") << "a reset file with other bytes is replaced";
    box.stop();
    player.log.clear();
    player.resetCurrent = false;
    box.playSong(0);
    EXPECT_EQ(std::count(player.log.begin(), player.log.end(), "write reset"), 0) << "once per run";

    FakePlayer second;
    std::vector<Song> l{{"a.mid", true, true}};
    MusicBox other(second, l);
    second.resetMissing = true;  // open fails until the file is written
    second.settings = true;
    other.playSong(0);
    EXPECT_EQ(std::count(second.log.begin(), second.log.end(), "write reset"), 1);
    EXPECT_TRUE(second.messages.empty()) << "the reset is silent";
}

TEST_F(MusicBoxTest, MciFailuresShowTheirTextOnceOnlyWithTheSettingsWindowOpen) {
    songs({"a.mid"});
    player.openError = 275;
    player.sequencerOpenError = 263;
    box.playSong(0);  // reset fails silently, then the song fails too
    EXPECT_TRUE(player.messages.empty()) << "no settings window, no box";

    player.settings = true;
    box.playSong(0);
    ASSERT_EQ(player.messages.size(), 1u);
    EXPECT_EQ(player.messages[0].substr(0, player.messages[0].find('|')), "Problem Using Sound Card");
    EXPECT_NE(player.messages[0].find("(Error code: Open 275)"), std::string::npos) << player.messages[0];
    box.playSong(0);
    EXPECT_EQ(player.messages.size(), 1u) << "once until the next success";

    player.openError = 0;
    player.playError = 339;
    box.playSong(0);
    EXPECT_EQ(player.messages.size(), 1u) << "the flag is still set";
    EXPECT_TRUE(player.open.empty()) << "a failed play closes its device";

    player.playError = 0;
    box.playSong(0);  // success clears the flag
    endReset();
    player.playError = 339;
    box.playSong(0);
    ASSERT_EQ(player.messages.size(), 2u);
    EXPECT_NE(player.messages[1].find("Problem Playing Music|Lumarel had trouble playing MIDI music."),
              std::string::npos);
    EXPECT_NE(player.messages[1].find("(Error code: Play 339)"), std::string::npos);
}

TEST_F(MusicBoxTest, MediaFailureAndTooLongPathsShowTheirBoxes) {
    songs({"a.wav"});
    player.settings = true;
    player.mediaWorks = false;
    box.playSong(0);
    box.playSong(0);
    ASSERT_EQ(player.messages.size(), 1u);
    EXPECT_NE(player.messages[0].find("using DirectX"), std::string::npos);
    player.mediaWorks = true;
    box.playSong(0);
    player.mediaWorks = false;
    box.playSong(0);
    EXPECT_EQ(player.messages.size(), 2u) << "success clears the DirectX flag";

    player.folder = std::string(250, 'x') + "\\";
    songs({"a rather long song name.wav"});
    box.playSong(0);
    box.playSong(0);
    ASSERT_EQ(player.messages.size(), 3u) << "the path message shows once per run";
    EXPECT_NE(player.messages[2].find("may be too long"), std::string::npos);
    EXPECT_EQ(std::count_if(player.log.begin(), player.log.end(),
                            [](const std::string& l) { return l.rfind("media ", 0) == 0; }),
              4)
        << "nothing opened for the long path";
}

TEST_F(MusicBoxTest, EachSongOpensFromTheFolderHoldingItAndTheResetFromTheFolderWrittenTo) {
    const std::string user = "C:\\Users\\ann\\AppData\\Roaming\\Lumarel\\Lumarel Music\\";
    player.heldElsewhere["mine.mid"] = user;
    player.writeTo = user;
    player.resetCurrent = false;
    songs({"mine.mid", "shipped.wav"});
    box.playSong(0);
    ASSERT_GE(player.log.size(), 2u);
    EXPECT_EQ(player.log[0], "write reset");
    EXPECT_EQ(player.log[1], "open " + user + "reset.mid") << "the reset lives where the program may write";
    endReset();
    EXPECT_EQ(player.log.back(), "play 2");
    EXPECT_NE(std::find(player.log.begin(), player.log.end(), "open " + user + "mine.mid"), player.log.end())
        << "the user's own song opens from the user's folder";
    box.playSong(1);
    EXPECT_EQ(player.log.back(), "media " + player.folder + "shipped.wav") << "a shipped song from beside the program";
}

TEST_F(MusicBoxTest, AMessageBoxPumpingTheTimerStacksNoSecondBoxAndNoSecondChoice) {
    songs({"a.wav", "b.wav"});
    player.settings = true;
    player.mediaWorks = false;
    int reentered = 0;
    player.whileShowing = [&] {
        ++reentered;
        player.now += 5000;
        box.tick();
        box.chooseAndPlay();
        box.playSong(1);
    };
    box.playSong(0);
    EXPECT_EQ(reentered, 1);
    EXPECT_EQ(player.messages.size(), 1u);
    EXPECT_EQ(player.started().size(), 1u);
    EXPECT_EQ(player.cursorDepth, 0);
}

TEST_F(MusicBoxTest, AShortcutPlaysAsTheKindOfItsTarget) {
    songs({"Link to tune.lnk"});
    player.shortcutTarget = "D:\\elsewhere\\tune.wav";
    box.playSong(0);
    EXPECT_TRUE(box.mediaOpen());
    EXPECT_EQ(player.log.back(), "media D:\\elsewhere\\tune.wav");
    EXPECT_EQ(box.currentSong(), "Link to tune.lnk");
}

}  // namespace
}  // namespace lumarel
