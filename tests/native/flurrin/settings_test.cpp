#include <gtest/gtest.h>

#include <map>

#include "settings/settings.h"

namespace flurrin {
namespace {

// A store in memory that remembers the order of writes.
class MemoryStore : public SettingsStore {
public:
    std::map<std::string, std::string> values;
    std::vector<std::string> written;
    int reads = 0;

    std::optional<std::string> read(std::string_view section, std::string_view key) override {
        ++reads;
        auto it = values.find(std::string(section) + "/" + std::string(key));
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void write(std::string_view section, std::string_view key, std::string_view text) override {
        values[std::string(section) + "/" + std::string(key)] = std::string(text);
        written.emplace_back(key);
    }
    void set(const std::string& key, const std::string& text) { values["Options/" + key] = text; }
};

TEST(Settings, FreshUserGetsTheDefaults) {
    MemoryStore store;
    Settings s;
    settings_load(s, store);
    EXPECT_EQ(s.crystals, 1);
    EXPECT_EQ(s.circles, 0);
    EXPECT_EQ(s.ornaments, 0);
    EXPECT_EQ(s.sprite_active, 180);
    EXPECT_EQ(s.frame_rate, 20);
    EXPECT_EQ(s.scene_duration, 20);
    EXPECT_EQ(s.scale_background, 1);
    EXPECT_EQ(s.show_time, 1);
    EXPECT_EQ(s.welcome, 1);
    EXPECT_EQ(s.mouse_sensitivity, 7);
    EXPECT_EQ(s.midi_devicename, "Sequencer");
    EXPECT_EQ(s.wav_devicename, "WaveAudio");
    EXPECT_EQ(s.mp3_devicename, "MPEGVideo");
    EXPECT_TRUE(s.custom_picture_paths.empty());
    EXPECT_TRUE(s.custom_audio_paths.empty());
}

TEST(Settings, StoredTextIsReadAsNumbersAndTextNotANumberIsZero) {
    MemoryStore store;
    store.set("circles", "1");
    store.set("crystals", "yes");
    store.set("frame_rate", " 30fps");
    store.set("midi_devicename", "MySynth");
    Settings s;
    settings_load(s, store);
    EXPECT_EQ(s.circles, 1);
    EXPECT_EQ(s.crystals, 0);
    EXPECT_EQ(s.frame_rate, 30);
    EXPECT_EQ(s.midi_devicename, "MySynth");
}

TEST(Settings, HandEditedValuesAreHeldToTheOptionRanges) {
    MemoryStore store;
    store.set("sprite_active", "5000");
    store.set("frame_rate", "0");
    store.set("scene_duration", "-4");
    store.set("mouse_sensitivity", "99999999999999");
    Settings s;
    settings_load(s, store);
    EXPECT_EQ(s.sprite_active, 300);
    EXPECT_EQ(s.frame_rate, 10);
    EXPECT_EQ(s.scene_duration, 1);
    EXPECT_EQ(s.mouse_sensitivity, 50);
}

TEST(Settings, SaveWritesEveryKeyInItsOrderAndNotWelcome) {
    MemoryStore store;
    Settings s;
    s.custom_audio_paths = {"a.mid"};
    s.custom_picture_paths = {"x.jpg", "y.bmp"};
    settings_save(s, store);
    std::vector<std::string> expected = {"crystals", "circles", "ornaments", "frame_rate", "mute_audio", "random_music",
                                         "random_pictures", "custom_music_flag", "custom_picture_flag",
                                         "save_wallpaper", "mouse_sensitivity", "scene_duration", "objects_off",
                                         "scale_background", "sprite_active", "show_time", "wav_devicename",
                                         "midi_devicename", "mp3_devicename", "custom_audio_files_total",
                                         "custom_audio_paths1", "custom_picture_files_total", "custom_picture_paths1",
                                         "custom_picture_paths2"};
    EXPECT_EQ(store.written, expected);
    EXPECT_EQ(store.values["Options/custom_picture_paths2"], "y.bmp");
}

TEST(Settings, ShrinkingAListLeavesOldEntriesThatALoadIgnores) {
    MemoryStore store;
    Settings s;
    s.custom_picture_paths = {"1", "2", "3", "4", "5"};
    settings_save(s, store);
    s.custom_picture_paths = {"one", "two"};
    settings_save(s, store);
    EXPECT_EQ(store.values["Options/custom_picture_files_total"], "2");
    EXPECT_EQ(store.values["Options/custom_picture_paths5"], "5");  // left over, as stored
    Settings loaded;
    settings_load(loaded, store);
    EXPECT_EQ(loaded.custom_picture_paths, (std::vector<std::string>{"one", "two"}));
}

TEST(Settings, ListTotalsBeyondTheEntriesGiveEmptyPathsAndHugeTotalsAreBounded) {
    MemoryStore store;
    store.set("custom_audio_files_total", "3");
    store.set("custom_audio_paths1", "c:\\a.mid");
    store.set("custom_picture_files_total", "2000000000");
    Settings s;
    settings_load(s, store);
    EXPECT_EQ(s.custom_audio_paths, (std::vector<std::string>{"c:\\a.mid", "", ""}));
    EXPECT_EQ(s.custom_picture_paths.size(), size_t(kMaxCustomEntries));
    EXPECT_LT(store.reads, 2 * kMaxCustomEntries);

    MemoryStore negative;
    negative.set("custom_picture_files_total", "-7");
    settings_load(s, negative);
    EXPECT_TRUE(s.custom_picture_paths.empty());
}

TEST(Settings, TheRandomSeedIsReadButNeverWritten) {
    MemoryStore store;
    Settings s;
    settings_load(s, store);
    EXPECT_EQ(s.random_seed, 0) << "no seed: the clock seeds the saver";
    store.set("random_seed", "4242");
    settings_load(s, store);
    EXPECT_EQ(s.random_seed, 4242);
    settings_save(s, store);
    for (const std::string& key : store.written) EXPECT_NE(key, "random_seed");
}

TEST(Settings, WelcomeIsStoredOnItsOwn) {
    MemoryStore store;
    Settings s;
    s.welcome = 0;
    settings_save_welcome(s, store);
    EXPECT_EQ(store.written, std::vector<std::string>{"welcome"});
    Settings loaded;
    settings_load(loaded, store);
    EXPECT_EQ(loaded.welcome, 0);
}

TEST(ParseNumber, ReadsLikeTheStoreWritesAndSaturates) {
    EXPECT_EQ(parse_number("42"), 42);
    EXPECT_EQ(parse_number("  -17abc"), -17);
    EXPECT_EQ(parse_number("+8"), 8);
    EXPECT_EQ(parse_number(""), 0);
    EXPECT_EQ(parse_number("x1"), 0);
    EXPECT_EQ(parse_number("2147483647"), 2147483647);
    EXPECT_EQ(parse_number("2147483648"), 2147483647);
    EXPECT_EQ(parse_number("-2147483648"), INT32_MIN);
    EXPECT_EQ(parse_number("-99999999999999999999999"), INT32_MIN);
}

}  // namespace
}  // namespace flurrin
