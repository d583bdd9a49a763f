// Builds a flurrin pack (<folder>/<base>.icf and .img) from the files given,
// in order, with the same code the program's pack builder uses.
#include <cstdio>
#include <string>
#include <vector>

#include "scene/pack.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: flurrin_pack <folder> <base name> <member files...>\n");
        return 2;
    }
    std::vector<std::string> members(argv + 3, argv + argc);
    if (!flurrin::pack_build(argv[1], argv[2], members)) {
        std::fprintf(stderr, "flurrin_pack: could not build %s/%s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
