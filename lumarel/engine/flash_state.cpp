#include "engine/flash_state.h"

namespace lumarel {

FlashState& flashState() {
    static FlashState state;
    return state;
}

void setFlashInterval(int32_t interval) {
    if (interval >= 1 && interval <= 9) flashState().interval = interval;
}

void setFlashPattern(int32_t pattern) {
    if (pattern >= 0 && pattern <= 4) flashState().pattern = pattern;
}

}  // namespace lumarel
