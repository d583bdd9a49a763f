// The options record of the saver and its codec against a text store
// (application, section, key -> text). Portable: the registry side lives in
// settings_store_win.cpp.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flurrin {

inline constexpr const char* kAppName = "Vessaro Flurrin";
inline constexpr const char* kProductName = "Flurrin";
inline constexpr const char* kSectionOptions = "Options";
inline constexpr const char* kSectionConfig = "Config";

// Hand-edited totals must not make us read (or allocate) without end.
inline constexpr int kMaxCustomEntries = 4096;

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Nothing when the key does not exist.
    virtual std::optional<std::string> read(std::string_view section, std::string_view key) = 0;
    virtual void write(std::string_view section, std::string_view key, std::string_view text) = 0;
};

struct Settings {
    int32_t crystals = 1;
    int32_t circles = 0;
    int32_t ornaments = 0;
    int32_t sprite_active = 180;
    int32_t frame_rate = 20;
    int32_t mute_audio = 0;
    int32_t random_music = 0;
    int32_t custom_music_flag = 0;
    int32_t random_pictures = 0;
    int32_t custom_picture_flag = 0;
    int32_t save_wallpaper = 0;
    int32_t mouse_sensitivity = 7;
    int32_t scene_duration = 20;
    int32_t objects_off = 0;
    int32_t scale_background = 1;
    int32_t show_time = 1;
    std::string wav_devicename = "WaveAudio";
    std::string midi_devicename = "Sequencer";
    std::string mp3_devicename = "MPEGVideo";
    int32_t welcome = 1;
    // For tests that must see the same run twice: a non-zero value fixes the
    // saver's random numbers (pictures, effects, objects). No form offers it
    // and it is never saved.
    int32_t random_seed = 0;
    // 1-based in the store; the list sizes are the stored totals.
    std::vector<std::string> custom_audio_paths;
    std::vector<std::string> custom_picture_paths;
};

// Ranges the option sliders offer; values from the store are held to them so
// a hand-edited value can never give a zero divisor or an out-of-range slot.
struct Range {
    int32_t low, high;
    int32_t clamp(int32_t v) const { return v < low ? low : v > high ? high : v; }
};
inline constexpr Range kFrameRateRange{10, 60};
inline constexpr Range kMouseSensitivityRange{2, 50};
inline constexpr Range kSpriteActiveRange{1, 300};
// The slider starts at 10 s; shorter scenes are kept for testing by hand.
inline constexpr Range kSceneDurationRange{1, 180};

// Reads a number the way the store's numbers are written: leading blanks, an
// optional sign, decimal digits up to the first other character. No number
// reads as 0; values beyond 32 bits saturate.
int32_t parse_number(std::string_view text);

void settings_load(Settings& settings, SettingsStore& store);
void settings_save(const Settings& settings, SettingsStore& store);
// The welcome form stores its own flag, at once.
void settings_save_welcome(const Settings& settings, SettingsStore& store);

}  // namespace flurrin
