// Where the data folders are, which one takes writes, and how the listings
// of the program's and the user's folders merge.
#include "base/data_places.h"

#include <gtest/gtest.h>

using namespace lumarel;

namespace {

DataRoots roots(bool writable, std::string user = "C:\\Users\\ann\\AppData\\Roaming\\Lumarel\\") {
    return {"C:\\Program Files\\Lumarel\\", std::move(user), writable};
}

std::string render(const std::vector<ListedName>& merged) {
    std::string text;
    for (const ListedName& n : merged) text += n.name + "@" + std::to_string(n.folder) + " ";
    return text;
}

}  // namespace

TEST(DataPlaces, PathsAreJoinedWithOneBackslash) {
    EXPECT_EQ(joinFolder("C:\\L", "Lumarel Music\\"), "C:\\L\\Lumarel Music\\");
    EXPECT_EQ(joinFolder("C:\\L\\", "a.bul"), "C:\\L\\a.bul");
    EXPECT_EQ(joinFolder("C:/L/", "a.bul"), "C:/L/a.bul") << "a forward slash counts as a separator";
    EXPECT_EQ(joinFolder("", "a.bul"), "") << "no folder, no path";
    EXPECT_EQ(userDataRoot("C:\\Users\\ann\\AppData\\Roaming"), "C:\\Users\\ann\\AppData\\Roaming\\Lumarel\\");
    EXPECT_EQ(userDataRoot("C:\\Documents and Settings\\ann\\Application Data\\"),
              "C:\\Documents and Settings\\ann\\Application Data\\Lumarel\\");
    EXPECT_EQ(userDataRoot(""), "");
    EXPECT_STREQ(dataFolderName(DataKind::Bulbs), "Lumarel Bulbs\\");
    EXPECT_STREQ(dataFolderName(DataKind::Music), "Lumarel Music\\");
    EXPECT_STREQ(dataFolderName(DataKind::Pictures), "Lumarel Pictures\\");
}

TEST(DataPlaces, WritesStayBesideAWritableProgramAndMoveToTheUserOtherwise) {
    EXPECT_EQ(writeFolderOf(roots(true), DataKind::Bulbs), "C:\\Program Files\\Lumarel\\Lumarel Bulbs\\");
    EXPECT_EQ(writeFolderOf(roots(false), DataKind::Bulbs),
              "C:\\Users\\ann\\AppData\\Roaming\\Lumarel\\Lumarel Bulbs\\");
    EXPECT_EQ(writeFolderOf(roots(false), DataKind::Music),
              "C:\\Users\\ann\\AppData\\Roaming\\Lumarel\\Lumarel Music\\");
    EXPECT_EQ(writeFolderOf(roots(false), DataKind::Pictures),
              "C:\\Users\\ann\\AppData\\Roaming\\Lumarel\\Lumarel Pictures\\");
    EXPECT_EQ(writeFolderOf(roots(false, ""), DataKind::Music), "C:\\Program Files\\Lumarel\\Lumarel Music\\")
        << "without a folder of the user's the program's is all there is";
}

TEST(DataPlaces, BothFoldersAreReadTheUsersLast) {
    for (bool writable : {true, false}) {
        EXPECT_EQ(readFoldersOf(roots(writable), DataKind::Pictures),
                  (std::vector<std::string>{"C:\\Program Files\\Lumarel\\Lumarel Pictures\\",
                                            "C:\\Users\\ann\\AppData\\Roaming\\Lumarel\\Lumarel Pictures\\"}))
            << "writable " << writable;
    }
    EXPECT_EQ(readFoldersOf(roots(false, ""), DataKind::Bulbs),
              std::vector<std::string>{"C:\\Program Files\\Lumarel\\Lumarel Bulbs\\"});
    // A program installed in the user's own data folder is read once.
    DataRoots same{"C:\\Users\\ann\\AppData\\Roaming\\Lumarel\\", "c:\\users\\ann\\appdata\\roaming\\lumarel\\", false};
    EXPECT_EQ(readFoldersOf(same, DataKind::Bulbs).size(), 1u);
    EXPECT_TRUE(readFoldersOf(DataRoots{"", "", true}, DataKind::Bulbs).empty());
}

TEST(DataPlaces, AChangedShippedFileIsRewrittenAsTheUsersOwnCopyOnlyWhenTheProgramTakesNoWrites) {
    const std::string shipped = "C:\\Program Files\\Lumarel\\Lumarel Bulbs\\Star.bul";
    const std::string own = "C:\\Users\\ann\\AppData\\Roaming\\Lumarel\\Lumarel Bulbs\\Star.bul";
    EXPECT_EQ(rewritePathOf(roots(false), DataKind::Bulbs, shipped), own);
    EXPECT_EQ(rewritePathOf(roots(false), DataKind::Bulbs, "c:\\program files\\lumarel\\lumarel bulbs\\Star.bul"),
              own) << "folders compare without regard to case";
    EXPECT_EQ(rewritePathOf(roots(true), DataKind::Bulbs, shipped), shipped);
    EXPECT_EQ(rewritePathOf(roots(false), DataKind::Bulbs, own), own) << "the user's own copy is rewritten in place";
    EXPECT_EQ(rewritePathOf(roots(false, ""), DataKind::Bulbs, shipped), shipped);
    EXPECT_EQ(rewritePathOf(roots(false), DataKind::Music, shipped), shipped) << "only the kind's own folder moves";
    EXPECT_EQ(rewritePathOf(roots(false), DataKind::Bulbs, "D:\\elsewhere\\Star.bul"), "D:\\elsewhere\\Star.bul");
    EXPECT_EQ(rewritePathOf(roots(false), DataKind::Bulbs, "Star.bul"), "Star.bul");
}

TEST(DataPlaces, MergedListingsKeepEachNameOnceTheUsersWinning) {
    std::vector<std::vector<std::string>> listings = {
        {"Tree.bul", "bell.bul", "Star.bul", "Candle.bul"},
        {"STAR.BUL", "Angel.bul", "bell.bul"},
    };
    EXPECT_EQ(render(mergeListings(listings)), "Angel.bul@1 bell.bul@1 Candle.bul@0 STAR.BUL@1 Tree.bul@0 ")
        << "name order without regard to case; on equal names the user's copy and spelling";

    // The program's files stay whole when the user's folder lists nothing
    // (missing, or a file in its place).
    EXPECT_EQ(render(mergeListings({{"b.mid", "A.wav"}, {}})), "A.wav@0 b.mid@0 ");
    EXPECT_EQ(render(mergeListings({{}, {"only.gif"}})), "only.gif@1 ");
    EXPECT_EQ(render(mergeListings({{"x", "X"}})), "x@0 ") << "a folder's own repeat keeps its first spelling";
    EXPECT_TRUE(mergeListings({}).empty());
}

TEST(DataPlaces, TheLastOfSeveralFoldersWinsWhateverTheOrderOfItsListing) {
    std::vector<ListedName> merged = mergeListings({{"a", "b", "c"}, {"c", "b"}, {"B"}});
    ASSERT_EQ(merged.size(), 3u);
    EXPECT_EQ(render(merged), "a@0 B@2 c@1 ");
}
