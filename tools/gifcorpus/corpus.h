// The GIF corpus: deterministic pictures covering sizes, palettes,
// interlacing, LZW edge cases, animations with every disposal method and
// partial frames. Used by the decoder's tests, the benchmark and as fuzz seeds.
#pragma once
#include <string>
#include <vector>

#include "gif_writer.h"

namespace gifcorpus {

struct Entry {
    std::string name;
    Gif gif;
};

std::vector<Entry> makeCorpus();
// Larger pictures for throughput measurements.
std::vector<Entry> makeBenchCorpus();

}  // namespace gifcorpus
