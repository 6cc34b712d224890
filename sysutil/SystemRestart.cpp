#include "SystemRestart.h"

int RestartWithPrivilege(ExitWindowsFunction exitWindows)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return 0;
    TOKEN_PRIVILEGES shutdown = {};
    LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &shutdown.Privileges[0].Luid);
    shutdown.PrivilegeCount = 1;
    shutdown.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // A privilege the token lacks still gives TRUE, with ERROR_NOT_ALL_ASSIGNED.
    SetLastError(ERROR_SUCCESS);
    const BOOL adjusted = AdjustTokenPrivileges(token, FALSE, &shutdown, 0, nullptr, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(token);
    if (!adjusted || error != ERROR_SUCCESS)
        return 0;
    return exitWindows(EWX_REBOOT, 0) ? 1 : 0;
}
