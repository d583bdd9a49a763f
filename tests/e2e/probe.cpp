// A small helper for the end-to-end tests: runs inside the Wine prefix and
// looks at or pokes the programs under test. One command per run; prints its
// answer on standard output and exits 0 on success, 1 when the thing asked
// for is not there, 2 on bad usage.
//
//   find <class|-> <title|->              window handle (decimal)
//   wait <class|-> <title|-> <ms>         same, waiting up to ms
//   gone <hwnd> <ms>                      waits until the window is gone
//   count <class|-> <title|->             number of top-level windows
//   post <hwnd> <msg> <wparam> <lparam>   PostMessage
//   send <hwnd> <msg> <wparam> <lparam>   SendMessage, prints the result
//   info <hwnd>                           class, title, style, exstyle, visible, rect
//   region <hwnd>                         window region rectangles, one per line
//   answer <title> <button> <ms>          clicks a button of a message box
//   text <title> <ms>                     prints the static texts of a dialog
//   capture <file.bmp>                    the whole screen as a 24-bit BMP
//   pixel <x> <y>                         screen colour as RRGGBB
//   reg <HKCU|HKLM> <key> [value]         prints values (name=type:data)
//   regbytes <HKCU|HKLM|HKCR> <key> <value> one value as type:hex ("" is the default)
//   regset <HKCU|HKLM> <key> <value> <sz|dword|hex> <data>
//   regdel <HKCU|HKLM> <key>              deletes a key with everything below it
//   copydata <hwnd> <size> <text>         WM_COPYDATA of size bytes (text, zero-padded)
//   click <x> <y>                         a left click at a screen point (SendInput)
//   host <ms>                             a 152x112 window for another program to embed into:
//                                         prints its handle, keeps it ms, then destroys it
//   children <hwnd>                       class names of the window's child windows
//   foreground                            handle of the foreground window (0 for none)
//   memory <hwnd>                         working set of the window's process, in bytes
//   priority <hwnd>                       priority class of the window's process (hex)
//                                         (or why it cannot be read, exit 1)
//   resource <module> <name> <file>       writes a program's raw data resource to a file
//   hung <class> <title> <ms>             a window that never answers: prints its handle,
//                                         handles no message for ms, then ends
//   record <class> <title> <ms>           a window that prints its handle, then every
//                                         message from WM_USER up as "message wparam"
//   windows <class|-> <title|->           every matching top-level window, one handle a line
//   item <hwnd> <id>                      the child window with that control id
//   focus                                 the control id and handle with the keyboard focus
//                                         in the foreground window's thread
//   cursor                                1 when the mouse cursor shows, else 0
//   block                                 the desktop watcher's shared block:
//                                         hook=N unhook=N painting=N suspended=N (exit 1: none)
// Dialog controls, found by their identifiers:
//   controls <hwnd>                       "id class enabled text" for each child
//   gettext <hwnd> <id>                   the control's text (WM_GETTEXT)
//   settext <hwnd> <id> <text>            WM_SETTEXT
//   press <hwnd> <id>                     posts WM_COMMAND BN_CLICKED from the control
//   choose <hwnd> <id> <index>            selects a list or combo box item, with its notice
//   items <hwnd> <id>                     "text|item data" for each list or combo box item
//   hold <path> <ms>                      keeps a file open without sharing for ms
//   child <hwnd> <id>                     the control's window handle
//   shortcut <file.lnk>                   the shortcut's target and arguments, as "target|arguments"
//   hotkey <vk> <ms>                      holds Ctrl+Shift+vk as this program's hot key for ms
#include <windows.h>
#include <objbase.h>
#include <psapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const char* orNull(const char* s) { return strcmp(s, "-") == 0 ? nullptr : s; }
HWND toHwnd(const char* s) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(strtoul(s, nullptr, 0))); }
long toLong(const char* s) { return strtol(s, nullptr, 0); }

HWND waitFor(const char* cls, const char* title, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND w = FindWindowA(cls, title)) return w;
        if (GetTickCount() - start >= ms) return nullptr;
        Sleep(50);
    }
}

struct ButtonSearch {
    const char* text;
    HWND found;
};

