// WinFile and FileMapping against real files.
#include "bulbs/win_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "bulbs_test_support.h"
#include "base/failure.h"

using namespace lumarel;

namespace {

int32_t failureOf(void (*call)(const std::string&), const std::string& path) {
    try {
        call(path);
    } catch (const Failure& f) {
        return f.code;
    }
    return 0;
}

TEST(WinFileTest, PositionedReadsAndWrites) {
    std::string path = bulbtest::scratchFolder("winfile") + "data.bin";
    bulbtest::writeFile(path, {'a', 'b', 'c', 'd', 'e', 'f'});
    {
        WinFile file(path.c_str(), true);
        EXPECT_EQ(file.size(), 6u);
        char two[2];
        file.read(2, two, 2);
        EXPECT_EQ(std::string(two, 2), "cd");
        file.read(WinFile::kCurrent, two, 2);  // carries on where the last read stopped
        EXPECT_EQ(std::string(two, 2), "ef");
        file.write(WinFile::kEnd, "gh", 2);
        file.write(0, "A", 1);
        EXPECT_EQ(file.size(), 8u);
        char past[4];
        try {
            file.read(6, past, 4);
            ADD_FAILURE() << "a read past the end must fail";
        } catch (const Failure& f) {
            EXPECT_EQ(f.code, ERROR_HANDLE_EOF);
        }
    }
    EXPECT_EQ(bulbtest::readFile(path), (std::vector<uint8_t>{'A', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}));
    EXPECT_EQ(failureOf([](const std::string& p) { WinFile f((p + ".missing").c_str(), false); }, path),
              ERROR_FILE_NOT_FOUND);
}

TEST(WinFileTest, ReadersShareButAWriterIsAlone) {
    std::string path = bulbtest::scratchFolder("sharing") + "data.bin";
    bulbtest::writeFile(path, {1, 2, 3});
    {
        WinFile reader(path.c_str(), false);
        WinFile another(path.c_str(), false);
        EXPECT_EQ(failureOf([](const std::string& p) { WinFile w(p.c_str(), true); }, path), ERROR_SHARING_VIOLATION);
    }
    WinFile writer(path.c_str(), true);
    EXPECT_EQ(failureOf([](const std::string& p) { WinFile r(p.c_str(), false); }, path), ERROR_SHARING_VIOLATION);
}

TEST(FileMappingTest, MappingsAreCountedAndBlockPlainIo) {
    std::string path = bulbtest::scratchFolder("mapping") + "data.bin";
    bulbtest::writeFile(path, {'x', 'y', 'z'});
    WinFile file(path.c_str(), true);
    {
        FileMapping first(file);
        {
            FileMapping second(file);
            EXPECT_EQ(second.data(), first.data()) << "one view for both";
            second.data()[0] = 'X';
        }
        EXPECT_EQ(first.data()[0], 'X') << "the view outlives the inner mapping";
        EXPECT_EQ(first.size(), 3u);
        char c;
        EXPECT_THROW(file.read(0, &c, 1), Failure);
        EXPECT_THROW(file.write(0, "q", 1), Failure);
    }
    file.write(1, "Y", 1);  // allowed again once every mapping is gone
    char all[3];
    file.read(0, all, 3);
    EXPECT_EQ(std::string(all, 3), "XYz");

    std::string empty = bulbtest::scratchFolder("mapping-empty") + "empty.bin";
    bulbtest::writeFile(empty, {});
    WinFile nothing(empty.c_str(), false);
    EXPECT_THROW(FileMapping m(nothing), Failure);
}

}  // namespace
