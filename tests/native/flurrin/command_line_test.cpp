#include <gtest/gtest.h>

#include "frame/command_line.h"
#include "settings/list_edit.h"

namespace flurrin {
namespace {

TEST(Switches, FirstTwoCharactersPickTheAction) {
    EXPECT_EQ(parse_switch("/s"), SaverSwitch::Saver);
    EXPECT_EQ(parse_switch("/S"), SaverSwitch::Saver);
    EXPECT_EQ(parse_switch("/s:123"), SaverSwitch::Saver);
    EXPECT_EQ(parse_switch("/c:4242"), SaverSwitch::Configure);
    EXPECT_EQ(parse_switch("/C"), SaverSwitch::Configure);
    EXPECT_EQ(parse_switch(""), SaverSwitch::Configure);
    EXPECT_EQ(parse_switch("   "), SaverSwitch::Configure);
    EXPECT_EQ(parse_switch("/p 1234"), SaverSwitch::Preview);
    EXPECT_EQ(parse_switch("/a 77"), SaverSwitch::ChangePassword);
    EXPECT_EQ(parse_switch("/m"), SaverSwitch::MakeFiles);
    EXPECT_EQ(parse_switch("/x"), SaverSwitch::Unknown);
    EXPECT_EQ(parse_switch("/"), SaverSwitch::Unknown);
    EXPECT_EQ(parse_switch("settings"), SaverSwitch::Unknown);
}

TEST(Switches, HandleIsTheNumberAfterTheSwitch) {
    EXPECT_EQ(parse_switch_handle("/p 1234"), 1234u);
    EXPECT_EQ(parse_switch_handle("/P   1234 junk"), 1234u);
    EXPECT_EQ(parse_switch_handle("/p1234"), 1234u);
    EXPECT_EQ(parse_switch_handle("/p"), 0u);
    EXPECT_EQ(parse_switch_handle("/p "), 0u);
    EXPECT_EQ(parse_switch_handle("/p abc"), 0u);
    EXPECT_EQ(parse_switch_handle("/p:1234"), 0u);
    EXPECT_EQ(parse_switch_handle("/p 4294967295"), 4294967295u);
    EXPECT_EQ(parse_switch_handle("/p 4294967296"), 0u);
    EXPECT_EQ(parse_switch_handle("/p 99999999999999999999999999"), 0u);
}

TEST(RegistryText, DwordsReadAsThreeDigitTextAndStringsLoseTheirZero) {
    const uint8_t one[4] = {1, 0, 0, 0};
    EXPECT_EQ(format_dword_text(one), "001");
    const uint8_t big[4] = {0xD2, 0x04, 0, 0};  // 1234
    EXPECT_EQ(format_dword_text(big), "1234");
    const uint8_t max[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(format_dword_text(max), "4294967295");

    EXPECT_EQ(registry_value_text(4, one, 4), "001");
    EXPECT_EQ(registry_value_text(4, one, 3), "");
    const uint8_t text[] = {'1', 0};
    EXPECT_EQ(registry_value_text(1, text, 2), "1");
    // A writer that left out the zero still gives the whole text.
    EXPECT_EQ(registry_value_text(1, text, 1), "1");
    const uint8_t two_strings[] = {'a', 'b', 0, 'c', 0};
    EXPECT_EQ(registry_value_text(1, two_strings, 5), "ab");
    EXPECT_EQ(registry_value_text(3, text, 2), "");
}

TEST(ListEdit, MovesStopAtTheEndsAndRemovalChecksTheIndex) {
    std::vector<std::string> list = {"a", "b", "c"};
    EXPECT_EQ(move_entry(list, 0, -1), 0);
    EXPECT_EQ(move_entry(list, 2, +1), 2);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(move_entry(list, 0, +1), 1);
    EXPECT_EQ(list, (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(move_entry(list, 2, -1), 1);
    EXPECT_EQ(list, (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(move_entry(list, -1, +1), -1);
    EXPECT_EQ(move_entry(list, 3, -1), -1);
    EXPECT_FALSE(remove_entry(list, 3));
    EXPECT_FALSE(remove_entry(list, -1));
    EXPECT_TRUE(remove_entry(list, 1));
    EXPECT_EQ(list, (std::vector<std::string>{"b", "a"}));
}

}  // namespace
}  // namespace flurrin
