#include "midi_file.h"

#include <cstdio>

namespace music {

void Track::event(std::initializer_list<uint8_t> bytes) {
    varLength(pending_);
    pending_ = 0;
    data_.insert(data_.end(), bytes);
}

void Track::meta(uint8_t type, const std::vector<uint8_t>& payload) {
    varLength(pending_);
    pending_ = 0;
    data_.push_back(0xFF);
    data_.push_back(type);
    varLength(uint32_t(payload.size()));
    data_.insert(data_.end(), payload.begin(), payload.end());
}

void Track::varLength(uint32_t value) {
    uint8_t buffer[5];
    int n = 0;
    buffer[n++] = value & 0x7F;
    while (value >>= 7) buffer[n++] = uint8_t(0x80 | (value & 0x7F));
    while (n) data_.push_back(buffer[--n]);
}

namespace {
void put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> midiFile(int format, const std::vector<Track>& tracks) {
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
    put(out, 6, 4), put(out, uint32_t(format), 2), put(out, uint32_t(tracks.size()), 2), put(out, kTicksPerQuarter, 2);
    for (const Track& t : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        put(out, uint32_t(t.bytes().size()), 4);
        out.insert(out.end(), t.bytes().begin(), t.bytes().end());
    }
    return out;
}

std::vector<uint8_t> midiResetFile() {
    Track t;
    for (uint8_t channel = 0; channel < 16; ++channel) t.event({uint8_t(0xB0 | channel), 121, 0});
    t.delay(4 * kTicksPerQuarter);
    t.end();
    return midiFile(0, {t});
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace music
