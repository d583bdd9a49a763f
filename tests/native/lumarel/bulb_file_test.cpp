// The bulb file format on hostile bytes: header checks, the recorded size,
// category and region blocks, the compacting rewrite and the small rules of
// new files (credits, names).
#include "bulbs/bulb_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <set>

#include "bulbs/crc32.h"
#include "gif_writer.h"

namespace lumarel {
// Failed expectations show the fault's number rather than its bytes.
void PrintTo(BulbFileFault fault, std::ostream* out) { *out << "BulbFileFault " << static_cast<int>(fault); }
}  // namespace lumarel

using namespace lumarel;

namespace {

// The named check a call failed, or nothing when it returned. Every failure
// is named and carries the code users see, 'asrt'.
std::optional<BulbFileFault> faultOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const BulbFileFailure& f) {
        EXPECT_EQ(f.code, kFailAsrt);
        return f.fault;
    }
    return std::nullopt;
}

std::vector<uint8_t> smallGif(uint8_t colour) {
    gifcorpus::Gif g;
    g.width = 4;
    g.height = 3;
    g.globalPalette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    gifcorpus::Frame f;
    f.width = 4;
    f.height = 3;
    f.pixels.assign(12, colour);
    g.frames.push_back(f);
    return gifcorpus::encodeGif(g);
}

// A sound file: header, one picture used everywhere, then whatever `extra`
// blocks follow; the recorded size is set unless asked not to.
struct FileBuilder {
    BulbHeader header = newBulbHeader(1234, "Test Bulb", "Someone", "Copyright 2026 Someone");
    std::vector<uint8_t> tail;

    uint32_t add(const std::vector<uint8_t>& bytes) {
        uint32_t at = static_cast<uint32_t>(kBulbHeaderSize + tail.size());
        tail.insert(tail.end(), bytes.begin(), bytes.end());
        return at;
    }
    int addPicture(const std::vector<uint8_t>& gif, uint32_t references) {
        int index = firstFreePicture(header);
        header.pictures[index] = {static_cast<uint32_t>(gif.size()), add(gif), crc32(gif.data(), gif.size()),
                                  references, 1};
        return index;
    }
    std::vector<uint8_t> bytes(bool recordSize = true) {
        header.recordedSize = recordSize ? static_cast<uint32_t>(kBulbHeaderSize + tail.size()) : 0;
        std::vector<uint8_t> out = serializeBulbHeader(header);
        out.insert(out.end(), tail.begin(), tail.end());
        return out;
    }
};

FileBuilder soundFile() {
    FileBuilder b;
    b.addPicture(smallGif(1), 9);
    return b;
}

BulbFileInfo load(const std::vector<uint8_t>& bytes) { return loadBulbFile(bytes.data(), bytes.size()); }

std::optional<BulbFileFault> refusal(const std::vector<uint8_t>& bytes) {
    return faultOf([&] { load(bytes); });
}

void set32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(BulbHeaderFormat, RoundTripsEveryFieldAtItsOffset) {
    FileBuilder b = soundFile();
    b.header.flavors[2][3] = 0;
    b.header.previewLeft = -5;
    b.header.regions[36] = 0xDEADBEEF;
    std::vector<uint8_t> bytes = b.bytes();
    EXPECT_EQ(std::memcmp(bytes.data(), "bluBrouQ", 8), 0);
    EXPECT_EQ(bytes[8], 4);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 28), "Test Bulb");
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 108), kNoDescription);
    EXPECT_EQ(bytes[376 + 64 + 12], 0) << "flavor 3 of the bottom side";
    EXPECT_EQ(bytes[376 + 64 + 16], 0xFF) << "flavor 4 of the bottom side is empty";
    EXPECT_EQ(bytes[1244 + 144], 0xEF);
    BulbHeader back = parseBulbHeader(bytes.data());
    EXPECT_EQ(serializeBulbHeader(back), std::vector<uint8_t>(bytes.begin(), bytes.begin() + kBulbHeaderSize));
    EXPECT_EQ(back.previewLeft, -5);
    EXPECT_EQ(back.id, 1234);
}

