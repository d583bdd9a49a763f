#include "saver/screen_saver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/failure.h"
#include "base/handles.h"
#include "base/data_folders.h"
#include "base/text.h"
#include "engine/bitmap.h"
#include "engine/engine_context.h"
#include "engine/palette.h"
#include "saver/animation_table.h"
#include "saver/saver_modules.h"
#include "saver/saver_picture.h"
#include "saver/scene_layout.h"
#include "ui/settings_store.h"

namespace lumarel {
namespace {

class LibraryRandom : public RandomSource {
public:
    int next() override { return rand(); }
};

RandomSource*& chosenRandom() {
    static RandomSource* random = nullptr;
    return random;
}

RandomSource& sceneRandom() {
    static LibraryRandom library;
    return chosenRandom() ? *chosenRandom() : library;
}

// An off-screen buffer of the saver area with the drawing tools selected.
struct SceneBuffer {
    Surface surface;
    unique_gdi<HPEN> pen;
    unique_hfont font;
    std::unique_ptr<SelectObjectScope> penScope, brushScope, fontScope;
    std::unique_ptr<SelectPaletteScope> paletteScope;

    SceneBuffer(HDC compatible, int width, int height, HPALETTE palette)
        : surface(compatible, unique_hbitmap(CreateCompatibleBitmap(compatible, width, height))),
          pen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255))) {
        check(bool(pen));
        penScope = std::make_unique<SelectObjectScope>(surface.get(), pen.get());
        brushScope = std::make_unique<SelectObjectScope>(surface.get(), GetStockObject(WHITE_BRUSH));
        if (palette) paletteScope = std::make_unique<SelectPaletteScope>(surface.get(), palette, true);
        PatBlt(surface.get(), 0, 0, width, height, BLACKNESS);
    }
    ~SceneBuffer() {
        fontScope.reset();
        paletteScope.reset();
        brushScope.reset();
        penScope.reset();
    }
    HDC get() const { return surface.get(); }
    void selectFont(unique_hfont made) {
        fontScope.reset();
        font = std::move(made);
        fontScope = std::make_unique<SelectObjectScope>(surface.get(), font.get());
    }
};

