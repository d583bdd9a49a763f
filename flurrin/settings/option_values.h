// The values behind the options form: what each scroll bar moves and how far,
// the frame-rate label, and when a custom list falls back to the included media.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"

namespace flurrin {

// One scroll bar of the options form: the setting it moves, its range and
// how far an arrow and a click beside the thumb move it.
struct ScrollOption {
    int32_t Settings::*value;
    Range range;
    int32_t small_step, large_step;
};

inline constexpr ScrollOption kFrameRateScroll{&Settings::frame_rate, {10, 60}, 1, 5};
inline constexpr ScrollOption kMouseSensitivityScroll{&Settings::mouse_sensitivity, {2, 50}, 1, 5};
inline constexpr ScrollOption kSpriteActiveScroll{&Settings::sprite_active, {1, 300}, 1, 20};
inline constexpr ScrollOption kSceneDurationScroll{&Settings::scene_duration, {10, 180}, 1, 10};

// What the user did to a scroll bar (the platform's scroll codes, named).
enum class ScrollAction { LineDown, LineUp, PageDown, PageUp, Track, Top, Bottom, Other };

// The setting held to the scroll bar's range and written back, so a value
// the bar cannot show is never kept: the form stores what the user saw.
int32_t take_scroll_value(Settings& settings, const ScrollOption& option);
// Where the thumb goes for an action, always inside the range.
int32_t scroll_position(const ScrollOption& option, int32_t current, ScrollAction action, int32_t track);

// "20 Frames Per Second".
std::string frame_rate_label(int32_t frames);

// The two option pairs: included media (index 0) or a custom list (index 1).
struct OptionPair {
    int32_t Settings::*flag;
    std::vector<std::string> Settings::*list;
};
inline constexpr OptionPair kMusicOption{&Settings::custom_music_flag, &Settings::custom_audio_paths};
inline constexpr OptionPair kPictureOption{&Settings::custom_picture_flag, &Settings::custom_picture_paths};

// A list counts as empty when it has no path to play or show.
bool list_has_entries(const std::vector<std::string>& list);
// After the list form: the flag keeps index 1 only with a list to use, and
// falls back to the included media (0) otherwise. Returns the new index.
int32_t choose_after_list(Settings& settings, const OptionPair& option);

}  // namespace flurrin
