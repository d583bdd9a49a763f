// The start-up shortcut and the ".bul" association against the real shell
// objects and registry of the test's Wine prefix.
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "base/reg_key.h"
#include "temp_folder.h"
#include "ui/association.h"
#include "ui/shortcut.h"

using namespace lumarel;

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string thisProgram() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string linkDescription(const std::string& link) {
    IShellLinkA* shell = nullptr;
    IPersistFile* file = nullptr;
    char description[MAX_PATH] = {};
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shell))) &&
        SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(wide, STGM_READ)))
        shell->GetDescription(description, MAX_PATH);
    if (file) file->Release();
    if (shell) shell->Release();
    return description;
}

class StartupShortcut : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        RegKey folders(HKEY_CURRENT_USER, kShellFolders);
        hadStartup = folders.readString("Startup", savedStartup, MAX_PATH);
        useStartup(startup.path());
    }
    void TearDown() override {
        RegKey folders(HKEY_CURRENT_USER, kShellFolders);
        if (hadStartup) folders.writeString("Startup", savedStartup);
        else folders.deleteValue("Startup");
        CoUninitialize();
    }
    static void useStartup(const std::string& folder) {
        RegKey(HKEY_CURRENT_USER, kShellFolders).writeString("Startup", folder.c_str());
    }

    lumarel_test::TempFolder startup{"startup-shortcut"};
    char savedStartup[MAX_PATH] = {};
    bool hadStartup = false;
};

}  // namespace

TEST_F(StartupShortcut, CreatedLinkLeadsToTheProgramWithItsDescription) {
    EXPECT_FALSE(startupShortcutExists(false));
    ASSERT_TRUE(createStartupShortcut());
    std::string link = startup / "Lumarel.lnk";
    ASSERT_TRUE(exists(link));
    char resolved[MAX_PATH];
    strcpy(resolved, link.c_str());
    resolveShortcut(resolved);
    EXPECT_TRUE(lstrcmpiA(resolved, thisProgram().c_str()) == 0) << resolved;
    EXPECT_EQ(linkDescription(link), "Shortcut to Lumarel");
    EXPECT_TRUE(startupShortcutExists(false));
    EXPECT_TRUE(exists(link)) << "asking does not delete";
}

TEST_F(StartupShortcut, DeleteRemovesTheFirstOfTwoMatchesOnly) {
    std::ofstream(startup / "Lumarel.lnk") << "a";
    std::ofstream(startup / "My Lumarel.lnk") << "b";
    std::ofstream(startup / "Other.lnk") << "c";
    EXPECT_TRUE(startupShortcutExists(true));
    EXPECT_NE(exists(startup / "Lumarel.lnk"), exists(startup / "My Lumarel.lnk")) << "exactly one is gone";
    EXPECT_TRUE(exists(startup / "Other.lnk"));
    EXPECT_TRUE(startupShortcutExists(true)) << "the second still counts";
    EXPECT_FALSE(exists(startup / "Lumarel.lnk") || exists(startup / "My Lumarel.lnk"));
    EXPECT_FALSE(startupShortcutExists(false));
}

TEST_F(StartupShortcut, FoldersAndOtherEndingsDoNotCount) {
    CreateDirectoryA((startup / "Lumarel.lnk").c_str(), nullptr);
    std::ofstream(startup / "Lumarel.lnkx") << "x";
    EXPECT_FALSE(startupShortcutExists(true));
    EXPECT_TRUE(exists(startup / "Lumarel.lnk"));
    EXPECT_TRUE(exists(startup / "Lumarel.lnkx"));
    // A real one beside them is found and only it goes.
    std::ofstream(startup / "Lumarel Lights.lnk") << "a";
    EXPECT_TRUE(startupShortcutExists(true));
    EXPECT_FALSE(exists(startup / "Lumarel Lights.lnk"));
    EXPECT_TRUE(exists(startup / "Lumarel.lnkx"));
}

TEST_F(StartupShortcut, AStartupPathTooLongForTheShellReadsAsOff) {
    std::string deep = "C:\\" + std::string(250, 'd');
    useStartup(deep);
    EXPECT_FALSE(startupShortcutExists(false));
    EXPECT_FALSE(createStartupShortcut());
}

