// frmMain: the full-screen saver window with its frame loop, scene changes,
// music, time of day and exit rules; frmGraphics holds its off-screen pictures.
#pragma once
#include <windows.h>

#include <cstdint>

namespace flurrin {

// For tests and the benchmark: what the running saver has done so far.
struct SaverStats {
    uint32_t frames = 0;
    uint32_t scene_changes = 0;
    int picture_index = 0;
    int last_effect = 0;
};
const SaverStats& saver_stats();

}  // namespace flurrin
