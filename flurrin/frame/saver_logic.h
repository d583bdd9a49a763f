// The rules of the saver's main loop that need no window: frame pacing,
// scene and music deadlines on a wrapping tick counter, the mouse-move
// tolerance, and the choice of the next picture or song.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace flurrin {

// Milliseconds from start to now on the 32-bit tick counter (which wraps
// every 49.7 days), at least 1.
uint32_t ticks_since(uint32_t now, uint32_t start);

// A frame at frame_rate lasts until floor(1000 / elapsed) drops below
// frame_rate + 1.
bool frame_wait_over(uint32_t elapsed_ms, int frame_rate);
// The shortest frame at frame_rate by that rule (48 ms at 20 frames a second).
uint32_t frame_duration_ms(int frame_rate);
// Frames on a schedule of absolute deadlines: frame k is due k frame
// durations after the start, however late the timer woke us for the frames
// before it. A system timer of 15.6 ms (Windows' default) then still gives
// the frame rate asked for, where "a frame lasts from when it began" would
// round each frame up to the next timer tick.
class FramePacer {
public:
    // The first frame is due now.
    void start(uint32_t now) { due_ = now; }
    // Milliseconds from now until the next frame is due (0: due).
    uint32_t wait(uint32_t now) const;
    bool due(uint32_t now) const { return wait(now) == 0; }
    // A frame began at `now`: the next is due one frame duration after this
    // one was. Far behind (a stall, a password prompt), the schedule starts
    // again from now rather than rushing to catch up.
    void frame_started(uint32_t now, int frame_rate);

private:
    uint32_t due_ = 0;
};

bool scene_due(uint32_t now, uint32_t scene_start, int scene_duration_s);
bool music_check_due(uint32_t now, uint32_t check_start);

// Mouse moves tolerated within about ten seconds.
class MouseMoves {
public:
    // One move event at the given whole seconds since midnight; true when the
    // saver should stop.
    bool on_move(int seconds_since_midnight, int sensitivity);
    int16_t move_count = 0;
    int move_window_start = 0;
};

// The next entry of a list of total entries (1-based): in order, wrapping
// after the last, or random. Entries whose text is empty (a hand-edited total
// larger than the stored list) are skipped; nothing when no entry is usable.
std::optional<int> next_entry(const std::vector<std::string>& list, int current, bool random, double rnd);
// The same for the built-in items 1..count.
int next_builtin(int current, int count, bool random, double rnd);

// "hh:mm:ss AM" on the 12-hour clock, with the given designators.
std::string format_time_of_day(int hour, int minute, int second, const std::string& am, const std::string& pm);

}  // namespace flurrin
