// Lumarel reports failures as exceptions carrying one 32-bit code: a system
// error code, 'asrt' for a failed call or broken invariant, -1 for a bounded
// string that would not fit, -3 for a GIF with an unknown block.
#pragma once
#include <cstdint>

namespace lumarel {

constexpr int32_t kFailAsrt = 0x61737274;       // 'asrt'
constexpr int32_t kFailStringOverflow = -1;
constexpr int32_t kFailUnknownGifBlock = -3;

struct Failure {
    int32_t code;
};

[[noreturn]] inline void fail(int32_t code = kFailAsrt) { throw Failure{code}; }

// Throws 'asrt' unless the condition holds.
inline void check(bool condition) {
    if (!condition) fail(kFailAsrt);
}

// A failure that also names which check fired (a parser's own enum), so
// tests can tell one refusal from another. Callers that only need the code
// catch it as a Failure.
template <typename Fault>
struct NamedFailure : Failure {
    Fault fault;
};

}  // namespace lumarel
