// The Bulb Factory in process, as a modeless window driven by messages: the
// working copy, Change and Remove Flavor, the picture table's limit, Save for
// add-on, foreign and built-in bulbs, a failed opening, the preview's pixels,
// dragging the square, and help.
#include "ui/bulb_factory.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "base/data_folders.h"
#include "base/message.h"
#include "bulbs/bulb_writer.h"
#include "bulbs/extra_bulb.h"
#include "bulbs/library.h"
#include "bulbs_test_support.h"
#include "built_in_kinds.h"
#include "engine/bulb_categories.h"
#include "engine/bulb_object.h"
#include "engine/flash_state.h"
#include "frame/helpers.h"
#include "resources/resource_ids.h"
#include "temp_folder.h"
#include "ui/bulb_editor.h"
#include "ui/bulb_factory_state.h"
#include "ui/settings_store.h"

using namespace lumarel;

namespace {

constexpr int32_t kBulbId = 515151;

// A GIF of one colour (1 red, 2 green, 3 blue) with a pattern of its seed, so
// each seed makes different bytes.
std::vector<uint8_t> gifOf(int width, int height, int colour, int seed = 0, int frames = 1) {
    return bulbtest::makeGif(width, height, frames, false,
                             [=](int, int x, int y) {
                                 return x == seed % width && y == seed / width % height ? colour % 3 + 1 : colour;
                             });
}

struct Shown {
    std::string text, title;
};

struct BulbFactory : ::testing::Test {
    std::string folder;
    EngineContext context;
    ScopedBulbContext useContext{context};
    std::deque<std::string> chosen;  // what the file dialog answers, in turn
    std::vector<Shown> shown;
    std::vector<std::pair<UINT, ULONG_PTR>> help;
    int rebuilds = 0;
    ScopedMessageSink sink{[this](HWND, const char* text, const char* title, UINT) {
        shown.push_back({text, title});
        return IDOK;
    }};

    void SetUp() override {
        ASSERT_TRUE(programPictures()) << "lumarel.exe is not beside the tests";
        context.instance = programPictures();
        context.userCategories = getIncludedBulbCategories;
        destroyAllBulbs();
        clearCategories();
        resetSettings();
        folder = bulbtest::scratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        setBulbFolderForTests(folder.c_str());
        BulbFactoryHost host;
        host.resources = programPictures();
        host.openHelp = [this](HWND, UINT command, ULONG_PTR data) { help.push_back({command, data}); };
        host.rebuildBulbWindows = [this] { ++rebuilds; };
        host.chooseFile = [this](HWND, char* path, DWORD size, const char*) {
            if (chosen.empty() || chosen.front().size() >= size) return false;
            strcpy(path, chosen.front().c_str());
            chosen.pop_front();
            return true;
        };
        setBulbFactoryHost(host);
    }
    void TearDown() override {
        cancelBulbFactory();
        destroyAllBulbs();
        clearCategories();
        resetSettings();
        setBulbFolderForTests(nullptr);
        setDataRootsForTests(nullptr);
        setBulbFactoryHost({});
    }

