// Ends the test program when one test runs far longer than any should, so a
// saver that never starts or never stops fails with its name instead of
// holding the suite until ctest gives up.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>

namespace {

constexpr DWORD kTestLimitMs = 120000;

std::atomic<DWORD> g_deadline{0};
std::string g_running;

DWORD WINAPI watch(void*) {
    for (;;) {
        Sleep(500);
        DWORD deadline = g_deadline.load();
        if (deadline != 0 && int32_t(GetTickCount() - deadline) > 0) {
            std::fprintf(stderr, "watchdog: %s ran for more than %lu s; ending the test program\n", g_running.c_str(),
                         static_cast<unsigned long>(kTestLimitMs / 1000));
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 124);
        }
    }
}

class Watchdog : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override {
        g_running = std::string(test.test_suite_name()) + "." + test.name();
        g_deadline = GetTickCount() + kTestLimitMs;
    }
    void OnTestEnd(const ::testing::TestInfo&) override { g_deadline = 0; }
};

const bool g_installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    HANDLE thread = CreateThread(nullptr, 0, watch, nullptr, 0, nullptr);
    if (thread) CloseHandle(thread);  // the thread runs until the process ends
    return true;
}();

}  // namespace
