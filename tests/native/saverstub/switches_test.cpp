#include "switches.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace saverstub;

namespace {

constexpr uint64_t k32 = 0xFFFFFFFFu;

SaverSwitches parse(const std::string& line, uint64_t largest = k32) { return parseSwitches(line, largest); }

void expect(const std::string& line, SaverAction action, uint64_t window = 0) {
    SaverSwitches s = parse(line);
    EXPECT_EQ(int(s.action), int(action)) << line;
    EXPECT_EQ(s.window, window) << line;
}

TEST(SaverSwitches, WindowsWaysOfAskingAfterQuotedOrBareNames) {
    for (std::string name : {"Lumarel.scr", "\"C:\\Program Files\\Lumarel.scr\"", "C:\\WINDOWS\\LUMARE~1.SCR"}) {
        expect(name + " /s", SaverAction::Run);
        expect(name + " -S", SaverAction::Run);
        expect(name + " /p 1234", SaverAction::Preview, 1234);
        expect(name + " /P:1234", SaverAction::Preview, 1234);
        expect(name + " -p\t 77 ", SaverAction::Preview, 77);
        expect(name + " /a 99", SaverAction::ChangePassword, 99);
        expect(name + " /c", SaverAction::Configure);
        expect(name + " /c:4660", SaverAction::Configure, 4660);
        expect(name, SaverAction::Configure);
        expect(name + "   ", SaverAction::Configure);
    }
    // A quoted name may hold blanks and switch-like text.
    expect("\"C:\\a /s b\\x.scr\" /p 5", SaverAction::Preview, 5);
    expect("\"C:\\a /s b\\x.scr\"", SaverAction::Configure);
    // Quotes never closed: the whole line was the name.
    expect("\"C:\\x.scr /s", SaverAction::Configure);
}

TEST(SaverSwitches, HandlesAreDecimalAndFitThePlatform) {
    expect("x.scr /p 4294967295", SaverAction::Preview, 4294967295u);
    expect("x.scr /p 4294967296", SaverAction::Nothing);
    expect("x.scr /p 18446744073709551616", SaverAction::Nothing);
    expect("x.scr /p 000000000000000000000000012", SaverAction::Preview, 12);
    EXPECT_EQ(parse("x.scr /p 4294967296", UINT64_MAX).window, 4294967296u);
    EXPECT_EQ(int(parse("x.scr /p 18446744073709551616", UINT64_MAX).action), int(SaverAction::Nothing));
    EXPECT_EQ(parse("x.scr /p 18446744073709551615", UINT64_MAX).window, UINT64_MAX);
}

TEST(SaverSwitches, NoDigitsOrJunkAskForNothing) {
    // "/p1" too: the letter stands alone, as in "/save".
    for (const char* line : {"x.scr /p", "x.scr /p:", "x.scr /p 0", "x.scr /p -5", "x.scr /p 0x1F", "x.scr /p 12abc",
                             "x.scr /p 12 13", "x.scr /a", "x.scr /a junk", "x.scr /c:", "x.scr /c:x", "x.scr /x",
                             "x.scr /", "x.scr -", "x.scr s", "x.scr /save", "x.scr /p1", "x.scr //s", "x.scr \x01"})
        expect(line, SaverAction::Nothing);
}

}  // namespace
