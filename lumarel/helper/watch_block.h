// What lumarel and its hook library share across processes: the names and
// layouts of the two small named blocks, and the notice the hook sends. Both
// sides read them from here; there is no Windows header, so the program's
// portable rules can use them too.
#pragma once
#include <cstdint>

namespace lumarel::watch {

// The 8-byte block, as every version of the hook library expects it.
inline constexpr const char* kBlockName = "DesktopWatcherDLLLumarelVer3";
struct Block {
    uint32_t hook;          // the installed hook, 0 when none
    uint8_t unhookRequest;  // set by the program; the hook undoes its work and clears it
    uint8_t painting;       // the icon view is repainting: the tick draws nothing
    uint8_t suspended;      // the subclass sends no notices
    uint8_t reserved;
};
static_assert(sizeof(Block) == 8, "the shared layout is fixed");

// Who put the hook in the block. Kept beside it, so the 8 bytes keep their
// layout: a crashed program's handle outlives it (the hook library in the
// shell holds the block open), and a restarted shell leaves a handle on a
// thread that no longer owns the icon view.
inline constexpr const char* kOwnerName = "DesktopWatcherDLLLumarelVer3Owner";
struct Owner {
    uint32_t process;  // 0: written by a program that does not record owners
    uint32_t thread;   // the hooked thread
};
static_assert(sizeof(Owner) == 8, "the shared layout is fixed");

// Sent to the program's main window before each paint of the icon view.
constexpr uint32_t kDesktopPaintMessage = 0x0400 + 100;  // WM_USER + 100
inline constexpr const char* kMainClass = "Lumarel";
inline constexpr const char* kMainTitle = "QuorvaneLumarel";
// The longest the icon view waits for the notice to be handled.
constexpr uint32_t kNoticeTimeoutMs = 500;

// The hook procedure's exported name: a standard-call
// long HookCallback3(int, unsigned, long), decorated as the C++ compiler
// of the first versions did.
inline constexpr const char* kHookExport = "?HookCallback3@@YGJHIJ@Z";

}  // namespace lumarel::watch
