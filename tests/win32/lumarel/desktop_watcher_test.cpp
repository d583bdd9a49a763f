// The desktop watcher against a stand-in desktop in another process of ours
// (tests/standin): the hook library enters that process, subclasses its icon
// view and tells this test's "Lumarel" window before each paint.
#include "frame/desktop_watcher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/message.h"
#include "helper/watch_block.h"

using namespace lumarel;

namespace {

enum Question : UINT { kPaints, kNoticed, kOwnProcedure, kUnicode, kRepaint, kWrap, kViewHandle };

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Waits for a condition while handling messages (the notices come as sent
// messages); false when it did not come within the limit.
template <typename Condition>
bool waitFor(Condition condition, DWORD limitMs = 5000) {
    const DWORD begin = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - begin > limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pump();
    }
    return true;
}

std::string besideTheTests(const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// The stand-in desktop program, running while this lives.
class StandIn {
public:
    explicit StandIn(const char* program = "stand_in_desktop.exe") {
        std::string command = "\"" + besideTheTests(program) + "\" 60000";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            return;
        // Up once it answers (its windows are made before it takes
        // messages) and its view has painted once: the counts start after.
        waitFor([&] { return (progman_ = ownProgman()) != nullptr && ask(kViewHandle) > 0 && ask(kPaints) > 0; },
                20000);
    }
    ~StandIn() { end(); }
    void end() {
        if (!process_.hProcess) return;
        if (progman_) PostMessageA(progman_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
        progman_ = nullptr;
    }
    bool running() const { return progman_ != nullptr; }
    DWORD processId() const { return process_.dwProcessId; }
    LRESULT ask(Question question, WPARAM wParam = 0) const {
        DWORD_PTR result = DWORD_PTR(-1);
        SendMessageTimeoutA(progman_, WM_APP + question, wParam, 0, SMTO_NORMAL, 5000, &result);
        return LRESULT(result);
    }
    DWORD viewThread() const {
        return GetWindowThreadProcessId(reinterpret_cast<HWND>(ask(kViewHandle)), nullptr);
    }
    // Repaints the view and waits until the paint has run.
    bool repaint(COLORREF colour = RGB(200, 40, 40)) const {
        const LRESULT before = ask(kRepaint, colour);
        return waitFor([&] { return ask(kPaints) > before; });
    }

private:
    HWND ownProgman() const {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "Progman", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == process_.dwProcessId) return w;
        }
        return nullptr;
    }
    PROCESS_INFORMATION process_{};
    HWND progman_ = nullptr;
};

// The test's own view of the shared blocks, as another program would have it.
template <typename T>
class SharedBlock {
public:
    explicit SharedBlock(const char* name) {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(T), name);
        if (mapping_) data_ = static_cast<volatile T*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(T)));
    }
    ~SharedBlock() {
        if (data_) UnmapViewOfFile(const_cast<T*>(data_));
        if (mapping_) CloseHandle(mapping_);
    }
    volatile T* operator->() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    HANDLE mapping_ = nullptr;
    volatile T* data_ = nullptr;
};

// The test plays lumarel's main window: it takes each notice as the frame
// does, setting the painting byte through the watcher.
DesktopWatcher* noticeWatcher = nullptr;
int notices = 0;

LRESULT CALLBACK mainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == watch::kDesktopPaintMessage) {
        ++notices;
        if (noticeWatcher) noticeWatcher->notePainting();
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

struct Told {
    std::string title, text;
};

class DesktopWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (FindWindowA("Progman", nullptr)) GTEST_SKIP() << "a real shell desktop is present";
        main_ = makeMainWindow();
        ASSERT_TRUE(main_);
        notices = 0;
    }
    static HWND makeMainWindow() {
        WNDCLASSA c{};
        c.lpfnWndProc = DefWindowProcA;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = watch::kMainClass;
        RegisterClassA(&c);  // other tests play lumarel too, each with its own procedure
        HWND w = CreateWindowExA(0, watch::kMainClass, watch::kMainTitle, WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
        if (w) SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&mainProc));
        return w;
    }
    void TearDown() override {
        noticeWatcher = nullptr;
        if (main_) DestroyWindow(main_);
        pump();
    }
    std::vector<Told> told;
    ScopedMessageSink sink{[this](HWND, const char* text, const char* title, UINT) {
        told.push_back({title, text});
        return IDOK;
    }};
    HWND main_ = nullptr;
};

}  // namespace

