#include "ui/bulb_editor.h"

#include <algorithm>

namespace lumarel {
namespace {

constexpr EditorPlace kPlaces[kPlaceCount] = {
    {"Bulb List Preview", 8}, {"Top Side", 0},          {"Left Side", 3},
    {"Right Side", 1},        {"Bottom Side", 2},       {"Top-Left Corner", 4},
    {"Top-Right Corner", 5},  {"Bottom-Left Corner", 7}, {"Bottom-Right Corner", 6},
};

constexpr const char* kSideExplanation =
    "This animation appears along the edge of the screen. It can have more than one flavor.";

constexpr int kSquareSize = 32;

bool validIndex(int32_t index) { return index >= 0 && index < kPictureCount; }

int32_t& cellRef(BulbHeader& header, int place, int flavor) {
    int position = editorPlace(place).position;
    if (position < 4) return header.flavors[position][std::clamp(flavor, 0, kFlavorCount - 1)];
    if (position < 8) return header.cornerPictures[position - 4];
    return header.listPicture;
}

}  // namespace

const EditorPlace& editorPlace(int place) {
    return kPlaces[place >= 0 && place < kPlaceCount ? place : kListPreviewPlace];
}

bool placeIsSide(int place) { return editorPlace(place).position < 4; }

int32_t cellOf(const BulbHeader& header, int place, int flavor) {
    return cellRef(const_cast<BulbHeader&>(header), place, flavor);
}

EditorControls editorControls(const BulbHeader& header, int place, int flavor) {
    EditorControls c;
    int position = editorPlace(place).position;
    bool filled = cellOf(header, place, flavor) != kNoPicture;
    if (position == 8) {
        c.explanation = "This preview appears in the bulb list. Drag the white square to select the visible portion.";
        c.hint = "Press Change to choose a new animation for the bulb list preview.";
    } else if (position >= 4) {
        c.explanation = "This animation appears in the corner of the screen. It has only one flavor.";
        c.hint = "Press Change to choose a new animation for the corner of the screen.";
    } else {
        c.explanation = kSideExplanation;
        c.flavorListEnabled = true;
        c.removeEnabled = flavor >= 1 && filled;
        c.hint = flavor == 0 ? "Press Change to choose a new animation.\r\n(The first flavor cannot be removed.)"
                 : filled    ? "Press Change to choose a new animation.\r\nPress Remove Flavor to delete this flavor."
                             : "Press Change to choose a new animation.";
    }
    for (int f = 0; f < kFlavorCount; ++f) {
        bool set = position < 4 && header.flavors[position][f] != kNoPicture;
        c.flavorItems[size_t(f)] = "Flavor " + std::to_string(f + 1) + (set ? " *" : "");
    }
    return c;
}

SquareSpot squareForPoint(int x, int y, int frameWidth, int frameHeight, int controlWidth, int controlHeight) {
    const int s = std::min(frameWidth, kSquareSize), t = std::min(frameHeight, kSquareSize);
    // Centre the square on the point, inside the control...
    auto centre = [](int point, int size, int control) { return std::min(point < size / 2 ? 0 : point - size / 2, control - size); };
    SquareSpot spot{centre(x, s, controlWidth), centre(y, t, controlHeight)};
    // ...then move it into frame coordinates and keep it inside the frame.
    spot.left -= (controlWidth - frameWidth) / 2;
    spot.top -= (controlHeight - frameHeight) / 2;
    auto clampInto = [](int value, int size, int frame) {
        if (value < 0) return 0;
        return value + size > frame ? frame - size : value;
    };
    spot.left = clampInto(spot.left, s, frameWidth);
    spot.top = clampInto(spot.top, t, frameHeight);
    return spot;
}

PreviewLayout previewLayout(int controlWidth, int controlHeight, int frameWidth, int frameHeight, int squareLeft,
                            int squareTop) {
    PreviewLayout p;
    int x = (controlWidth - frameWidth) / 2, y = (controlHeight - frameHeight) / 2;
    p.frame = {x, y, x + frameWidth, y + frameHeight};
    int s = std::min(frameWidth, kSquareSize), t = std::min(frameHeight, kSquareSize);
    p.square = {x + squareLeft, y + squareTop, x + squareLeft + s, y + squareTop + t};
    const Box& q = p.square;
    p.bands = {Box{0, 0, controlWidth, q.top}, Box{0, q.bottom, controlWidth, controlHeight},
               Box{0, q.top, q.left, q.bottom}, Box{q.right, q.top, controlWidth, q.bottom}};
    return p;
}

std::string categoryListText(const std::vector<CategoryItem>& items) {
    std::string text;
    for (const CategoryItem& item : items) {
        if (!item.checked) continue;
        size_t length = text.size() + (text.empty() ? 0 : 1) + item.name.size();
        if (length > kCategoryListMax) break;
        if (!text.empty()) text += '|';
        text += item.name;
    }
    return text;
}

std::string newCategoryName(const std::string& typed) {
    std::string name = typed;
    std::replace(name.begin(), name.end(), '|', ' ');
    size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    name = name.substr(first, name.find_last_not_of(' ') - first + 1);
    if (name[0] == '_') return {};
    return name;
}

void usePicture(BulbHeader& header, int32_t index) {
    if (validIndex(index)) ++header.pictures[index].references;
}

void releasePicture(BulbHeader& header, int32_t index) {
    if (validIndex(index) && header.pictures[index].references > 0) --header.pictures[index].references;
}

void setCell(BulbHeader& header, int place, int flavor, int32_t index) {
    int32_t& cell = cellRef(header, place, flavor);
    releasePicture(header, cell);
    cell = index;
    usePicture(header, index);
}

void recountReferences(BulbHeader& header) {
    for (PictureEntry& entry : header.pictures) entry.references = 0;
    auto count = [&](int32_t index) { usePicture(header, index); };
    count(header.listPicture);
    for (int32_t corner : header.cornerPictures) count(corner);
    for (const auto& row : header.flavors)
        for (int32_t cell : row) count(cell);
}

BulbHeader workingCopyHeader(const uint8_t* file, size_t size) {
    check(file != nullptr && size >= kBulbHeaderSize, BulbFileFault::ShortFile);
    BulbHeader header = parseBulbHeader(file);
    checkBulbHeader(header);
    return header;
}

}  // namespace lumarel
