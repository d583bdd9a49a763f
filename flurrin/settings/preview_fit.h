// Where a previewed picture goes in the preview area: at its own size when it
// fits, otherwise shrunk with its proportions kept; centred either way.
#pragma once

namespace flurrin {

struct PreviewRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Nothing to draw (all zero) when either size is not positive.
PreviewRect fit_preview(int picture_width, int picture_height, int area_width, int area_height);

// The largest of libjpeg's reductions (1, 2, 4, 8) that still leaves the
// picture at least as large as its place in the area, so decoding a big
// photograph costs a fraction and the preview loses nothing.
int preview_reduction(int picture_width, int picture_height, int area_width, int area_height);

}  // namespace flurrin
