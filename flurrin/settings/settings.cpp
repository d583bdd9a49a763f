#include "settings/settings.h"

#include <algorithm>

namespace flurrin {

int32_t parse_number(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1) value = int64_t(INT32_MAX) + 1;
    }
    if (negative) value = -value;
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

namespace {

void load_int(SettingsStore& store, std::string_view key, int32_t& value) {
    if (auto text = store.read(kSectionOptions, key)) value = parse_number(*text);
}

void load_text(SettingsStore& store, std::string_view key, std::string& value) {
    if (auto text = store.read(kSectionOptions, key)) value = *text;
}

void load_list(SettingsStore& store, std::string_view total_key, std::string_view entry_key,
               std::vector<std::string>& list) {
    int32_t total = 0;
    load_int(store, total_key, total);
    total = std::clamp(total, 0, kMaxCustomEntries);
    list.assign(size_t(total), std::string());
    for (int32_t n = 1; n <= total; ++n) {
        if (auto text = store.read(kSectionOptions, std::string(entry_key) + std::to_string(n)))
            list[size_t(n - 1)] = *text;
    }
}

void save_int(SettingsStore& store, std::string_view key, int32_t value) {
    store.write(kSectionOptions, key, std::to_string(value));
}

void save_list(SettingsStore& store, std::string_view total_key, std::string_view entry_key,
               const std::vector<std::string>& list) {
    save_int(store, total_key, int32_t(list.size()));
    for (size_t n = 1; n <= list.size(); ++n)
        store.write(kSectionOptions, std::string(entry_key) + std::to_string(n), list[n - 1]);
}

}  // namespace

void settings_load(Settings& s, SettingsStore& store) {
    load_int(store, "crystals", s.crystals);
    load_int(store, "circles", s.circles);
    load_int(store, "ornaments", s.ornaments);
    load_int(store, "sprite_active", s.sprite_active);
    load_int(store, "frame_rate", s.frame_rate);
    load_int(store, "mute_audio", s.mute_audio);
    load_int(store, "random_music", s.random_music);
    load_int(store, "custom_music_flag", s.custom_music_flag);
    load_int(store, "random_pictures", s.random_pictures);
    load_int(store, "custom_picture_flag", s.custom_picture_flag);
    load_int(store, "save_wallpaper", s.save_wallpaper);
    load_int(store, "mouse_sensitivity", s.mouse_sensitivity);
    load_int(store, "scene_duration", s.scene_duration);
    load_int(store, "objects_off", s.objects_off);
    load_int(store, "scale_background", s.scale_background);
    load_int(store, "show_time", s.show_time);
    load_text(store, "wav_devicename", s.wav_devicename);
    load_text(store, "midi_devicename", s.midi_devicename);
    load_text(store, "mp3_devicename", s.mp3_devicename);
    load_int(store, "welcome", s.welcome);
    load_int(store, "random_seed", s.random_seed);
    load_list(store, "custom_audio_files_total", "custom_audio_paths", s.custom_audio_paths);
    load_list(store, "custom_picture_files_total", "custom_picture_paths", s.custom_picture_paths);

    s.sprite_active = kSpriteActiveRange.clamp(s.sprite_active);
    s.frame_rate = kFrameRateRange.clamp(s.frame_rate);
    s.mouse_sensitivity = kMouseSensitivityRange.clamp(s.mouse_sensitivity);
    s.scene_duration = kSceneDurationRange.clamp(s.scene_duration);
}

void settings_save(const Settings& s, SettingsStore& store) {
    save_int(store, "crystals", s.crystals);
    save_int(store, "circles", s.circles);
    save_int(store, "ornaments", s.ornaments);
    save_int(store, "frame_rate", s.frame_rate);
    save_int(store, "mute_audio", s.mute_audio);
    save_int(store, "random_music", s.random_music);
    save_int(store, "random_pictures", s.random_pictures);
    save_int(store, "custom_music_flag", s.custom_music_flag);
    save_int(store, "custom_picture_flag", s.custom_picture_flag);
    save_int(store, "save_wallpaper", s.save_wallpaper);
    save_int(store, "mouse_sensitivity", s.mouse_sensitivity);
    save_int(store, "scene_duration", s.scene_duration);
    save_int(store, "objects_off", s.objects_off);
    save_int(store, "scale_background", s.scale_background);
    save_int(store, "sprite_active", s.sprite_active);
    save_int(store, "show_time", s.show_time);
    store.write(kSectionOptions, "wav_devicename", s.wav_devicename);
    store.write(kSectionOptions, "midi_devicename", s.midi_devicename);
    store.write(kSectionOptions, "mp3_devicename", s.mp3_devicename);
    save_list(store, "custom_audio_files_total", "custom_audio_paths", s.custom_audio_paths);
    save_list(store, "custom_picture_files_total", "custom_picture_paths", s.custom_picture_paths);
}

void settings_save_welcome(const Settings& s, SettingsStore& store) { save_int(store, "welcome", s.welcome); }

}  // namespace flurrin
