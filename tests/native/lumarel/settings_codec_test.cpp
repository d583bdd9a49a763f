#include "ui/settings_codec.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumarel;

TEST(Arrangement, DefaultTable) {
    BulbArrangement a = defaultArrangement();
    EXPECT_EQ(a[0], (std::array<int32_t, 8>{0, -1, -1, -1, -1, -1, 1, 1}));
    EXPECT_EQ(a[1], (std::array<int32_t, 8>{0, 2, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(a[2], (std::array<int32_t, 8>{2, 1, -1, -1, -1, -1, 1, 1}));
    EXPECT_EQ(a[3], (std::array<int32_t, 8>{0, 2, -1, -1, -1, -1, -1, -1}));
}

TEST(Arrangement, RoundTripsAsLittleEndian128Bytes) {
    BulbArrangement a = defaultArrangement();
    a[1][3] = 0x01020304;
    a[3][7] = -2;
    auto bytes = encodeArrangement(a);
    EXPECT_EQ(bytes[(1 * 8 + 3) * 4], 0x04);
    EXPECT_EQ(bytes[(1 * 8 + 3) * 4 + 3], 0x01);
    EXPECT_EQ(bytes[(3 * 8 + 7) * 4 + 3], 0xFF);
    auto back = decodeArrangement(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, a);
}

TEST(Arrangement, Legacy32ByteFormIsSignExtended) {
    uint8_t legacy[32];
    for (int i = 0; i < 32; ++i) legacy[i] = uint8_t(i % 3 == 0 ? 0xFF : i);
    auto a = decodeArrangement(legacy, 32);
    ASSERT_TRUE(a);
    for (int i = 0; i < 32; ++i) EXPECT_EQ((*a)[i / 8][i % 8], i % 3 == 0 ? -1 : i) << i;
    // Re-encoding gives the full 128-byte form.
    EXPECT_EQ(decodeArrangement(encodeArrangement(*a).data(), 128), a);
}

TEST(Arrangement, OtherSizesAreNotArrangements) {
    uint8_t bytes[129] = {};
    for (size_t size : {0, 1, 31, 33, 64, 127, 129})
        EXPECT_FALSE(decodeArrangement(bytes, size)) << size;
}

TEST(Arrangement, ValidationDropsMissingKinds) {
    BulbArrangement a = {{
        {5, 99, 6, 99, 7, -1, 99, 4},
        {99, 99, 99, 99, 99, 99, -1, -1},
        {1, 2, 3, 4, 5, 6, 7, 99},
        {-1, -1, -1, -1, -1, -1, -1, -1},
    }};
    validateArrangement(a, [](int32_t id) { return id >= 0 && id < 47; });
    EXPECT_EQ(a[0], (std::array<int32_t, 8>{5, 6, 7, -1, -1, -1, -1, 4}));
    EXPECT_EQ(a[1], (std::array<int32_t, 8>{-1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(a[2], (std::array<int32_t, 8>{1, 2, 3, 4, 5, 6, 7, -1}));
    EXPECT_EQ(a[3][0], -1);
}

TEST(SongList, EncodesNamesWithTerminators) {
    auto bytes = encodeSongList({"Jingle.mid", "Silent.mid"});
    const char expected[] = "Jingle.mid\0Silent.mid\0";
    ASSERT_EQ(bytes.size(), sizeof expected);  // the literal's own zero is the list's end
    EXPECT_EQ(memcmp(bytes.data(), expected, bytes.size()), 0);
    EXPECT_EQ(encodeSongList({}), std::vector<uint8_t>{0});
}

TEST(SongList, DecodeStopsAtTheEmptyNameOrTheEnd) {
    const char stored[] = "a.mid\0b.mid\0\0c.mid\0";
    auto names = decodeSongList(reinterpret_cast<const uint8_t*>(stored), sizeof stored);
    EXPECT_EQ(names, (std::vector<std::string>{"a.mid", "b.mid"}));
    // No terminators at all (a hand-edited value): the last name still counts,
    // and nothing is read past the data.
    const uint8_t raw[] = {'x', '.', 'm', 'i', 'd'};
    EXPECT_EQ(decodeSongList(raw, sizeof raw), (std::vector<std::string>{"x.mid"}));
    EXPECT_TRUE(decodeSongList(raw, 0).empty());
    auto round = encodeSongList({"one", "two", "three"});
    EXPECT_EQ(decodeSongList(round.data(), round.size()), (std::vector<std::string>{"one", "two", "three"}));
}

TEST(MessageFont, DefaultRecordLayout) {
    auto bytes = encodeMessageFont(MessageFont{});
    int32_t height;
    memcpy(&height, bytes.data(), 4);
    EXPECT_EQ(height, -48);
    EXPECT_EQ(bytes[16], 700 & 0xFF);
    EXPECT_EQ(bytes[17], 700 >> 8);
    EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[28]), "Arial");
    for (int i = 20; i < 28; ++i) EXPECT_EQ(bytes[i], 0) << i;
}

TEST(MessageFont, DecodeNeedsSixtyBytesAndTerminatesTheFace) {
    MessageFont font;
    font.italic = 1;
    font.charSet = 2;
    font.weight = 400;
    auto bytes = encodeMessageFont(font);
    memset(&bytes[28], 'Z', 32);  // a face name without a terminator
    auto back = decodeMessageFont(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->italic, 1);
    EXPECT_EQ(back->charSet, 2);
    EXPECT_EQ(back->weight, 400);
    EXPECT_EQ(strlen(back->faceName), 31u);
    EXPECT_FALSE(decodeMessageFont(bytes.data(), 59));
    EXPECT_FALSE(decodeMessageFont(bytes.data(), 0));
}

TEST(MovementType, ChosenFromTheModuleName) {
    EXPECT_EQ(defaultMovementType("Leaves"), 2);
    EXPECT_EQ(defaultMovementType("Easter Eggs"), 1);
    EXPECT_EQ(defaultMovementType("Happy Faces"), 1);
    EXPECT_EQ(defaultMovementType("Halloween"), 3);
    EXPECT_EQ(defaultMovementType("Heavens Above"), 3);
    EXPECT_EQ(defaultMovementType("Snow"), 0);
    EXPECT_EQ(defaultMovementType("leaves"), 0);  // exact comparison
}
