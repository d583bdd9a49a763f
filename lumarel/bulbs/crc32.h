// The program's one checksum: CRC-32 in its non-reflected form (polynomial
// 0x04C11DB7, initial value 0xFFFFFFFF, final complement; known elsewhere as
// CRC-32/BZIP2). Bulb pictures and the song list are checked with it.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lumarel {

// `crc` continues an earlier call's result, so data can come in pieces.
uint32_t crc32(const void* data, size_t size, uint32_t crc = 0);

}  // namespace lumarel
