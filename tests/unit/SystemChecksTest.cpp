#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "SystemChecks.h"
#include "SpoolerStandIn.h"
#include "TestPaths.h"
#include "VersionRecords.h"
#include "WineVersion.h"

namespace {

// A hidden top-level window of a given class that records the WM_CLOSE and
// "KUninstClose01" messages it gets, and answers WM_CLOSE as told.
class RecordingWindow {
public:
    RecordingWindow(const char* windowClass, LRESULT answer) : answer(answer)
    {
        WNDCLASSA type = {};
        type.lpfnWndProc = Procedure;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = windowClass;
        RegisterClassA(&type);
        window = CreateWindowExA(0, windowClass, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingWindow() { DestroyWindow(window); }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND window;
    LRESULT answer;
    struct Close {
        WPARAM wParam;
        LPARAM lParam;
        int order;
    };
    std::vector<Close> closes;
    int broadcasts = 0;

    static int sequence;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        RecordingWindow* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_CLOSE) {
            self->closes.push_back({wParam, lParam, ++sequence});
            return self->answer;
        }
        if (self && message == RegisterWindowMessageA("KUninstClose01")) {
            ++self->broadcasts;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

int RecordingWindow::sequence = 0;

// Lets posted messages arrive, until the condition holds or two seconds pass.
template <typename Condition> bool PumpUntil(Condition done)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 2000) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(10);
    }
    return done();
}

std::string UniqueClass(const char* stem) { return stem + std::to_string(GetCurrentProcessId()); }

const char* const kCompanionClasses[] = {
    "SdStatusWindowClass_", "KVQStatusClass_01",    "KVQInstallClass__", "ZbridgeWClass01", "VSPL3208Class",
    "ZMsgPopClass01",       "PELLIVANCEDLGCLASS01", "ZPSD01",            "KVQPSMCClass01",
};

}  // namespace

// Serial: both start system_probe.exe under an emulated version, which is
// set per program name for the whole prefix.
TEST(SerialIsAdministrator, AlwaysOffTheNTPlatformWithoutAToken)
{
    EXPECT_EQ(1, IsAdministrator(versions::kWin98));
    const ChildResult win98 = RunUnderWindowsVersion(BesideTests("system_probe.exe"), "is-admin", "win98");
    ASSERT_TRUE(win98.started);
    EXPECT_EQ("hooked=1 platform=2 admin=1 tokens=0\r\n", win98.output);
}

// Wine's user belongs to Administrators; the probe shows the token was read.
TEST(SerialIsAdministrator, OnNTFromTheTokenGroups)
{
    EXPECT_EQ(1, IsAdministrator(COSInfo()));
    const ChildResult xp = RunUnderWindowsVersion(BesideTests("system_probe.exe"), "is-admin", "winxp");
    ASSERT_TRUE(xp.started);
    EXPECT_EQ("hooked=1 platform=3 admin=1 tokens=1\r\n", xp.output);
    const ChildResult manyGroups =
        RunUnderWindowsVersion(BesideTests("system_probe.exe"), "is-admin-many-groups", "winxp");
    ASSERT_TRUE(manyGroups.started);
    EXPECT_EQ("hooked=1 admin=1\r\n", manyGroups.output) << "the groups do not fit a fixed buffer";
}

TEST(SendCloseToClass, OnlyAnExistingWindowThatAgreesCounts)
{
    const std::string agrees = UniqueClass("TrelunCloseAgrees");
    const std::string refuses = UniqueClass("TrelunCloseRefuses");
    EXPECT_EQ(0, SendCloseToClass(agrees.c_str(), 0, 0));
    RecordingWindow agreeing(agrees.c_str(), 0);
    RecordingWindow refusing(refuses.c_str(), 1);
    ASSERT_NE(nullptr, agreeing.window);
    ASSERT_NE(nullptr, refusing.window);

    EXPECT_EQ(1, SendCloseToClass(agrees.c_str(), 7, 9));
    ASSERT_EQ(1u, agreeing.closes.size()) << "handled before the call returns";
    EXPECT_EQ(7u, agreeing.closes[0].wParam);
    EXPECT_EQ(9, agreeing.closes[0].lParam);
    EXPECT_EQ(0, SendCloseToClass(refuses.c_str(), 0, 0));
    EXPECT_EQ(1u, refusing.closes.size());
    EXPECT_EQ(0, SendCloseToClass("", 0, 0));
    EXPECT_EQ(0, SendCloseToClass(nullptr, 0, 0));
}

namespace {

// A companion window whose thread no longer reads its messages.
struct HungWindow {
    std::string windowClass;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND window = nullptr;
};

DWORD WINAPI RunHungWindow(LPVOID context)
{
    HungWindow& state = *static_cast<HungWindow*>(context);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = state.windowClass.c_str();
    RegisterClassA(&windowClass);
    state.window = CreateWindowA(state.windowClass.c_str(), "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
    SetEvent(state.created);
    WaitForSingleObject(state.release, INFINITE);  // never pumps
    DestroyWindow(state.window);
    return 0;
}

}  // namespace

TEST(SendCloseToClass, AHungWindowIsGivenUpOnWithinTheBound)
{
    HungWindow hung;
    hung.windowClass = UniqueClass("TrelunCloseHung");
    HANDLE thread = CreateThread(nullptr, 0, RunHungWindow, &hung, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hung.created, 10000));
    ASSERT_NE(nullptr, hung.window);

