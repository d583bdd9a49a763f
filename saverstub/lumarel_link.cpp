#include "lumarel_link.h"

#include <shellapi.h>

#include "poll_wait.h"
#include "program_path.h"
#include "saver_ids.h"

namespace saverstub {
namespace {

using AllowForeground = BOOL(WINAPI*)(DWORD);

// Windows 98 and 2000 added the call; older systems let any program take
// the foreground anyway.
void letTakeForeground(HWND window) {
    const auto allow = reinterpret_cast<AllowForeground>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "AllowSetForegroundWindow")));
    DWORD process = 0;
    if (allow && GetWindowThreadProcessId(window, &process)) allow(process);
}

bool readPath(HKEY root, char (&path)[kMaxPath]) {
    HKEY key;
    if (RegOpenKeyExA(root, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    BYTE data[kMaxPath];
    DWORD type = 0, size = sizeof data;
    // Too long a value fails here with ERROR_MORE_DATA: no path then.
    bool read = RegQueryValueExA(key, kPathValue, nullptr, &type, data, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return read && programPathFromValue(type, data, size, path);
}

// The wait for lumarel's window, on the real clock and the started process.
class StartedLumarel final : public PollSubject {
public:
    StartedLumarel(HANDLE process, bool preview) : process_(process), preview_(preview) {}
    ~StartedLumarel() {
        if (process_) CloseHandle(process_);
    }
    uint32_t now() override { return GetTickCount(); }
    bool found() override { return findLumarel(preview_) != nullptr; }
    bool pauseUntilEnded(uint32_t ms) override {
        if (!process_) {
            Sleep(ms);
            return false;
        }
        return WaitForSingleObject(process_, ms) == WAIT_OBJECT_0;
    }

private:
    HANDLE process_;
    bool preview_;
};

struct PreviewSearch {
    HWND window, found;
};

BOOL CALLBACK checkPreview(HWND candidate, LPARAM data) {
    auto& search = *reinterpret_cast<PreviewSearch*>(data);
    char name[32];
    if (!GetClassNameA(candidate, name, sizeof name) || lstrcmpA(name, kPreviewClass) != 0) return TRUE;
    if (!GetWindowTextA(candidate, name, sizeof name) || lstrcmpA(name, kLumarelTitle) != 0) return TRUE;
    if (GetPropA(candidate, kSaverWindowProperty) != search.window) return TRUE;
    search.found = candidate;
    return FALSE;
}

// The preview lumarel whose mark names this saver window, or null.
HWND findPreviewFor(HWND window) {
    PreviewSearch search{window, nullptr};
    EnumWindows(checkPreview, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND findLumarel(bool preview) { return FindWindowA(preview ? kPreviewClass : kLumarelClass, kLumarelTitle); }

bool postToLumarel(bool preview, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND lumarel = findLumarel(preview);
    if (!lumarel) return false;
    letTakeForeground(lumarel);
    return PostMessageA(lumarel, message, wParam, lParam) != 0;
}

bool startLumarel(const char* parameters, bool preview) {
    char path[kMaxPath];
    if (!readPath(HKEY_CURRENT_USER, path) && !readPath(HKEY_LOCAL_MACHINE, path)) return false;
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    run.hwnd = GetFocus();
    run.lpVerb = "open";
    run.lpFile = path;
    run.lpParameters = parameters;
    run.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&run) || reinterpret_cast<UINT_PTR>(run.hInstApp) <= 32) {
        if (run.hProcess) CloseHandle(run.hProcess);
        return false;
    }
    StartedLumarel started(run.hProcess, preview);
    return pollUntilFound(started, kStartWaitMs, kPollStepMs) == PollResult::Found;
}

void stopLumarel(bool preview, HWND window) {
    // Another preview's lumarel may come first in the window list.
    HWND lumarel = preview ? findPreviewFor(window) : findLumarel(false);
    DWORD_PTR result = 0;
    if (lumarel)
        SendMessageTimeoutA(lumarel, kSaverWindowMessage, 0, 0, SMTO_ABORTIFHUNG, kStopTimeoutMs, &result);
}

}  // namespace saverstub
