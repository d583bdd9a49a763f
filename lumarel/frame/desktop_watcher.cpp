#include "frame/desktop_watcher.h"

#include <cstring>

#include "base/message.h"
#include "base/program_path.h"
#include "base/shell_view.h"
#include "engine/desktop_windows.h"
#include "frame/app.h"

namespace lumarel {

static_assert(watch::kDesktopPaintMessage == WM_LIGHTS_DESKTOPPAINT, "the hook sends the main window's notice");

namespace {

constexpr DWORD kUnhookWaitMs = 2000;

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

template <typename T>
volatile T* mapBlock(const char* name, unique_handle& mapping, unique_view& view) {
    mapping.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(T), name));
    if (!mapping) return nullptr;
    view.reset(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(T)));
    return static_cast<volatile T*>(view.get());
}

HHOOK asHook(uint32_t handle) { return reinterpret_cast<HHOOK>(static_cast<uintptr_t>(handle)); }

}  // namespace

bool DesktopWatcher::load() {
    char path[MAX_PATH];
    programPath(path, true);
    if (strlen(path) + library_.size() >= MAX_PATH) return false;
    strcat(path, library_.c_str());
    module_.reset(LoadLibraryA(path));
    if (module_) procedure_ = reinterpret_cast<HOOKPROC>(GetProcAddress(module_.get(), watch::kHookExport));
    if (procedure_) block_ = mapBlock<watch::Block>(watch::kBlockName, blockMapping_, blockView_);
    if (block_) owner_ = mapBlock<watch::Owner>(watch::kOwnerName, ownerMapping_, ownerView_);
    if (owner_) return true;
    unload();
    return false;
}

void DesktopWatcher::unload() {
    block_ = nullptr;
    owner_ = nullptr;
    blockView_.reset();
    blockMapping_.reset();
    ownerView_.reset();
    ownerMapping_.reset();
    procedure_ = nullptr;
    module_.reset();
}

bool DesktopWatcher::hook(HWND view, DWORD thread) {
    // Our own handle on a thread that no longer owns the view goes first.
    if (owner_->process == GetCurrentProcessId() && block_->hook) UnhookWindowsHookEx(asHook(block_->hook));
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, procedure_, module_.get(), thread);
    if (!hook) return false;
    block_->unhookRequest = 0;
    // The owner is written first: a reader never pairs our handle with the
    // previous owner.
    owner_->process = GetCurrentProcessId();
    owner_->thread = thread;
    block_->hook = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hook));
    PostMessageA(view, WM_NULL, 0, 0);  // the hook subclasses the view at once
    return true;
}

void DesktopWatcher::start() {
    if (!block_ && !load()) {
        tellHelperMissing(missingShown_);
        return;
    }
    HWND view = findDesktopIconView();
    DWORD shellProcess = 0;
    WatchFacts facts;
    facts.blockHook = block_->hook;
    facts.ownerProcess = owner_->process;
    facts.ownerAlive = facts.ownerProcess && processAlive(facts.ownerProcess);
    facts.hookedThread = owner_->thread;
    facts.iconViewThread = view ? GetWindowThreadProcessId(view, &shellProcess) : 0;
    facts.sameBitness = !view || sameBitness(shellProcess);
    switch (chooseWatchStart(facts)) {
    case WatchStart::Keep:
    case WatchStart::NoIconView: break;
    case WatchStart::OtherBitness: tellOtherBitness(bitnessShown_); break;
    case WatchStart::Hook:
        if (!hook(view, facts.iconViewThread)) {
            unload();
            tellHelperMissing(missingShown_);
            return;
        }
        break;
    }
    block_->suspended = 0;
}

void DesktopWatcher::suspend() {
    if (!block_) return;
    block_->suspended = 1;
    block_->painting = 0;
}

void DesktopWatcher::awaitUnhook() {
    const DWORD begin = GetTickCount();
    while (block_->hook != 0 && GetTickCount() - begin < kUnhookWaitMs) {
        // The icon view may be sending us a notice meanwhile: take it.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}

void DesktopWatcher::release() {
    if (!block_) return;
    // Only our own hook: one another running lumarel installed stays its.
    if (block_->hook && owner_->process == GetCurrentProcessId()) {
        block_->unhookRequest = 1;
        const DWORD thread = owner_->thread;
        HWND view = findDesktopIconView();
        if (!view || GetWindowThreadProcessId(view, nullptr) != thread || !PostMessageA(view, WM_NULL, 0, 0))
            PostThreadMessageA(thread, WM_NULL, 0, 0);
        // Were our thread to end with the hook in place, the system would
        // drop it and unload the library while the view still runs the
        // subclass.
        awaitUnhook();
        if (block_->hook == 0) {
            owner_->process = 0;
            owner_->thread = 0;
        } else {
            // Still hooked (a hung shell): a hooked thread of our own process
            // would call into the library, so it stays loaded.
            module_.release();
        }
    }
    unload();
}

void DesktopWatcher::notePainting() {
    if (!block_) return;
    block_->painting = 1;
    paintingWatch_.set(GetTickCount());
}

bool DesktopWatcher::painting() {
    if (!block_) return false;
    if (paintingWatch_.holds(block_->painting != 0, GetTickCount())) return true;
    if (paintingWatch_.stale()) block_->painting = 0;
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
