#include "frame/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "base/failure.h"

using namespace lumarel;

TEST(CommandLine, ShortTextsAreIgnoredWhole) {
    for (const char* text : {"", "s 1", "p 9", "res", "ope"})
        EXPECT_EQ(parseCommandLine(text).request, StartRequest::Normal) << text;
    EXPECT_EQ(parseCommandLine(nullptr).request, StartRequest::Normal);
}

TEST(CommandLine, ResetIgnoresCaseButSettingsMustMatchExactly) {
    EXPECT_EQ(parseCommandLine("reset").request, StartRequest::Reset);
    EXPECT_EQ(parseCommandLine("RESET").request, StartRequest::Reset);
    EXPECT_EQ(parseCommandLine("ReSeT").request, StartRequest::Reset);
    EXPECT_EQ(parseCommandLine("reset now").request, StartRequest::Normal);
    EXPECT_EQ(parseCommandLine("settings").request, StartRequest::SettingsOnly);
    EXPECT_EQ(parseCommandLine("SETTINGS").request, StartRequest::Normal);
    EXPECT_EQ(parseCommandLine("settings ").request, StartRequest::Normal);
}

TEST(CommandLine, OpenTakesThePathFromTheSixthCharacter) {
    CommandLine c = parseCommandLine("open C:\\Bulbs\\My Bulb.bul");
    EXPECT_EQ(c.request, StartRequest::Open);
    EXPECT_STREQ(c.openPath, "C:\\Bulbs\\My Bulb.bul");
    // "open" alone names nothing and must not read past the text.
    EXPECT_STREQ(parseCommandLine("open").openPath, "");
    EXPECT_EQ(parseCommandLine("OPEN x.bul").request, StartRequest::Normal);
}

TEST(CommandLine, OpenPathMustFitIn260Bytes) {
    std::string fits = "open " + std::string(259, 'a');
    EXPECT_EQ(std::string(parseCommandLine(fits.c_str()).openPath).size(), 259u);
    std::string tooLong = "open " + std::string(260, 'a');
    try {
        parseCommandLine(tooLong.c_str());
        FAIL() << "a 260-character path was accepted";
    } catch (const Failure& f) {
        EXPECT_EQ(f.code, kFailStringOverflow);
    }
}

TEST(CommandLine, SaverAndPreviewCarryADecimalWindow) {
    CommandLine s = parseCommandLine("s 123456");
    EXPECT_EQ(s.request, StartRequest::Saver);
    EXPECT_EQ(s.window, 123456u);
    CommandLine p = parseCommandLine("p 4242");
    EXPECT_EQ(p.request, StartRequest::Preview);
    EXPECT_EQ(p.window, 4242u);
    EXPECT_EQ(parseCommandLine("s 4294967295").window, 4294967295u);
    // Unusable numbers come out as 0, which start-up refuses.
    EXPECT_EQ(parseCommandLine("s abc").window, 0u);
    EXPECT_EQ(parseCommandLine("s 99999999999").window, 0u);
    EXPECT_EQ(parseCommandLine("s  12").window, 0u);
    // Needs the blank in the second place.
    EXPECT_EQ(parseCommandLine("s123 4").request, StartRequest::Normal);
}
