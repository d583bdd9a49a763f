// Putting the watcher's hook in and taking it out again, for whichever of our
// processes owns it: lumarel, or its 64-bit host when the shell is 64-bit.
#pragma once
#include <windows.h>

#include "base/handles.h"
#include "helper/watch_block.h"

namespace lumarel::watch {

// Both named blocks, mapped (and made when no one has them yet).
class SharedBlocks {
public:
    bool open();
    void close();
    bool isOpen() const { return block != nullptr; }

    volatile Block* block = nullptr;
    volatile Owner* owner = nullptr;

private:
    unique_handle blockMapping_, ownerMapping_;
    unique_view blockView_, ownerView_;
};

// Hooks the icon view's thread with the library's procedure, records us as
// the owner and posts WM_NULL so the hook subclasses the view at once.
bool installHook(SharedBlocks& blocks, HOOKPROC procedure, HMODULE library, HWND view, DWORD thread);

// When the block holds our hook: asks it to undo its work and waits (at most
// 2 s, handling messages) until it has. Were our thread to end with the hook
// in place, the system would drop it and unload the library while the view
// still runs the subclass. False when a hook of ours is still in place.
bool takeOutHook(SharedBlocks& blocks);

}  // namespace lumarel::watch
