// Songs that are not MIDI play through a DirectShow filter graph.
#pragma once
#include <windows.h>

struct IGraphBuilder;
struct IMediaControl;
struct IMediaEventEx;

namespace lumarel {

class MediaGraph {
public:
    MediaGraph() = default;
    ~MediaGraph() { release(); }
    MediaGraph(const MediaGraph&) = delete;
    MediaGraph& operator=(const MediaGraph&) = delete;

    // Builds a graph for the file and runs it; its events are announced to
    // `window` with `message`. False, with nothing held, on any failure.
    bool play(const char* path, HWND window, UINT message);
    // No more notices, stopped, the three interfaces released.
    void release();
    bool exists() const { return builder_ != nullptr; }
    // Empties the event queue; true when it held the end of the song
    // (complete, or aborted by the user).
    bool drainEnded();

private:
    IGraphBuilder* builder_ = nullptr;
    IMediaControl* control_ = nullptr;
    IMediaEventEx* events_ = nullptr;
};

}  // namespace lumarel