    std::string gifFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::string path = folder + name + ".gif";
        bulbtest::writeFile(path, bytes);
        return path;
    }
    // A bulb file made like the library makes one, loaded into the bulb list.
    std::string addOnBulb(const std::string& name, const std::vector<uint8_t>& gif, uint32_t foreign = 0) {
        std::string gifPath = gifFile(name + "-first", gif), path = folder + name + ".bul";
        bulbtest::writeFile(path, {});
        writeNewBulbFile(path.c_str(), gifPath.c_str(), kBulbId, name.c_str(), "An Author", "Copyright");
        if (foreign) {
            std::vector<uint8_t> bytes = bulbtest::readFile(path);
            memcpy(bytes.data() + 20, &foreign, 4);
            bulbtest::writeFile(path, bytes);
        }
        new ExtraBulbObject(path.c_str());
        return path;
    }
    HWND open(int32_t key = kBulbId) { return openBulbFactoryModeless(nullptr, key); }
    static std::string title(HWND window) {
        char text[64] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    static void command(HWND dialog, int id, int code = BN_CLICKED) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    static void choose(HWND dialog, int id, int index) {
        bool combo = id == IDC_BULB_PLACES;
        SendDlgItemMessageA(dialog, id, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
        command(dialog, id, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
    }
    // Imports a GIF into the current cell through Change...
    void change(HWND dialog, const std::string& gif) {
        chosen.push_back(gif);
        command(dialog, IDC_BULB_CHANGE);
    }
    std::string workingCopy() const { return folder + kWorkingCopyName; }
    BulbHeader headerOf(const std::string& path) {
        std::vector<uint8_t> bytes = bulbtest::readFile(path);
        return bytes.size() >= kBulbHeaderSize ? parseBulbHeader(bytes.data()) : BulbHeader{};
    }
    // The preview as it was last drawn, one 0x00RRGGBB value per pixel.
    std::vector<uint32_t> previewPixels(int& width, int& height) {
        FactoryState& s = factory();
        width = s.previewRect.right;
        height = s.previewRect.bottom;
        std::vector<uint32_t> pixels(size_t(width) * size_t(height));
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        WindowDc screen(nullptr);
        GetDIBits(screen.get(), s.offscreen.get(), 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
        for (uint32_t& p : pixels) p &= 0xFFFFFF;
        return pixels;
    }
};

TEST_F(BulbFactory, OpensTheFullEditorOnAWorkingCopyAndCancelLeavesTheBulb) {
    std::string bulb = addOnBulb("Star", gifOf(40, 40, 1));
    std::vector<uint8_t> before = bulbtest::readFile(bulb);
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    EXPECT_EQ("Bulb Editing", title(dialog));
    EXPECT_EQ(before, bulbtest::readFile(workingCopy()));
    EXPECT_EQ(nullptr, open()) << "one editor at a time";
    char name[80] = {};
    GetDlgItemTextA(dialog, IDC_BULB_NAME, name, sizeof name);
    EXPECT_STREQ("Star", name);
    EXPECT_EQ(9, SendDlgItemMessageA(dialog, IDC_BULB_PLACES, CB_GETCOUNT, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_BULB_FLAVORS)));

    change(dialog, gifFile("other", gifOf(40, 40, 2)));
    EXPECT_NE(before, bulbtest::readFile(workingCopy()));
    command(dialog, IDCANCEL);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(nullptr, bulbFactoryWindow());
    EXPECT_EQ(before, bulbtest::readFile(bulb));
    EXPECT_FALSE(bulbtest::exists(workingCopy()));
}

TEST_F(BulbFactory, ChangeSharesIdenticalPicturesAndRefusesA38th) {
    addOnBulb("Full", gifOf(20, 20, 1, 0));
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    // A different GIF in every cell but the last, which keeps the first
    // picture: all 37 entries are then in use.
    std::vector<std::pair<int, int>> cells;
    for (int place = 0; place < kPlaceCount; ++place)
        for (int flavor = 0; flavor < (placeIsSide(place) ? kFlavorCount : 1); ++flavor) cells.push_back({place, flavor});
    ASSERT_EQ(37u, cells.size());
    auto select = [&](std::pair<int, int> cell) {
        choose(dialog, IDC_BULB_PLACES, cell.first);
        if (placeIsSide(cell.first)) choose(dialog, IDC_BULB_FLAVORS, cell.second);
    };
    for (int seed = 1; seed <= 36; ++seed) {
        select(cells[size_t(seed - 1)]);
        change(dialog, gifFile("g" + std::to_string(seed), gifOf(20, 20, 1, seed)));
    }
    EXPECT_TRUE(shown.empty());
    BulbHeader full = factory().header;
    for (const PictureEntry& entry : full.pictures) EXPECT_EQ(1u, entry.references);

    // The 38th picture: refused, and the header copy and counts stay as they were.
    select(cells[36]);
    change(dialog, gifFile("g38", gifOf(20, 20, 1, 38)));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Cannot Import GIF File", shown[0].title);
    EXPECT_EQ(serializeBulbHeader(full), serializeBulbHeader(factory().header));

    // A GIF already in the bulb is reused: one entry, two references; the
    // picture it replaced is free again.
    change(dialog, gifFile("g1-again", gifOf(20, 20, 1, 1)));
    EXPECT_EQ(1u, shown.size());
    EXPECT_EQ(2u, factory().header.pictures[full.listPicture].references);
    EXPECT_EQ(0u, factory().header.pictures[0].references);
    std::vector<uint8_t> written = bulbtest::readFile(workingCopy());
    written.resize(kBulbHeaderSize);
    EXPECT_EQ(serializeBulbHeader(factory().header), written);
}

TEST_F(BulbFactory, SavePacksFlavorsAndCountsFromTheCells) {
    std::string bulb = addOnBulb("Rows", gifOf(20, 20, 1));
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    choose(dialog, IDC_BULB_PLACES, 1);  // top side
    choose(dialog, IDC_BULB_FLAVORS, 1);
    change(dialog, gifFile("two", gifOf(20, 20, 2)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_BULB_REMOVE_FLAVOR)));
    choose(dialog, IDC_BULB_FLAVORS, 2);
    change(dialog, gifFile("three", gifOf(20, 20, 3)));
    choose(dialog, IDC_BULB_FLAVORS, 1);
    command(dialog, IDC_BULB_REMOVE_FLAVOR);
    // A count gone wrong in the working copy is put right by Save.
    factory().header.pictures[0].references = 0;
    SetDlgItemTextA(dialog, IDC_BULB_NAME, "Rows Renamed");
    command(dialog, IDOK);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(shown.empty());
    BulbHeader saved = headerOf(bulb);
    EXPECT_STREQ("Rows Renamed", saved.name);
    EXPECT_EQ(saved.flavors[0][0], 0);
    EXPECT_NE(kNoPicture, saved.flavors[0][1]);
    EXPECT_EQ(kNoPicture, saved.flavors[0][2]);
    EXPECT_EQ(9u, saved.pictures[0].references);
    EXPECT_EQ(1u, saved.pictures[saved.flavors[0][1]].references);
    int stored = 0;
    for (const PictureEntry& entry : saved.pictures) stored += entry.size != 0;
    EXPECT_EQ(2, stored) << "the removed flavor's picture is dropped";
    EXPECT_FALSE(bulbtest::exists(workingCopy()));
    EXPECT_STREQ("Rows Renamed", findBulbById(kBulbId)->name()) << "the bulb is reloaded";
    EXPECT_EQ(0, rebuilds) << "the bulb is not on screen";
}

TEST_F(BulbFactory, SavingABulbOnScreenRebuildsTheBulbWindows) {
    addOnBulb("Shown", gifOf(20, 20, 1));
    FlashState saved = flashState();
    flashState().arrangement[2][3] = kBulbId;
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    choose(dialog, IDC_BULB_PLACES, 3);  // right side
    change(dialog, gifFile("new", gifOf(20, 20, 2)));
    command(dialog, IDOK);
    flashState() = saved;
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(1, rebuilds);
}

TEST_F(BulbFactory, AFailedOpeningNeverSavesOverTheBulb) {
    std::string bulb = addOnBulb("Changed", gifOf(20, 20, 1));
    // The file changes on disk after it was loaded: its header is now outside data.
    std::vector<uint8_t> bytes = bulbtest::readFile(bulb);
    int32_t bad = 40;
    memcpy(bytes.data() + 360, &bad, 4);  // a corner picture 40
    bulbtest::writeFile(bulb, bytes);
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    EXPECT_EQ("Edit Categories", title(dialog));
    command(dialog, IDOK);
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Cannot Save Bulb", shown[0].title);
    EXPECT_EQ("Sorry, the bulb could not be saved. The bulb file has not been changed.", shown[0].text);
    EXPECT_TRUE(IsWindow(dialog)) << "the editor stays open";
    EXPECT_EQ(bytes, bulbtest::readFile(bulb));
}

TEST_F(BulbFactory, ASaveThatCannotReplaceTheFileReportsItAndKeepsTheEditor) {
    std::string bulb = addOnBulb("Held", gifOf(20, 20, 1));
    std::vector<uint8_t> before = bulbtest::readFile(bulb);
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    unique_file held(CreateFileA(bulb.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    command(dialog, IDOK);
    held.reset();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Cannot Save Bulb", shown[0].title);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(bulbtest::exists(workingCopy()));
    EXPECT_EQ(before, bulbtest::readFile(bulb));
    // Once the file is free, Save goes through.
    command(dialog, IDOK);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(1u, shown.size());
}

TEST_F(BulbFactory, AForeignBulbsSaveRewritesItsCategoriesAndDropsRegionCaches) {
    findOrCreateCategory("Lights");
    std::string bulb = addOnBulb("Foreign", gifOf(20, 20, 1), 1);
    uint8_t region[48] = {};
    ASSERT_NE(0u, storeRegionBlock(bulb.c_str(), 0, region, sizeof region));
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    EXPECT_EQ("Edit Categories", title(dialog));
    HWND list = GetDlgItem(dialog, IDC_BULB_CATEGORIES);
    ASSERT_EQ(1, SendMessageA(list, LB_GETCOUNT, 0, 0)) << "hidden categories are not offered";
    EXPECT_EQ(0, SendMessageA(list, LB_GETITEMDATA, 0, 0));
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SendMessageA(list, WM_CHAR, ' ', 0);
    EXPECT_EQ(1, SendMessageA(list, LB_GETITEMDATA, 0, 0));
    command(dialog, IDOK);
    EXPECT_FALSE(IsWindow(dialog));
    BulbHeader saved = headerOf(bulb);
    for (uint32_t offset : saved.regions) EXPECT_EQ(0u, offset);
    std::vector<uint8_t> bytes = bulbtest::readFile(bulb);
    EXPECT_EQ("Lights", readCategoryList(saved, bytes.data(), bytes.size()));
    EXPECT_EQ(1u, saved.foreign) << "only the categories change";
    EXPECT_STREQ("Lights", findBulbById(kBulbId)->categoryText());
    EXPECT_TRUE(findCategory("Lights")->isMember(kBulbId));
}

TEST_F(BulbFactory, ABuiltInBulbsCategoriesGoToTheSettings) {
    createBuiltInBulbs();
    BulbObject* bulb = findBulbById(0);
    ASSERT_TRUE(bulb);
    HWND dialog = open(0);
    ASSERT_TRUE(dialog);
    EXPECT_EQ("Edit Categories", title(dialog));
    EXPECT_FALSE(bulbtest::exists(workingCopy()));
    HWND list = GetDlgItem(dialog, IDC_BULB_CATEGORIES);
    int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    ASSERT_GT(count, 1);
    // Tick every category the bulb is not in yet.
    std::vector<std::string> expected;
    std::string firstNew;
    for (int i = 0; i < count; ++i) {
        char name[260] = {};
        SendMessageA(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(name));
        if (!SendMessageA(list, LB_GETITEMDATA, WPARAM(i), 0)) {
            SendMessageA(list, LB_SETCURSEL, WPARAM(i), 0);
            SendMessageA(list, WM_CHAR, ' ', 0);
            if (firstNew.empty()) firstNew = name;
        }
        expected.push_back(name);
    }
    ASSERT_FALSE(firstNew.empty());
    command(dialog, IDOK);
    EXPECT_FALSE(IsWindow(dialog));
    char stored[260] = {};
    ASSERT_TRUE(getIncludedBulbCategories(bulb->name(), stored));
    std::vector<CategoryItem> items;
    for (const std::string& name : expected) items.push_back({name, true});
    EXPECT_EQ(categoryListText(items), stored);
    EXPECT_TRUE(findCategory(firstNew.c_str())->isMember(0)) << "the bulb joined its new categories";
}

TEST_F(BulbFactory, ThePreviewShowsTheSquareFramedAndTheRestDithered) {
    addOnBulb("Look", gifOf(60, 50, 1));  // red, one green pixel
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    int width = 0, height = 0;
    std::vector<uint32_t> pixels = previewPixels(width, height);
    const BulbHeader& h = factory().header;
    PreviewLayout layout = previewLayout(width, height, 60, 50, h.previewLeft, h.previewTop);
    auto at = [&](int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; };
    constexpr uint32_t kRed = 0xFF0000, kBlack = 0, kWhite = 0xFFFFFF;
    const Box& q = layout.square;
    EXPECT_EQ(kBlack, at(q.left, q.top));
    EXPECT_EQ(kBlack, at(q.right - 1, q.bottom - 1));
    EXPECT_EQ(kWhite, at(q.left - 1, q.top - 1));
    EXPECT_EQ(kWhite, at(q.right, q.bottom));
    EXPECT_EQ(kRed, at(q.left + 5, q.top + 5));
    // Outside the square the picture is ANDed with the grey checkerboard of
    // "DITHER": two darker reds; inside it stays red.
    std::set<uint32_t> dimmed;
    for (int y = layout.frame.top + 1; y < q.top - 1; ++y)
        for (int x = layout.frame.left + 2; x < layout.frame.right; ++x) dimmed.insert(at(x, y));
    EXPECT_EQ(2u, dimmed.size());
    for (uint32_t v : dimmed) {
        EXPECT_EQ(0u, v & 0x00FFFF) << std::hex << v;
        EXPECT_GT(v, 0u);
        EXPECT_LT(v, kRed);
    }
    for (int y = q.top + 1; y < q.bottom - 1; ++y)
        for (int x = q.left + 1; x < q.right - 1; ++x)
            if (at(x, y) != kRed) ADD_FAILURE() << "inside the square at " << x << "," << y;

    // An empty flavor shows the explanation: dark text on white, no picture.
    choose(dialog, IDC_BULB_PLACES, 1);
    choose(dialog, IDC_BULB_FLAVORS, 4);
    pixels = previewPixels(width, height);
    int text = 0, picture = 0;
    for (uint32_t p : pixels) {
        text += p != kWhite && p != kRed;
        picture += p == kRed;
    }
    EXPECT_GT(text, 200);
    EXPECT_EQ(0, picture);
}

TEST_F(BulbFactory, PressesAndMovesFollowTheDragRule) {
    addOnBulb("Drag", gifOf(60, 50, 1));
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    HWND preview = GetDlgItem(dialog, IDC_BULB_PREVIEW);
    const FactoryState& s = factory();
    int w = s.previewRect.right, h = s.previewRect.bottom;
    auto expect = [&](int x, int y) {
        SquareSpot spot = squareForPoint(x, y, 60, 50, w, h);
        EXPECT_EQ(spot.left, s.header.previewLeft) << x << "," << y;
        EXPECT_EQ(spot.top, s.header.previewTop) << x << "," << y;
    };
    SendMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w / 2 - 10, h / 2 - 8));
    expect(w / 2 - 10, h / 2 - 8);
    SendMessageA(preview, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(w / 2 + 13, h / 2 + 9));
    expect(w / 2 + 13, h / 2 + 9);
    // Left of and above the control: stops at the frame's edge.
    SendMessageA(preview, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-40, -3));
    EXPECT_EQ(0, s.header.previewLeft);
    EXPECT_EQ(0, s.header.previewTop);
    SendMessageA(preview, WM_LBUTTONUP, 0, MAKELPARAM(-40, -3));
    // Without the button the square stays.
    SendMessageA(preview, WM_MOUSEMOVE, 0, MAKELPARAM(w / 2, h / 2));
    EXPECT_EQ(0, s.header.previewLeft);
    command(dialog, IDCANCEL);

    destroyAllBulbs();
    addOnBulb("Small", gifOf(20, 20, 1));
    dialog = open();
    ASSERT_TRUE(dialog);
    preview = GetDlgItem(dialog, IDC_BULB_PREVIEW);
    for (int x : {0, w / 2, w - 1})
        for (int y : {0, h / 2, h - 1}) {
            SendMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            EXPECT_EQ(0, s.header.previewLeft);
            EXPECT_EQ(0, s.header.previewTop);
            SendMessageA(preview, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        }
}

TEST_F(BulbFactory, HelpForAControlOpensItsPopUpTopic) {
    addOnBulb("Help", gifOf(20, 20, 1));
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    HELPINFO info{sizeof info, HELPINFO_WINDOW, IDC_BULB_CHANGE, GetDlgItem(dialog, IDC_BULB_CHANGE), 0, {0, 0}};
    SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_EQ(1u, help.size());
    EXPECT_EQ(UINT(HELP_CONTEXTPOPUP), help[0].first);
    EXPECT_EQ(ULONG_PTR(2203), help[0].second);

    // Through the program's own opener: no help file here, so its message once.
    BulbFactoryHost host;
    host.resources = programPictures();
    host.openHelp = [](HWND owner, UINT command, ULONG_PTR data) { openHelp(owner, command, data); };
    setBulbFactoryHost(host);
    SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Lumarel Help Files Missing", shown[0].title);
}

TEST_F(BulbFactory, TheTickAnimatesOnlyPlacesOtherThanTheListPreview) {
    addOnBulb("Tick", gifOf(20, 20, 1, 0, 3));
    HWND dialog = open();
    ASSERT_TRUE(dialog);
    bulbFactoryAnimationStep();
    EXPECT_EQ(0, factory().animation);
    choose(dialog, IDC_BULB_PLACES, 5);  // a corner
    bulbFactoryAnimationStep();
    bulbFactoryAnimationStep();
    EXPECT_EQ(2, factory().animation);
    cancelBulbFactory();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(bulbtest::exists(workingCopy()));
    bulbFactoryAnimationStep();  // nothing left to step
}

}  // namespace

// A shipped bulb in a program folder that takes no writes: the editor works
// in the user's folder and Save makes the user's own copy, which the bulb
// reads from then on; the shipped file stays as it was.
TEST_F(BulbFactory, SavingAShippedBulbOfAReadOnlyProgramFolderMakesTheUsersOwnCopy) {
    lumarel_test::TempFolder programRoot("lumarel-factory-program"), appData("lumarel-factory-appdata");
    const std::string shipped = programRoot / "Lumarel Bulbs\\", mine = appData / "Lumarel\\Lumarel Bulbs\\";
    CreateDirectoryA(shipped.c_str(), nullptr);
    DataRoots roots{programRoot.path() + "\\", appData / "Lumarel\\", false};
    setDataRootsForTests(&roots);
    setBulbFolderForTests(nullptr);
    folder = shipped;
    std::string original = addOnBulb("Star", gifOf(40, 40, 1));
    std::vector<uint8_t> before = bulbtest::readFile(original);

    HWND dialog = open();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(bulbtest::exists(mine + kWorkingCopyName)) << "the working copy is made in the user's folder";
    SetDlgItemTextA(dialog, IDC_BULB_NAME, "My Star");
    command(dialog, IDOK);
    EXPECT_TRUE(shown.empty()) << (shown.empty() ? "" : shown[0].text);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(before, bulbtest::readFile(original)) << "the shipped file is untouched";
    ASSERT_TRUE(bulbtest::exists(mine + "Star.bul"));
    EXPECT_STREQ(headerOf(mine + "Star.bul").name, "My Star");
    BulbObject* bulb = findBulbById(kBulbId);
    ASSERT_NE(bulb, nullptr);
    EXPECT_EQ(bulb->filePath(), mine + "Star.bul");
    EXPECT_STREQ(bulb->name(), "My Star") << "the bulb reads its new file";
    EXPECT_FALSE(bulbtest::exists(mine + kWorkingCopyName));
    destroyAllBulbs();  // before the folders go
}
