// Measures, on a full-screen window:
//   - one full-screen BitBlt from a DIB to the window (the reference),
//   - composing and presenting one frame of 180 and of 300 falling objects,
//     by changed rectangles and by the whole buffer,
//   - the most expensive step of each of the twenty transitions,
//   - the picture form's preview of a 1024 x 768 JPEG, a 4000 x 3000 JPEG
//     and a 1024 x 768 BMP, and its "Add All" over 4,096 files,
// and prints each as milliseconds and as a ratio to the reference.
//
//   xvfb-run -s "-screen 0 1920x1080x24" cmake/wine-run build/win64/bin/flurrin_bench.exe
//
// The built-in pack (images.icf/.img) must lie beside the program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include <jpeglib.h>

#include "frame/picture_box.h"
#include "frame/saver.h"
#include "settings/control_ids.h"
#include "settings/custom_list.h"
#include "scene/gdi_drawing.h"
#include "scene/pack.h"
#include "scene/picture_loader.h"
#include "scene/sprites.h"
#include "scene/transitions.h"

using namespace flurrin;

namespace {

double now_ms() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

std::string program_folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

bool load_member(Pack& pack, const std::string& base, int member, PictureBox& into) {
    std::string file = pack.pack_extract(base, member);
    if (file == kPackFailed) return false;
    unique_hbitmap bitmap = load_picture_file(file);
    return bitmap && into.set_picture(bitmap.get());
}

// A 4000 x 3000 photograph-sized JPEG: a smooth gradient with some noise.
bool write_big_jpeg(const std::string& path) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = 4000, cinfo.image_height = 3000, cinfo.input_components = 3, cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(4000 * 3);
    std::mt19937 noise(7);
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = int(cinfo.next_scanline);
        for (int x = 0; x < 4000; ++x) {
            row[size_t(x) * 3] = uint8_t(x / 16 + (noise() & 15));
            row[size_t(x) * 3 + 1] = uint8_t(y / 12);
            row[size_t(x) * 3 + 2] = uint8_t(200 - y / 20);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return fclose(f) == 0;
}

void click(HWND form, int id) { SendMessageA(GetDlgItem(form, id), BM_CLICK, 0, 0); }

// The picture form's costs: previews by file kind, and "Add All".
void bench_picture_form(Pack& pack, const std::string& base, double reference) {
    std::string dir = temp_folder() + "flurrin_bench_previews\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    CopyFileA(pack.pack_extract(base, 1).c_str(), (dir + "a_1024x768.jpg").c_str(), FALSE);  // scene01.jpg
    CopyFileA(pack.pack_extract(base, 3).c_str(), (dir + "b_1024x768.bmp").c_str(), FALSE);  // scene03.bmp
    if (!write_big_jpeg(dir + "c_4000x3000.jpg")) std::printf("could not write the big JPEG\n");
    Settings settings;
    CustomListForm form(kPictureListWording, settings);
    form.browser().set_folder_hint(dir);
    if (!form.load()) return;
    form.show();
    pump();
    HWND files = GetDlgItem(form.hwnd(), ids::kFiles);
    std::printf("\n%-38s %10s %8s\n", "picture form", "ms", "ratio");
    const char* labels[] = {"preview of a 1024 x 768 JPEG", "preview of a 1024 x 768 BMP", "preview of a 4000 x 3000 JPEG"};
    for (int row = 0; row < 3; ++row) {
        const int runs = row == 2 ? 5 : 20;
        double start = now_ms();
        for (int i = 0; i < runs; ++i) {
            SendMessageA(files, LB_SETSEL, FALSE, -1);
            SendMessageA(files, LB_SETSEL, TRUE, row);
            SendMessageA(files, LB_SETCARETINDEX, WPARAM(row), FALSE);
            SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(ids::kFiles, LBN_SELCHANGE), reinterpret_cast<LPARAM>(files));
        }
        GdiFlush();
        double ms = (now_ms() - start) / runs;
        std::printf("%-38s %10.3f %8.2f\n", labels[row], ms, ms / reference);
    }
    form.unload();
    for (const char* name : {"a_1024x768.jpg", "b_1024x768.bmp", "c_4000x3000.jpg"}) DeleteFileA((dir + name).c_str());

    // 4,096 empty picture files: "Add All" lists them all.
    char name[32];
    for (int i = 0; i < kMaxCustomEntries; ++i) {
        std::snprintf(name, sizeof name, "f%04d.bmp", i);
        unique_handle file = create_file((dir + name).c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS);
    }
    form.browser().set_folder_hint(dir);
    if (form.load()) {
        double start = now_ms();
        click(form.hwnd(), ids::kAddAll);
        double ms = now_ms() - start;
        std::printf("%-38s %10.3f %8.2f  (%zu entries)\n", "\"Add All\" on 4,096 files", ms, ms / reference,
                    form.entries().size());
        form.unload();
    }
    for (int i = 0; i < kMaxCustomEntries; ++i) {
        std::snprintf(name, sizeof name, "f%04d.bmp", i);
        DeleteFileA((dir + name).c_str());
    }
    RemoveDirectoryA(dir.c_str());
}

}  // namespace

