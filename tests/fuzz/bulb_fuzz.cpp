// Feeds arbitrary bytes to the bulb file loader and everything that reads a
// loaded file's blocks: pictures, cached regions, the compacting rewrite; and
// to the editor's check of a working copy.
// Every refusal must name its check; any other exception ends the run as a
// finding.
#include <cstdint>
#include <vector>

#include "base/failure.h"
#include "bulbs/bulb_file.h"
#include "bulbs/gif_decoder.h"
#include "ui/bulb_editor.h"

using namespace lumarel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    try {
        // A working copy that passes its checks names only pictures 0..36.
        BulbHeader edited = workingCopyHeader(file.data(), file.size());
        recountReferences(edited);
        for (int place = 0; place < kPlaceCount; ++place) {
            int32_t cell = cellOf(edited, place, place);
            if (cell != kNoPicture && (cell < 0 || cell >= kPictureCount)) __builtin_trap();
        }
    } catch (const BulbFileFailure& failure) {
        if (failure.code != kFailAsrt) __builtin_trap();
    }
    try {
        BulbFileInfo info = loadBulbFile(file.data(), file.size());
        for (int position = 0; position <= 8; ++position)
            for (int flavor = 0; flavor < 9; flavor += 4) pictureIndexFor(info.header, position, flavor, flavor == 8);
        for (int i = 0; i < kPictureCount; ++i) {
            regionData(info.header, i, file.data(), file.size());
            try {
                ByteSpan gif = pictureData(info.header, i, file.data(), file.size());
                scanGif(gif.data, gif.size, true);
            } catch (const BulbFileFailure&) {  // an empty entry
            } catch (const GifFailure&) {       // a damaged picture only marks the bulb damaged
            }
        }
        std::vector<uint8_t> compacted = compactBulbFile(file.data(), file.size());
        // What the rewrite makes must load again.
        loadBulbFile(compacted.data(), compacted.size());
    } catch (const BulbFileFailure& failure) {
        if (failure.code != kFailAsrt) __builtin_trap();
    }
    return 0;
}