TEST(BulbHeaderFormat, TextsWithoutTheirZeroAreCutAt79) {
    std::vector<uint8_t> bytes = soundFile().bytes();
    std::memset(bytes.data() + 28, 'x', 80);
    BulbHeader h = parseBulbHeader(bytes.data());
    EXPECT_EQ(strlen(h.name), 79u);
}

TEST(BulbLoad, RefusesWrongMagicAndBadPictureIndices) {
    EXPECT_NO_THROW(load(soundFile().bytes()));
    for (size_t at : {0, 3, 4, 7}) {
        std::vector<uint8_t> bytes = soundFile().bytes();
        bytes[at] ^= 0x20;
        EXPECT_EQ(refusal(bytes), BulbFileFault::BadMagic) << at;
    }
    const size_t list = 356, corner = 360, firstFlavor = 376, thirdFlavor = 376 + 8;
    const std::optional<BulbFileFault> missing = BulbFileFault::MissingPicture, bad = BulbFileFault::BadPictureIndex,
                                       none;
    for (auto [at, value, fault] :
         {std::tuple{list, 0xFFFFFFFFu, missing}, std::tuple{corner + 12, 0xFFFFFFFFu, missing},
          std::tuple{firstFlavor + 96, 0xFFFFFFFFu, missing}, std::tuple{list, 37u, bad},
          std::tuple{list, 0x80000000u, bad}, std::tuple{thirdFlavor, 0xFFFFFFFEu, bad},
          std::tuple{thirdFlavor, 36u, none}, std::tuple{thirdFlavor, 0xFFFFFFFFu, none}}) {
        std::vector<uint8_t> bytes = soundFile().bytes();
        set32(bytes, at, value);
        EXPECT_EQ(refusal(bytes), fault) << at << " = " << value;
    }
    std::vector<uint8_t> bytes = soundFile().bytes();
    EXPECT_EQ(refusal(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 1403)), BulbFileFault::ShortFile);
}

TEST(BulbLoad, RecordedSizeMayBeExceededByAnUnfinishedCache) {
    std::vector<uint8_t> bytes = soundFile().bytes();
    std::vector<uint8_t> longer = bytes;
    longer.insert(longer.end(), {'n', 'g', 'e', 'R', 0, 0});  // a region block cut short by a crash
    EXPECT_EQ(refusal(longer), std::nullopt);
    std::vector<uint8_t> shorter(bytes.begin(), bytes.end() - 1);
    shorter.back() = ';';
    EXPECT_EQ(refusal(shorter), BulbFileFault::ShorterThanRecorded);
}

TEST(BulbLoad, WithoutRecordedSizeThePictureStoredLastMustEndTheGif) {
    FileBuilder b = soundFile();
    b.addPicture(smallGif(2), 0);
    EXPECT_EQ(refusal(b.bytes(false)), std::nullopt);

    std::vector<uint8_t> broken = b.bytes(false);
    broken.back() = 0;  // the last byte of the picture at the greatest offset
    EXPECT_EQ(refusal(broken), BulbFileFault::UnfinishedPicture);
    std::vector<uint8_t> brokenFirst = b.bytes(false);
    brokenFirst[b.header.pictures[0].offset + b.header.pictures[0].size - 1] = 0;
    EXPECT_EQ(refusal(brokenFirst), std::nullopt) << "only the last picture is looked at";

    std::vector<uint8_t> beyond = b.bytes(false);
    set32(beyond, 504 + 20 + 4, 0xFFFFFFF0u);  // offset that wraps with its size
    EXPECT_EQ(refusal(beyond), BulbFileFault::PictureOutsideFile);
    std::vector<uint8_t> emptyLast = b.bytes(false);
    set32(emptyLast, 504 + 20, 0);  // the picture stored last has no bytes
    EXPECT_EQ(refusal(emptyLast), BulbFileFault::EmptyPicture);
    std::vector<uint8_t> none = b.bytes(false);
    set32(none, 504 + 4, 0);
    set32(none, 504 + 20 + 4, 0);
    EXPECT_EQ(refusal(none), BulbFileFault::NoPictureData);
}

