#include "helper/hook_owner.h"

#include <cstdint>

#include "base/shell_view.h"

namespace lumarel::watch {

namespace {

constexpr DWORD kUnhookWaitMs = 2000;

template <typename T>
volatile T* mapBlock(const char* name, unique_handle& mapping, unique_view& view) {
    mapping.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(T), name));
    if (!mapping) return nullptr;
    view.reset(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(T)));
    return static_cast<volatile T*>(view.get());
}

HHOOK asHook(uint32_t handle) { return reinterpret_cast<HHOOK>(static_cast<uintptr_t>(handle)); }

}  // namespace

bool SharedBlocks::open() {
    block = mapBlock<Block>(kBlockName, blockMapping_, blockView_);
    if (block) owner = mapBlock<Owner>(kOwnerName, ownerMapping_, ownerView_);
    if (owner) return true;
    close();
    return false;
}

void SharedBlocks::close() {
    block = nullptr;
    owner = nullptr;
    blockView_.reset();
    blockMapping_.reset();
    ownerView_.reset();
    ownerMapping_.reset();
}

bool installHook(SharedBlocks& blocks, HOOKPROC procedure, HMODULE library, HWND view, DWORD thread) {
    volatile Block* block = blocks.block;
    volatile Owner* owner = blocks.owner;
    // Our own handle on a thread that no longer owns the view goes first.
    if (owner->process == GetCurrentProcessId() && block->hook) UnhookWindowsHookEx(asHook(block->hook));
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, procedure, library, thread);
    if (!hook) return false;
    block->unhookRequest = 0;
    // The owner is written first: a reader never pairs our handle with the
    // previous owner.
    owner->process = GetCurrentProcessId();
    owner->thread = thread;
    block->hook = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hook));
    PostMessageA(view, WM_NULL, 0, 0);
    return true;
}

bool takeOutHook(SharedBlocks& blocks) {
    volatile Block* block = blocks.block;
    volatile Owner* owner = blocks.owner;
    // Only our own: a hook another running lumarel put in stays its.
    if (!block || !block->hook || owner->process != GetCurrentProcessId()) return true;
    block->unhookRequest = 1;
    const DWORD thread = owner->thread;
    HWND view = findDesktopIconView();
    if (!view || GetWindowThreadProcessId(view, nullptr) != thread || !PostMessageA(view, WM_NULL, 0, 0))
        PostThreadMessageA(thread, WM_NULL, 0, 0);
    const DWORD begin = GetTickCount();
    while (block->hook != 0 && GetTickCount() - begin < kUnhookWaitMs) {
        // The icon view may be sending us a notice meanwhile: take it.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
    if (block->hook != 0) return false;
    owner->process = 0;
    owner->thread = 0;
    return true;
}

}  // namespace lumarel::watch
