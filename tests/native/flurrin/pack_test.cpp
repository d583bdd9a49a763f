#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "scene/pack.h"

namespace flurrin {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void spit(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.') names.emplace_back(e->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class PackFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/flurrin_pack_XXXXXX";
        root = mkdtemp(pattern);
        temp = root + "/temp";
        mkdir(temp.c_str(), 0700);
    }
    void TearDown() override { std::system(("rm -rf '" + root + "'").c_str()); }

    // A pack written by hand, so a test can make its index lie.
    std::string write_pack(const std::string& index_lines, const std::string& data) {
        std::string base = root + "/images";
        spit(base + ".icf", "Flurrin\r\nVessaro\r\nhttp://x/\r\n" + index_lines);
        spit(base + ".img", data);
        return base;
    }

    std::string root, temp;
};

TEST(CopyLoop, CopiesInChunksOfSixtyThousandWithAShorterLastOne) {
    for (auto [size, expected] : std::vector<std::pair<uint64_t, std::vector<size_t>>>{
             {150000, {60000, 60000, 30000}}, {60000, {60000}}, {60001, {60000, 1}}, {0, {}}, {5, {5}}}) {
        std::vector<size_t> reads, writes;
        uint64_t produced = 0;
        ASSERT_TRUE(copy_loop(
            size, [&](uint8_t* p, size_t n) { reads.push_back(n); std::fill(p, p + n, uint8_t(produced++)); return true; },
            [&](const uint8_t*, size_t n) { writes.push_back(n); return true; }));
        EXPECT_EQ(reads, expected) << size;
        EXPECT_EQ(writes, expected) << size;
    }
}

TEST(CopyLoop, StopsAtTheFirstFailure) {
    int calls = 0;
    EXPECT_FALSE(copy_loop(
        200000, [&](uint8_t*, size_t) { return ++calls < 2; }, [](const uint8_t*, size_t) { return true; }));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(copy_loop(
        10, [](uint8_t*, size_t) { return true; }, [](const uint8_t*, size_t) { return false; }));
}

TEST_F(PackFiles, BuildingTwoFilesGivesTheIndexAndTheDataBackToBack) {
    spit(root + "/first.bmp", std::string(10, 'a'));
    spit(root + "/second.mid", std::string(20, 'b'));
    ASSERT_TRUE(pack_build(root, "images", {root + "/first.bmp", root + "/second.mid"}));
    EXPECT_EQ(slurp(root + "/images.icf"),
              "Flurrin\r\nVessaro\r\n" + std::string(kPackWebAddress) + "\r\n2\r\nfirst.bmp\r\n10\r\nsecond.mid\r\n20\r\n");
    EXPECT_EQ(slurp(root + "/images.img"), std::string(10, 'a') + std::string(20, 'b'));
}

TEST_F(PackFiles, BuildFailsOnAMissingSourceOrANameTheIndexCannotHold) {
    spit(root + "/ok.bmp", "xx");
    EXPECT_FALSE(pack_build(root, "images", {root + "/ok.bmp", root + "/missing.bmp"}));
    spit(root + "/bad,name.bmp", "xx");
    EXPECT_FALSE(pack_build(root, "images", {root + "/bad,name.bmp"}));
    EXPECT_FALSE(pack_build(root + "/no/such/folder", "images", {root + "/ok.bmp"}));
}

TEST_F(PackFiles, MembersComeOutWhole_EmptyOnesToo_AndReuseTheirTemporaryFile) {
    std::string big(150000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7 + i / 251);
    spit(root + "/a.jpg", "JPEGDATA");
    spit(root + "/empty.wav", "");
    spit(root + "/big.bmp", big);
    spit(root + "/b.jpg", "OTHERJPEG!");
    ASSERT_TRUE(pack_build(root + "/", "images", {root + "/a.jpg", root + "/empty.wav", root + "/big.bmp", root + "/b.jpg"}));

    Pack pack(temp);
    ASSERT_TRUE(pack.pack_open(root + "/images"));
    ASSERT_EQ(pack.count(), 4);
    std::string jpg = pack.pack_extract(root + "/images", 1);
    EXPECT_EQ(jpg, temp + "/img_xyz.jpg");
    EXPECT_EQ(slurp(jpg), "JPEGDATA");
    std::string wav = pack.pack_extract(root + "/images", 2);
    EXPECT_EQ(wav, temp + "/img_xyz.wav");
    EXPECT_EQ(slurp(wav), "");
    EXPECT_EQ(slurp(pack.pack_extract(root + "/images", 3)), big);
    EXPECT_EQ(pack.pack_extract(root + "/images", 4), jpg);
    EXPECT_EQ(slurp(jpg), "OTHERJPEG!");
    EXPECT_EQ(files_in(temp), (std::vector<std::string>{"img_xyz.bmp", "img_xyz.jpg", "img_xyz.wav"}));

    EXPECT_EQ(pack.pack_extract(root + "/images", 0), kPackFailed);
    EXPECT_EQ(pack.pack_extract(root + "/images", 5), kPackFailed);
}

