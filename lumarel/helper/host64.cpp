// "Lumarel Helper64.exe": a 32-bit library cannot enter a 64-bit shell, so
// a 32-bit lumarel starts this 64-bit program, which hooks the icon view's
// thread with "Lumarel Helper64.DLL" (the same library built for 64 bits).
// The shared blocks and the notice cross bitness as they are.
//
//   Lumarel Helper64.exe <lumarel's process id> <lumarel's main window>
//
// It ends when lumarel posts it WM_QUIT, when lumarel's process ends or when
// its main window goes, taking its hook out first as lumarel would.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/handles.h"
#include "base/shell_view.h"
#include "helper/hook_owner.h"

using namespace lumarel;

namespace {

constexpr const char* kLibrary = "Lumarel Helper64.DLL";

unique_hmodule loadBesideUs() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    char* slash = strrchr(path, '\\');
    if (!slash || size_t(slash + 1 - path) + strlen(kLibrary) >= MAX_PATH) return {};
    strcpy(slash + 1, kLibrary);
    return unique_hmodule(LoadLibraryA(path));
}

// Runs until lumarel says so or is gone.
void serve(HANDLE lumarel, HWND mainWindow) {
    SetTimer(nullptr, 0, 250, nullptr);
    for (;;) {
        if (MsgWaitForMultipleObjects(1, &lumarel, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0) return;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            if (message.message == WM_TIMER && !message.hwnd && mainWindow && !IsWindow(mainWindow)) return;
            DispatchMessageA(&message);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue lumarel posts WM_QUIT to
    char* rest = nullptr;
    const DWORD lumarelId = strtoul(commandLine, &rest, 10);
    HWND mainWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(rest, nullptr, 10)));
    unique_handle lumarel(OpenProcess(SYNCHRONIZE, FALSE, lumarelId));
    unique_hmodule library = loadBesideUs();
    auto procedure = library ? reinterpret_cast<HOOKPROC>(GetProcAddress(library.get(), watch::kHookExport)) : nullptr;
    watch::SharedBlocks blocks;
    HWND view = findDesktopIconView();
    if (!lumarel || !procedure || !view || !blocks.open()) return 1;
    if (!watch::installHook(blocks, procedure, library.get(), view, GetWindowThreadProcessId(view, nullptr))) return 2;
    serve(lumarel.get(), mainWindow);
    if (watch::takeOutHook(blocks)) return 0;
    library.release();  // still hooked: the library stays with the hook
    return 3;
}
