// Installing the screen saver into folders the test picks, against the real
// "system.ini" and registry of the test's Wine prefix (both put back after).
#include "ui/saver_install.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/message.h"
#include "base/reg_key.h"
#include "temp_folder.h"

using namespace lumarel;

namespace {

constexpr const char* kDesktopKey = "Control Panel\\Desktop";

std::string besideTests(const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string longForm(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = GetLongPathNameA(path.c_str(), full, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(full) : path;
}

int filesIn(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return 0;
    int n = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return n;
}

// A copy of the stub whose mark string reads otherwise.
void writeWithMark(const std::string& path, const std::string& source, const wchar_t* mark) {
    ASSERT_TRUE(CopyFileA(source.c_str(), path.c_str(), FALSE));
    // String 2 lives in block 1 (strings 0 to 15): sixteen counted UTF-16 strings.
    std::vector<WORD> block;
    for (int i = 0; i < 16; ++i) {
        std::wstring text = i == 1 ? L"Lumarel" : i == 2 ? mark : L"";
        block.push_back(WORD(text.size()));
        block.insert(block.end(), text.begin(), text.end());
    }
    HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceA(update, RT_STRING, MAKEINTRESOURCEA(1), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                block.data(), DWORD(block.size() * sizeof(WORD))));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
}

class SaverInstall : public ::testing::Test {
protected:
    void SetUp() override {
        root = folder.path();
        system = root + "\\system";
        CreateDirectoryA(system.c_str(), nullptr);
        stubPath = besideTests("Lumarel.scr");
        stub = readFile(stubPath);
        ASSERT_GT(stub.size(), 1000u) << stubPath;
        GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", savedIni, MAX_PATH, "system.ini");
        RegKey desktop(HKEY_CURRENT_USER, kDesktopKey);
        hadRegistryValue = desktop.readString("SCRNSAVE.EXE", savedRegistry, MAX_PATH);
        desktop.readString("ScreenSaveActive", savedActive, sizeof savedActive);
        select("");
    }
    void TearDown() override {
        WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", savedIni, "system.ini");
        RegKey desktop(HKEY_CURRENT_USER, kDesktopKey);
        if (hadRegistryValue) desktop.writeString("SCRNSAVE.EXE", savedRegistry);
        else desktop.deleteValue("SCRNSAVE.EXE");
        desktop.writeString("ScreenSaveActive", savedActive);
    }

    // Selects a screen saver the way another program would.
    static void select(const std::string& path) {
        WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", path.c_str(), "system.ini");
        RegKey(HKEY_CURRENT_USER, kDesktopKey).writeString("SCRNSAVE.EXE", path.c_str());
    }
    static std::string selectedInIni() {
        char path[MAX_PATH];
        GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", path, MAX_PATH, "system.ini");
        return longForm(path);
    }
    static std::string selectedInRegistry() {
        char path[MAX_PATH] = {};
        RegKey(HKEY_CURRENT_USER, kDesktopKey).readString("SCRNSAVE.EXE", path, MAX_PATH);
        return longForm(path);
    }

    // Installs, noting every message shown.
    bool install(const std::vector<SaverPlace>& places, bool withBytes = true) {
        ScopedMessageSink sink([this](HWND, const char*, const char* title, UINT) {
            titles.push_back(title);
            return IDOK;
        });
        return installScreenSaver(nullptr, places, withBytes ? stub.data() : nullptr, withBytes ? stub.size() : 0);
    }

    lumarel_test::TempFolder folder{"saver-install"};
    std::string root, system, stubPath;
    std::vector<uint8_t> stub;
    std::vector<std::string> titles;
    char savedIni[MAX_PATH] = {}, savedRegistry[MAX_PATH] = {}, savedActive[8] = "0";
    bool hadRegistryValue = false;
};

}  // namespace

TEST_F(SaverInstall, WritesTheStubIntoTheSystemFolderAndSelectsIt) {
    RegKey(HKEY_CURRENT_USER, kDesktopKey).writeString("ScreenSaveActive", "0");
    auto places = saverPlaces(system, "", root + "\\local");
    EXPECT_TRUE(install(places));
    std::string file = system + "\\Lumarel.scr";
    EXPECT_EQ(readFile(file), stub);
    EXPECT_EQ(filesIn(system), 1) << "no temporary file is left beside it";
    EXPECT_FALSE(exists(root + "\\local")) << "the fallback was not needed";
    EXPECT_EQ(selectedInIni(), longForm(file));
    EXPECT_EQ(selectedInRegistry(), longForm(file));
    EXPECT_TRUE(isSelectedScreenSaver());
    char active[8] = {};
    RegKey(HKEY_CURRENT_USER, kDesktopKey).readString("ScreenSaveActive", active, sizeof active);
    EXPECT_STREQ(active, "1");
    EXPECT_TRUE(titles.empty());
}

TEST_F(SaverInstall, AnExistingFileIsKeptAndOnlyReselected) {
    std::string file = system + "\\Lumarel.scr";
    writeFile(file, "an older stub");
    select(besideTests("flurrin.scr"));
    EXPECT_TRUE(install(saverPlaces(system, "", "")));
    EXPECT_EQ(readFile(file), std::vector<uint8_t>({'a', 'n', ' ', 'o', 'l', 'd', 'e', 'r', ' ', 's', 't', 'u', 'b'}));
    EXPECT_EQ(selectedInIni(), longForm(file));
    EXPECT_EQ(selectedInRegistry(), longForm(file));
}

TEST_F(SaverInstall, WhenOursIsSelectedNothingIsTouched) {
    select(stubPath);
    std::string elsewhere = root + "\\elsewhere";
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    EXPECT_TRUE(install(saverPlaces(elsewhere, "", "")));
    EXPECT_EQ(filesIn(elsewhere), 0);
    EXPECT_EQ(selectedInIni(), longForm(stubPath));
}

TEST_F(SaverInstall, AnUnwritableSystemFolderFallsBackToTheUsersOwn) {
    // As root under Wine every folder is writable; a plain file where the
    // folder should be is not.
    std::string blocked = root + "\\blocked";
    writeFile(blocked, "not a folder");
    CreateDirectoryA((root + "\\local").c_str(), nullptr);  // the user's application data is always there
    EXPECT_TRUE(install(saverPlaces(blocked, "", root + "\\local")));
    std::string file = root + "\\local\\Quorvane\\Lumarel\\Lumarel.scr";
    EXPECT_EQ(readFile(file), stub);
    EXPECT_EQ(selectedInIni(), longForm(file));
    EXPECT_TRUE(isSelectedScreenSaver());
    EXPECT_TRUE(titles.empty());
}

TEST_F(SaverInstall, NoPlaceSaysSoAndChangesNothing) {
    std::string blocked = root + "\\blocked";
    writeFile(blocked, "not a folder");
    select(besideTests("flurrin.scr"));
    EXPECT_FALSE(install(saverPlaces(blocked, "", blocked)));
    EXPECT_EQ(titles, std::vector<std::string>{"Cannot Install Screen Saver"});
    EXPECT_EQ(selectedInIni(), longForm(besideTests("flurrin.scr")));

    // Without the stub's bytes an empty folder cannot take the file either.
    titles.clear();
    EXPECT_FALSE(install(saverPlaces(system, "", ""), false));
    EXPECT_EQ(titles, std::vector<std::string>{"Cannot Install Screen Saver"});
    EXPECT_EQ(filesIn(system), 0);
}

TEST_F(SaverInstall, IsSelectedOnlyForAFileMarkedAsOurs) {
    select(stubPath);
    EXPECT_TRUE(isSelectedScreenSaver());
    std::string flurrin = besideTests("flurrin.scr");
    ASSERT_TRUE(exists(flurrin));
    select(flurrin);
    EXPECT_FALSE(isSelectedScreenSaver());
    select(root + "\\missing.scr");
    EXPECT_FALSE(isSelectedScreenSaver());

    std::string longer = root + "\\longer.scr", same = root + "\\same.scr";
    writeWithMark(longer, stubPath, L"QuorvaneLumarelX");
    writeWithMark(same, stubPath, L"QuorvaneLumarel");
    EXPECT_TRUE(isLumarelSaverFile(same.c_str())) << "the copy's mark is read where the stub's is";
    select(longer);
    EXPECT_FALSE(isSelectedScreenSaver());

    // The user's desktop settings come before "system.ini".
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", stubPath.c_str(), "system.ini");
    RegKey(HKEY_CURRENT_USER, kDesktopKey).writeString("SCRNSAVE.EXE", flurrin.c_str());
    EXPECT_FALSE(isSelectedScreenSaver());
    RegKey(HKEY_CURRENT_USER, kDesktopKey).deleteValue("SCRNSAVE.EXE");
    EXPECT_TRUE(isSelectedScreenSaver());
}