BOOL CALLBACK findButton(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ButtonSearch*>(param);
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    std::string plain;
    for (const char* c = text; *c; ++c)
        if (*c != '&') plain += *c;
    if (_stricmp(plain.c_str(), search->text) == 0) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectText(HWND child, LPARAM param) {
    char cls[64] = {}, text[1024] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (_stricmp(cls, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0)
        *reinterpret_cast<std::string*>(param) += std::string(text) + "\n";
    return TRUE;
}

int answer(const char* title, const char* button, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND box = FindWindowA("#32770", title);
        if (box) {
            ButtonSearch search{button, nullptr};
            EnumChildWindows(box, findButton, reinterpret_cast<LPARAM>(&search));
            if (!search.found) return 1;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(search.found), BN_CLICKED),
                         reinterpret_cast<LPARAM>(search.found));
            return 0;
        }
        if (GetTickCount() - start >= ms) return 1;
        Sleep(50);
    }
}

int capture(const char* path) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    DWORD rowBytes = (DWORD(width) * 3 + 3) & ~3u, imageSize = rowBytes * DWORD(height);
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageSize), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    FILE* f = fopen(path, "wb");
    bool ok = f && fwrite(&file, sizeof file, 1, f) == 1 && fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f) == 1 &&
              fwrite(bits, 1, imageSize, f) == imageSize;
    if (f) ok = fclose(f) == 0 && ok;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok ? 0 : 1;
}

HKEY rootOf(const char* name) {
    if (_stricmp(name, "HKLM") == 0) return HKEY_LOCAL_MACHINE;
    if (_stricmp(name, "HKCR") == 0) return HKEY_CLASSES_ROOT;
    return HKEY_CURRENT_USER;
}

// One value's type and every stored byte, terminator included: "1:4c756d00".
int regBytes(const char* root, const char* path, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(rootOf(root), path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
    BYTE data[8192];
    DWORD size = sizeof data, type = 0;
    LONG status = RegQueryValueExA(key, *name ? name : nullptr, nullptr, &type, data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return 1;
    printf("%lu:", static_cast<unsigned long>(type));
    for (DWORD i = 0; i < size; ++i) printf("%02x", data[i]);
    printf("\n");
    return 0;
}

void printValue(const char* name, DWORD type, const BYTE* data, DWORD size) {
    printf("%s=", name);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        printf("sz:%.*s\n", int(strnlen(reinterpret_cast<const char*>(data), size)), data);
    } else if (type == REG_DWORD && size == 4) {
        DWORD v;
        memcpy(&v, data, 4);
        printf("dword:%lu\n", static_cast<unsigned long>(v));
    } else {
        printf("hex%lu:", static_cast<unsigned long>(type));
        for (DWORD i = 0; i < size; ++i) printf("%02x", data[i]);
        printf("\n");
    }
}

int regQuery(const char* root, const char* path, const char* only) {
    HKEY key;
    if (RegOpenKeyExA(rootOf(root), path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
    int found = only ? 1 : 0;
    for (DWORD i = 0;; ++i) {
        char name[512];
        BYTE data[8192];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        if (only && strcmp(only, name) != 0) continue;
        printValue(name, type, data, dataSize);
        found = 0;
    }
    RegCloseKey(key);
    return found;
}

int regSet(const char* root, const char* path, const char* name, const char* kind, const char* data) {
    HKEY key;
    if (RegCreateKeyExA(rootOf(root), path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 1;
    LONG status;
    if (strcmp(kind, "sz") == 0) {
        status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), DWORD(strlen(data) + 1));
    } else if (strcmp(kind, "dword") == 0) {
        DWORD v = strtoul(data, nullptr, 0);
        status = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4);
    } else {
        std::vector<BYTE> bytes;
        for (size_t i = 0; data[i] && data[i + 1]; i += 2) {
            char pair[3] = {data[i], data[i + 1], 0};
            bytes.push_back(BYTE(strtoul(pair, nullptr, 16)));
        }
        status = RegSetValueExA(key, name, 0, REG_BINARY, bytes.data(), DWORD(bytes.size()));
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 0 : 1;
}

int hostWindow(DWORD ms) {
    HWND host = CreateWindowExA(0, "STATIC", "probe host", WS_POPUP | WS_VISIBLE, 40, 40, 152, 112, nullptr, nullptr,
                                nullptr, nullptr);
    if (!host) return 1;
    printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(host)));
    fflush(stdout);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
    DestroyWindow(host);
    return 0;
}

int hungWindow(const char* cls, const char* title, DWORD ms) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowExA(0, cls, title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;
    printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    fflush(stdout);
    Sleep(ms);
    return 0;
}

LRESULT CALLBACK recordMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_USER && msg < 0xC000) {
        printf("%u %lu\n", msg, static_cast<unsigned long>(wp));
        fflush(stdout);
    }
    return DefWindowProcA(window, msg, wp, lp);
}

