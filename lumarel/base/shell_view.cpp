#include "base/shell_view.h"

namespace lumarel {

HWND findShellView() {
    HWND view = nullptr;
    if (HWND progman = FindWindowA("Progman", nullptr))
        view = FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr);
    for (HWND worker = nullptr; !view && (worker = FindWindowExA(nullptr, worker, "WorkerW", nullptr));)
        view = FindWindowExA(worker, nullptr, "SHELLDLL_DefView", nullptr);
    return view;
}

HWND findDesktopIconView() {
    HWND view = findShellView();
    return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

}  // namespace lumarel
