#include "ui/settings_rules.h"

#include <gtest/gtest.h>

using namespace lumarel;

TEST(SettingsRules, MessageLosesOnlyLeadingBlanksAndControls) {
    EXPECT_EQ(cleanMessage("  \t\r\nMerry  Christmas "), "Merry  Christmas ");
    EXPECT_EQ(cleanMessage("\xC9t\xE9"), "\xC9t\xE9");  // "Été" keeps its first letter
    EXPECT_EQ(cleanMessage("   "), "");
    EXPECT_EQ(cleanMessage(" !x"), "!x");
    EXPECT_EQ(cleanMessage(" " + std::string(300, 'a')).size(), kMessageLimit);
}

TEST(SettingsRules, HotKeyTakesLettersAndDigitsOnly) {
    EXPECT_EQ(hotKeyCharacter('B'), 66);
    EXPECT_EQ(hotKeyCharacter('Z'), 'Z');
    EXPECT_EQ(hotKeyCharacter('0'), '0');
    EXPECT_EQ(hotKeyCharacter('9'), '9');
    EXPECT_FALSE(hotKeyCharacter(0xBD));  // the minus key
    EXPECT_FALSE(hotKeyCharacter(0x61));  // numeric keypad 1, not 'a'
    EXPECT_FALSE(hotKeyCharacter(0x10));  // Shift alone
    EXPECT_FALSE(hotKeyCharacter('@'));
    EXPECT_FALSE(hotKeyCharacter('['));
}

TEST(SettingsRules, TrackbarAndIntervalRunOppositeWays) {
    EXPECT_EQ(intervalFromTrackbar(0), 9);
    EXPECT_EQ(intervalFromTrackbar(8), 1);
    EXPECT_EQ(intervalFromTrackbar(4), 5);
    EXPECT_EQ(intervalFromTrackbar(-3), 9);
    EXPECT_EQ(intervalFromTrackbar(40), 1);
    for (int position = 0; position <= 8; ++position)
        EXPECT_EQ(trackbarFromInterval(intervalFromTrackbar(position)), position);
    EXPECT_EQ(trackbarFromInterval(0), 8);
    EXPECT_EQ(trackbarFromInterval(12), 0);
}

TEST(SettingsRules, ModulePickSetsMovementOnlyForItsOwnModules) {
    EXPECT_EQ(movementAfterModulePick("Leaves", 0), 2);
    EXPECT_EQ(movementAfterModulePick("Easter Eggs", 3), 1);
    EXPECT_EQ(movementAfterModulePick("Happy Faces", 0), 1);
    EXPECT_EQ(movementAfterModulePick("Halloween", 0), 3);
    EXPECT_EQ(movementAfterModulePick("Heavens Above", 1), 3);
    // Unlike the stored default, other modules keep the user's choice.
    EXPECT_EQ(movementAfterModulePick("Snow", 3), 3);
    EXPECT_EQ(movementAfterModulePick("My Bulb", 1), 1);
    EXPECT_EQ(defaultMovementType("My Bulb"), 0);

    EXPECT_FALSE(moduleUsesMovement("Snow"));
    EXPECT_FALSE(moduleUsesMovement("Snow Flakes"));
    EXPECT_FALSE(moduleUsesMovement("Balloons"));
    EXPECT_FALSE(moduleUsesMovement("(None)"));
    EXPECT_TRUE(moduleUsesMovement("Leaves"));
    EXPECT_TRUE(moduleUsesMovement("snow"));  // an add-on bulb's own name
}

TEST(SettingsRules, FilterAndPictureItems) {
    EXPECT_EQ(filterItemText("All Bulbs", 347), "All Bulbs (347)");
    EXPECT_EQ(filterItemText("Flags", 0), "Flags (0)");

    std::string item = pictureItem("Harbour", "harbour.lnk");
    EXPECT_EQ(item, "Harbour*harbour.lnk");
    EXPECT_EQ(pictureDisplayName(item), "Harbour");
    EXPECT_EQ(pictureStoredName(item), "harbour.lnk");
    EXPECT_EQ(pictureStoredName("(None)"), "(None)");
    EXPECT_EQ(pictureDisplayName("(None)"), "(None)");
    EXPECT_TRUE(samePictureName("Sea.JPG", "sea.jpg"));
    EXPECT_FALSE(samePictureName("sea.jpg", "sea.jpeg"));
}

