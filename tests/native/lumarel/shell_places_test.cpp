#include "ui/shell_places.h"

#include <gtest/gtest.h>

using namespace lumarel;

TEST(ShellPaths, JoinAddsOneBackslashAndRefusesWhatWouldNotFit) {
    EXPECT_EQ(joinShellPath("C:\\Windows\\system32", "Lumarel.scr"), "C:\\Windows\\system32\\Lumarel.scr");
    EXPECT_EQ(joinShellPath("C:\\", "Lumarel.scr"), "C:\\Lumarel.scr");
    EXPECT_EQ(joinShellPath("", "Lumarel.scr"), "");

    // 259 characters is the longest path a 260-byte buffer holds.
    std::string folder(259 - 1 - 11, 'f');
    EXPECT_EQ(joinShellPath(folder, "Lumarel.scr").size(), 259u);
    EXPECT_EQ(joinShellPath(folder + "f", "Lumarel.scr"), "");
    EXPECT_EQ(joinShellPath(folder + "\\", "Lumarel.scr").size(), 259u);  // no second backslash
}

TEST(BulbAssociation, ALongProgramPathGivesTheWholeCommand) {
    std::string program = "C:\\" + std::string(252, 'p') + ".exe";  // 259 characters
    auto values = bulbClassValues(program);
    EXPECT_EQ(values[3].data, "\"" + program + "\" open %1");  // 269 characters, none lost
    EXPECT_EQ(values[2].data, program + ",-2");
}

TEST(StartupShortcutName, TheLongNameMustFitThePattern) {
    for (const char* name : {"Lumarel.lnk", "lumarel.LNK", "My Lumarel.lnk", "Lumarel 5.lnk", "xLUMARELx.lnk"})
        EXPECT_TRUE(isStartupShortcutName(name)) << name;
    // What a pattern search can also return through short names.
    for (const char* name : {"Lumarel.lnkx", "Lumarel.lnk.txt", "LUMARE~1.LNK", "Lumarel", ".lnk", "Lumare.lnk",
                             "Flurrin.lnk", "lnk", ""})
        EXPECT_FALSE(isStartupShortcutName(name)) << name;
}

TEST(SaverPlaces, SystemFolderFirstThenThePerUserFolder) {
    auto places = saverPlaces("C:\\Windows\\system32", "", "C:\\Users\\ann\\AppData\\Local");
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].file, "C:\\Windows\\system32\\Lumarel.scr");
    EXPECT_TRUE(places[0].folders.empty());
    EXPECT_EQ(places[1].file, "C:\\Users\\ann\\AppData\\Local\\Quorvane\\Lumarel\\Lumarel.scr");
    EXPECT_EQ(places[1].folders,
              (std::vector<std::string>{"C:\\Users\\ann\\AppData\\Local\\Quorvane",
                                        "C:\\Users\\ann\\AppData\\Local\\Quorvane\\Lumarel"}));
}

TEST(SaverPlaces, Wow64NamesItsOwnSystemFolder) {
    auto places = saverPlaces("C:\\Windows\\system32", "C:\\Windows\\SysWOW64", "C:\\Local\\");
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].file, "C:\\Windows\\SysWOW64\\Lumarel.scr");
    EXPECT_EQ(places[1].file, "C:\\Local\\Quorvane\\Lumarel\\Lumarel.scr");
}

TEST(SaverPlaces, UnknownOrTooLongFoldersAreLeftOut) {
    EXPECT_EQ(saverPlaces("", "", "").size(), 0u);
    auto userOnly = saverPlaces("", "", "C:\\Local");
    ASSERT_EQ(userOnly.size(), 1u);
    EXPECT_EQ(userOnly[0].file, "C:\\Local\\Quorvane\\Lumarel\\Lumarel.scr");

    std::string deep = "C:\\" + std::string(230, 'd');  // fits alone, not with "\Quorvane\Lumarel\Lumarel.scr"
    auto systemOnly = saverPlaces("C:\\Windows\\system32", "", deep);
    ASSERT_EQ(systemOnly.size(), 1u);
    EXPECT_EQ(systemOnly[0].file, "C:\\Windows\\system32\\Lumarel.scr");
}