TEST(BulbLoad, CategoryBlockIsReadOnlyWhenSound) {
    auto withBlock = [](const std::string& block, bool record = true) {
        FileBuilder b = soundFile();
        b.header.categoryOffset = b.add(std::vector<uint8_t>(block.begin(), block.end()));
        return b.bytes(record);
    };
    EXPECT_EQ(load(withBlock(std::string("categ:Winter | Snow", 20))).categories, "Winter | Snow");
    EXPECT_EQ(load(withBlock(std::string("catag:Winter", 13))).categories, "");
    EXPECT_EQ(load(withBlock("categ:Runs to the end")).categories, "Runs to the end");
    EXPECT_EQ(load(withBlock("cat")).categories, "");
    EXPECT_EQ(load(withBlock("categ:" + std::string(259, 'a') + '\0')).categories.size(), 259u);
    EXPECT_EQ(refusal(withBlock("categ:" + std::string(260, 'a') + '\0')), BulbFileFault::CategoryListTooLong);

    std::vector<uint8_t> outside = soundFile().bytes();
    set32(outside, 1396, 0xFFFFFFFD);
    EXPECT_EQ(load(outside).categories, "");
}

TEST(BulbLoad, UniformFlagNeedsEveryUsedPicture) {
    FileBuilder b = soundFile();
    EXPECT_TRUE(load(b.bytes()).uniform);
    b.header.pictures[5] = {10, 1500, 0, 0, 0};  // has data, flag clear
    EXPECT_FALSE(load(b.bytes()).uniform);
}

TEST(BulbPictures, IndexForPositionsAndWrappingFlavors) {
    BulbHeader h = newBulbHeader(1, "n", "a", "c");
    h.listPicture = 7;
    h.cornerPictures[2] = 6;
    h.flavors[1][1] = 3;
    h.flavors[1][2] = 4;
    h.flavors[1][4] = 5;  // after a hole: not reached
    EXPECT_EQ(pictureIndexFor(h, 8, 0, false), 7);
    EXPECT_EQ(pictureIndexFor(h, 6, 3, false), 6);
    EXPECT_EQ(flavorCount(h, 1), 3);
    EXPECT_EQ(pictureIndexFor(h, 1, 4, false), 3);
    EXPECT_EQ(pictureIndexFor(h, 1, 5, false), 4);
    EXPECT_EQ(pictureIndexFor(h, 1, 5, true), 0) << "a damaged bulb uses one flavor";
    EXPECT_EQ(faultOf([&] { pictureIndexFor(h, 9, 0, false); }), BulbFileFault::BadPosition);
    EXPECT_EQ(faultOf([&] { pictureIndexFor(h, -1, 0, false); }), BulbFileFault::BadPosition);
    h.cornerPictures[0] = kNoPicture;
    EXPECT_EQ(faultOf([&] { pictureIndexFor(h, 4, 0, false); }), BulbFileFault::MissingPicture);
    h.flavors[2][0] = kNoPicture;
    for (bool damaged : {false, true})
        EXPECT_EQ(faultOf([&] { pictureIndexFor(h, 2, 0, damaged); }), BulbFileFault::MissingPicture) << damaged;
    h.listPicture = kPictureCount;
    EXPECT_EQ(faultOf([&] { pictureIndexFor(h, 8, 0, false); }), BulbFileFault::BadPictureIndex);
}