int main() {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "flurrin bench", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                  nullptr, nullptr, nullptr, nullptr);
    if (!window) return 1;
    pump();

    PictureBox main, work, sprite, mask, picture;
    for (PictureBox* p : {&main, &work, &sprite, &mask, &picture}) p->create(window, 0, 0, 1, 1);
    for (PictureBox* p : {&main, &work, &sprite, &mask, &picture}) ShowWindow(p->hwnd(), SW_HIDE);
    Pack pack(program_folder());
    std::string base = program_folder() + "images";
    pack.pack_open(base);
    if (!load_member(pack, base, 15, sprite) || !load_member(pack, base, 16, mask) || !load_member(pack, base, 1, picture)) {
        std::printf("the built-in pack was not found beside the program\n");
        return 1;
    }
    main.resize_image(width, height);
    work.resize_image(width, height);
    SetStretchBltMode(main.dc(), HALFTONE);
    FitRect fit = fit_picture(0, 0, width, height, picture.width(), picture.height(), 100, 1);
    StretchBlt(main.dc(), int(fit.x), int(fit.y), int(fit.width), int(fit.height), picture.dc(), 0, 0, picture.width(),
               picture.height(), SRCCOPY);
    BitBlt(work.dc(), 0, 0, width, height, main.dc(), 0, 0, SRCCOPY);

    HDC screen = GetDC(window);
    // The reference: one full-screen copy to the window.
    const int reference_runs = 60;
    BitBlt(screen, 0, 0, width, height, work.dc(), 0, 0, SRCCOPY);
    GdiFlush();
    double t0 = now_ms();
    for (int i = 0; i < reference_runs; ++i) BitBlt(screen, 0, 0, width, height, work.dc(), i & 1, 0, SRCCOPY);
    GdiFlush();
    double reference = (now_ms() - t0) / reference_runs;
    std::printf("screen %d x %d\n", width, height);
    std::printf("reference: full-screen BitBlt %.3f ms\n\n", reference);

    std::mt19937 generator(12345);
    auto rnd = [&] { return std::uniform_real_distribution<double>(0, 1)(generator); };
    std::printf("%-38s %10s %8s\n", "frame (compose + present)", "ms", "ratio");
    for (int objects : {180, 300}) {
        for (int mode : {2, 1, 0}) {
            SpriteEngine engine(rnd);
            engine.setup(width, height, {true, true, true, objects}, false);
            // Mode 0 here: changed rectangles composed but not presented, to
            // split the frame's cost between composing and presenting.
            engine.presentation_mode = mode == 0 ? 2 : mode;
            GdiSpriteTarget target(main.dc(), work.dc(), sprite.dc(), mask.dc(), width, height);
            target.set_screen(mode == 0 ? nullptr : screen);
            auto frame = [&] {
                engine.restore_background(target);
                engine.move_objects();
                engine.draw_objects(target);
                engine.present_frame(target);
            };
            for (int i = 0; i < 20; ++i) frame();  // settle
            GdiFlush();
            const int frames = 200;
            double start = now_ms();
            for (int i = 0; i < frames; ++i) frame();
            GdiFlush();
            double ms = (now_ms() - start) / frames;
            char label[64];
            std::snprintf(label, sizeof label, "%d objects, %s", objects, mode == 2   ? "changed rectangles"
                                                                           : mode == 1 ? "whole buffer"
                                                                                       : "composing only");
            std::printf("%-38s %10.3f %8.2f\n", label, ms, ms / reference);
        }
    }

    std::printf("\n%-38s %10s %8s\n", "transition: most expensive step", "ms", "ratio");
    std::vector<int> order = shuffle_blocks(rnd);
    for (int effect = 1; effect <= kEffectCount; ++effect) {
        std::vector<EffectStep> steps = effect_steps(effect, width, height, order);
        size_t heaviest = 0;
        long long most = -1;
        for (size_t i = 0; i < steps.size(); ++i) {
            long long area = 0;
            for (const PieceCopy& c : steps[i].copies) area += (long long)c.width * c.height;
            if (area > most) most = area, heaviest = i;
        }
        const int runs = 20;
        double start = now_ms();
        for (int i = 0; i < runs; ++i) copy_step(steps[heaviest], main.dc(), screen);
        GdiFlush();
        double ms = (now_ms() - start) / runs;
        char label[64];
        std::snprintf(label, sizeof label, "effect %2d (step %zu of %zu, %lld px)", effect, heaviest + 1, steps.size(), most);
        std::printf("%-38s %10.3f %8.2f\n", label, ms, ms / reference);
    }
    ReleaseDC(window, screen);
    bench_picture_form(pack, base, reference);
    DestroyWindow(window);
    return 0;
}
