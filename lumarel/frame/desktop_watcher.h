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
#include "helper/hook_owner.h"
#include "helper/watch_block.h"

namespace lumarel {

inline constexpr const char* kHelperLibrary = "Lumarel Helper.DLL";
// A 32-bit library cannot enter a 64-bit shell: this 64-bit program beside
// ours puts the 64-bit build of the same library in for us.
inline constexpr const char* kHelperHost64 = "Lumarel Helper64.exe";
inline constexpr const char* kHelperMissingTitle = "Lumarel Helper DLL Missing";
inline constexpr const char* kOtherBitnessTitle = "Lumarel Cannot Watch the Desktop";

class DesktopWatcher {
public:
    // Both are loaded from the program's folder, never the search path: a
    // library planted in the current folder would run inside the shell.
    explicit DesktopWatcher(const char* library = kHelperLibrary, const char* host64 = kHelperHost64)
        : library_(library), host64_(host64) {}
    ~DesktopWatcher() { release(); }

    // Hooks the icon view's thread unless a live hook is there already, and
    // lets notices through. Tells the user once when the library is missing
    // or cannot work inside the shell.
    void start();
    // No notices until the next start; clears the painting flag.
    void suspend();
    // Has the hook undo its work and waits (at most 2 s, handling messages)
    // until it has, then lets go of the library and the blocks.
    void release();

    // The main window was told the icon view is about to paint.
    void notePainting();
    // The tick asks: true while the icon view paints. A flag left set too
    // long (a shell that died mid-paint) is cleared instead.
    bool painting();

    bool mapped() const { return blocks_.isOpen(); }
    uint32_t hookHandle() const { return blocks_.isOpen() ? blocks_.block->hook : 0; }
    // The 64-bit host's process while it runs (null otherwise).
    HANDLE host64() const { return host64Process_.get(); }

    DesktopWatcher(const DesktopWatcher&) = delete;
    DesktopWatcher& operator=(const DesktopWatcher&) = delete;

private:
    bool load();
    void unload();
    bool startHost64();
    void endHost64();

    std::string library_;
    std::string host64_;
    unique_hmodule module_;
    HOOKPROC procedure_ = nullptr;
    watch::SharedBlocks blocks_;
    unique_handle host64Process_;
    DWORD host64Thread_ = 0;
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