TEST(BulbPictures, DataMustLieInsideTheFile) {
    FileBuilder b = soundFile();
    std::vector<uint8_t> bytes = b.bytes();
    ByteSpan gif = pictureData(b.header, 0, bytes.data(), bytes.size());
    EXPECT_EQ(gif.size, smallGif(1).size());
    EXPECT_EQ(gif.data[gif.size - 1], ';');
    EXPECT_EQ(faultOf([&] { pictureData(b.header, 1, bytes.data(), bytes.size()); }), BulbFileFault::EmptyPicture);
    EXPECT_EQ(faultOf([&] { pictureData(b.header, kPictureCount, bytes.data(), bytes.size()); }),
              BulbFileFault::BadPictureIndex);
    b.header.pictures[0].size += 1;
    EXPECT_EQ(faultOf([&] { pictureData(b.header, 0, bytes.data(), bytes.size()); }),
              BulbFileFault::PictureOutsideFile);
    b.header.pictures[0] = {16, 0xFFFFFFF8u, 0, 1, 1};
    EXPECT_EQ(faultOf([&] { pictureData(b.header, 0, bytes.data(), bytes.size()); }),
              BulbFileFault::PictureOutsideFile);
}

std::vector<uint8_t> rgnData(uint32_t count) {
    std::vector<uint8_t> d(32 + 16 * count, 0);
    set32(d, 0, 32);
    set32(d, 4, 1);
    set32(d, 8, count);
    for (uint32_t i = 0; i < count; ++i) set32(d, 32 + 16 * i + 8, 5);  // right = 5
    return d;
}

TEST(BulbRegions, CachedRegionIsUsedOnlyWhenTheBlockIsSound) {
    auto withRegion = [](std::vector<uint8_t> block, bool beyondRecorded = false) {
        FileBuilder b = soundFile();
        uint32_t at = b.add(block);
        b.header.regions[0] = at;
        std::vector<uint8_t> bytes = b.bytes();
        if (beyondRecorded) set32(bytes, 1400, at);
        return std::pair{b.header, bytes};
    };
    std::vector<uint8_t> rgn = rgnData(3);
    auto [h, bytes] = withRegion(regionBlock(rgn.data(), rgn.size()));
    ByteSpan found = regionData(h, 0, bytes.data(), bytes.size());
    ASSERT_TRUE(found);
    EXPECT_EQ(found.size, rgn.size());
    EXPECT_EQ(std::memcmp(found.data, rgn.data(), rgn.size()), 0);

    auto [h2, beyond] = withRegion(regionBlock(rgn.data(), rgn.size()), true);
    EXPECT_FALSE(regionData(parseBulbHeader(beyond.data()), 0, beyond.data(), beyond.size()));
    std::vector<uint8_t> wrongMark = regionBlock(rgn.data(), rgn.size());
    wrongMark[0] = 'm';
    auto [h3, b3] = withRegion(wrongMark);
    EXPECT_FALSE(regionData(h3, 0, b3.data(), b3.size()));
    std::vector<uint8_t> tooLong = regionBlock(rgn.data(), rgn.size());
    set32(tooLong, 4, 0xFFFFFFF0u);
    auto [h4, b4] = withRegion(tooLong);
    EXPECT_FALSE(regionData(h4, 0, b4.data(), b4.size()));
    std::vector<uint8_t> lyingCount = rgnData(3);
    set32(lyingCount, 8, 1000);
    auto [h5, b5] = withRegion(regionBlock(lyingCount.data(), lyingCount.size()));
    EXPECT_FALSE(regionData(h5, 0, b5.data(), b5.size()));
    EXPECT_FALSE(regionData(h5, 1, b5.data(), b5.size())) << "no region cached";
}

