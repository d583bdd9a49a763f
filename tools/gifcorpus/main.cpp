// Writes the GIF corpus into a folder: gifcorpus <folder> [bench]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "corpus.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gifcorpus <folder> [bench]\n");
        return 2;
    }
    std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    bool bench = argc > 2 && std::string(argv[2]) == "bench";
    for (const auto& entry : bench ? gifcorpus::makeBenchCorpus() : gifcorpus::makeCorpus()) {
        std::vector<uint8_t> bytes = gifcorpus::encodeGif(entry.gif);
        std::ofstream out(folder / (entry.name + ".gif"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "gifcorpus: cannot write %s\n", entry.name.c_str());
            return 1;
        }
    }
    return 0;
}
