// Helpers shared by the Windows tests of flurrin.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "frame/clock.h"
#include "frame/form.h"
#include "settings/settings.h"

namespace flurrin::testing {

// Collects the message boxes the code under test would show.
class CapturedMessages {
public:
    CapturedMessages() { previous_ = set_message_sink(&CapturedMessages::sink); texts().clear(); titles().clear(); }
    ~CapturedMessages() { set_message_sink(previous_); }
    static std::vector<std::string>& texts() { static std::vector<std::string> t; return t; }
    static std::vector<std::string>& titles() { static std::vector<std::string> t; return t; }

private:
    static int sink(HWND, const std::string& text, const std::string& title, UINT) {
        texts().push_back(text);
        titles().push_back(title);
        return IDOK;
    }
    MessageSink previous_;
};

class MemoryStore : public SettingsStore {
public:
    std::map<std::string, std::string> values;
    std::optional<std::string> read(std::string_view section, std::string_view key) override {
        auto it = values.find(std::string(section) + "/" + std::string(key));
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void write(std::string_view section, std::string_view key, std::string_view text) override {
        values[std::string(section) + "/" + std::string(key)] = std::string(text);
    }
};

// A clock the test moves by hand.
class ManualClock : public Clock {
public:
    uint32_t now = 1000;
    TimeOfDay time{13, 2, 3};
    uint32_t now_ms() override { return now; }
    TimeOfDay time_of_day() override { return time; }
};

// Lets window messages run for about ms milliseconds; a WM_QUIT seen on the
// way is dropped (the forms post one when the last of them closes).
inline bool pump_until(DWORD ms, bool (*done)() = nullptr) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done && done()) return true;
        if (GetTickCount() - start >= ms) return done ? done() : true;
        Sleep(5);
    }
}

inline std::string temp_dir(const char* name) {
    char buffer[MAX_PATH];
    GetTempPathA(sizeof buffer, buffer);
    std::string dir = std::string(buffer) + name + "_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

inline void write_file(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

}  // namespace flurrin::testing
