// The data folders on disk: the writability trial, listings of the program's
// and the user's folders with the user's winning, the path of a named file,
// and a user folder that is missing or is a file.
#include "base/data_folders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bulbs_test_support.h"
#include "temp_folder.h"

using namespace lumarel;
using bulbtest::exists;
using bulbtest::writeFile;
using lumarel_test::TempFolder;

namespace {

int fileCount(const std::string& folder) {
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do n += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileA(h, &found));
    FindClose(h);
    return n;
}

std::string render(const std::vector<DataFile>& files) {
    std::string text;
    for (const DataFile& f : files) text += f.name + "=" + f.path + "\n";
    return text;
}

struct DataFolders : ::testing::Test {
    TempFolder programRoot{"lumarel-data-program"}, appData{"lumarel-data-appdata"};
    // The user's root starts missing: it is made when something is written.
    std::string program = programRoot.path() + "\\", user = appData / "Lumarel\\";
    void TearDown() override { setDataRootsForTests(nullptr); }
    void use(bool programWritable) {
        DataRoots roots{program, user, programWritable};
        setDataRootsForTests(&roots);
    }
};

}  // namespace

TEST_F(DataFolders, TheTrialWriteLeavesNothingBehindAndFailsWhereNoFileCanBeMade) {
    EXPECT_TRUE(folderTakesWrites(program.c_str()));
    EXPECT_EQ(fileCount(program), 0) << "the trial file is removed again";
    EXPECT_FALSE(folderTakesWrites((program + "missing\\").c_str()));
    writeFile(program + "plain file", {1});
    EXPECT_FALSE(folderTakesWrites((program + "plain file\\").c_str()));
    EXPECT_FALSE(folderTakesWrites(""));
    EXPECT_FALSE(folderTakesWrites((program + std::string(250, 'x') + "\\").c_str())) << "too long a path";
}

TEST_F(DataFolders, TheMachinesRootsAreTheProgramsFolderAndLumarelUnderApplicationData) {
    setDataRootsForTests(nullptr);
    const DataRoots& roots = dataRoots();
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.resize(folder.rfind('\\') + 1);
    EXPECT_EQ(roots.program, folder);
    EXPECT_TRUE(roots.programWritable) << "the build folder takes writes";
    ASSERT_GT(roots.user.size(), 9u);
    EXPECT_EQ(roots.user.substr(roots.user.size() - 9), "\\Lumarel\\");
    char write[MAX_PATH];
    ASSERT_TRUE(dataWriteFolder(DataKind::Music, write));
    EXPECT_EQ(std::string(write), folder + "Lumarel Music\\") << "a writable program folder keeps its data";
}

TEST_F(DataFolders, WritesGoToTheUsersFolderOnlyWhenTheProgramsTakesNone) {
    use(true);
    char folder[MAX_PATH];
    ASSERT_TRUE(makeDataWriteFolder(DataKind::Bulbs, folder));
    EXPECT_EQ(std::string(folder), program + "Lumarel Bulbs\\");
    EXPECT_FALSE(exists(user)) << "nothing is made in the user's folder";

    use(false);
    ASSERT_TRUE(makeDataWriteFolder(DataKind::Bulbs, folder));
    EXPECT_EQ(std::string(folder), user + "Lumarel Bulbs\\");
    EXPECT_TRUE(exists(user + "Lumarel Bulbs")) << "made with the missing root above it";
    EXPECT_EQ(dataReadFolders(DataKind::Bulbs),
              (std::vector<std::string>{program + "Lumarel Bulbs\\", user + "Lumarel Bulbs\\"}));
}

TEST_F(DataFolders, ListingsMergeBothFoldersTheUsersFileWinningOnEqualNames) {
    use(false);
    std::string shipped = program + "Lumarel Music\\", mine = user + "Lumarel Music\\";
    ASSERT_TRUE(makeFolderTree(shipped));
    ASSERT_TRUE(makeFolderTree(mine));
    writeFile(shipped + "Carol.mid", {1});
    writeFile(shipped + "bells.wav", {2});
    writeFile(shipped + "hidden.mid", {3});
    SetFileAttributesA((shipped + "hidden.mid").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA((shipped + "folder.mid").c_str(), nullptr);
    writeFile(mine + "CAROL.MID", {4});
    writeFile(mine + "Added.mp3", {5});

    EXPECT_EQ(render(listDataFiles(DataKind::Music, "*")),
              "Added.mp3=" + mine + "Added.mp3\n" + "bells.wav=" + shipped + "bells.wav\n" + "CAROL.MID=" + mine +
                  "CAROL.MID\n");
    EXPECT_EQ(render(listDataFiles(DataKind::Music, "*.wav")), "bells.wav=" + shipped + "bells.wav\n");

    char path[MAX_PATH];
    ASSERT_TRUE(dataFilePath(DataKind::Music, "carol.mid", path));
    EXPECT_EQ(std::string(path), mine + "carol.mid") << "the user's copy of a name";
    ASSERT_TRUE(dataFilePath(DataKind::Music, "bells.wav", path));
    EXPECT_EQ(std::string(path), shipped + "bells.wav");
    ASSERT_TRUE(dataFilePath(DataKind::Music, "folder.mid", path));
    EXPECT_EQ(std::string(path), mine + "folder.mid") << "a folder is no file: where it would be written";
    ASSERT_TRUE(dataFilePath(DataKind::Music, "new.mid", path));
    EXPECT_EQ(std::string(path), mine + "new.mid");
    EXPECT_EQ(folderHolding(dataReadFolders(DataKind::Music), "hidden.mid"), shipped)
        << "a hidden file is still a file of that name";
    EXPECT_EQ(folderHolding(dataReadFolders(DataKind::Music), "none.mid"), "");
}

TEST_F(DataFolders, AMissingUserFolderOrAFileInItsPlaceKeepsTheProgramsFiles) {
    use(false);
    std::string shipped = program + "Lumarel Pictures\\";
    ASSERT_TRUE(makeFolderTree(shipped));
    writeFile(shipped + "Snow.bmp", {1});
    const std::string expected = "Snow.bmp=" + shipped + "Snow.bmp\n";
    EXPECT_EQ(render(listDataFiles(DataKind::Pictures, "*")), expected) << "no user folder yet";

    // The user's root is a file: nothing can be written there, nothing is lost.
    std::string root = user.substr(0, user.size() - 1);
    writeFile(root, {'x'});
    char folder[MAX_PATH];
    EXPECT_FALSE(makeDataWriteFolder(DataKind::Pictures, folder));
    EXPECT_EQ(render(listDataFiles(DataKind::Pictures, "*")), expected);
    DeleteFileA(root.c_str());

    // The picture folder itself is a file.
    ASSERT_TRUE(makeFolderTree(user));
    writeFile(user + "Lumarel Pictures", {'x'});
    EXPECT_FALSE(makeDataWriteFolder(DataKind::Pictures, folder));
    EXPECT_EQ(render(listDataFiles(DataKind::Pictures, "*")), expected);
    char path[MAX_PATH];
    ASSERT_TRUE(dataFilePath(DataKind::Pictures, "Snow.bmp", path));
    EXPECT_EQ(std::string(path), shipped + "Snow.bmp");
}