TEST_F(StartupShortcut, WithoutTheValueTheShellNamesTheFolder) {
    RegKey(HKEY_CURRENT_USER, kShellFolders).deleteValue("Startup");
    char folder[MAX_PATH];
    ASSERT_TRUE(startupFolder(folder));
    char shell[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, shell)));
    EXPECT_STREQ(folder, shell);
}

TEST_F(StartupShortcut, ABadLinkLeavesThePathAsItWas) {
    std::string bad = startup / "broken.lnk";
    std::ofstream(bad) << "not a shell link at all";
    char path[MAX_PATH];
    strcpy(path, bad.c_str());
    resolveShortcut(path);
    EXPECT_EQ(std::string(path), bad);
    strcpy(path, (startup / "missing.LNK").c_str());
    resolveShortcut(path);
    EXPECT_EQ(std::string(path), startup / "missing.LNK");
}

namespace {

constexpr const char* kTestRoot = "Software\\Quorvane\\LumarelAssociationTest";

class BulbAssociation : public ::testing::Test {
protected:
    void SetUp() override {
        deleteKeyTree(HKEY_CURRENT_USER, kTestRoot);
        classes.create(HKEY_CURRENT_USER, (std::string(kTestRoot) + "\\Classes").c_str());
        user.create(HKEY_CURRENT_USER, (std::string(kTestRoot) + "\\User").c_str());
    }
    void TearDown() override {
        classes.close();
        user.close();
        deleteKeyTree(HKEY_CURRENT_USER, kTestRoot);
    }

    // The default value's exact bytes and type, or "" when the key is absent.
    static std::string stored(HKEY root, const std::string& subKey, DWORD* type = nullptr) {
        RegKey key;
        if (!key.openExisting(root, subKey.c_str())) return "";
        char data[600];
        DWORD size = sizeof data, kind = 0;
        if (RegQueryValueExA(key.get(), nullptr, nullptr, &kind, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
            return "";
        if (type) *type = kind;
        return std::string(data, size);
    }

    RegKey classes, user;
};

}  // namespace

TEST_F(BulbAssociation, WritesTheFourClassValuesWithTheirTerminators) {
    std::string program = "C:\\Program Files\\Lumarel Lights\\lumarel.exe";
    EXPECT_TRUE(registerBulbFileType(program.c_str(), classes.get(), user.get()));
    DWORD type = 0;
    EXPECT_EQ(stored(classes.get(), ".bul", &type), std::string("Lumarel.Bulb", 13));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(stored(classes.get(), "Lumarel.Bulb"), std::string("Lumarel Bulb", 13));
    EXPECT_EQ(stored(classes.get(), "Lumarel.Bulb\\DefaultIcon"), program + ",-2" + '\0');
    EXPECT_EQ(stored(classes.get(), "Lumarel.Bulb\\shell\\open\\command"), "\"" + program + "\" open %1" + '\0');
    EXPECT_EQ(stored(user.get(), "Software\\Classes\\.bul"), "") << "no fallback when the classes root takes them";
}

TEST_F(BulbAssociation, AClassesRootThatRefusesSendsThemToTheUsersOwn) {
    // Lasting keys cannot go under a volatile one: a root that refuses every write.
    HKEY refusing = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kTestRoot) + "\\Volatile").c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &refusing, nullptr),
              ERROR_SUCCESS);
    std::string program = "C:\\" + std::string(250, 'p') + ".exe";  // a command longer than 260
    EXPECT_TRUE(registerBulbFileType(program.c_str(), refusing, user.get()));
    EXPECT_EQ(stored(refusing, ".bul"), "");
    RegCloseKey(refusing);
    EXPECT_EQ(stored(user.get(), "Software\\Classes\\.bul"), std::string("Lumarel.Bulb", 13));
    EXPECT_EQ(stored(user.get(), "Software\\Classes\\Lumarel.Bulb\\shell\\open\\command"),
              "\"" + program + "\" open %1" + '\0');
}