TEST(BulbCompaction, PacksRowsDropsDeadDataAndKeepsWhatIsSound) {
    FileBuilder b;
    int used = b.addPicture(smallGif(1), 9);
    int flavor = b.addPicture(smallGif(3), 2);
    int dead = b.addPicture(smallGif(2), 0);
    b.header.flavors[0][1] = flavor;
    b.header.flavors[0][3] = flavor;  // a hole at 2
    b.header.regions[used] = b.add(std::vector<uint8_t>(40, 7));
    b.add({'c', 'a', 't', 'e', 'g', ':', 'O', 'l', 'd', 0});  // an older block, dead
    b.header.categoryOffset = b.add({'c', 'a', 't', 'e', 'g', ':', 'N', 'e', 'w', 0});
    b.header.senderOffset = b.add({'M', 'e', 0});
    std::vector<uint8_t> source = b.bytes();

    std::vector<uint8_t> out = compactBulbFile(source.data(), source.size());
    BulbFileInfo info = load(out);
    const BulbHeader& h = info.header;
    EXPECT_EQ(h.recordedSize, out.size());
    EXPECT_EQ(h.flavors[0][1], flavor);
    EXPECT_EQ(h.flavors[0][2], flavor);
    EXPECT_EQ(h.flavors[0][3], kNoPicture);
    EXPECT_EQ(h.pictures[dead].size, 0u);
    EXPECT_EQ(h.pictures[dead].offset, 0u);
    EXPECT_EQ(h.regions[used], 0u);
    EXPECT_EQ(info.categories, "New");
    EXPECT_STREQ(reinterpret_cast<const char*>(out.data() + h.senderOffset), "Me");
    for (int i : {used, flavor}) {
        ByteSpan gif = pictureData(h, i, out.data(), out.size());
        EXPECT_EQ(crc32(gif.data, gif.size), h.pictures[i].checksum);
    }
    EXPECT_LT(out.size(), source.size());

    std::vector<uint8_t> badCategory = source;
    badCategory[b.header.categoryOffset] = 'k';
    std::vector<uint8_t> compacted = compactBulbFile(badCategory.data(), badCategory.size());
    EXPECT_EQ(load(compacted).header.categoryOffset, 0u) << "a block without its mark is dropped";

    std::vector<uint8_t> lost = source;
    set32(lost, 504 + 4, 0xFFFFFF00u);  // a referenced picture outside the file
    EXPECT_EQ(faultOf([&] { compactBulbFile(lost.data(), lost.size()); }), BulbFileFault::PictureOutsideFile);
}

TEST(BulbFileMutations, NoSingleByteChangeReadsOutsideTheFile) {
    FileBuilder b = soundFile();
    std::vector<uint8_t> rgn = rgnData(2);
    b.header.regions[0] = b.add(regionBlock(rgn.data(), rgn.size()));
    b.header.categoryOffset = b.add({'c', 'a', 't', 'e', 'g', ':', 'A', 0});
    b.header.senderOffset = b.add({'S', 0});
    std::vector<uint8_t> source = b.bytes();
    int loaded = 0;
    std::set<BulbFileFault> seen;
    for (size_t at = 0; at < source.size(); ++at)
        for (uint8_t value : {uint8_t{0xFF}, uint8_t{0x80}}) {
            std::vector<uint8_t> bytes = source;
            bytes[at] = value;
            std::optional<BulbFileFault> fault = faultOf([&] {
                BulbFileInfo info = load(bytes);
                ++loaded;
                for (int i = 0; i < kPictureCount; ++i) {
                    regionData(info.header, i, bytes.data(), bytes.size());
                    faultOf([&] { pictureData(info.header, i, bytes.data(), bytes.size()); });
                }
                compactBulbFile(bytes.data(), bytes.size());
            });
            if (fault) seen.insert(*fault);
        }
    EXPECT_GT(loaded, 100);
    // One byte cannot make an index -1, nor free the category text of its zero
    // for 260 characters; what it can break, these checks catch.
    EXPECT_EQ(seen, (std::set{BulbFileFault::BadMagic, BulbFileFault::BadPictureIndex,
                              BulbFileFault::ShorterThanRecorded, BulbFileFault::PictureOutsideFile}));
}

TEST(NewBulbFile, HeaderAndPreviewSquare) {
    BulbHeader h = newBulbHeader(77, std::string(100, 'n').c_str(), "a", "c");
    EXPECT_EQ(strlen(h.name), 79u);
    EXPECT_EQ(h.sendPending, 1u);
    EXPECT_EQ(h.foreign, 0u);
    EXPECT_EQ(h.listPicture, 0);
    EXPECT_EQ(h.flavors[3][0], 0);
    EXPECT_EQ(h.flavors[3][1], kNoPicture);
    EXPECT_NO_THROW(checkBulbHeader(h));
    centrePreviewSquare(h, 51, 20);
    EXPECT_EQ(h.previewLeft, 9);
    EXPECT_EQ(h.previewTop, 0);
}

