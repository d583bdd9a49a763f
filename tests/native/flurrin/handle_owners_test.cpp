// Every Win32 handle in flurrin has an owner: the calls that free one appear
// only in the owner types of frame/handles.h.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path flurrin_sources() {
    const char* data = std::getenv("TEST_DATA_DIR");  // <repo>/tests/data
    return data ? fs::path(data).parent_path().parent_path() / "flurrin" : fs::path();
}

// The releasing calls outside handles.h, as "file:line: text".
std::vector<std::string> manual_releases(const fs::path& root) {
    static const char* const kReleases[] = {"DeleteObject(", "DeleteDC(",   "ReleaseDC(",
                                            "CloseHandle(",  "GlobalFree(", "EndPaint("};
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || path.filename() == "handles.h") continue;
        if (path.extension() != ".cpp" && path.extension() != ".h") continue;
        std::ifstream in(path);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            for (const char* call : kReleases) {
                size_t at = line.find(call);
                // A name that merely ends in one (my_DeleteDC() is not one).
                if (at != std::string::npos && (at == 0 || !(std::isalnum(static_cast<unsigned char>(line[at - 1])) ||
                                                             line[at - 1] == '_')))
                    found.push_back(fs::relative(path, root).string() + ":" + std::to_string(number) + ": " + line);
            }
        }
    }
    return found;
}

TEST(HandleOwners, NoHandleIsFreedByHandOutsideTheOwners) {
    fs::path root = flurrin_sources();
    ASSERT_TRUE(fs::exists(root / "frame" / "handles.h")) << root;
    std::vector<std::string> found = manual_releases(root);
    std::ostringstream list;
    for (const std::string& f : found) list << "\n  " << f;
    EXPECT_TRUE(found.empty()) << "free these through an owner of frame/handles.h:" << list.str();
}

TEST(HandleOwners, TheCheckSeesAPlantedRelease) {
    fs::path planted = fs::temp_directory_path() / "flurrin_owners_check";
    fs::create_directories(planted / "frame");
    std::ofstream(planted / "frame" / "handles.h") << "inline void f(HDC h) { DeleteDC(h); }\n";
    std::ofstream(planted / "frame" / "leak.cpp") << "void g(HWND w, HDC d) {\n    ReleaseDC(w, d);\n}\n"
                                                  << "void my_DeleteDC();\n";
    std::vector<std::string> found = manual_releases(planted);
    fs::remove_all(planted);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].find("leak.cpp:2"), std::string::npos) << found[0];
}

}  // namespace