TEST_F(DesktopWatcherTest, EachPaintOfTheHookedViewIsNoticedFirst) {
    StandIn desktop;
    ASSERT_TRUE(desktop.running());
    DesktopWatcher watcher;
    noticeWatcher = &watcher;
    watcher.start();
    const uint32_t hook = watcher.hookHandle();
    ASSERT_NE(hook, 0u) << "the hook is in the block";
    ASSERT_TRUE(waitFor([&] { return desktop.ask(kOwnProcedure) == 0; })) << "the view is subclassed";
    EXPECT_EQ(desktop.ask(kUnicode), 1) << "the subclass keeps the view a Unicode window";
    SharedBlock<watch::Owner> owner(watch::kOwnerName);
    ASSERT_TRUE(owner);
    EXPECT_EQ(owner->process, GetCurrentProcessId());
    EXPECT_EQ(owner->thread, desktop.viewThread());

    const LRESULT noticedBefore = desktop.ask(kNoticed);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(desktop.repaint());
    EXPECT_EQ(notices, 3) << "one notice per paint";
    EXPECT_EQ(desktop.ask(kNoticed) - noticedBefore, 3) << "each notice came before its paint";
    EXPECT_FALSE(watcher.painting()) << "the view cleared the painting byte after its paint";

    // A lumarel started anew has another main window: the notices find it.
    DestroyWindow(main_);
    main_ = makeMainWindow();
    ASSERT_TRUE(desktop.repaint());
    EXPECT_EQ(notices, 4) << "the new main window is told";

    watcher.suspend();
    ASSERT_TRUE(desktop.repaint());
    EXPECT_EQ(notices, 4) << "suspended, the view paints without a notice";

    watcher.start();
    EXPECT_EQ(watcher.hookHandle(), hook) << "a second start hooks once";
    ASSERT_TRUE(desktop.repaint());
    EXPECT_EQ(notices, 5) << "started again, notices come again";

    watcher.release();
    EXPECT_FALSE(watcher.mapped());
    SharedBlock<watch::Block> block(watch::kBlockName);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->hook, 0u) << "the hook cleared the handle before release returned";
    EXPECT_EQ(block->unhookRequest, 0);
    EXPECT_EQ(desktop.ask(kOwnProcedure), 1) << "the view has its own procedure again";
    ASSERT_TRUE(desktop.repaint());
    EXPECT_EQ(notices, 5);
    EXPECT_TRUE(told.empty());
}

TEST_F(DesktopWatcherTest, AReleaseUnderALaterSubclassLeavesAQuietPassThrough) {
    StandIn desktop;
    ASSERT_TRUE(desktop.running());
    DesktopWatcher watcher;
    noticeWatcher = &watcher;
    watcher.start();
    ASSERT_TRUE(waitFor([&] { return desktop.ask(kOwnProcedure) == 0; }));
    ASSERT_EQ(desktop.ask(kWrap), 1) << "another subclass goes on top of ours";
    ASSERT_TRUE(desktop.repaint());
    EXPECT_EQ(notices, 1) << "ours still runs under the other";

    watcher.release();
    SharedBlock<watch::Block> block(watch::kBlockName);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->hook, 0u) << "unhooked all the same";
    // Putting our predecessor back would cut the later subclass off.
    EXPECT_EQ(desktop.ask(kOwnProcedure), 0);
    const LRESULT noticed = desktop.ask(kNoticed);
    ASSERT_TRUE(desktop.repaint());
    EXPECT_EQ(notices, 1) << "the pass-through sends no notices";
    EXPECT_EQ(desktop.ask(kNoticed), noticed);
}

