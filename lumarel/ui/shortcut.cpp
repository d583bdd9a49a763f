#include "ui/shortcut.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "base/text.h"

namespace lumarel {

namespace {

template <typename T>
struct ComRelease {
    T* p = nullptr;
    ~ComRelease() {
        if (p) p->Release();
    }
};

constexpr DWORD kResolveTimeoutMs = 1000;  // carried in the high word of the flags

}  // namespace

void resolveShortcut(char (&path)[MAX_PATH]) {
    if (!endsWithNoCase(path, ".lnk")) return;
    ComRelease<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.p))))
        return;
    ComRelease<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return;
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH)) return;
    if (FAILED(file.p->Load(wide, STGM_READ))) return;
    if (FAILED(link.p->Resolve(nullptr, (kResolveTimeoutMs << 16) | SLR_NO_UI | SLR_NOUPDATE | SLR_NOSEARCH)))
        return;
    char target[MAX_PATH] = {};
    if (link.p->GetPath(target, MAX_PATH, nullptr, 0) != S_OK || !target[0]) return;
    memcpy(path, target, sizeof target);
}

}  // namespace lumarel
