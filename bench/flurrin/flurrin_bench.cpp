// Measures, on a full-screen window:
//   - one full-screen BitBlt from a DIB to the window (the reference),
//   - composing and presenting one frame of 180 and of 300 falling objects,
//     by changed rectangles and by the whole buffer,
//   - the most expensive step of each of the twenty transitions,
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

#include "frame/picture_box.h"
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
    DestroyWindow(window);
    return 0;
}
