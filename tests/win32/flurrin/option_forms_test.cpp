// The option forms, made in this process and driven through their controls.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include <jpeglib.h>

#include "frame/saver.h"
#include "scene/dib_surface.h"
#include "settings/about.h"
#include "settings/control_ids.h"
#include "settings/custom_list.h"
#include "settings/device_names.h"
#include "settings/get_folder.h"
#include "settings/options.h"
#include "settings/preview_fit.h"
#include "test_support.h"

namespace flurrin {
namespace {

using testing::CapturedMessages;
using testing::MemoryStore;
using Paths = std::vector<std::string>;

std::string text_of(HWND control) {
    char buffer[512] = {};
    GetWindowTextA(control, buffer, sizeof buffer);
    return buffer;
}

void click(HWND form, int id) { SendMessageA(GetDlgItem(form, id), BM_CLICK, 0, 0); }
bool is_checked(HWND form, int id) { return SendMessageA(GetDlgItem(form, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
int scroll_pos(HWND form, int id) { return int(SendMessageA(GetDlgItem(form, id), SBM_GETPOS, 0, 0)); }
void key(HWND control, WPARAM vk) { SendMessageA(control, WM_KEYDOWN, vk, 0); SendMessageA(control, WM_KEYUP, vk, 0); }

// The options form with a list opener the test plays the user of.
struct OptionsFixture : ::testing::Test {
    Settings settings;
    MemoryStore store;
    std::vector<const OptionPair*> opened;
    std::function<void(const OptionPair&)> user = [](const OptionPair&) {};
    std::unique_ptr<OptionsForm> form;

    HWND load() {
        form = std::make_unique<OptionsForm>(settings, &store, [this](HWND, const OptionPair& pair) {
            opened.push_back(&pair);
            EXPECT_TRUE(form->busy());
            user(pair);
        });
        EXPECT_TRUE(form->load());
        form->show();
        return form->hwnd();
    }
};

TEST_F(OptionsFixture, EveryBoxWritesItsOwnSettingAtOnce) {
    HWND f = load();
    EXPECT_EQ(text_of(f), "Flurrin - Configuration");
    struct Box {
        int id;
        int32_t Settings::*value;
    } boxes[] = {{ids::kRandomMusic, &Settings::random_music},   {ids::kMuteAudio, &Settings::mute_audio},
                 {ids::kSaveWallpaper, &Settings::save_wallpaper}, {ids::kShowTime, &Settings::show_time},
                 {ids::kScaleBackground, &Settings::scale_background},
                 {ids::kRandomPictures, &Settings::random_pictures}, {ids::kObjectsOff, &Settings::objects_off}};
    for (const Box& box : boxes) {
        Settings before = settings;
        int32_t was = settings.*box.value;
        EXPECT_EQ(is_checked(f, box.id), was == 1) << box.id;
        click(f, box.id);
        EXPECT_EQ(settings.*box.value, 1 - was) << "box " << box.id << " " << text_of(GetDlgItem(f, box.id));
        // Nothing else moved.
        before.*box.value = settings.*box.value;
        for (const Box& other : boxes) EXPECT_EQ(before.*other.value, settings.*other.value) << box.id;
    }
    EXPECT_EQ(text_of(GetDlgItem(f, ids::kMuteAudio)), "Mute All Audio");
    EXPECT_EQ(form->tip(ids::kMuteAudio), " Check this box to turn all audio OFF during the screen saver");
    EXPECT_TRUE(opened.empty());
}

TEST_F(OptionsFixture, ScrollBarsStayInTheirRangesAndTheLabelFollows) {
    HWND f = load();
    struct Bar {
        int id;
        int32_t Settings::*value;
        int low, high;
    } bars[] = {{ids::kFrameRate, &Settings::frame_rate, 10, 60},
                {ids::kMouseSensitivity, &Settings::mouse_sensitivity, 2, 50},
                {ids::kSpriteActive, &Settings::sprite_active, 1, 300},
                {ids::kSceneDuration, &Settings::scene_duration, 10, 180}};
    for (const Bar& bar : bars) {
        HWND control = GetDlgItem(f, bar.id);
        key(control, VK_END);
        EXPECT_EQ(scroll_pos(f, bar.id), bar.high) << bar.id;
        EXPECT_EQ(settings.*bar.value, bar.high) << bar.id;
        key(control, VK_RIGHT);
        EXPECT_EQ(settings.*bar.value, bar.high) << bar.id;
        key(control, VK_HOME);
        EXPECT_EQ(settings.*bar.value, bar.low) << bar.id;
        key(control, VK_LEFT);
        key(control, VK_PRIOR);
        EXPECT_EQ(settings.*bar.value, bar.low) << bar.id;
        key(control, VK_RIGHT);
        EXPECT_EQ(settings.*bar.value, bar.low + 1) << bar.id;
    }
    EXPECT_EQ(text_of(GetDlgItem(f, ids::kFrameRateLabel)), "11 Frames Per Second");
    SendMessageA(f, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 37), reinterpret_cast<LPARAM>(GetDlgItem(f, ids::kFrameRate)));
    EXPECT_EQ(settings.frame_rate, 37);
    EXPECT_EQ(text_of(GetDlgItem(f, ids::kFrameRateLabel)), "37 Frames Per Second");
}

TEST_F(OptionsFixture, ValuesOutsideTheBarsAreShownHeldAndStoredSo) {
    settings.scene_duration = 3;
    settings.frame_rate = 75;
    HWND f = load();
    EXPECT_EQ(scroll_pos(f, ids::kSceneDuration), 10);
    EXPECT_EQ(scroll_pos(f, ids::kFrameRate), 60);
    EXPECT_EQ(text_of(GetDlgItem(f, ids::kFrameRateLabel)), "60 Frames Per Second");
    form->close();
    EXPECT_FALSE(form->loaded());
    EXPECT_EQ(store.values["Options/scene_duration"], "10");
    EXPECT_EQ(store.values["Options/frame_rate"], "60");
    EXPECT_EQ(store.values["Options/custom_picture_files_total"], "0");
}

TEST_F(OptionsFixture, LoadingOpensNoListForm) {
    settings.custom_music_flag = 1;
    settings.custom_picture_flag = 1;
    settings.custom_audio_paths = {"C:\\a.mid"};
    settings.custom_picture_paths = {"C:\\a.bmp"};
    HWND f = load();
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(is_checked(f, ids::kCustomMusic));
    EXPECT_TRUE(is_checked(f, ids::kCustomPictures));
    EXPECT_FALSE(is_checked(f, ids::kIncludedPictures));
    // Clicking the chosen button again is no change; a double click reopens.
    click(f, ids::kCustomPictures);
    EXPECT_TRUE(opened.empty());
    SendMessageA(GetDlgItem(f, ids::kCustomPictures), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(GetDlgItem(f, ids::kCustomPictures), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]->list, kPictureOption.list);
    EXPECT_EQ(settings.custom_picture_flag, 1);  // the list is still there
}

TEST_F(OptionsFixture, AnEmptyListFallsBackToTheIncludedMediaForBothPairs) {
    HWND f = load();
    for (int custom : {ids::kCustomPictures, ids::kCustomMusic}) {
        opened.clear();
        click(f, custom);
        ASSERT_EQ(opened.size(), 1u) << custom;
        EXPECT_FALSE(form->busy());
        EXPECT_TRUE(is_checked(f, custom - 1)) << "back on the included media";
        EXPECT_FALSE(is_checked(f, custom));
    }
    EXPECT_EQ(settings.custom_picture_flag, 0);
    EXPECT_EQ(settings.custom_music_flag, 0);
    EXPECT_EQ(opened[0]->list, kMusicOption.list);

    // With entries the choice stays; choosing the included media again opens nothing.
    user = [this](const OptionPair& pair) { (settings.*pair.list) = {"C:\\x.gif"}; };
    opened.clear();
    click(f, ids::kCustomPictures);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(settings.custom_picture_flag, 1);
    EXPECT_TRUE(is_checked(f, ids::kCustomPictures));
    click(f, ids::kIncludedPictures);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(settings.custom_picture_flag, 0);
    EXPECT_EQ(settings.custom_picture_paths.size(), 1u);  // the list is kept for later
}

TEST(DeviceNamesForm, BoxesWriteAtOnceAndDefaultsRestoreAllThree) {
    Settings settings;
    settings.midi_devicename = "MySynth";
    DeviceNamesForm form(settings);
    ASSERT_TRUE(form.load());
    HWND f = form.hwnd();
    EXPECT_EQ(text_of(f), "Audio Device Types");
    EXPECT_EQ(text_of(GetDlgItem(f, ids::kMidiDevice)), "MySynth");
    SetWindowTextA(GetDlgItem(f, ids::kMidiDevice), "Other");
    SetWindowTextA(GetDlgItem(f, ids::kWavDevice), "Wave2");
    SetWindowTextA(GetDlgItem(f, ids::kMp3Device), "");
    EXPECT_EQ(settings.midi_devicename, "Other");
    EXPECT_EQ(settings.wav_devicename, "Wave2");
    EXPECT_EQ(settings.mp3_devicename, "");
    click(f, ids::kDefaults);
    EXPECT_EQ(settings.midi_devicename, "Sequencer");
    EXPECT_EQ(settings.wav_devicename, "WaveAudio");
    EXPECT_EQ(settings.mp3_devicename, "MPEGVideo");
    click(f, ids::kDevicesOk);
    EXPECT_FALSE(form.loaded());
}

TEST(AboutForm, ShowsTheNameAndTheVersionOfTheProgram) {
    AboutForm form;
    ASSERT_TRUE(form.load());
    EXPECT_EQ(text_of(form.hwnd()), "About... Flurrin");
    EXPECT_EQ(text_of(GetDlgItem(form.hwnd(), ids::kAboutWelcome)), "Welcome To: Flurrin");
    EXPECT_EQ(text_of(GetDlgItem(form.hwnd(), ids::kAboutVersion)), "Version: " + program_version());
    // The test program has no version; the saver has one of three numbers.
    EXPECT_EQ(program_version(), "");
    HMODULE saver = LoadLibraryExA("bin\\flurrin.scr", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(saver, nullptr) << "run from the build folder";
    std::string version = program_version(saver);
    FreeLibrary(saver);
    int a = -1, b = -1, c = -1;
    char tail = 0;
    EXPECT_EQ(std::sscanf(version.c_str(), "%d.%d.%d%c", &a, &b, &c, &tail), 3) << version;
    SendMessageA(form.hwnd(), WM_COMMAND, IDCANCEL, 0);  // Esc
    EXPECT_FALSE(form.loaded());
}

TEST(GetFolder, BlankAndEscapingNamesMakeNoFolder) {
    std::string dir = testing::temp_dir("newfolder");
    EXPECT_EQ(create_folder(dir, "   "), std::string());
    EXPECT_EQ(create_folder(dir, "..\\outside"), std::nullopt);
    EXPECT_EQ(create_folder(dir, "a:b"), std::nullopt);
    EXPECT_EQ(GetFileAttributesA((dir + "..\\outside").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(create_folder(dir, "  Snow  "), dir + "Snow\\");
    EXPECT_NE(GetFileAttributesA((dir + "Snow").c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryA((dir + "Snow").c_str());
    RemoveDirectoryA(dir.c_str());
}

// A folder of small media files: a BMP, a GIF, a JPEG, a MIDI file and a
// text file the lists must leave out.
class MediaFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        OleInitialize(nullptr);  // as the program does: GIFs load through OLE
        dir_ = testing::temp_dir("listforms");
        DibSurface green;
        ASSERT_TRUE(green.create(40, 20));
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) std::memcpy(green.bits() + size_t(y) * green.stride() + size_t(x) * 3, "\x10\xC0\x20", 3);
        ASSERT_TRUE(save_bitmap_file(green, dir_ + "b_green.bmp"));
        static const char gif[] =
            "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
            "D\x01\x00;";
        testing::write_file(dir_ + "a_red.GIF", std::string(gif, sizeof gif - 1));
        write_jpeg(dir_ + "c_blue.jpg");
        static const char midi[] =
            "MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x0C\0\x90\x3C\x40\x60\x80\x3C\x40\0\xFF\x2F\0";
        testing::write_file(dir_ + "song.mid", std::string(midi, sizeof midi - 1));
        testing::write_file(dir_ + "notes.txt", "not media");
    }
    static void write_jpeg(const std::string& path) {
        FILE* f = fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        jpeg_compress_struct cinfo{};
        jpeg_error_mgr errors{};
        cinfo.err = jpeg_std_error(&errors);
        jpeg_create_compress(&cinfo);
        jpeg_stdio_dest(&cinfo, f);
        cinfo.image_width = 64, cinfo.image_height = 32, cinfo.input_components = 3, cinfo.in_color_space = JCS_RGB;
        jpeg_set_defaults(&cinfo);
        jpeg_start_compress(&cinfo, TRUE);
        std::vector<uint8_t> row(64 * 3);
        for (int x = 0; x < 64; ++x) row[size_t(x) * 3] = 10, row[size_t(x) * 3 + 1] = 20, row[size_t(x) * 3 + 2] = 230;
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW rows[1] = {row.data()};
            jpeg_write_scanlines(&cinfo, rows, 1);
        }
        jpeg_finish_compress(&cinfo);
        jpeg_destroy_compress(&cinfo);
        fclose(f);
    }

    std::unique_ptr<CustomListForm> open(const ListFormWording& wording) {
        auto form = std::make_unique<CustomListForm>(wording, settings);
        form->browser().set_folder_hint(dir_);
        EXPECT_TRUE(form->load());
        form->show();
        return form;
    }
    static Paths list_texts(HWND list) {
        Paths out;
        int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[MAX_PATH] = {};
            SendMessageA(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
            out.push_back(text);
        }
        return out;
    }
    static void select(HWND list, std::initializer_list<int> rows) {
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        for (int row : rows) SendMessageA(list, LB_SETSEL, TRUE, row);
    }
    // A click on a row of the file list, as the list reports it.
    static void click_file(HWND form, int row) {
        HWND files = GetDlgItem(form, ids::kFiles);
        select(files, {row});
        SendMessageA(files, LB_SETCARETINDEX, WPARAM(row), FALSE);
        SendMessageA(form, WM_COMMAND, MAKEWPARAM(ids::kFiles, LBN_SELCHANGE), reinterpret_cast<LPARAM>(files));
    }

    static std::string dir_;
    Settings settings;
    CapturedMessages messages;
};
std::string MediaFolder::dir_;

TEST_F(MediaFolder, ThePictureFormListsPicturesAndAddsThemInFileOrderWithDuplicates) {
    settings.custom_picture_paths = {"C:\\kept.bmp", "", ""};  // a total beyond the stored paths
    auto form = open(kPictureListWording);
    HWND f = form->hwnd();
    EXPECT_EQ(text_of(f), "Flurrin - Picture Selection");
    EXPECT_EQ(list_texts(GetDlgItem(f, ids::kFiles)), (Paths{"a_red.GIF", "b_green.bmp", "c_blue.jpg"}));
    EXPECT_EQ(list_texts(GetDlgItem(f, ids::kList)), (Paths{"C:\\kept.bmp"})) << "empty paths are not shown";
    EXPECT_EQ(form->tip(ids::kFolders), " Select a folder to view the music files available");
    EXPECT_EQ(form->tip(ids::kAddAll), " Add all picture files from this directory");

    select(GetDlgItem(f, ids::kFiles), {2, 0});
    click(f, ids::kAddSelected);
    click(f, ids::kAddSelected);
    click(f, ids::kAddAll);
    Paths expected = {"C:\\kept.bmp",        dir_ + "a_red.GIF", dir_ + "c_blue.jpg",  dir_ + "a_red.GIF",
                      dir_ + "c_blue.jpg",   dir_ + "a_red.GIF", dir_ + "b_green.bmp", dir_ + "c_blue.jpg"};
    EXPECT_EQ(form->entries(), expected);
    EXPECT_EQ(list_texts(GetDlgItem(f, ids::kList)), expected);

    // Removing a selection of rows 0, 3 and 7 keeps the others in order.
    select(GetDlgItem(f, ids::kList), {0, 3, 7});
    click(f, ids::kRemove);
    Paths left = {dir_ + "a_red.GIF", dir_ + "c_blue.jpg", dir_ + "c_blue.jpg", dir_ + "a_red.GIF", dir_ + "b_green.bmp"};
    EXPECT_EQ(form->entries(), left);
    EXPECT_EQ(list_texts(GetDlgItem(f, ids::kList)), left);
    EXPECT_EQ(settings.custom_picture_paths.size(), 3u) << "nothing changes before Ok";
    click(f, ids::kListOk);
    EXPECT_FALSE(form->loaded());
    EXPECT_EQ(settings.custom_picture_paths, left);
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(MediaFolder, CancelAndEscLeaveTheListAlone) {
    settings.custom_picture_paths = {"C:\\one.bmp"};
    auto form = open(kPictureListWording);
    click(form->hwnd(), ids::kAddAll);
    EXPECT_EQ(form->entries().size(), 4u);
    click(form->hwnd(), ids::kListCancel);
    EXPECT_FALSE(form->loaded());
    EXPECT_EQ(settings.custom_picture_paths, (Paths{"C:\\one.bmp"}));

    form = open(kPictureListWording);
    select(GetDlgItem(form->hwnd(), ids::kList), {0});
    click(form->hwnd(), ids::kRemove);
    EXPECT_TRUE(form->entries().empty());
    SendMessageA(form->hwnd(), WM_COMMAND, IDCANCEL, 0);  // what Esc sends
    EXPECT_FALSE(form->loaded());
    EXPECT_EQ(settings.custom_picture_paths, (Paths{"C:\\one.bmp"}));

    form = open(kPictureListWording);
    select(GetDlgItem(form->hwnd(), ids::kList), {0});
    click(form->hwnd(), ids::kRemove);
    click(form->hwnd(), ids::kListOk);
    EXPECT_TRUE(settings.custom_picture_paths.empty()) << "Ok with an empty list stores it empty";
}

TEST_F(MediaFolder, AddingStopsAtTheLimitAndSaysHowManyWereLeftOut) {
    settings.custom_picture_paths.assign(4095, "C:\\x.bmp");
    auto form = open(kPictureListWording);
    click(form->hwnd(), ids::kAddAll);
    EXPECT_EQ(form->entries().size(), 4096u);
    EXPECT_EQ(form->entries().back(), dir_ + "a_red.GIF");
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find("2 file(s) were left out"), std::string::npos) << messages.texts()[0];
}

TEST_F(MediaFolder, EveryPictureKindPreviewsAndAMissingFileLeavesThePreviewEmpty) {
    auto form = open(kPictureListWording);
    const DibSurface& image = form->preview_image();
    struct Shown {
        int width, height;
        COLORREF colour;
    } shown[] = {{1, 1, RGB(255, 0, 0)}, {40, 20, RGB(0x20, 0xC0, 0x10)}, {64, 32, RGB(10, 20, 230)}};
    for (int row = 0; row < 3; ++row) {
        click_file(form->hwnd(), row);
        // Small pictures keep their size, centred in the preview.
        PreviewRect place = fit_preview(shown[row].width, shown[row].height, image.width(), image.height());
        COLORREF c = GetPixel(image.dc(), place.x + place.width / 2, place.y + place.height / 2);
        EXPECT_NEAR(GetRValue(c), GetRValue(shown[row].colour), 24) << row;
        EXPECT_NEAR(GetGValue(c), GetGValue(shown[row].colour), 24) << row;
        EXPECT_NEAR(GetBValue(c), GetBValue(shown[row].colour), 24) << row;
        EXPECT_EQ(GetPixel(image.dc(), place.x - 2, place.y + place.height / 2), RGB(0, 0, 0)) << row;
    }

    // A wide picture shrinks to the preview's width and keeps its shape.
    DibSurface wide;
    ASSERT_TRUE(wide.create(800, 200));
    std::memset(wide.bits(), 0xFF, wide.stride() * 200);
    ASSERT_TRUE(save_bitmap_file(wide, dir_ + "d_wide.bmp"));
    // A file gone since it was listed, and one that is no picture.
    testing::write_file(dir_ + "e_broken.jpg", "no jpeg here");
    testing::write_file(dir_ + "f_gone.bmp", "BM");
    form->browser().set_folder(dir_);
    DeleteFileA((dir_ + "f_gone.bmp").c_str());
    click_file(form->hwnd(), 3);
    int middle = image.height() / 2, band = image.width() / 4 / 2;  // 800 x 200 -> width x width / 4
    EXPECT_EQ(GetPixel(image.dc(), 0, middle), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(image.dc(), image.width() - 1, middle), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(image.dc(), image.width() / 2, middle - band - 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(image.dc(), image.width() / 2, middle + band + 3), RGB(0, 0, 0));
    for (int row : {4, 5}) {
        click_file(form->hwnd(), 3);
        click_file(form->hwnd(), row);
        EXPECT_EQ(GetPixel(image.dc(), image.width() / 2, middle), RGB(0, 0, 0)) << row;
    }
    DeleteFileA((dir_ + "d_wide.bmp").c_str());
    DeleteFileA((dir_ + "e_broken.jpg").c_str());
    EXPECT_TRUE(messages.texts().empty()) << messages.texts()[0];
}

std::string mci(const char* command) {
    char answer[128] = {};
    mciSendStringA(command, answer, sizeof answer, nullptr);
    return answer;
}

TEST_F(MediaFolder, TheMusicFormPlaysAClickedFileAndLeavesNoDeviceOpen) {
    settings.custom_audio_paths = {"C:\\gone.mid"};
    auto form = open(kMusicListWording);
    HWND f = form->hwnd();
    EXPECT_EQ(text_of(f), "Flurrin - Music Selection");
    EXPECT_EQ(list_texts(GetDlgItem(f, ids::kFiles)), (Paths{"song.mid"}));
    EXPECT_EQ(form->tip(ids::kRemove), " Removes the selected file(s) from your music list");
    click_file(f, 0);
    EXPECT_TRUE(form->music_playing());
    EXPECT_EQ(mci("sysinfo all quantity open"), "1");
    click(f, ids::kAddSelected);
    click(f, ids::kListOk);
    EXPECT_FALSE(form->loaded());
    EXPECT_EQ(mci("sysinfo all quantity open"), "0");
    EXPECT_EQ(settings.custom_audio_paths, (Paths{"C:\\gone.mid", dir_ + "song.mid"}));

    // Closed from the caption too, and after a list entry that cannot play.
    form = open(kMusicListWording);
    SendMessageA(GetDlgItem(form->hwnd(), ids::kList), LB_SETCARETINDEX, 1, FALSE);
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(ids::kList, LBN_DBLCLK), 0);
    EXPECT_EQ(mci("sysinfo all quantity open"), "1");
    SendMessageA(GetDlgItem(form->hwnd(), ids::kList), LB_SETCARETINDEX, 0, FALSE);
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(ids::kList, LBN_DBLCLK), 0);
    EXPECT_FALSE(form->music_playing());
    form->close();
    EXPECT_EQ(mci("sysinfo all quantity open"), "0");
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(MediaFolder, AFolderClickShowsItsFilesAndEnterOpensIt) {
    std::string sub = dir_ + "sub\\";
    CreateDirectoryA(sub.c_str(), nullptr);
    testing::write_file(sub + "inner.gif", "GIF89a");
    auto form = open(kPictureListWording);
    HWND f = form->hwnd(), folders = GetDlgItem(f, ids::kFolders);
    EXPECT_EQ(list_texts(folders), (Paths{"..", "sub"}));
    SendMessageA(folders, LB_SETCURSEL, 1, 0);
    SendMessageA(f, WM_COMMAND, MAKEWPARAM(ids::kFolders, LBN_SELCHANGE), reinterpret_cast<LPARAM>(folders));
    EXPECT_EQ(list_texts(GetDlgItem(f, ids::kFiles)), (Paths{"inner.gif"}));
    EXPECT_EQ(form->browser().folder(), sub);
    EXPECT_EQ(list_texts(folders), (Paths{"..", "sub"})) << "the folder list stays until the folder is opened";
    // Entries come from the folder whose files are listed.
    click(f, ids::kAddAll);
    EXPECT_EQ(form->entries(), (Paths{sub + "inner.gif"}));

    // Enter on the folder list opens the chosen folder.
    SetForegroundWindow(f);
    SetActiveWindow(f);
    SetFocus(folders);
    ASSERT_EQ(GetActiveWindow(), f);
    MSG enter{folders, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(Form::dialog_message(enter));
    EXPECT_EQ(list_texts(folders), (Paths{".."}));
    EXPECT_TRUE(form->loaded()) << "Enter opened the folder and did not close the form";
    // Esc is "&Cancel".
    MSG escape{folders, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(Form::dialog_message(escape));
    EXPECT_FALSE(form->loaded());
    EXPECT_TRUE(settings.custom_picture_paths.empty());
    DeleteFileA((sub + "inner.gif").c_str());
    RemoveDirectoryA(sub.c_str());
}

TEST_F(MediaFolder, AnUnreadableFolderLeavesTheListsEmpty) {
    CustomListForm form(kPictureListWording, settings);
    form.browser().set_folder_hint("Q:\\no such folder\\");
    ASSERT_TRUE(form.load());
    EXPECT_EQ(SendMessageA(GetDlgItem(form.hwnd(), ids::kFiles), LB_GETCOUNT, 0, 0), 0);
    click(form.hwnd(), ids::kAddAll);
    EXPECT_TRUE(form.entries().empty());
}

}  // namespace
}  // namespace flurrin
