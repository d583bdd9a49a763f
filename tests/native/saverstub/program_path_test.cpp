#include "program_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace saverstub;

namespace {

std::vector<uint8_t> bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(ProgramPath, AStringUpToItsFirstZeroByte) {
    char path[kMaxPath];
    auto terminated = bytes(std::string("C:\\Lumarel\\lumarel.exe") + '\0');
    ASSERT_TRUE(programPathFromValue(kRegSz, terminated.data(), terminated.size(), path));
    EXPECT_STREQ(path, "C:\\Lumarel\\lumarel.exe");
    // Written without its terminator, or with bytes after it.
    auto bare = bytes("C:\\l.exe");
    ASSERT_TRUE(programPathFromValue(kRegSz, bare.data(), bare.size(), path));
    EXPECT_STREQ(path, "C:\\l.exe");
    auto tail = bytes(std::string("C:\\l.exe\0junk", 13));
    ASSERT_TRUE(programPathFromValue(kRegSz, tail.data(), tail.size(), path));
    EXPECT_STREQ(path, "C:\\l.exe");
}

TEST(ProgramPath, OtherTypesEmptyOrTooLongGiveNothing) {
    char path[kMaxPath];
    auto text = bytes("C:\\l.exe");
    for (uint32_t type : {0u, 2u /* expandable */, 3u /* binary */, 4u, 7u /* list */}) {
        memset(path, 'x', sizeof path);
        EXPECT_FALSE(programPathFromValue(type, text.data(), text.size(), path)) << type;
        EXPECT_EQ(path[0], 0) << type;
    }
    auto empty = bytes(std::string(1, '\0'));
    EXPECT_FALSE(programPathFromValue(kRegSz, empty.data(), empty.size(), path));
    EXPECT_FALSE(programPathFromValue(kRegSz, text.data(), 0, path));
    EXPECT_FALSE(programPathFromValue(kRegSz, nullptr, 8, path));
    // 259 characters and the terminator fit; 260 do not.
    auto longest = bytes(std::string(kMaxPath - 1, 'a'));
    ASSERT_TRUE(programPathFromValue(kRegSz, longest.data(), longest.size(), path));
    EXPECT_EQ(strlen(path), kMaxPath - 1);
    auto tooLong = bytes(std::string(kMaxPath, 'a'));
    EXPECT_FALSE(programPathFromValue(kRegSz, tooLong.data(), tooLong.size(), path));
    EXPECT_EQ(path[0], 0);
}

}  // namespace
