#include "engine/bulb_arrangement.h"

namespace lumarel {

BulbArrangement defaultArrangement() {
    return {{
        {0, -1, -1, -1, -1, -1, 1, 1},    // top, corners top-left and top-right
        {0, 2, -1, -1, -1, -1, -1, -1},   // right
        {2, 1, -1, -1, -1, -1, 1, 1},     // bottom, corners bottom-left and bottom-right
        {0, 2, -1, -1, -1, -1, -1, -1},   // left
    }};
}

void validateArrangement(BulbArrangement& arrangement,
                         const std::function<bool(int32_t)>& kindExists) {
    for (int row : {0, 2})
        for (int corner : {6, 7})
            if (arrangement[row][corner] != -1 && !kindExists(arrangement[row][corner]))
                arrangement[row][corner] = -1;
    for (auto& row : arrangement) {
        for (int slot = 5; slot >= 0; --slot) {
            if (row[slot] == -1 || kindExists(row[slot])) continue;
            for (int next = slot; next < 5; ++next) row[next] = row[next + 1];
            row[5] = -1;
        }
    }
}

}  // namespace lumarel
