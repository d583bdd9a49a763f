// Where the screen saver puts its picture and its message: the preview
// scale, the picture's place for each display type, and the message's
// limits and bounce. Plain arithmetic, so it is tested without a window.
#pragma once
#include <cstdint>

namespace lumarel {

struct SceneRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
};

// Sizes made for the whole work area shrink to the preview window. Only in
// preview and for a non-empty area; a work area of no size scales nothing.
struct PreviewScale {
    bool active = false;
    int32_t areaWidth = 0, areaHeight = 0, workWidth = 0, workHeight = 0;

    int32_t x(int32_t value) const;
    int32_t y(int32_t value) const;
};
PreviewScale makePreviewScale(bool preview, const SceneRect& area, int32_t workWidth, int32_t workHeight);

enum PictureDisplay : int32_t { kCenter = 0, kTile = 1, kStretch = 2 };

// A GIF floater strip of `cells` frames in preview: its width scaled, then
// raised to the next multiple of the cell count strictly above it; its
// height follows the width's ratio.
struct StripSize {
    int32_t width = 0, height = 0;
};
StripSize previewStripSize(int32_t width, int32_t height, int32_t cells, const PreviewScale& scale);

// The message's vertical travel. A message of no height is not shown.
struct MessageMotion {
    bool shown = false;
    SceneRect text;       // where it is drawn
    int32_t upper = 0;    // its top may not pass above this
    int32_t lower = 0;    // its bottom may not pass below this
    int32_t velocity = 0; // 0 stands, +1 down, -1 up

    // Turns at a limit, then moves one step.
    void step();
};

// The horizontal band the message is measured and drawn in.
SceneRect messageBand(const SceneRect& area);

// The top-left corner of a centred picture: centred across; down, a third of
// the free space above it (a taller picture is centred).
struct Point32 {
    int32_t x = 0, y = 0;
};
Point32 centredPicture(const SceneRect& area, int32_t pictureWidth, int32_t pictureHeight);

// The message's limits and starting place. `centredPictureBottom` is set
// only when a picture was drawn centred: a message that fits in 7/10 of the
// room below it moves there.
MessageMotion layoutMessage(const SceneRect& area, int32_t textHeight, const int32_t* centredPictureBottom);

}  // namespace lumarel
