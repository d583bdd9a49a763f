// The one open editor's state and the pieces of the editor that live in
// their own files (the preview, the category list). Internal to the editor.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/handles.h"
#include "bulbs/bulb_file.h"
#include "bulbs/gif_bitmaps.h"
#include "ui/bulb_factory.h"

namespace lumarel {

struct FactoryState {
    HWND dialog = nullptr;
    bool modal = false;
    int32_t key = -1;
    bool addOn = false;           // the bulb has a file
    bool full = false;            // "Bulb Editing" rather than "Edit Categories"
    bool workingCopyReady = false;  // copied and its header checked
    std::string bulbPath, workingCopy, folder;
    BulbHeader header;            // the working copy's header as edited
    int place = 0, flavor = 0;
    int32_t loadedIndex = -1;     // the picture the preview holds
    GifBitmaps preview;
    int animation = 0;
    bool dragging = false;
    RECT previewRect{};
    unique_hbitmap offscreen;
    unique_hfont font;
    WNDPROC previewProc = nullptr, categoryProc = nullptr;
};

FactoryState& factory();
const BulbFactoryHost& factoryHost();
HINSTANCE factoryResources();

// The preview: loading the cell's picture, drawing it (with the square and
// its dithered surroundings for the list preview) and dragging the square.
void setUpPreview(HWND dialog);
// Loads the picture of the current cell when it differs from the loaded one
// (`force` loads it again anyway); restarts the animation and redraws.
void showCellPicture(bool force = false);
void drawPreview();
void paintPreview(const DRAWITEMSTRUCT& item);
void freePreview();

// The owner-drawn category list with its check boxes, and New Category.
void fillCategoryList(HWND dialog);
void measureCategoryItem(MEASUREITEMSTRUCT& item);
void drawCategoryItem(const DRAWITEMSTRUCT& item);
void askNewCategory(HWND dialog);
// The category text of the checked items.
std::string checkedCategoryText(HWND dialog);

}  // namespace lumarel
