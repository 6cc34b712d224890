// Restarting Windows from the NT family, which requires the shutdown
// privilege to be enabled first.
#pragma once
#include <windows.h>

using ExitWindowsFunction = BOOL(WINAPI*)(UINT flags, DWORD reason);

// Enables SeShutdownPrivilege and asks for a reboot (no force flag). 1 when
// the request was accepted; 0 when the token cannot be opened, the privilege
// is not held, or the request is refused. Tests pass their own exitWindows.
int RestartWithPrivilege(ExitWindowsFunction exitWindows = ExitWindowsEx);
