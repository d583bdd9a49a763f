// The Bulb Factory page's parts, shared by its three files: the page itself
// (bulb_page.cpp), the bulb list with its menu (bulb_list.cpp) and the outer
// boxes with the drag between them (bulb_boxes.cpp).
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/handles.h"
#include "engine/bulb_object.h"
#include "ui/arrangement_edits.h"
#include "ui/bulb_list_rules.h"

namespace lumarel {

struct BulbPageState {
    int32_t current = kNoBulb;  // the bulb last picked in the list or a box
    int filter = kShowAllCommand;
    unique_hfont normalFont, boldFont;
    HCURSOR hand = nullptr, closedHand = nullptr;
};
BulbPageState& bulbPage();

// What the page's messages need of a bulb.
BulbFlags bulbFlags(BulbObject& bulb);
// The arrangement changed: store it, rebuild the bulbs, tell a preview and
// repaint the boxes.
void arrangementChanged(HWND window);
// Enables Edit for the selected bulb.
void updateEditButton(HWND window);

// The bulb list.
void initBulbList(HWND window);
// Refills the list under the current filter and selects the current bulb
// (else the first item).
void fillBulbList(HWND window);
void applyBulbFilter(HWND window, int command);
// Shows every bulb and selects this one.
void selectBulbInList(HWND window, int32_t id);
// The bulb of a list item, or null.
BulbObject* listBulb(HWND window, int item);
void drawBulbListItem(const DRAWITEMSTRUCT& item);
// The bulb menu at a screen point; `bulb` may be null (only "Show").
void openBulbMenu(HWND window, MenuSource source, BulbObject* bulb, POINT screen);
// A command of the bulb menu, for the bulb it was opened on.
void runBulbMenuCommand(HWND window, int command, int32_t id);
void editBulb(HWND window, int32_t id);
void addBulbFromFile(HWND window);
void importDroppedBulb(HWND window, HDROP drop);

// The outer boxes and the drag.
void initOuterBoxes(HWND window);
void drawOuterBox(const DRAWITEMSTRUCT& item);
bool bulbDragActive();
// Ends a drag without a drop: the screen as it was, the DC released.
void cancelBulbDrag();

}  // namespace lumarel