int recordingWindow(const char* cls, const char* title, DWORD ms) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = recordMessage;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowExA(0, cls, title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;
    printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    fflush(stdout);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    DestroyWindow(window);
    return 0;
}

BOOL CALLBACK printChildClass(HWND child, LPARAM parent) {
    char cls[64] = {};
    if (GetParent(child) == reinterpret_cast<HWND>(parent) && GetClassNameA(child, cls, sizeof cls)) printf("%s\n", cls);
    return TRUE;
}

int regDelete(const char* root, const char* path) {
    LONG status = SHDeleteKeyA(rootOf(root), path);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

int copyData(HWND window, DWORD size, const char* text) {
    std::vector<char> bytes(size ? size : 1, 0);
    memcpy(bytes.data(), text, std::min<size_t>(strlen(text), bytes.size()));
    COPYDATASTRUCT data{0, size, bytes.data()};
    DWORD_PTR result = 0;
    // Long enough for a test to answer a message box the receiver shows.
    if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 30000,
                             &result))
        return 1;
    printf("%ld\n", long(result));
    return 0;
}

// Every event carries the point. Button events without one land where Wine
// last saw the pointer, and under load a late motion event from the display
// can put that back at the previous click's point after SetCursorPos.
int click(int x, int y) {
    SetCursorPos(x, y);
    // Screen pixels to the 0..65535 scale, rounded up so that the way back
    // (truncating or rounding) gives the same pixel.
    const long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0) return 1;
    const LONG dx = LONG((static_cast<long long>(x) * 65536 + width - 1) / width);
    const LONG dy = LONG((static_cast<long long>(y) * 65536 + height - 1) / height);
    INPUT input[3] = {};
    const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        input[i].type = INPUT_MOUSE;
        input[i].mi.dx = dx;
        input[i].mi.dy = dy;
        input[i].mi.dwFlags = flags[i] | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    return SendInput(3, input, sizeof(INPUT)) == 3 ? 0 : 1;
}

// Prints the working set, or on failure a line saying which step failed and
// the system's error code, so a caller can tell "no such window" from
// "no access".
int priorityClass(HWND window) {
    DWORD pid = 0;
    if (!IsWindow(window) || !GetWindowThreadProcessId(window, &pid)) return 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) return 1;
    DWORD priority = GetPriorityClass(process);
    CloseHandle(process);
    if (!priority) return 1;
    printf("%lx\n", static_cast<unsigned long>(priority));
    return 0;
}

int workingSet(HWND window) {
    DWORD pid = 0;
    if (!IsWindow(window) || !GetWindowThreadProcessId(window, &pid)) {
        printf("no such window\n");
        return 1;
    }
    // PROCESS_QUERY_LIMITED_INFORMATION is enough from Vista on; older
    // systems and some Wine versions want the full rights.
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) process = OpenProcess(0x1000 /* PROCESS_QUERY_LIMITED_INFORMATION */, FALSE, pid);
    if (!process) {
        printf("cannot open process %lu: error %lu\n", static_cast<unsigned long>(pid), GetLastError());
        return 1;
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    BOOL ok = GetProcessMemoryInfo(process, &counters, sizeof counters);
    DWORD error = GetLastError();
    CloseHandle(process);
    if (!ok) {
        printf("cannot read the memory counters of process %lu: error %lu\n", static_cast<unsigned long>(pid), error);
        return 1;
    }
    printf("%lu\n", static_cast<unsigned long>(counters.WorkingSetSize));
    return 0;
}

// Copies a raw data (RCDATA) resource of a program file, loaded as data only.
int saveResource(const char* module, const char* name, const char* file) {
    HMODULE data = LoadLibraryExA(module, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!data) return 1;
    int status = 1;
    HRSRC found = FindResourceA(data, name, RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(data, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes) {
        DWORD size = SizeofResource(data, found);
        if (FILE* out = fopen(file, "wb")) {
            if (fwrite(bytes, 1, size, out) == size) status = 0;
            if (fclose(out) != 0) status = 1;
        }
        if (status == 0) printf("%lu\n", static_cast<unsigned long>(size));
    }
    FreeLibrary(data);
    return status;
}

// Reads the block without creating it: its absence is an answer too.
int watcherBlock() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "DesktopWatcherDLLLumarelVer3");
    if (!mapping) return 1;
    int status = 1;
    if (auto* bytes = static_cast<const unsigned char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 8))) {
        DWORD hook;
        memcpy(&hook, bytes, sizeof hook);
        printf("hook=%lu unhook=%u painting=%u suspended=%u\n", static_cast<unsigned long>(hook), bytes[4], bytes[5],
               bytes[6]);
        UnmapViewOfFile(bytes);
        status = 0;
    }
    CloseHandle(mapping);
    return status;
}

