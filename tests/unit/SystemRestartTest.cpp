#include <gtest/gtest.h>

#include <windows.h>

#include "SystemRestart.h"
#include "TestPaths.h"
#include "WineVersion.h"

namespace {

// Stands in for ExitWindowsEx: nothing is ever restarted by these tests.
struct ExitWindowsRecorder {
    static int calls;
    static UINT flags;
    static DWORD reason;
    static BOOL answer;
    static BOOL WINAPI Call(UINT f, DWORD r)
    {
        ++calls;
        flags = f;
        reason = r;
        return answer;
    }
    static void Reset(BOOL a)
    {
        calls = 0;
        flags = 0xFFFFFFFF;
        reason = 0xFFFFFFFF;
        answer = a;
    }
};
int ExitWindowsRecorder::calls = 0;
UINT ExitWindowsRecorder::flags = 0;
DWORD ExitWindowsRecorder::reason = 0;
BOOL ExitWindowsRecorder::answer = FALSE;

}  // namespace

TEST(RestartWithPrivilege, AsksForARebootWithoutForce)
{
    ExitWindowsRecorder::Reset(TRUE);
    EXPECT_EQ(1, RestartWithPrivilege(ExitWindowsRecorder::Call));
    EXPECT_EQ(1, ExitWindowsRecorder::calls);
    EXPECT_EQ(static_cast<UINT>(EWX_REBOOT), ExitWindowsRecorder::flags);
    EXPECT_EQ(0u, ExitWindowsRecorder::reason);

    ExitWindowsRecorder::Reset(FALSE);
    EXPECT_EQ(0, RestartWithPrivilege(ExitWindowsRecorder::Call)) << "a refused restart";
    EXPECT_EQ(1, ExitWindowsRecorder::calls);
}

// The probe removes SeShutdownPrivilege from its token first:
// AdjustTokenPrivileges then succeeds with ERROR_NOT_ALL_ASSIGNED.
TEST(RestartWithPrivilege, WithoutThePrivilegeNothingIsRequested)
{
    const ChildResult run = RunUnderWindowsVersion(BesideTests("system_probe.exe"), "restart-without-privilege", "win2k");
    ASSERT_TRUE(run.started);
    EXPECT_EQ("removed=1 result=0 requests=0\r\n", run.output);
}