TEST_F(PackFiles, CleanupDeletesOnlyTheTemporaryMembers) {
    spit(temp + "/img_xyz.jpg", "x");
    spit(temp + "/img_xyz.mid", "x");
    spit(temp + "/img_xyzabc.bmp", "x");
    spit(temp + "/keep.jpg", "x");
    spit(temp + "/img_other", "x");
    Pack pack(temp);
    pack.pack_cleanup();
    EXPECT_EQ(files_in(temp), (std::vector<std::string>{"img_other", "keep.jpg"}));
}

TEST_F(PackFiles, NoIndexMeansNoMembers) {
    Pack pack(temp);
    EXPECT_TRUE(pack.pack_open(root + "/nothing"));
    EXPECT_EQ(pack.count(), 0);
    EXPECT_EQ(pack.pack_extract(root + "/nothing", 1), kPackFailed);
}

TEST_F(PackFiles, AnIndexThatLiesGivesFalseAndWritesNothingOutsideTheTemporaryFolder) {
    struct Case {
        const char* what;
        std::string index;
        std::string data;
        int member;
    };
    const std::vector<Case> cases = {
        {"negative size", "1\r\na.jpg\r\n-5\r\n", "12345", 1},
        {"size past the data", "2\r\na.jpg\r\n3\r\nb.jpg\r\n9\r\n", "12345", 2},
        {"offset past the data", "2\r\na.jpg\r\n30\r\nb.jpg\r\n1\r\n", "12345", 2},
        {"huge size", "1\r\na.jpg\r\n99999999999999999999\r\n", "12345", 1},
        {"fewer members than said", "3\r\na.jpg\r\n1\r\n", "12345", 1},
        {"huge count", "2000000000\r\na.jpg\r\n1\r\n", "12345", 1},
        {"count not a number", "two\r\na.jpg\r\n1\r\n", "12345", 1},
        {"backslash in name", "1\r\n..\\..\\evil.jpg\r\n5\r\n", "12345", 1},
        {"slash in name", "1\r\n../../evil.jpg\r\n5\r\n", "12345", 1},
        {"separator in extension", "1\r\nx./..\r\n5\r\n", "12345", 1},
        {"drive in name", "1\r\nc:evil.jpg\r\n5\r\n", "12345", 1},
        {"dots only", "1\r\n..\r\n5\r\n", "12345", 1},
        {"no fields", "", "12345", 1},
    };
    for (const Case& c : cases) {
        std::string base = write_pack(c.index, c.data);
        Pack pack(temp);
        pack.pack_open(base);
        EXPECT_EQ(pack.pack_extract(base, c.member), kPackFailed) << c.what;
        EXPECT_TRUE(files_in(temp).empty()) << c.what;
        EXPECT_EQ(files_in(root), (std::vector<std::string>{"images.icf", "images.img", "temp"})) << c.what;
    }
}

TEST_F(PackFiles, IndexFieldsMayBeQuotedOrCommaSeparated) {
    std::string base = write_pack("2\r\n\"a.jpg\",3\r\nb.mid, 2\r\n", "12345");
    Pack pack(temp);
    pack.pack_open(base);
    ASSERT_EQ(pack.count(), 2);
    EXPECT_EQ(slurp(pack.pack_extract(base, 2)), "45");
}

TEST(PackNames, FileExistsNeedsMoreThanOneByteAndNamesComeAfterTheLastSeparator) {
    char pattern[] = "/tmp/flurrin_name_XXXXXX";
    std::string dir = mkdtemp(pattern);
    spit(dir + "/one", "1");
    spit(dir + "/two", "12");
    EXPECT_FALSE(file_exists(dir + "/one"));
    EXPECT_TRUE(file_exists(dir + "/two"));
    EXPECT_FALSE(file_exists(dir + "/none"));
    std::system(("rm -rf '" + dir + "'").c_str());

    EXPECT_EQ(file_name_of("c:\\pics\\snow.jpg"), "snow.jpg");
    EXPECT_EQ(file_name_of("snow.jpg"), "snow.jpg");
    EXPECT_EQ(file_name_of(""), "");
    EXPECT_EQ(file_name_of("c:\\pics\\"), "");
    EXPECT_EQ(temp_member_name("song.mid"), "img_xyz.mid");
    EXPECT_EQ(temp_member_name("ab"), "img_xyz.ab");
    EXPECT_EQ(temp_member_name("a.b.."), std::nullopt);
}

}  // namespace
}  // namespace flurrin
