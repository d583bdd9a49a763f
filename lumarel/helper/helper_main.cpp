// "Lumarel Helper.DLL": the library the system loads into the desktop's
// thread for the watcher's hook. Its entry point only keeps books; the work
// starts with the first hook call.
#include <windows.h>

#include "helper/hook.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}
