// The "Path" value by which the stub finds lumarel's program file.
#pragma once
#include <cstddef>
#include <cstdint>

namespace saverstub {

constexpr size_t kMaxPath = 260;
constexpr uint32_t kRegSz = 1;  // the registry's type number of a plain string

// Copies a registry value's data into path (kMaxPath bytes, always
// terminated) when it is a string: REG_SZ only, up to its first zero byte,
// not empty and short enough to fit. False leaves path empty.
bool programPathFromValue(uint32_t type, const uint8_t* data, size_t size, char (&path)[kMaxPath]);

}  // namespace saverstub
