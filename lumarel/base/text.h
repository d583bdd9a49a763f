// Bounded 8-bit string helpers shared by every part of lumarel.
#pragma once
#include <cstddef>

namespace lumarel {

// Copies src into dst (size bytes, terminator included); throws -1 when it
// would not fit. dst is left terminated either way.
void boundedCopy(char* dst, size_t size, const char* src);
// Appends src to the text already in dst; throws -1 when it would not fit.
void boundedAppend(char* dst, size_t size, const char* src);
// Copies at most count characters of src (stops at a terminator earlier).
void boundedCopyN(char* dst, size_t size, const char* src, size_t count);

// ASCII case-insensitive comparison: <0, 0, >0 like strcmp.
int compareNoCase(const char* a, const char* b);
bool equalsNoCase(const char* a, const char* b);
bool endsWithNoCase(const char* text, const char* ending);

}  // namespace lumarel