// --- dialog controls ----------------------------------------------------------

std::string controlText(HWND control) {
    char text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &length);
    return text;
}

BOOL CALLBACK printControl(HWND child, LPARAM) {
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    printf("%d %s %d %s\n", GetDlgCtrlID(child), cls, IsWindowEnabled(child) ? 1 : 0, controlText(child).c_str());
    return TRUE;
}

bool isCombo(HWND control) {
    char cls[64] = {};
    GetClassNameA(control, cls, sizeof cls);
    return _stricmp(cls, "ComboBox") == 0;
}

int chooseItem(HWND dialog, int id, int index) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return 1;
    bool combo = isCombo(control);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0, SMTO_ABORTIFHUNG, 5000,
                        &result);
    WORD notice = combo ? CBN_SELCHANGE : LBN_SELCHANGE;
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, notice), reinterpret_cast<LPARAM>(control)) ? 0 : 1;
}

int listItems(HWND control) {
    if (!control) return 1;
    bool combo = isCombo(control);
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
        return 1;
    for (int i = 0; i < int(count); ++i) {
        // Asked in UTF-16: Wine hands another process's item texts back so.
        wchar_t wide[1024] = {};
        char text[1024] = {};
        DWORD_PTR data = 0, ignored = 0;
        SendMessageTimeoutW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(wide),
                            SMTO_ABORTIFHUNG, 5000, &ignored);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        SendMessageTimeoutA(control, combo ? CB_GETITEMDATA : LB_GETITEMDATA, WPARAM(i), 0, SMTO_ABORTIFHUNG, 5000,
                            &data);
        printf("%s|%ld\n", text, long(data));
    }
    return 0;
}

int holdFile(const char* path, DWORD ms) {
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    printf("held\n");
    fflush(stdout);
    Sleep(ms);
    CloseHandle(file);
    return 0;
}

int printShortcut(const char* path) {
    if (FAILED(CoInitialize(nullptr))) return 1;
    int result = 1;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    WCHAR wide[MAX_PATH];
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) && SUCCEEDED(file->Load(wide, STGM_READ))) {
        char target[MAX_PATH] = {}, arguments[1024] = {};
        if (link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK &&
            SUCCEEDED(link->GetArguments(arguments, sizeof arguments))) {
            printf("%s|%s\n", target, arguments);
            result = 0;
        }
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return result;
}

