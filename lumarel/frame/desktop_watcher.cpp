#include "frame/desktop_watcher.h"

#include <cstdio>
#include <cstring>

#include "base/message.h"
#include "base/program_path.h"
#include "base/shell_view.h"
#include "engine/desktop_windows.h"
#include "frame/app.h"

namespace lumarel {

static_assert(watch::kDesktopPaintMessage == WM_LIGHTS_DESKTOPPAINT, "the hook sends the main window's notice");

namespace {

void tellOnce(bool& shown, const char* text, const char* title) {
    if (shown) return;
    shown = true;
    showMessage(nullptr, text, title, MB_ICONWARNING | MB_OK);
}

void tellHelperMissing(bool& shown) {
    tellOnce(shown,
             "The Lumarel Helper DLL is not installed, which may cause some bulbs to display incorrectly."
             "\r\n\r\nTo install it, run the Lumarel setup program again; you can download it from the "
             "Quorvane Web site.",
             kHelperMissingTitle);
}

void tellOtherBitness(bool& shown) {
    tellOnce(shown,
             sizeof(void*) == 4
                 ? "Your desktop is run by a 64-bit program, which the 32-bit Lumarel Helper DLL cannot "
                   "work inside. Slow bulbs on the desktop may show stale pictures when the desktop "
                   "repaints.\r\n\r\nTo avoid this, use bulbs that aren't marked \"slow\" in the Bulb "
                   "Factory, or put the bulbs on top of all windows."
                 : "Your desktop is run by a 32-bit program, which the 64-bit Lumarel Helper DLL cannot "
                   "work inside. Slow bulbs on the desktop may show stale pictures when the desktop "
                   "repaints.\r\n\r\nTo avoid this, use bulbs that aren't marked \"slow\" in the Bulb "
                   "Factory, or put the bulbs on top of all windows.",
             kOtherBitnessTitle);
}

bool processAlive(DWORD id) {
    if (id == GetCurrentProcessId()) return true;
    unique_handle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to open
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// IsWow64Process is looked up: the first XP releases lack it (and run
// 32-bit programs only).
bool underWow64(HANDLE process) {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    static const auto isWow64 =
        reinterpret_cast<IsWow64>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process"));
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(process, &wow64) && wow64;
}

// A 32-bit hook set on a 64-bit thread is accepted and never runs; processes
// of equal bitness agree on running under WOW64 or not. A process we cannot
// look into is assumed to be like ours.
bool sameBitness(DWORD processId) {
    unique_handle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process) return true;
    return underWow64(GetCurrentProcess()) == underWow64(process.get());
}

// The full path of a file in the program's folder; false when too long.
bool besideProgram(const std::string& name, char (&path)[MAX_PATH]) {
    programPath(path, true);
    if (strlen(path) + name.size() >= MAX_PATH) return false;
    strcat(path, name.c_str());
    return true;
}

// Waits, handling sent messages, until the condition holds or the time is up.
template <typename Condition>
bool awaitHandling(Condition condition, DWORD limitMs) {
    const DWORD begin = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - begin >= limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
    return true;
}

}  // namespace

bool DesktopWatcher::load() {
    char path[MAX_PATH];
    if (!besideProgram(library_, path)) return false;
    module_.reset(LoadLibraryA(path));
    if (module_) procedure_ = reinterpret_cast<HOOKPROC>(GetProcAddress(module_.get(), watch::kHookExport));
    if (procedure_ && blocks_.open()) return true;
    unload();
    return false;
}

void DesktopWatcher::unload() {
    blocks_.close();
    procedure_ = nullptr;
    module_.reset();
}

// Only a 32-bit lumarel under 64-bit Windows has a 64-bit pair to call on.
// The host puts its hook in and records itself as the owner; it ends when
// told to release or when we are gone. False when it is missing or could not
// hook the view.
bool DesktopWatcher::startHost64() {
    if (sizeof(void*) != 4 || !underWow64(GetCurrentProcess())) return false;
    if (host64Process_ && WaitForSingleObject(host64Process_.get(), 0) == WAIT_TIMEOUT) return true;
    host64Process_.reset();
    char path[MAX_PATH];
    if (!besideProgram(host64_, path)) return false;
    HWND main = FindWindowA(kMainClass, kMainTitle);
    char command[MAX_PATH + 48];
    snprintf(command, sizeof command, "\"%s\" %lu %lu", path, static_cast<unsigned long>(GetCurrentProcessId()),
             static_cast<unsigned long>(reinterpret_cast<uintptr_t>(main)));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return false;
    unique_handle thread(process.hThread);
    host64Process_.reset(process.hProcess);
    host64Thread_ = process.dwThreadId;
    // It has hooked the view once it owns the block's hook; when it cannot,
    // it ends at once.
    const DWORD host = process.dwProcessId;
    auto hooked = [&] { return blocks_.owner->process == host && blocks_.block->hook != 0; };
    awaitHandling([&] { return hooked() || WaitForSingleObject(host64Process_.get(), 0) != WAIT_TIMEOUT; }, 5000);
    if (hooked()) return true;
    endHost64();
    return false;
}

void DesktopWatcher::endHost64() {
    if (!host64Process_) return;
    PostThreadMessageA(host64Thread_, WM_QUIT, 0, 0);
    // It takes its hook out, waiting at most 2 s itself, before it ends.
    awaitHandling([&] { return WaitForSingleObject(host64Process_.get(), 0) != WAIT_TIMEOUT; }, 3000);
    host64Process_.reset();
    host64Thread_ = 0;
}

void DesktopWatcher::start() {
    if (!blocks_.isOpen() && !load()) {
        tellHelperMissing(missingShown_);
        return;
    }
    volatile watch::Block* block = blocks_.block;
    volatile watch::Owner* owner = blocks_.owner;
    HWND view = findDesktopIconView();
    DWORD shellProcess = 0;
    WatchFacts facts;
    facts.blockHook = block->hook;
    facts.ownerProcess = owner->process;
    facts.ownerAlive = facts.ownerProcess && processAlive(facts.ownerProcess);
    facts.hookedThread = owner->thread;
    facts.iconViewThread = view ? GetWindowThreadProcessId(view, &shellProcess) : 0;
    facts.sameBitness = !view || sameBitness(shellProcess);
    switch (chooseWatchStart(facts)) {
    case WatchStart::Keep:
    case WatchStart::NoIconView: break;
    case WatchStart::OtherBitness:
        if (!startHost64()) tellOtherBitness(bitnessShown_);
        break;
    case WatchStart::Hook:
        if (!watch::installHook(blocks_, procedure_, module_.get(), view, facts.iconViewThread)) {
            unload();
            tellHelperMissing(missingShown_);
            return;
        }
        break;
    }
    block->suspended = 0;
}

void DesktopWatcher::suspend() {
    if (!blocks_.isOpen()) return;
    blocks_.block->suspended = 1;
    blocks_.block->painting = 0;
}

void DesktopWatcher::release() {
    endHost64();
    if (!blocks_.isOpen()) return;
    // Still hooked (a hung shell): a hooked thread of our own process would
    // call into the library, so it stays loaded.
    if (!watch::takeOutHook(blocks_)) module_.release();
    unload();
}

void DesktopWatcher::notePainting() {
    if (!blocks_.isOpen()) return;
    blocks_.block->painting = 1;
    paintingWatch_.set(GetTickCount());
}

bool DesktopWatcher::painting() {
    if (!blocks_.isOpen()) return false;
    if (paintingWatch_.holds(blocks_.block->painting != 0, GetTickCount())) return true;
    if (paintingWatch_.stale()) blocks_.block->painting = 0;
    return false;
}

void takeDesktopRepaint(EngineContext& context, DesktopWatcher& watcher) {
    if (context.runMode != kRunNormal) return;
    watcher.notePainting();
    HWND layout = findDesktopWindow(context, kLayoutWindow);
    if (!layout) return;
    unique_hrgn update(CreateRectRgn(0, 0, 0, 0));
    if (!update) return;
    GetUpdateRgn(layout, update.get(), FALSE);
    InvalidateRgn(layout, update.get(), TRUE);
    if (context.pendingRepaint)
        CombineRgn(context.pendingRepaint.get(), context.pendingRepaint.get(), update.get(), RGN_OR);
    else
        context.pendingRepaint = std::move(update);
}

DesktopWatcher& desktopWatcher() {
    static DesktopWatcher watcher;
    return watcher;
}

}  // namespace lumarel
