// The Bulb Factory's rules, apart from its dialog: which header cell each
// place edits, what the controls show, where a drag puts the preview square,
// how the category text is built, what a new category may be called, and the
// picture reference counts. No Windows header, so it is tested natively.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bulbs/bulb_file.h"

namespace lumarel {

// The place list in its display order, with the bulb position each edits.
constexpr int kPlaceCount = 9;
constexpr int kFlavorCount = 8;
constexpr int kListPreviewPlace = 0;
struct EditorPlace {
    const char* text;
    int position;  // 0..3 sides, 4..7 corners, 8 list preview
};
// Items outside 0..8 are treated as the list preview.
const EditorPlace& editorPlace(int place);
bool placeIsSide(int place);

// The picture index a place (and, for a side, a flavor 0..7) shows.
int32_t cellOf(const BulbHeader& header, int place, int flavor);

// What the controls show for the current place, flavor and cells.
struct EditorControls {
    bool removeEnabled = false;
    bool flavorListEnabled = false;
    const char* explanation = "";
    const char* hint = "";
    std::array<std::string, kFlavorCount> flavorItems;  // "Flavor 2 *" when set
};
EditorControls editorControls(const BulbHeader& header, int place, int flavor);

// Where the preview square goes for a mouse point (control coordinates, may
// be negative) over a frame of frameWidth × frameHeight centred in a control
// of controlWidth × controlHeight; in frame coordinates.
struct SquareSpot {
    int left = 0, top = 0;
};
SquareSpot squareForPoint(int x, int y, int frameWidth, int frameHeight, int controlWidth, int controlHeight);

// The preview in control coordinates: the centred frame, the square at the
// header's offsets, and the four bands outside the square that are dithered.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Box&) const = default;
};
struct PreviewLayout {
    Box frame;
    Box square;
    std::array<Box, 4> bands;  // above, below, left of and right of the square
};
PreviewLayout previewLayout(int controlWidth, int controlHeight, int frameWidth, int frameHeight, int squareLeft,
                            int squareTop);

// The category list text: checked names in list order joined by "|", ending
// before a name that would bring it to 260 characters or more.
struct CategoryItem {
    std::string name;
    bool checked = false;
};
std::string categoryListText(const std::vector<CategoryItem>& items);

// The name a typed New Category text gives: every "|" a blank, blanks trimmed
// at both ends. Empty when the text may not name a category (nothing left, or
// a hidden name starting with "_").
constexpr size_t kNewCategoryLimit = 39;
std::string newCategoryName(const std::string& typed);

// Reference counts. A count never goes below 0; indices outside 0..36 are
// ignored.
void usePicture(BulbHeader& header, int32_t index);
void releasePicture(BulbHeader& header, int32_t index);
// Puts a picture in the cell of a place and flavor: the old picture loses a
// reference, the new one gains one.
void setCell(BulbHeader& header, int place, int flavor, int32_t index);
// Counts every picture's references again from the cells that name it.
void recountReferences(BulbHeader& header);

// The header of a working copy, with every check a loaded bulb gets (both
// magic values, indices -1 or 0..36, the required cells set). Throws
// BulbFileFailure otherwise.
BulbHeader workingCopyHeader(const uint8_t* file, size_t size);

}  // namespace lumarel
