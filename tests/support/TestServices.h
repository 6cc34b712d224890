// Services of the Wine prefix, for tests. Each call opens and closes its own
// handles to the service control manager.
#pragma once
#include <windows.h>

// The service's status; all zero (no state) when it cannot be queried.
SERVICE_STATUS_PROCESS ServiceStatus(const char* name);
// 0 when the service can be opened, else the error.
DWORD ServiceOpenError(const char* name);
void StartNamedService(const char* name);
// Asks the service to stop, without waiting.
void StopNamedService(const char* name);
// Waits up to timeoutMs for the service to reach the state.
bool WaitForServiceState(const char* name, DWORD state, DWORD timeoutMs);
// A demand-start service that runs notepad, made for a test; false when it
// could not be made.
bool CreateTestService(const char* name);
void DeleteTestService(const char* name);