int usage() {
    fprintf(stderr, "probe: bad command\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string cmd = argv[1];
    auto need = [&](int n) { return argc >= n + 2; };
    if (cmd == "find" && need(2)) {
        HWND w = FindWindowA(orNull(argv[2]), orNull(argv[3]));
        if (!w) return 1;
        printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
        return 0;
    }
    if (cmd == "wait" && need(3)) {
        HWND w = waitFor(orNull(argv[2]), orNull(argv[3]), DWORD(toLong(argv[4])));
        if (!w) return 1;
        printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
        return 0;
    }
    if (cmd == "gone" && need(2)) {
        HWND w = toHwnd(argv[2]);
        DWORD start = GetTickCount(), ms = DWORD(toLong(argv[3]));
        while (IsWindow(w)) {
            if (GetTickCount() - start >= ms) return 1;
            Sleep(50);
        }
        return 0;
    }
    if (cmd == "count" && need(2)) {
        int n = 0;
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, orNull(argv[2]), orNull(argv[3])));) ++n;
        printf("%d\n", n);
        return 0;
    }
    if ((cmd == "post" || cmd == "send") && need(4)) {
        HWND w = toHwnd(argv[2]);
        UINT msg = UINT(toLong(argv[3]));
        WPARAM wp = WPARAM(strtoul(argv[4], nullptr, 0));
        LPARAM lp = LPARAM(toLong(argv[5]));
        if (cmd == "post") return PostMessageA(w, msg, wp, lp) ? 0 : 1;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result)) return 1;
        printf("%ld\n", long(result));
        return 0;
    }
    if (cmd == "info" && need(1)) {
        HWND w = toHwnd(argv[2]);
        if (!IsWindow(w)) return 1;
        char cls[256] = {}, title[256] = {};
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, title, sizeof title);
        RECT r;
        GetWindowRect(w, &r);
        printf("class=%s\ntitle=%s\nstyle=0x%08lx\nexstyle=0x%08lx\nvisible=%d\nrect=%ld,%ld,%ld,%ld\n", cls, title,
               static_cast<unsigned long>(GetWindowLongA(w, GWL_STYLE)),
               static_cast<unsigned long>(GetWindowLongA(w, GWL_EXSTYLE)), IsWindowVisible(w) ? 1 : 0, r.left, r.top,
               r.right, r.bottom);
        return 0;
    }
    if (cmd == "region" && need(1)) {
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        int kind = GetWindowRgn(toHwnd(argv[2]), rgn);
        if (kind == ERROR) return 1;
        DWORD size = GetRegionData(rgn, 0, nullptr);
        std::vector<BYTE> data(size);
        auto* region = reinterpret_cast<RGNDATA*>(data.data());
        GetRegionData(rgn, size, region);
        auto* rects = reinterpret_cast<RECT*>(region->Buffer);
        for (DWORD i = 0; i < region->rdh.nCount; ++i)
            printf("%ld,%ld,%ld,%ld\n", rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
        DeleteObject(rgn);
        return 0;
    }
    if (cmd == "answer" && need(3)) return answer(argv[2], argv[3], DWORD(toLong(argv[4])));
    if (cmd == "text" && need(2)) {
        // A box can be found while its WM_INITDIALOG still fills in the
        // texts; it is shown only once that has returned.
        DWORD start = GetTickCount(), ms = DWORD(toLong(argv[3]));
        for (;;) {
            std::string texts;
            HWND box = FindWindowA("#32770", argv[2]);
            if (box && IsWindowVisible(box)) EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&texts));
            if (!texts.empty()) {
                printf("%s", texts.c_str());
                return 0;
            }
            if (GetTickCount() - start >= ms) return 1;
            Sleep(50);
        }
    }
    if (cmd == "capture" && need(1)) return capture(argv[2]);
    if (cmd == "pixel" && need(2)) {
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, int(toLong(argv[2])), int(toLong(argv[3])));
        ReleaseDC(nullptr, screen);
        printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
        return 0;
    }
    if (cmd == "reg" && need(2)) return regQuery(argv[2], argv[3], argc > 4 ? argv[4] : nullptr);
    if (cmd == "regbytes" && need(3)) return regBytes(argv[2], argv[3], argv[4]);
    if (cmd == "regset" && need(5)) return regSet(argv[2], argv[3], argv[4], argv[5], argv[6]);
    if (cmd == "regdel" && need(2)) return regDelete(argv[2], argv[3]);
    if (cmd == "copydata" && need(3)) return copyData(toHwnd(argv[2]), DWORD(toLong(argv[3])), argv[4]);
    if (cmd == "click" && need(2)) return click(int(toLong(argv[2])), int(toLong(argv[3])));
    if (cmd == "host" && need(1)) return hostWindow(DWORD(toLong(argv[2])));
    if (cmd == "foreground") {
        printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(GetForegroundWindow())));
        return 0;
    }
    if (cmd == "children" && need(1)) {
        HWND w = toHwnd(argv[2]);
        if (!IsWindow(w)) return 1;
        EnumChildWindows(w, printChildClass, reinterpret_cast<LPARAM>(w));
        return 0;
    }
    if (cmd == "memory" && need(1)) return workingSet(toHwnd(argv[2]));
    if (cmd == "priority" && need(1)) return priorityClass(toHwnd(argv[2]));
    if (cmd == "resource" && need(3)) return saveResource(argv[2], argv[3], argv[4]);
    if (cmd == "record" && need(3)) return recordingWindow(argv[2], argv[3], DWORD(toLong(argv[4])));
    if (cmd == "hung" && need(3)) return hungWindow(argv[2], argv[3], DWORD(toLong(argv[4])));
    if (cmd == "controls" && need(1)) {
        HWND w = toHwnd(argv[2]);
        if (!IsWindow(w)) return 1;
        EnumChildWindows(w, printControl, 0);
        return 0;
    }
    if (cmd == "gettext" && need(2)) {
        HWND control = GetDlgItem(toHwnd(argv[2]), int(toLong(argv[3])));
        if (!control) return 1;
        printf("%s\n", controlText(control).c_str());
        return 0;
    }
    if (cmd == "settext" && need(3)) {
        HWND control = GetDlgItem(toHwnd(argv[2]), int(toLong(argv[3])));
        DWORD_PTR result = 0;
        return control && SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]),
                                              SMTO_ABORTIFHUNG, 5000, &result)
                   ? 0
                   : 1;
    }
    if (cmd == "press" && need(2)) {
        HWND dialog = toHwnd(argv[2]);
        int id = int(toLong(argv[3]));
        HWND control = GetDlgItem(dialog, id);
        return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control)) ? 0 : 1;
    }
    if (cmd == "choose" && need(3)) return chooseItem(toHwnd(argv[2]), int(toLong(argv[3])), int(toLong(argv[4])));
    if (cmd == "items" && need(2)) return listItems(GetDlgItem(toHwnd(argv[2]), int(toLong(argv[3]))));
    if (cmd == "hold" && need(2)) return holdFile(argv[2], DWORD(toLong(argv[3])));
    if (cmd == "child" && need(2)) {
        HWND control = GetDlgItem(toHwnd(argv[2]), int(toLong(argv[3])));
        if (!control) return 1;
        printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(control)));
        return 0;
    }
    if (cmd == "at" && need(2)) {
        // The window a click at (x, y) goes to, and its class.
        HWND w = WindowFromPoint(POINT{int(toLong(argv[2])), int(toLong(argv[3]))});
        char cls[64] = {};
        if (w) GetClassNameA(w, cls, sizeof cls);
        printf("%lu %s\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)), cls);
        return 0;
    }
    if (cmd == "below" && need(1)) {
        // How many visible windows lie below this one in the Z order.
        HWND w = toHwnd(argv[2]);
        if (!IsWindow(w)) return 1;
        int n = 0;
        for (HWND next = GetWindow(w, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
            n += IsWindowVisible(next) ? 1 : 0;
        printf("%d\n", n);
        return 0;
    }
    if (cmd == "taskbar") {
        // The windows the taskbar shows a button for: Wine's taskbar gives
        // each button the window's handle as its control id.
        HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
        if (!tray) return 1;
        for (HWND b = GetWindow(tray, GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT)) {
            char cls[32] = {};
            GetClassNameA(b, cls, sizeof cls);
            if (IsWindowVisible(b) && lstrcmpiA(cls, "Button") == 0)
                printf("%lu\n", static_cast<unsigned long>(GetDlgCtrlID(b)));
        }
        return 0;
    }
    if (cmd == "windows" && need(2)) {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, orNull(argv[2]), orNull(argv[3])));)
            printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
        return 0;
    }
    if (cmd == "item" && need(2)) {
        HWND w = GetDlgItem(toHwnd(argv[2]), int(toLong(argv[3])));
        if (!w) return 1;
        printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
        return 0;
    }
    if (cmd == "focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        HWND foreground = GetForegroundWindow();
        if (!foreground || !GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) || !info.hwndFocus)
            return 1;
        printf("%d %lu\n", GetDlgCtrlID(info.hwndFocus),
               static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(info.hwndFocus)));
        return 0;
    }
    if (cmd == "cursor") {
        CURSORINFO info{};
        info.cbSize = sizeof info;
        if (!GetCursorInfo(&info)) return 1;
        printf("%d\n", (info.flags & CURSOR_SHOWING) ? 1 : 0);
        return 0;
    }
    if (cmd == "block") return watcherBlock();
    if (cmd == "move" && need(5)) {
        return SetWindowPos(toHwnd(argv[2]), nullptr, int(toLong(argv[3])), int(toLong(argv[4])),
                            int(toLong(argv[5])), int(toLong(argv[6])), SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    }
    if (cmd == "shortcut" && need(1)) return printShortcut(argv[2]);
    if (cmd == "hotkey" && need(2)) {
        if (!RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, UINT(toLong(argv[2])))) return 1;
        printf("held\n");
        fflush(stdout);
        Sleep(DWORD(toLong(argv[3])));
        UnregisterHotKey(nullptr, 1);
        return 0;
    }
    return usage();
}
