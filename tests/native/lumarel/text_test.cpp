#include "base/text.h"

#include <gtest/gtest.h>

#include "base/failure.h"

using namespace lumarel;

namespace {
int32_t failureOf(void (*call)()) {
    try {
        call();
    } catch (const Failure& f) {
        return f.code;
    }
    return 0;
}
}  // namespace

TEST(BoundedText, CopyAndAppendStopAtTheBufferSize) {
    char buffer[8];
    boundedCopy(buffer, sizeof buffer, "1234567");
    EXPECT_STREQ(buffer, "1234567");
    EXPECT_THROW(boundedCopy(buffer, sizeof buffer, "12345678"), Failure);
    EXPECT_STREQ(buffer, "");  // never left unterminated

    boundedCopy(buffer, sizeof buffer, "abc");
    boundedAppend(buffer, sizeof buffer, "defg");
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_THROW(boundedAppend(buffer, sizeof buffer, "h"), Failure);
    EXPECT_STREQ(buffer, "abcdefg");  // a refused append changes nothing

    EXPECT_EQ(failureOf([] {
                  char tiny[2];
                  boundedCopy(tiny, sizeof tiny, "xy");
              }),
              kFailStringOverflow);
}

TEST(BoundedText, AppendRefusesAnUnterminatedBuffer) {
    char buffer[4] = {'a', 'b', 'c', 'd'};
    EXPECT_THROW(boundedAppend(buffer, sizeof buffer, ""), Failure);
}

TEST(BoundedText, CopyNTakesAPrefix) {
    char buffer[5];
    boundedCopyN(buffer, sizeof buffer, "abcdefgh", 4);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_THROW(boundedCopyN(buffer, sizeof buffer, "abcdefgh", 5), Failure);
}

TEST(BoundedText, CaseInsensitiveComparisons) {
    EXPECT_TRUE(equalsNoCase("Lumarel.BUL", "lumarel.bul"));
    EXPECT_FALSE(equalsNoCase("abc", "abcd"));
    EXPECT_LT(compareNoCase("apple", "Banana"), 0);
    EXPECT_GT(compareNoCase("b", "A"), 0);
    EXPECT_TRUE(endsWithNoCase("C:\\x\\Bulb.BUL", ".bul"));
    EXPECT_FALSE(endsWithNoCase("ul", ".bul"));
    EXPECT_TRUE(endsWithNoCase("anything", ""));
}