TEST(SettingsRules, ThemeNames) {
    EXPECT_TRUE(validThemeName("Winter"));
    EXPECT_TRUE(validThemeName(std::string(63, 'x')));
    EXPECT_FALSE(validThemeName(std::string(64, 'x')));
    EXPECT_FALSE(validThemeName(""));
    EXPECT_FALSE(validThemeName("Winter\\Night"));
}

TEST(CancelPlan, RebuildsOnlyForAChangedArrangement) {
    SettingsSnapshot taken;
    taken.arrangement = defaultArrangement();
    EXPECT_FALSE(planCancel(taken, defaultArrangement(), {}).rebuildBulbs);
    BulbArrangement moved = defaultArrangement();
    moved[3][2] = 4;
    EXPECT_TRUE(planCancel(taken, moved, {}).rebuildBulbs);
}

TEST(CancelPlan, SongFlagsFollowNamesNotPositions) {
    SettingsSnapshot taken;
    taken.songs = {{"Carol", true}, {"Sleigh", false}, {"Waltz", true}};
    // Rescanned meanwhile: a new song came first, "Sleigh" went, letters changed case.
    std::vector<SongFlag> live = {{"Added", true}, {"carol", false}, {"Waltz", false}};
    auto plan = planCancel(taken, defaultArrangement(), live);
    EXPECT_EQ(plan.songFlags, (std::vector<bool>{true, true, true}));
    live = {{"Sleigh", true}};
    EXPECT_EQ(planCancel(taken, defaultArrangement(), live).songFlags, std::vector<bool>{false});
}

TEST(SettingsRules, SongClicksByZone) {
    // The check box's frame runs from 5 to 16; a pixel either side still counts.
    EXPECT_EQ(songClickAt(3), SongClick::kNone);
    EXPECT_EQ(songClickAt(4), SongClick::kToggle);
    EXPECT_EQ(songClickAt(17), SongClick::kToggle);
    EXPECT_EQ(songClickAt(18), SongClick::kNone);
    EXPECT_EQ(songClickAt(22), SongClick::kNone);
    EXPECT_EQ(songClickAt(23), SongClick::kPlay);
    EXPECT_EQ(songClickAt(400), SongClick::kPlay);
}

TEST(SettingsRules, PictureNamesComeFromTheFileOrTheShortcutsTarget) {
    EXPECT_EQ(pictureDisplayNameOf({"Snowy Hill.jpg", ""}), "Snowy Hill");
    EXPECT_EQ(pictureDisplayNameOf({"a.b.gif", ""}), "a.b");
    EXPECT_EQ(pictureDisplayNameOf({"NoEnding", ""}), "NoEnding");
    EXPECT_EQ(pictureDisplayNameOf({"Link.lnk", "C:\\Photos\\Frost.bmp"}), "Frost");
    EXPECT_EQ(pictureDisplayNameOf({"Link.lnk", "C:/Photos/Dec.25/Tree.jpeg"}), "Tree");
    // A shortcut to nowhere resolves to nothing and keeps its own name.
    EXPECT_EQ(pictureDisplayNameOf({"Gone Away.lnk", ""}), "Gone Away");
}

TEST(SettingsRules, NewPictureItemsSkipWhatIsListedIgnoringCase) {
    std::vector<std::string> listed = {"(None)", "Hill*Hill.JPG"};
    std::vector<PictureFile> found = {{"hill.jpg", ""}, {"Tree.bmp", ""}, {"TREE.BMP", ""}, {"Far.lnk", "D:\\Sky.gif"}};
    EXPECT_EQ(newPictureItems(listed, found), (std::vector<std::string>{"Tree*Tree.bmp", "Sky*Far.lnk"}));
    // "(None)" is no file: a file of that name is still listed.
    EXPECT_EQ(newPictureItems(listed, {{"(None)", ""}}), (std::vector<std::string>{"(None)*(None)"}));
    EXPECT_TRUE(newPictureItems({"A*a.bmp", "B*b.bmp"}, {{"B.BMP", ""}, {"a.bmp", ""}}).empty());
}

TEST(SettingsRules, RemoveQuestionsNameTheFileInQuotes) {
    EXPECT_EQ(removeSongQuestion("Carol.mid"),
              "This will remove the song \"Carol.mid\" from Lumarel and permanently delete the song file on your "
              "disk.\r\n\r\nAre you sure you want to do this?");
    EXPECT_EQ(removePictureQuestion("Hill"),
              "This will remove \"Hill\" from Lumarel and permanently delete the file from your Lumarel Pictures "
              "folder.\r\n\r\nAre you sure you want to do this?");
}