TEST_F(DesktopWatcherTest, AHungLumarelHoldsUpTheDesktopOnlyBriefly) {
    StandIn desktop;
    ASSERT_TRUE(desktop.running());
    // lumarel's main window, on a thread that takes no messages.
    DestroyWindow(main_);
    main_ = nullptr;
    HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr), wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    struct Hung {
        HANDLE made, wake;
        static DWORD WINAPI run(void* p) {
            auto* self = static_cast<Hung*>(p);
            HWND window = makeMainWindow();
            SetEvent(self->made);
            WaitForSingleObject(self->wake, 20000);
            DestroyWindow(window);
            return 0;
        }
    } hung{made, wake};
    HANDLE thread = CreateThread(nullptr, 0, &Hung::run, &hung, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(made, 5000), WAIT_OBJECT_0);
    DesktopWatcher watcher;
    watcher.start();
    ASSERT_TRUE(waitFor([&] { return desktop.ask(kOwnProcedure) == 0; }));
    const DWORD begin = GetTickCount();
    const bool painted = desktop.repaint();
    const DWORD took = GetTickCount() - begin;
    SetEvent(wake);
    WaitForSingleObject(thread, 20000);
    CloseHandle(thread);
    CloseHandle(made);
    CloseHandle(wake);
    EXPECT_TRUE(painted) << "the desktop waits for a hung lumarel";
    EXPECT_LT(took, 2000u) << "the notice gives up after its time-out";
    watcher.release();
    EXPECT_EQ(desktop.ask(kOwnProcedure), 1);
}

TEST_F(DesktopWatcherTest, ALiveOwnersHandleIsKeptADeadOnesReplaced) {
    StandIn desktop;
    ASSERT_TRUE(desktop.running());
    SharedBlock<watch::Block> block(watch::kBlockName);
    SharedBlock<watch::Owner> owner(watch::kOwnerName);
    ASSERT_TRUE(block && owner);
    // Another running instance's hook, as far as the blocks tell.
    constexpr uint32_t kOthersHook = 0x5678;
    block->hook = kOthersHook;
    owner->process = desktop.processId();
    owner->thread = desktop.viewThread();

    DesktopWatcher watcher;
    noticeWatcher = &watcher;
    watcher.start();
    EXPECT_EQ(block->hook, kOthersHook) << "a live owner's handle stays";
    EXPECT_EQ(owner->process, desktop.processId());

    // The same handle left by a program that has ended.
    StandIn gone;
    ASSERT_TRUE(gone.running());
    const DWORD goneId = gone.processId();
    gone.end();
    owner->process = goneId;
    watcher.start();
    EXPECT_NE(block->hook, kOthersHook) << "a dead owner's handle is replaced";
    EXPECT_NE(block->hook, 0u);
    EXPECT_EQ(owner->process, GetCurrentProcessId());
    EXPECT_TRUE(waitFor([&] { return desktop.ask(kOwnProcedure) == 0; })) << "and the view is hooked";
    watcher.release();
    EXPECT_EQ(block->hook, 0u);
    EXPECT_EQ(desktop.ask(kOwnProcedure), 1);
}

TEST_F(DesktopWatcherTest, WithoutTheLibraryTheUserIsToldOnceAndNothingIsMapped) {
    StandIn desktop;
    ASSERT_TRUE(desktop.running());
    DesktopWatcher watcher("No Such Helper.DLL");
    watcher.start();
    watcher.start();
    EXPECT_FALSE(watcher.mapped());
    EXPECT_FALSE(watcher.painting());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].title, kHelperMissingTitle);
    EXPECT_EQ(told[0].text.rfind("The Lumarel Helper DLL is not installed, which may cause some bulbs to display "
                                 "incorrectly.\r\n\r\n",
                                 0),
              0u)
        << told[0].text;
    EXPECT_EQ(desktop.ask(kOwnProcedure), 1);
}

TEST_F(DesktopWatcherTest, WithoutAnIconViewNothingIsHookedOrSaid) {
    DesktopWatcher watcher;
    watcher.start();
    EXPECT_TRUE(watcher.mapped());
    EXPECT_EQ(watcher.hookHandle(), 0u);
    EXPECT_TRUE(told.empty()) << "a missing icon view is not a missing library";
    watcher.release();
}

