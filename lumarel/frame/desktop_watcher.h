// The desktop watcher: a hook in the shell's desktop thread that tells us
// before the icon view repaints, so slow bulbs on the desktop take the new
// desktop behind them into their see-through parts.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/handles.h"
#include "engine/engine_context.h"
#include "frame/watch_rules.h"
#include "helper/watch_block.h"

namespace lumarel {

inline constexpr const char* kHelperLibrary = "Lumarel Helper.DLL";
inline constexpr const char* kHelperMissingTitle = "Lumarel Helper DLL Missing";
inline constexpr const char* kOtherBitnessTitle = "Lumarel Cannot Watch the Desktop";

class DesktopWatcher {
public:
    // `library` is loaded from the program's folder, never the search path:
    // a library planted in the current folder would run inside the shell.
    explicit DesktopWatcher(const char* library = kHelperLibrary) : library_(library) {}
    ~DesktopWatcher() { release(); }

    // Hooks the icon view's thread unless a live hook is there already, and
    // lets notices through. Tells the user once when the library is missing
    // or cannot work inside the shell.
    void start();
    // No notices until the next start; clears the painting flag.
    void suspend();
    // Asks the hook to undo its work and waits (at most 2 s, handling
    // messages) until it has, then lets go of the library and the blocks.
    void release();

    // The main window was told the icon view is about to paint.
    void notePainting();
    // The tick asks: true while the icon view paints. A flag left set too
    // long (a shell that died mid-paint) is cleared instead.
    bool painting();

    bool mapped() const { return block_ != nullptr; }
    uint32_t hookHandle() const { return block_ ? block_->hook : 0; }

    DesktopWatcher(const DesktopWatcher&) = delete;
    DesktopWatcher& operator=(const DesktopWatcher&) = delete;

private:
    bool load();
    void unload();
    bool hook(HWND view, DWORD thread);
    void awaitUnhook();

    std::string library_;
    unique_hmodule module_;
    HOOKPROC procedure_ = nullptr;
    unique_handle blockMapping_, ownerMapping_;
    unique_view blockView_, ownerView_;
    volatile watch::Block* block_ = nullptr;
    volatile watch::Owner* owner_ = nullptr;
    PaintingWatch paintingWatch_;
    // The program has one watcher, so these make each message once per process.
    bool missingShown_ = false;
    bool bitnessShown_ = false;
};

// The main window's answer to the notice, in normal run mode: painting is
// set, and the part of the layout window about to repaint is invalidated
// again (the paint validates it) and joins the pending repaint region, from
// which the next draw takes the new desktop behind slow bulbs.
void takeDesktopRepaint(EngineContext& context, DesktopWatcher& watcher);

// The program's watcher.
DesktopWatcher& desktopWatcher();
inline bool desktopIsPainting() { return desktopWatcher().painting(); }
inline void releaseDesktopWatcher() { desktopWatcher().release(); }

}  // namespace lumarel
