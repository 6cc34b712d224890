// Checks and service control around the loading and removal sequences:
// administrator rights, closing the package's companion programs, and
// stopping and starting the print spooler. None shows a message; the
// callers decide what to tell the user.
#pragma once
#include <windows.h>

#include "OSInfo.h"

// 1 when the process may uninstall: always off the NT platform; on NT when
// the token's groups hold Administrators (a deny-only entry counts too).
int IsAdministrator(const COSInfo& os);

// Sends WM_CLOSE to the first window of each companion class, in order,
// then posts the registered message "KUninstClose01" to every top-level
// window. Always 1.
int CloseCompanionPrograms();

// 1 when a top-level window of the class exists and answers WM_CLOSE
// (sent, so it has been handled on return) with 0.
int SendCloseToClass(const char* windowClass, WPARAM wParam, LPARAM lParam);

// 1 when the "Spooler" service accepted the stop request (not waited for).
int StopSpooler();
// 1 when the "Spooler" service was started or is running. A service whose
// stop is still pending also answers "already running": it does not count.
int StartSpooler();
// How long a start waits for a stop still pending.
const DWORD kSpoolerStopWaitMs = 10000;
// StartSpooler once a stop still pending has completed (waited for at most
// timeoutMs).
int StartSpoolerWhenStopped(DWORD timeoutMs = kSpoolerStopWaitMs);

// Windows 95's spooler window: 1 when found and sent WM_CLOSE (then waits
// a second for it to go), else 0.
int CloseWin95Spooler();
