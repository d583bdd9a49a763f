#include "bulbs/crc32.h"

#include <gtest/gtest.h>

#include <string>

using lumarel::crc32;

TEST(Crc32, MatchesTheCheckValueOfItsVariant) {
    const std::string check = "123456789";
    EXPECT_EQ(crc32(check.data(), check.size()), 0xFC891918u);
    EXPECT_EQ(crc32("", 0), 0u);
    // One bit more or less changes the sum; so does the byte order.
    EXPECT_NE(crc32("123456788", 9), 0xFC891918u);
    EXPECT_NE(crc32("213456789", 9), 0xFC891918u);
}

TEST(Crc32, PiecesGiveTheSameSumAsTheWhole) {
    std::string text(1000, '\0');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(i * 31 + 7);
    uint32_t whole = crc32(text.data(), text.size());
    uint32_t pieces = crc32(text.data(), 333);
    pieces = crc32(text.data() + 333, 1, pieces);
    pieces = crc32(text.data() + 334, text.size() - 334, pieces);
    EXPECT_EQ(pieces, whole);
}