int CALLBACK noteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool fontFamilyInstalled(HDC dc, const char* face) {
    LOGFONTA query{};
    query.lfCharSet = DEFAULT_CHARSET;
    boundedCopy(query.lfFaceName, sizeof query.lfFaceName, face);
    bool found = false;
    EnumFontFamiliesExA(dc, &query, noteFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The stored record, or the default where it is beyond what the font dialog
// gives.
MessageFont messageFont(HDC dc, COLORREF& colour) {
    MessageFont font;
    try {
        getMessageFont(font, colour);
    } catch (...) {
        font = MessageFont{};
        colour = RGB(255, 255, 255);
    }
    const bool sane = font.height > -1000 && font.height < 1000 && font.width >= 0 && font.width < 1000 &&
                      font.weight >= 0 && font.weight <= 1000;
    if (!sane || !fontFamilyInstalled(dc, font.faceName)) {
        font = MessageFont{};
        boundedCopy(font.faceName, sizeof font.faceName, "Arial");
        font.height = -48;
        font.weight = 700;
    }
    return font;
}

constexpr UINT kTextFormat = DT_WORDBREAK | DT_CENTER | DT_NOPREFIX;

class SaverScene : public SaverCanvas {
public:
    SaverScene(EngineContext& context, HWND window) : context_(context), window_(window) {}

    void start();
    HDC backBuffer() override { return back_ ? back_->get() : nullptr; }
    void stepFrame(bool advance, BulbWorldSet* worlds) override;
    void finishFrame() override;

private:
    SceneRect saverArea() const;
    void drawPicture(const BackgroundPicture& picture, const int32_t*& centredBottom);

    EngineContext& context_;
    HWND window_;
    SceneRect area_;
    PreviewScale scale_;
    BackgroundPicture picture_;  // only its palette is kept after the start
    std::unique_ptr<SceneBuffer> background_, back_;
    SceneTarget target_;
    std::unique_ptr<ScreenSaverModule> module_;
    char message_[256] = {};
    COLORREF colour_ = RGB(255, 255, 255);
    MessageMotion motion_;
    int32_t pictureBottom_ = 0;
    bool usePalettes_ = false;
};

SceneRect SaverScene::saverArea() const {
    RECT r;
    if (context_.runMode == kRunPreview) {
        GetClientRect(window_, &r);
    } else {
        r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    }
    // The buffers start at the client origin: width = right, height = bottom.
    return {0, 0, r.right > 0 ? r.right : 0, r.bottom > 0 ? r.bottom : 0};
}

void SaverScene::start() {
    area_ = saverArea();
    check(!area_.empty());
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    scale_ = makePreviewScale(context_.runMode == kRunPreview, area_, work.right - work.left, work.bottom - work.top);

    char name[260];
    getPictureName(name);
    picture_ = loadBackgroundPicture(name);

    WindowDc dc(window_);
    check(bool(dc));
    // Palettes matter only on a display of 256 colours; elsewhere selecting
    // and realising them costs every frame and changes nothing.
    usePalettes_ = (GetDeviceCaps(dc.get(), RASTERCAPS) & RC_PALETTE) != 0;
    if (usePalettes_ && picture_.palette) SelectPaletteScope realise(dc.get(), picture_.palette.get(), true);
    HPALETTE palette = usePalettes_ ? programPalette(context_) : nullptr;
    background_ = std::make_unique<SceneBuffer>(dc.get(), area_.right, area_.bottom, palette);
    back_ = std::make_unique<SceneBuffer>(dc.get(), area_.right, area_.bottom, palette);

    MessageFont font = messageFont(back_->get(), colour_);
    LOGFONTA logical{};
    logical.lfHeight = scale_.y(font.height);
    logical.lfWidth = scale_.x(font.width);
    logical.lfEscapement = font.escapement;
    logical.lfOrientation = font.orientation;
    logical.lfWeight = font.weight;
    logical.lfItalic = font.italic;
    logical.lfUnderline = font.underline;
    logical.lfStrikeOut = font.strikeOut;
    logical.lfCharSet = font.charSet;
    logical.lfOutPrecision = font.outPrecision;
    logical.lfClipPrecision = font.clipPrecision;
    logical.lfQuality = font.quality;
    logical.lfPitchAndFamily = font.pitchAndFamily;
    boundedCopy(logical.lfFaceName, sizeof logical.lfFaceName, font.faceName);
    unique_hfont made(CreateFontIndirectA(&logical));
    check(bool(made));
    back_->selectFont(std::move(made));
    SetBkMode(back_->get(), TRANSPARENT);

    target_.background = background_->get();
    target_.back = back_->get();
    target_.area = area_;
    target_.preview = context_.runMode == kRunPreview;
    target_.scale = scale_;
    target_.random = &sceneRandom();
    target_.resources = context_.resources();
    char module[260];
    getSaverModule(module);
    module_ = makeModule(module, target_);

    getSaverMessage(message_);
    int32_t textHeight = 0;
    if (message_[0]) {
        const SceneRect band = messageBand(area_);
        RECT measure{band.left, band.top, band.right, band.top};
        DrawTextA(back_->get(), message_, -1, &measure, kTextFormat | DT_CALCRECT);
        textHeight = measure.bottom - measure.top;
    }
    const int32_t* centredBottom = nullptr;
    drawPicture(picture_, centredBottom);
    motion_ = layoutMessage(area_, textHeight, centredBottom);
    // Only the palette is needed from here on.
    picture_.bitmap.reset();

    SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);
}

void SaverScene::drawPicture(const BackgroundPicture& picture, const int32_t*& centredBottom) {
    if (!picture.bitmap || picture.width <= 0 || picture.height <= 0) return;
    HDC to = background_->get();
    MemoryDc from(to, picture.bitmap->handle());
    SetStretchBltMode(to, COLORONCOLOR);
    const int32_t w = std::max(scale_.x(picture.width), 1), h = std::max(scale_.y(picture.height), 1);
    switch (getPictureDisplayType()) {
    case kTile: {
        StretchBlt(to, area_.left, area_.top, w, h, from.get(), 0, 0, picture.width, picture.height, SRCCOPY);
        // Each copy doubles what is covered, so a tiny picture costs few blits.
        for (int32_t done = w; done < area_.width(); done *= 2)
            BitBlt(to, area_.left + done, area_.top, std::min(done, area_.width() - done), h, to, area_.left,
                   area_.top, SRCCOPY);
        for (int32_t done = h; done < area_.height(); done *= 2)
            BitBlt(to, area_.left, area_.top + done, area_.width(), std::min(done, area_.height() - done), to,
                   area_.left, area_.top, SRCCOPY);
        break;
    }
    case kStretch:
        StretchBlt(to, area_.left, area_.top, area_.width(), area_.height(), from.get(), 0, 0, picture.width,
                   picture.height, SRCCOPY);
        break;
    default: {
        const Point32 corner = centredPicture(area_, w, h);
        StretchBlt(to, corner.x, corner.y, w, h, from.get(), 0, 0, picture.width, picture.height, SRCCOPY);
        pictureBottom_ = corner.y + h;
        centredBottom = &pictureBottom_;
        break;
    }
    }
}

void SaverScene::stepFrame(bool advance, BulbWorldSet* worlds) {
    BitBlt(back_->get(), 0, 0, area_.right, area_.bottom, background_->get(), 0, 0, SRCCOPY);
    target_.worlds = worlds;
    if (module_) module_->step(advance);
}

void SaverScene::finishFrame() {
    HDC dc = back_->get();
    if (motion_.shown) {
        motion_.step();
        RECT at{motion_.text.left, motion_.text.top, motion_.text.right, motion_.text.bottom};
        SetTextColor(dc, RGB(0, 0, 0));
        DrawTextA(dc, message_, -1, &at, kTextFormat);
        const int lift = target_.preview ? 1 : 2;
        OffsetRect(&at, -lift, -lift);
        SetTextColor(dc, colour_);
        DrawTextA(dc, message_, -1, &at, kTextFormat);
    }
    // The window is another process's and may be gone: its DC is taken for
    // this copy only.
    if (!IsWindow(window_)) return;
    WindowDc screen(window_);
    if (!screen) return;
    SelectPaletteScope palette(screen.get(), usePalettes_ ? picture_.palette.get() : nullptr, true);
    BitBlt(screen.get(), area_.left, area_.top, area_.width(), area_.height(), dc, 0, 0, SRCCOPY);
}

std::unique_ptr<SaverScene>& runningScene() {
    static std::unique_ptr<SaverScene> scene;
    return scene;
}

}  // namespace

void stopScreenSaver() {
    EngineContext& context = bulbContext();
    std::unique_ptr<SaverScene>& scene = runningScene();
    if (!scene) return;
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    context.saverCanvas = nullptr;
    ++context.saverStarts;
    scene.reset();
}

void startScreenSaver(HWND window) {
    stopScreenSaver();
    EngineContext& context = bulbContext();
    if (!window || !IsWindow(window)) return;
    try {
        auto scene = std::make_unique<SaverScene>(context, window);
        scene->start();
        runningScene() = std::move(scene);
        context.saverCanvas = runningScene().get();
        ++context.saverStarts;
    } catch (...) {
        SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    }
}

bool screenSaverRunning() { return runningScene() != nullptr; }

void setSaverRandom(RandomSource* random) { chosenRandom() = random; }

const char* saverAnimationName(int index) {
    return index >= 0 && index < kAnimationEntries ? animationEntry(index).name : nullptr;
}

void saverPicturesFolder(char (&path)[MAX_PATH]) {
    if (!dataWriteFolder(DataKind::Pictures, path)) path[0] = '\0';
}

}  // namespace lumarel
