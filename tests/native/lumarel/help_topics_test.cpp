#include "base/help_topics.h"

#include <gtest/gtest.h>

#include <string>

using namespace lumarel;

namespace {
std::string where(const HelpTopic& topic) { return topic.page + "#" + topic.anchor; }
}  // namespace

TEST(HelpTopics, KeywordsOpenTheirOwnAnchorsAndOthersTheContents) {
    EXPECT_EQ(where(helpTopicForKeyword("Welcome")), "welcome.html#welcome");
    EXPECT_EQ(where(helpTopicForKeyword("Version 4")), "whats-new.html#version-4");
    EXPECT_EQ(where(helpTopicForKeyword("Version 5")), "whats-new.html#version-5");
    EXPECT_EQ(where(helpTopicForKeyword("Version")), "whats-new.html#version");
    // Keywords match exactly, as WinHelp's do in our own file.
    EXPECT_EQ(where(helpTopicForKeyword("version 5")), "index.html#");
    EXPECT_EQ(where(helpTopicForKeyword("Version 6")), "index.html#");
    EXPECT_EQ(where(helpTopicForKeyword(nullptr)), "index.html#");
    EXPECT_EQ(helpKeywords().size(), 4u);
}

TEST(HelpTopics, ContextNumbersOpenThePageOfTheirWindow) {
    EXPECT_EQ(where(helpTopicForContext(100)), "settings-bulbs.html#c100");
    EXPECT_EQ(where(helpTopicForContext(120)), "settings-bulbs.html#c120");
    EXPECT_EQ(where(helpTopicForContext(202)), "settings-music.html#c202");
    EXPECT_EQ(where(helpTopicForContext(316)), "settings-saver.html#c316");
    EXPECT_EQ(where(helpTopicForContext(403)), "sharing.html#c403");
    EXPECT_EQ(where(helpTopicForContext(506)), "settings-general.html#c506");
    EXPECT_EQ(where(helpTopicForContext(701)), "themes.html#c701");
    EXPECT_EQ(where(helpTopicForContext(702)), "themes.html#c702");
    EXPECT_EQ(where(helpTopicForContext(kBulbEditorHelpBase + 100)), "bulb-factory.html#c2100");
    EXPECT_EQ(where(helpTopicForContext(kBulbEditorHelpBase + 1)), "bulb-factory.html#c2001");
    EXPECT_EQ(where(helpTopicForContext(51)), "settings.html#c51");
    EXPECT_EQ(where(helpTopicForContext(1)), "settings.html#c1");
}

TEST(HelpTopics, NumbersOfNoControlOpenTheSettingsPageAtTheTop) {
    // A label without a number of its own reports 65535 (or -1).
    for (uint32_t context : {0u, 3u, 99u, 600u, 700u, 703u, 1999u, 3000u, 65535u, 0xFFFFFFFFu})
        EXPECT_EQ(where(helpTopicForContext(context)), "settings.html#") << context;
}

TEST(HelpTopics, CommandsChooseHowTheDataIsRead) {
    EXPECT_FALSE(helpTopicFor(help_command::Quit, 0).has_value());
    EXPECT_EQ(where(*helpTopicFor(help_command::Finder, 0)), "index.html#");
    EXPECT_EQ(where(*helpTopicFor(help_command::Key, reinterpret_cast<uintptr_t>("Version 5"))),
              "whats-new.html#version-5");
    EXPECT_EQ(where(*helpTopicFor(help_command::ContextPopup, 305)), "settings-saver.html#c305");
    EXPECT_EQ(where(*helpTopicFor(help_command::Key, 0)), "index.html#");
}

TEST(HelpTopics, PageUrlsEscapeWhatAUrlCannotHoldAndKeepTheAnchor) {
    EXPECT_EQ(helpPageUrl("C:\\Program Files\\Lumarel\\Help\\index.html", ""),
              "file:///C:/Program%20Files/Lumarel/Help/index.html");
    EXPECT_EQ(helpPageUrl("C:\\Users\\Zoë\\Lumarel #2\\Help\\whats-new.html", "version-5"),
              "file:///C:/Users/Zo%C3%AB/Lumarel%20%232/Help/whats-new.html#version-5");
    EXPECT_EQ(helpPageUrl("D:\\50%\\a.html", "c100"), "file:///D:/50%25/a.html#c100");
}

TEST(HelpTopics, TheBrowserGetsTheUrlWhereItsCommandWantsIt) {
    const std::string url = "file:///C:/Lumarel/Help/index.html#c100";
    EXPECT_EQ(browserCommandLine("\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"", url),
              "\"C:\\windows\\system32\\winebrowser.exe\" \"" + url + "\"");
    EXPECT_EQ(browserCommandLine("\"C:\\Web\\browser.exe\" --single-argument %L", url),
              "\"C:\\Web\\browser.exe\" --single-argument " + url);
    // Only the first placeholder takes it; a command without one gets it at the end.
    EXPECT_EQ(browserCommandLine("b.exe -url %1 -again %1", url), "b.exe -url " + url + " -again %1");
    EXPECT_EQ(browserCommandLine("\"C:\\Web\\browser.exe\"", url), "\"C:\\Web\\browser.exe\" \"" + url + "\"");
}
