#include "program_path.h"

#include <cstring>

namespace saverstub {

bool programPathFromValue(uint32_t type, const uint8_t* data, size_t size, char (&path)[kMaxPath]) {
    path[0] = 0;
    if (type != kRegSz || !data) return false;
    // The data need not end in a zero byte: stop at the first one or the end.
    const void* zero = memchr(data, 0, size);
    size_t length = zero ? size_t(static_cast<const uint8_t*>(zero) - data) : size;
    if (length == 0 || length >= kMaxPath) return false;
    memcpy(path, data, length);
    path[length] = 0;
    return true;
}

}  // namespace saverstub
