#include "music/music_box.h"

// The music box is not built yet: nothing plays.

namespace lumarel {

void startMusic() {}
void stopMusic() {}
void redecideMusic() {}
void checkSongDeadline() {}
void songFinished() {}
void drainMediaEvents() {}

}  // namespace lumarel
