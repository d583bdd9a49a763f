// Pack index and extraction: any index text, against a fixed 4 KiB data file.
// Every extraction must either fail with "False" or produce, inside the
// temporary folder, a file exactly as long as the member says.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "scene/pack.h"

namespace {

std::string& folder() {
    static std::string dir = [] {
        char pattern[] = "/tmp/fuzz_flurrin_pack_XXXXXX";
        std::string d = mkdtemp(pattern);
        mkdir((d + "/temp").c_str(), 0700);
        std::FILE* f = std::fopen((d + "/p.img").c_str(), "wb");
        for (int i = 0; i < 4096; ++i) std::fputc(i & 0xFF, f);
        std::fclose(f);
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    auto parsed = flurrin::parse_pack_index(text);
    if (parsed) {
        for (const std::string& name : parsed->names)
            if (!flurrin::valid_member_name(name)) std::abort();
    }
    const std::string base = folder() + "/p";
    std::FILE* f = std::fopen((base + ".icf").c_str(), "wb");
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    flurrin::Pack pack(folder() + "/temp");
    pack.pack_open(base);
    for (int32_t k = 0; k <= pack.count() + 1 && k < 24; ++k) {
        std::string out = pack.pack_extract(base, k);
        if (out == flurrin::kPackFailed) continue;
        const std::string prefix = folder() + "/temp/img_xyz.";
        if (out.rfind(prefix, 0) != 0 || out.find('/', prefix.size()) != std::string::npos) std::abort();
        struct stat st {};
        if (stat(out.c_str(), &st) != 0 || st.st_size != pack.index().sizes[size_t(k - 1)]) std::abort();
    }
    pack.pack_cleanup();
    return 0;
}
