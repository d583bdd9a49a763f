#include "saver/scene_layout.h"

namespace lumarel {

int32_t PreviewScale::x(int32_t value) const {
    if (!active || workWidth <= 0) return value;
    return int32_t(int64_t(value) * areaWidth / workWidth);
}

int32_t PreviewScale::y(int32_t value) const {
    if (!active || workHeight <= 0) return value;
    return int32_t(int64_t(value) * areaHeight / workHeight);
}

PreviewScale makePreviewScale(bool preview, const SceneRect& area, int32_t workWidth, int32_t workHeight) {
    PreviewScale scale;
    scale.active = preview && !area.empty() && workWidth > 0 && workHeight > 0;
    scale.areaWidth = area.width();
    scale.areaHeight = area.height();
    scale.workWidth = workWidth;
    scale.workHeight = workHeight;
    return scale;
}

StripSize previewStripSize(int32_t width, int32_t height, int32_t cells, const PreviewScale& scale) {
    if (!scale.active || cells <= 0 || width <= 0) return {width, height};
    const int32_t scaled = scale.x(width);
    StripSize size;
    size.width = int32_t(int64_t(cells) * (scaled / cells + 1));
    size.height = int32_t(int64_t(height) * size.width / width);
    return size;
}

void MessageMotion::step() {
    if (!shown) return;
    if (text.top < upper || text.bottom > lower) velocity = -velocity;
    text.top += velocity;
    text.bottom += velocity;
}

SceneRect messageBand(const SceneRect& area) {
    const int32_t margin = area.width() / 8;
    return {area.left + margin, area.top, area.right - margin, area.top};
}

Point32 centredPicture(const SceneRect& area, int32_t pictureWidth, int32_t pictureHeight) {
    const int64_t freeSpace = int64_t(area.height()) - pictureHeight;
    Point32 corner;
    corner.x = int32_t(area.left + (int64_t(area.width()) - pictureWidth) / 2);
    corner.y = int32_t(area.top + (freeSpace > 0 ? freeSpace / 3 : freeSpace / 2));
    return corner;
}

MessageMotion layoutMessage(const SceneRect& area, int32_t textHeight, const int32_t* centredPictureBottom) {
    MessageMotion motion;
    motion.shown = textHeight > 0;
    motion.upper = area.top;
    motion.lower = area.bottom;
    if (motion.shown && centredPictureBottom) {
        const int64_t below = int64_t(area.bottom) - *centredPictureBottom;
        if (10 * int64_t(textHeight) < 7 * below) {
            motion.upper = int32_t(*centredPictureBottom + below / 10);
            motion.lower = int32_t(area.bottom - (below / 10) * 2);
        }
    }
    if (motion.upper == area.top) {
        const int32_t gap = area.height() / 8;
        motion.upper = area.top + gap;
        motion.lower = area.bottom - gap;
    }
    if (!motion.shown) return motion;
    motion.text = messageBand(area);
    motion.text.top = motion.upper;
    motion.text.bottom = int32_t(int64_t(motion.upper) + textHeight);
    motion.velocity = motion.lower >= motion.text.bottom ? 1 : 0;
    return motion;
}

}  // namespace lumarel