    const DWORD start = GetTickCount();
    EXPECT_EQ(0, SendCloseToClass(hung.windowClass.c_str(), 0, 0));
    EXPECT_LT(GetTickCount() - start, 8000u);

    SetEvent(hung.release);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(hung.created);
    CloseHandle(hung.release);
}

// The only test that makes windows of the companion classes: other
// processes' windows of these classes would be found too.
TEST(CloseCompanionPrograms, ClosesEachClassInOrderThenBroadcasts)
{
    const std::string listenerClass = UniqueClass("TrelunCloseListener");
    RecordingWindow listener(listenerClass.c_str(), 0);
    ASSERT_NE(nullptr, listener.window);
    EXPECT_EQ(1, CloseCompanionPrograms()) << "with none of the programs running";
    EXPECT_TRUE(PumpUntil([&] { return listener.broadcasts == 1; }));

    std::vector<std::unique_ptr<RecordingWindow>> companions;
    for (const char* windowClass : kCompanionClasses) {
        companions.emplace_back(new RecordingWindow(windowClass, 0));
        ASSERT_NE(nullptr, companions.back()->window) << windowClass;
    }
    RecordingWindow secondStatus("KVQStatusClass_01", 0);
    listener.broadcasts = 0;
    EXPECT_EQ(1, CloseCompanionPrograms());

    int previous = 0;
    for (std::size_t i = 0; i < companions.size(); ++i) {
        SCOPED_TRACE(kCompanionClasses[i]);
        const RecordingWindow& companion = *companions[i];
        const RecordingWindow* closed = &companion;
        if (i == 1 && companion.closes.empty())
            closed = &secondStatus;
        ASSERT_EQ(1u, closed->closes.size());
        EXPECT_EQ(0u, closed->closes[0].wParam);
        EXPECT_EQ(std::string(kCompanionClasses[i]) == "ZPSD01" ? 1 : 0, closed->closes[0].lParam);
        EXPECT_GT(closed->closes[0].order, previous);
        previous = closed->closes[0].order;
    }
    EXPECT_EQ(1u, companions[1]->closes.size() + secondStatus.closes.size()) << "only the first window of a class";
    EXPECT_TRUE(PumpUntil([&] {
        for (const auto& companion : companions) {
            if (companion->broadcasts != 1)
                return false;
        }
        return listener.broadcasts == 1 && secondStatus.broadcasts == 1;
    }));
}

TEST(CloseWin95Spooler, OnlyWhenItsWindowExists)
{
    EXPECT_EQ(0, CloseWin95Spooler());
    RecordingWindow spooler("SpoolProcessClass", 0);
    ASSERT_NE(nullptr, spooler.window);
    EXPECT_EQ(1, CloseWin95Spooler());
    ASSERT_EQ(1u, spooler.closes.size());
    EXPECT_EQ(0u, spooler.closes[0].wParam);
    EXPECT_EQ(0, spooler.closes[0].lParam);
}

// Wine's own Spooler service through the real service control manager, and
// a stand-in program in its place whose start fails.
// A busy spooler takes its time to stop; started meanwhile it answers
// "already running" and then stops, leaving printing off.
TEST(SerialSpoolerService, AStartWaitsForASlowStopToEnd)
{
    SlowStoppingSpooler slow(BesideTests("slow_spooler.exe"));
    ASSERT_TRUE(slow.running);
    ASSERT_EQ(1, StopSpooler());
    ASSERT_EQ(static_cast<DWORD>(SERVICE_STOP_PENDING), SpoolerStatus().dwCurrentState);
    EXPECT_EQ(0, StartSpooler()) << "a stop still pending is no running spooler";
    EXPECT_EQ(1, StartSpoolerWhenStopped(10000));
    EXPECT_TRUE(WaitForSpooler(SERVICE_RUNNING));
}

TEST(SerialSpoolerService, StopAndStartThroughTheServiceManager)
{
    const bool wasRunning = SpoolerStatus().dwCurrentState == SERVICE_RUNNING;
    {
        SpoolerProgram program;
        if (wasRunning) {
            ASSERT_EQ(1, StopSpooler());
            ASSERT_TRUE(WaitForSpooler(SERVICE_STOPPED));
        }
        EXPECT_EQ(0, StopSpooler()) << "a stopped service takes no stop request";

        EXPECT_EQ(1, StartSpooler());
        EXPECT_TRUE(WaitForSpooler(SERVICE_RUNNING));
        EXPECT_EQ(1, StartSpooler()) << "already running counts as started";
        EXPECT_EQ(1, StopSpooler());
        EXPECT_TRUE(WaitForSpooler(SERVICE_STOPPED));

        ASSERT_TRUE(program.Set("C:\\windows\\system32\\cmd.exe /c exit 3"));
        EXPECT_EQ(0, StartSpooler());
        EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), SpoolerStatus().dwCurrentState);
    }
    EXPECT_EQ(1, StartSpooler()) << "Wine's spooler is back in place";
    EXPECT_TRUE(WaitForSpooler(SERVICE_RUNNING));
    if (!wasRunning) {
        StopSpooler();
        WaitForSpooler(SERVICE_STOPPED);
    }
}
