// Standard MIDI File writing for the build's songs: one track builder and one
// file writer, shared by every song of both programs and by the MIDI reset.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace music {

constexpr int kTicksPerQuarter = 480;

// Events with their delta times, in order. delay() accumulates time before
// the next event.
class Track {
public:
    void delay(uint32_t ticks) { pending_ += ticks; }
    void event(std::initializer_list<uint8_t> bytes);
    void meta(uint8_t type, const std::vector<uint8_t>& payload);
    void name(const std::string& text) { meta(0x03, std::vector<uint8_t>(text.begin(), text.end())); }
    void end() { meta(0x2F, {}); }
    const std::vector<uint8_t>& bytes() const { return data_; }

private:
    void varLength(uint32_t value);
    std::vector<uint8_t> data_;
    uint32_t pending_ = 0;
};

// The whole file: header chunk (format, track count, division) and one track
// chunk per track.
std::vector<uint8_t> midiFile(int format, const std::vector<Track>& tracks);

// The 91-byte reset: format 0, controller 121 (reset all controllers) on all
// 16 channels at time 0, end of track a bar later.
std::vector<uint8_t> midiResetFile();

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace music
