#include "settings/preview_fit.h"

#include <algorithm>
#include <cstdint>

namespace flurrin {

PreviewRect fit_preview(int pw, int ph, int aw, int ah) {
    if (pw <= 0 || ph <= 0 || aw <= 0 || ah <= 0) return {};
    int64_t w = pw, h = ph;
    if (w > aw || h > ah) {
        // Compare the two ratios in integers: the narrower side decides.
        if (w * ah >= h * aw) {
            h = std::max<int64_t>(1, h * aw / w);
            w = aw;
        } else {
            w = std::max<int64_t>(1, w * ah / h);
            h = ah;
        }
    }
    return {int((aw - w) / 2), int((ah - h) / 2), int(w), int(h)};
}

int preview_reduction(int pw, int ph, int aw, int ah) {
    PreviewRect place = fit_preview(pw, ph, aw, ah);
    if (place.width == 0) return 1;
    int reduction = 1;
    for (int next : {2, 4, 8}) {
        // libjpeg rounds the reduced size up.
        int w = (pw + next - 1) / next, h = (ph + next - 1) / next;
        if (w < place.width || h < place.height) break;
        reduction = next;
    }
    return reduction;
}

}  // namespace flurrin
