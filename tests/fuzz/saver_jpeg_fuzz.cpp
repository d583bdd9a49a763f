// Feeds arbitrary bytes to the screen saver's JPEG to BMP conversion. The
// sink checks every write lands inside the file the header announced, and
// a conversion that succeeds must have written exactly that file. Pictures
// are capped at 4 M pixels: a few bytes can declare 64 M, which decodes
// correctly but slower than a fuzzer's patience.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "saver/jpeg_to_bmp.h"

using namespace lumarel;

namespace {

struct CheckedSink : BmpSink {
    uint64_t limit = 0, written = 0, highest = 0;
    bool write(uint64_t offset, const uint8_t* bytes, size_t count) override {
        if (offset == 0 && count >= 6) limit = bytes[2] | bytes[3] << 8 | bytes[4] << 16 | uint64_t(bytes[5]) << 24;
        if (offset + count > limit) __builtin_trap();
        volatile uint8_t sum = 0;
        for (size_t i = 0; i < count; ++i) sum = uint8_t(sum + bytes[i]);  // every byte readable
        written += count;
        if (offset + count > highest) highest = offset + count;
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> input(data, data + size);
    CheckedSink sink;
    JpegBmpResult r = convertJpegToBmp(input.data(), input.size(), sink, uint64_t{4} << 20);
    if (r.ok && (r.fileSize != sink.limit || sink.highest != r.fileSize)) __builtin_trap();
    return 0;
}
