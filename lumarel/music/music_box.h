// The music box: background songs through MCI.
#pragma once
#include <windows.h>

namespace lumarel {

// Builds the song list from the music folder and starts playing.
void startMusic();
void stopMusic();
// Starts or stops music after the run mode changed.
void redecideMusic();
// Called every tick: changes the song when its time is up.
void checkSongDeadline();
// A song ended (MM_MCINOTIFY with success).
void songFinished();
// Media graph events are waiting.
void drainMediaEvents();

}  // namespace lumarel