namespace {

// The stand-in desktop of the other bitness; null when this Wine runs one
// bitness only or it was not built.
std::unique_ptr<StandIn> otherBitnessDesktop() {
    const char* other = sizeof(void*) == 4 ? "stand_in_desktop64.exe" : "stand_in_desktop32.exe";
    if (GetFileAttributesA(besideTheTests(other).c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
    auto desktop = std::make_unique<StandIn>(other);
    if (!desktop->running()) return nullptr;
    return desktop;
}

bool ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

}  // namespace

TEST_F(DesktopWatcherTest, ASixtyFourBitDesktopIsHookedByTheSixtyFourBitHost) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "the host serves a 32-bit lumarel";
    auto desktop = otherBitnessDesktop();
    if (!desktop) GTEST_SKIP() << "no 64-bit stand-in desktop runs here";
    DesktopWatcher watcher;
    noticeWatcher = &watcher;
    watcher.start();
    ASSERT_TRUE(watcher.host64()) << "the host runs";
    const uint32_t hook = watcher.hookHandle();
    EXPECT_NE(hook, 0u);
    SharedBlock<watch::Owner> owner(watch::kOwnerName);
    ASSERT_TRUE(owner);
    const DWORD hostId = owner->process;
    EXPECT_NE(hostId, GetCurrentProcessId()) << "the host owns the hook";
    HANDLE host = OpenProcess(SYNCHRONIZE, FALSE, hostId);
    ASSERT_TRUE(host);
    ASSERT_TRUE(waitFor([&] { return desktop->ask(kOwnProcedure) == 0; })) << "the 64-bit view is subclassed";
    EXPECT_EQ(desktop->ask(kUnicode), 1);
    const LRESULT noticed = desktop->ask(kNoticed);
    ASSERT_TRUE(desktop->repaint());
    ASSERT_TRUE(desktop->repaint());
    EXPECT_EQ(notices, 2) << "notices cross from the 64-bit view";
    EXPECT_EQ(desktop->ask(kNoticed) - noticed, 2) << "each before its paint";

    watcher.start();
    EXPECT_EQ(watcher.hookHandle(), hook) << "a second start keeps the host's hook";
    watcher.release();
    EXPECT_TRUE(ended(host)) << "released, the host has ended";
    SharedBlock<watch::Block> block(watch::kBlockName);
    EXPECT_EQ(block->hook, 0u);
    EXPECT_EQ(desktop->ask(kOwnProcedure), 1) << "the view has its own procedure again";
    EXPECT_TRUE(told.empty()) << (told.empty() ? "" : told[0].title);
    CloseHandle(host);
}

TEST_F(DesktopWatcherTest, TheSixtyFourBitHostEndsWhenLumarelsMainWindowGoes) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "the host serves a 32-bit lumarel";
    auto desktop = otherBitnessDesktop();
    if (!desktop) GTEST_SKIP() << "no 64-bit stand-in desktop runs here";
    DesktopWatcher watcher;
    watcher.start();
    ASSERT_TRUE(watcher.host64());
    ASSERT_TRUE(waitFor([&] { return desktop->ask(kOwnProcedure) == 0; }));
    DestroyWindow(main_);
    main_ = nullptr;
    EXPECT_TRUE(waitFor([&] { return ended(watcher.host64()); })) << "the host follows the main window";
    EXPECT_EQ(watcher.hookHandle(), 0u) << "and took its hook out first";
    EXPECT_EQ(desktop->ask(kOwnProcedure), 1);
}

TEST_F(DesktopWatcherTest, WithoutTheSixtyFourBitPairADesktopOfOtherBitnessGetsNoHookAndOneMessage) {
    auto desktop = otherBitnessDesktop();
    if (!desktop) GTEST_SKIP() << "no stand-in desktop of the other bitness runs here";
    DesktopWatcher watcher(kHelperLibrary, "No Such Host.exe");
    noticeWatcher = &watcher;
    watcher.start();
    watcher.start();
    EXPECT_EQ(watcher.hookHandle(), 0u) << "a 32-bit hook would be accepted and never run";
    EXPECT_FALSE(watcher.host64());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].title, kOtherBitnessTitle);
    EXPECT_NE(told[0].text.find("slow"), std::string::npos) << told[0].text;
    ASSERT_TRUE(desktop->repaint());
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(desktop->ask(kOwnProcedure), 1);
}
