// The bulb library: the folder scan with its damaged-file question, imports
// of bulb files and GIFs, and making bulbs from GIFs.
#include "bulbs/library.h"

#include <gtest/gtest.h>

#include "base/data_folders.h"

#include "bulbs/bulb_writer.h"
#include "bulbs/extra_bulb.h"
#include "bulbs_test_support.h"
#include "temp_folder.h"
#include "engine/bulb_categories.h"
#include "engine/bulb_object.h"

using namespace lumarel;

namespace {

struct Shown {
    std::string text, title;
    UINT flags;
};
std::vector<Shown> shown;
int answer = IDNO;
// Answers the next question with `answer`, every later one with No.
int record(const char* text, const char* title, UINT flags) {
    shown.push_back({text, title, flags});
    int given = answer;
    answer = IDNO;
    return given;
}

std::vector<uint8_t> smallGif(int seed) {
    return bulbtest::makeGif(6, 4, 2, true, [seed](int f, int x, int y) { return (x + y + f + seed) % 4; });
}

struct Library : ::testing::Test {
    std::string folder, outside;
    void SetUp() override {
        destroyAllBulbs();
        clearCategories();
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = bulbtest::scratchFolder((name + "-bulbs").c_str());
        outside = bulbtest::scratchFolder((name + "-outside").c_str());
        setBulbFolderForTests(folder.c_str());
        setLibraryMessageBox(record);
        shown.clear();
        answer = IDNO;
    }
    void TearDown() override {
        destroyAllBulbs();
        clearCategories();
        setBulbFolderForTests(nullptr);
        setLibraryMessageBox(nullptr);
    }
    std::string bulbFile(const std::string& dir, const std::string& name, int32_t id, int seed = 0) {
        std::string gif = dir + name + ".gif.tmp", path = dir + name + ".bul";
        bulbtest::writeFile(gif, smallGif(seed));
        bulbtest::writeFile(path, {});
        writeNewBulbFile(path.c_str(), gif.c_str(), id, name.c_str(), "a", "c");
        DeleteFileA(gif.c_str());
        return path;
    }
    int addOnCount() {
        int n = 0;
        for (BulbObject* b = firstBulb(); b; b = b->next()) n += b->isAddOn();
        return n;
    }
};

TEST_F(Library, ScanLoadsSoundFilesSkipsHiddenOnesAndOffersToDeleteDamagedOnes) {
    bulbFile(folder, "Beta", 2);
    bulbFile(folder, "alpha", 1);
    std::string hidden = bulbFile(folder, "Hidden", 3);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    bulbtest::writeFile(folder + "Kept.bul", std::vector<uint8_t>(2000, 'x'));
    bulbtest::writeFile(folder + "Gone.bul", std::vector<uint8_t>(10, 'y'));

    answer = IDYES;  // for the first question only
    scanBulbFolder();
    EXPECT_EQ(addOnCount(), 2);
    EXPECT_STREQ(findBulbByIndex(0)->name(), "alpha") << "add-on bulbs in name order";
    ASSERT_EQ(shown.size(), 2u);
    for (const Shown& s : shown) {
        EXPECT_EQ(s.title, "Damaged Bulb File");
        EXPECT_EQ(s.flags, static_cast<UINT>(MB_ICONWARNING | MB_YESNO));
        EXPECT_NE(s.text.find("\" is somehow damaged. Using this bulb may cause problems, so we recommend that you "
                              "delete it.\r\n\r\nDo you want to delete this bulb file?"),
                  std::string::npos);
    }
    EXPECT_EQ(shown[0].text.rfind("Lumarel has detected that the bulb file \"", 0), 0u);
    // The first damaged file found was deleted, the other kept (answer No).
    EXPECT_NE(bulbtest::exists(folder + "Kept.bul"), bulbtest::exists(folder + "Gone.bul"));
}

TEST_F(Library, ImportCopiesABulbFileOnceAndRefusesANameThatIsTaken) {
    std::string source = bulbFile(outside, "Holly", 10, 1);
    importIntoLibrary(source.c_str());
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(bulbtest::exists(folder + "Holly.bul"));
    ASSERT_NE(findAddOnBulbByFileName((folder + "Holly.bul").c_str()), nullptr);

    importIntoLibrary((folder + "Holly.bul").c_str());  // the very file of the folder: only selected
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(addOnCount(), 1);

    std::string other = bulbFile(outside + "", "Other", 11, 2);
    std::string clash = outside + "sub\\";
    CreateDirectoryA(clash.c_str(), nullptr);
    std::string sameName = bulbFile(clash, "Holly", 12, 3);
    importIntoLibrary(sameName.c_str());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Problem Importing File");
    EXPECT_EQ(shown[0].text,
              "Sorry, Holly.bul could not be imported.\r\n\r\nIt may have the same file name as another bulb file "
              "that already exists. Rename it, then try again.");
    EXPECT_EQ(addOnCount(), 1);
    (void)other;
}

TEST_F(Library, DamagedImportIsDeletedUnlessItIsTheFolderCopy) {
    std::string broken = outside + "Broken.bul";
    bulbtest::writeFile(broken, std::vector<uint8_t>(1500, 0));
    importIntoLibrary(broken.c_str());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Sorry, that bulb file is damaged and cannot be used.");
    EXPECT_FALSE(bulbtest::exists(folder + "Broken.bul")) << "the copy is removed";
    EXPECT_TRUE(bulbtest::exists(broken)) << "the source is the user's";

    std::string inFolder = folder + "Only.bul";
    bulbtest::writeFile(inFolder, std::vector<uint8_t>(1500, 0));
    importIntoLibrary(inFolder.c_str());
    EXPECT_TRUE(bulbtest::exists(inFolder)) << "the user's only copy stays";
}

TEST_F(Library, OtherFileTypesAreRefusedAndNamesWithoutExtensionIgnored) {
    importIntoLibrary((outside + "picture.jpg").c_str());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Sorry, that type of file cannot be imported.");
    EXPECT_EQ(shown[0].title, "Problem Importing File");
    importIntoLibrary((outside + "noextension").c_str());
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(Library, GifBecomesANewBulbWithTheNextFreeName) {
    bulbFile(folder, "Tree", 20);
    std::string gif = outside + "Tree.GIF";
    bulbtest::writeFile(gif, smallGif(5));
    importIntoLibrary(gif.c_str());
    EXPECT_TRUE(shown.empty());
    ASSERT_TRUE(bulbtest::exists(folder + "Tree 2.bul"));
    BulbObject* made = findAddOnBulbByFileName((folder + "Tree 2.bul").c_str());
    ASSERT_NE(made, nullptr);
    EXPECT_STREQ(made->name(), "Tree");
    EXPECT_STREQ(made->description(), "No description is available for this bulb.");
    EXPECT_EQ(made->phaseCount(kPosList), 2);

    std::string bad = outside + "Bad.gif";
    bulbtest::writeFile(bad, {'G', 'I', 'F', '8', '9', 'a', ';'});
    char path[MAX_PATH];
    EXPECT_FALSE(makeBulbFromGif(bad.c_str(), path));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Cannot Import GIF File");
    EXPECT_EQ(shown[0].text, "Sorry, this GIF file cannot be imported. It may be damaged in some way.");
    EXPECT_FALSE(bulbtest::exists(folder + "Bad.bul")) << "the reserved name is given back";
}

// The library across the program's bulb folder and the user's, as when the
// program sits in a folder it may not write to.
struct LibraryFolders : Library {
    lumarel_test::TempFolder programRoot{"lumarel-library-program"}, appData{"lumarel-library-appdata"};
    std::string shipped, mine;
    void SetUp() override {
        Library::SetUp();
        setBulbFolderForTests(nullptr);
        std::string program = programRoot.path() + "\\", user = appData / "Lumarel\\";
        shipped = program + "Lumarel Bulbs\\";
        mine = user + "Lumarel Bulbs\\";
        CreateDirectoryA(shipped.c_str(), nullptr);
        DataRoots roots{program, user, false};
        setDataRootsForTests(&roots);
    }
    void TearDown() override {
        setDataRootsForTests(nullptr);
        Library::TearDown();
    }
};

TEST_F(LibraryFolders, TheScanLoadsBothFoldersTheUsersFileInPlaceOfTheProgramsOfTheSameName) {
    bulbFile(shipped, "Candle", 30);
    bulbFile(shipped, "Star", 31);
    makeFolderTree(mine);
    bulbFile(mine, "STAR", 32, 1);
    bulbFile(mine, "Angel", 33, 2);
    scanBulbFolder();
    EXPECT_EQ(addOnCount(), 3);
    EXPECT_NE(findAddOnBulbByFileName((shipped + "Candle.bul").c_str()), nullptr);
    EXPECT_NE(findAddOnBulbByFileName((mine + "STAR.bul").c_str()), nullptr) << "the user's copy wins";
    EXPECT_EQ(findAddOnBulbByFileName((shipped + "Star.bul").c_str()), nullptr);
    EXPECT_NE(findAddOnBulbByFileName((mine + "Angel.bul").c_str()), nullptr);
    EXPECT_TRUE(shown.empty());
}

TEST_F(LibraryFolders, AGifBecomesABulbInTheUsersFolderUnderANameNoShippedBulbHas) {
    bulbFile(shipped, "Tree", 40);
    std::string gif = outside + "Tree.gif";
    bulbtest::writeFile(gif, smallGif(6));
    importIntoLibrary(gif.c_str());
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(bulbtest::exists(mine + "Tree 2.bul")) << "a plain \"Tree.bul\" would hide the shipped one";
    EXPECT_FALSE(bulbtest::exists(mine + "Tree.bul"));
    EXPECT_FALSE(bulbtest::exists(shipped + "Tree 2.bul"));
    EXPECT_NE(findAddOnBulbByFileName((mine + "Tree 2.bul").c_str()), nullptr);

    // A bulb file of a shipped name is refused like a clash in one folder.
    std::string sameName = bulbFile(outside, "Tree", 41, 3);
    importIntoLibrary(sameName.c_str());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("Sorry, Tree.bul could not be imported.", 0), 0u);
    EXPECT_FALSE(bulbtest::exists(mine + "Tree.bul"));
    std::string fresh = bulbFile(outside, "Holly", 42, 4);
    importIntoLibrary(fresh.c_str());
    EXPECT_TRUE(bulbtest::exists(mine + "Holly.bul"));
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(LibraryFolders, AUserFolderThatIsAFileLosesNoShippedBulbAndRefusesTheImportPolitely) {
    bulbFile(shipped, "Candle", 50);
    std::string root = mine.substr(0, mine.size() - strlen("Lumarel Bulbs\\"));
    bulbtest::writeFile(root.substr(0, root.size() - 1), {'x'});  // "...\\Lumarel" is a file
    scanBulbFolder();
    EXPECT_EQ(addOnCount(), 1);
    std::string gif = outside + "Bell.gif";
    bulbtest::writeFile(gif, smallGif(7));
    importIntoLibrary(gif.c_str());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Cannot Import GIF File");
    EXPECT_EQ(addOnCount(), 1);
    DeleteFileA(root.substr(0, root.size() - 1).c_str());
}

}  // namespace