TEST(NewBulbFile, PictureReuseAndTheTableLimit) {
    FileBuilder b = soundFile();
    EXPECT_EQ(findPictureByChecksum(b.header, b.header.pictures[0].checksum), 0);
    EXPECT_EQ(findPictureByChecksum(b.header, 12345), -1);
    for (int i = 1; i < kPictureCount; ++i) b.header.pictures[i].references = 1;
    EXPECT_EQ(firstFreePicture(b.header), -1);
    b.header.pictures[20].references = 0;
    EXPECT_EQ(firstFreePicture(b.header), 20);
}

TEST(NewBulbFile, UniformMaskComparesEveryFrameWithTheFirst) {
    // 3 frames of 5 pixels, 2 rows; rows padded to 4 bytes.
    std::vector<uint8_t> mask(8, 0);
    auto set = [&](int x, int y) { mask[static_cast<size_t>(y * 4 + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8)); };
    for (int f = 0; f < 3; ++f) set(f * 5 + 2, 1);
    EXPECT_TRUE(maskIsUniform(mask.data(), 4, 5, 3, 2));
    set(2 * 5 + 4, 0);
    EXPECT_FALSE(maskIsUniform(mask.data(), 4, 5, 3, 2));
    EXPECT_TRUE(maskIsUniform(mask.data(), 4, 5, 1, 2));
}

TEST(NewBulbFile, CreditsFollowTheOwnerAndAddress) {
    char author[80], copyright[80];
    ASSERT_TRUE(makeCredits("", "", 2026, author, copyright));
    EXPECT_STREQ(author, kNoAuthor);
    EXPECT_STREQ(copyright, kNoCopyright);
    ASSERT_TRUE(makeCredits("", "me@example.org", 2026, author, copyright));
    EXPECT_STREQ(author, "me@example.org");
    EXPECT_STREQ(copyright, kNoCopyright);
    ASSERT_TRUE(makeCredits("Ann Owner", "ann@example.org", 2026, author, copyright));
    EXPECT_STREQ(author, "Ann Owner\r\nann@example.org");
    EXPECT_STREQ(copyright, "Copyright 2026 Ann Owner");
    std::string owner64(64, 'o'), owner65(65, 'o');
    EXPECT_TRUE(makeCredits(owner64.c_str(), "", 2026, author, copyright));
    EXPECT_FALSE(makeCredits(owner65.c_str(), "", 2026, author, copyright));
    std::string owner70(70, 'o');
    makeCredits(owner70.c_str(), "longer@example.org", 2026, author, copyright);
    EXPECT_EQ(std::string(author), owner70) << "the address does not fit";
}

TEST(NewBulbFile, CandidateNamesAndLongPaths) {
    char path[260];
    ASSERT_TRUE(bulbFileCandidate(path, "C:\\L\\Lumarel Bulbs\\", "Tree", 1));
    EXPECT_STREQ(path, "C:\\L\\Lumarel Bulbs\\Tree.bul");
    ASSERT_TRUE(bulbFileCandidate(path, "C:\\L\\Lumarel Bulbs\\", "Tree", 2));
    EXPECT_STREQ(path, "C:\\L\\Lumarel Bulbs\\Tree 2.bul");
    ASSERT_TRUE(bulbFileCandidate(path, "C:\\B\\", "comp", 3, ".tmp"));
    EXPECT_STREQ(path, "C:\\B\\comp 3.tmp");
    std::string folder(240, 'f');
    EXPECT_TRUE(bulbFileCandidate(path, folder.c_str(), std::string(11, 'b').c_str(), 1));
    EXPECT_FALSE(bulbFileCandidate(path, folder.c_str(), std::string(12, 'b').c_str(), 1));
}

}  // namespace
