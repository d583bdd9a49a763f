#include "bulbs/crc32.h"

#include <array>

namespace lumarel {
namespace {

constexpr std::array<uint32_t, 256> makeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i << 24;
        for (int bit = 0; bit < 8; ++bit) value = (value & 0x80000000u) ? (value << 1) ^ 0x04C11DB7u : value << 1;
        table[i] = value;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = makeTable();

}  // namespace

uint32_t crc32(const void* data, size_t size, uint32_t crc) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint32_t value = ~crc;
    for (size_t i = 0; i < size; ++i) value = (value << 8) ^ kTable[(value >> 24) ^ bytes[i]];
    return ~value;
}

}  // namespace lumarel
