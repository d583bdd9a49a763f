#include "frame/saver_logic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace flurrin {

uint32_t ticks_since(uint32_t now, uint32_t start) {
    uint32_t elapsed = now - start;  // unsigned: right across the wrap
    return elapsed == 0 ? 1 : elapsed;
}

bool frame_wait_over(uint32_t elapsed_ms, int frame_rate) {
    if (elapsed_ms == 0) elapsed_ms = 1;
    return int64_t(1000 / elapsed_ms) < int64_t(frame_rate) + 1;
}

uint32_t frame_duration_ms(int frame_rate) {
    // Past 1000 ms every rate of at least 0 is over; lower rates are not ours.
    uint32_t elapsed = 1;
    while (elapsed <= 1000 && !frame_wait_over(elapsed, frame_rate)) ++elapsed;
    return elapsed;
}

namespace {
constexpr uint32_t kStallMs = 100;
}  // namespace

uint32_t FramePacer::wait(uint32_t now) const {
    int32_t left = int32_t(due_ - now);  // signed: right across the wrap
    return left > 0 ? uint32_t(left) : 0;
}

void FramePacer::frame_started(uint32_t now, int frame_rate) {
    uint32_t duration = frame_duration_ms(frame_rate);
    // A 15.6 ms timer can leave a 17 ms frame most of a frame late without
    // any stall, so only lateness well past that restarts the schedule.
    uint32_t stall = std::max<uint32_t>(duration, kStallMs);
    due_ = now - due_ >= stall ? now + duration : due_ + duration;
}

bool scene_due(uint32_t now, uint32_t scene_start, int scene_duration_s) {
    return uint64_t(ticks_since(now, scene_start)) > uint64_t(std::max(1, scene_duration_s)) * 1000u;
}

bool music_check_due(uint32_t now, uint32_t check_start) { return ticks_since(now, check_start) > 2000; }

bool MouseMoves::on_move(int seconds, int sensitivity) {
    bool stop = false;
    move_count = int16_t(move_count + 1);
    if (move_count > sensitivity) {
        move_count = 0;
        stop = true;
    }
    if (move_window_start == 0) {
        move_window_start = seconds;
    } else if (seconds - move_window_start > 10 || seconds < move_window_start) {
        // Past the window (or past midnight): start counting afresh.
        move_window_start = 0;
        move_count = 0;
    }
    return stop;
}

std::optional<int> next_entry(const std::vector<std::string>& list, int current, bool random, double rnd) {
    int total = int(list.size());
    if (total == 0) return std::nullopt;
    int pick = random ? std::clamp(int(std::floor(rnd * total + 1)), 1, total) : (current + 1 > total || current < 0 ? 1 : current + 1);
    for (int tried = 0; tried < total; ++tried) {
        if (!list[size_t(pick - 1)].empty()) return pick;
        pick = pick % total + 1;
    }
    return std::nullopt;
}

int next_builtin(int current, int count, bool random, double rnd) {
    if (random) return std::clamp(int(std::floor(rnd * count + 1)), 1, count);
    return current + 1 > count || current < 0 ? 1 : current + 1;
}

std::string format_time_of_day(int hour, int minute, int second, const std::string& am, const std::string& pm) {
    int twelve = hour % 12 == 0 ? 12 : hour % 12;
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %s", twelve, minute, second, (hour < 12 ? am : pm).c_str());
    return text;
}

}  // namespace flurrin
