#include "base/text.h"

#include <cstring>

#include "base/failure.h"

namespace lumarel {

namespace {
char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
}  // namespace

void boundedCopyN(char* dst, size_t size, const char* src, size_t count) {
    if (size == 0) fail(kFailStringOverflow);
    size_t n = strnlen(src, count);
    if (n >= size) {
        dst[0] = '\0';
        fail(kFailStringOverflow);
    }
    memcpy(dst, src, n);
    dst[n] = '\0';
}

void boundedCopy(char* dst, size_t size, const char* src) {
    boundedCopyN(dst, size, src, strlen(src));
}

void boundedAppend(char* dst, size_t size, const char* src) {
    size_t have = strnlen(dst, size);
    if (have == size) fail(kFailStringOverflow);  // dst was never terminated
    size_t add = strlen(src);
    if (have + add >= size) fail(kFailStringOverflow);
    memcpy(dst + have, src, add + 1);
}

int compareNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(lower(*a));
        unsigned char cb = static_cast<unsigned char>(lower(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

bool equalsNoCase(const char* a, const char* b) { return compareNoCase(a, b) == 0; }

bool endsWithNoCase(const char* text, const char* ending) {
    size_t t = strlen(text), e = strlen(ending);
    return e <= t && equalsNoCase(text + (t - e), ending);
}

}  // namespace lumarel
